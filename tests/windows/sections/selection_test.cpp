// The saved selection of sections and its trace: bytes written, offsets applied, files of another
// dimension read to their own, bad files refused.
#include "windows/sections/selection_fichier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace talmer;

namespace {

const std::string Fichier5 = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<SELECTIONS>\r\n"
                             "<selection nom=\"Nom\"  dimension=\"5\" type=\"type\" freq=\"0\"  couleur=\"000000\">\r\n"
                             "0 1 0 0 1 \r\n</selection>\r\n</SELECTIONS>";

TEST(SelectionFichier, WritesOneFlagAndABlankPerSection)
{
    EXPECT_EQ(ExporteSelection({0, 1, 0, 0, 1}), Fichier5);
    EXPECT_EQ(ExporteSelection({}),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<SELECTIONS>\r\n"
              "<selection nom=\"Nom\"  dimension=\"0\" type=\"type\" freq=\"0\"  couleur=\"000000\">\r\n"
              "\r\n</selection>\r\n</SELECTIONS>");
}

TEST(SelectionFichier, OffsetsWidenTheSelectionWithinTheMap)
{
    const struct {
        std::vector<int> decalages;
        std::vector<char> attendue;
    } cas[] = {
        {{0}, {0, 1, 0, 0, 1}},
        {{-1, 0, 1}, {1, 1, 1, 1, 1}},
        {{3}, {0, 0, 0, 0, 1}},
        {{-3}, {0, 1, 0, 0, 0}},
        {{}, {0, 0, 0, 0, 0}},
    };
    for (const auto &c : cas) {
        const SelectionImportee r = ImporteSelection(Fichier5, 5, c.decalages);
        ASSERT_TRUE(r.valide) << r.erreur.toStdString();
        EXPECT_EQ(r.selection, c.attendue) << c.decalages.size();
    }
}

TEST(SelectionFichier, TraceShowsValuesThenEveryFlagAfterMarking)
{
    const SelectionImportee r = ImporteSelection(Fichier5, 5, {-1, 0});
    ASSERT_TRUE(r.valide);
    // Section 0 is marked by the hit of section 1 with offset -1, after its own entry was read.
    const std::string attendue = std::string("\r\nnom=Nom\r\ndimension=  5\r\ntype =  type\r\nfreq=  0\r\n"
                                             "couleur =  000000\r\n") +
                                 std::string("\x01 \x01 \x00 \x01 \x01 ", 10);
    EXPECT_EQ(r.trace, attendue);
}

TEST(SelectionFichier, LineFeedsAloneAndFlagsOtherThanOneAreRead)
{
    std::string lf = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SELECTIONS>\n"
                     "<selection nom=\"a\"  dimension=\" 3\" type=\"b\" freq=\"7\"  couleur=\"c\">\n"
                     "1 x 1 \n</selection>\n</SELECTIONS>\n";
    const SelectionImportee r = ImporteSelection(lf, 3, {0});
    ASSERT_TRUE(r.valide) << r.erreur.toStdString();
    EXPECT_EQ(r.selection, (std::vector<char>{1, 0, 1}));
    EXPECT_EQ(r.freq, 7);
}

TEST(SelectionFichier, BadFilesAreRefusedAsAWhole)
{
    const std::string longNom(60, 'n');
    const struct {
        const char *quoi;
        std::string octets;
        std::int32_t n;
    } cas[] = {
        {"empty", "", 5},
        {"garbage", "bonjour tout le monde\nceci n'est pas une selection\n1 1 1", 5},
        {"cut in the header", Fichier5.substr(0, 80), 5},
        {"cut in the flags", Fichier5.substr(0, Fichier5.find("0 1 0") + 4), 5},
        {"no closing tags", Fichier5.substr(0, Fichier5.find("</selection>")), 5},
        {"fewer flags than its dimension", std::string(Fichier5).replace(Fichier5.find("\"5\""), 3, "\"2000000000\""), 5},
        {"dimension not a number", std::string(Fichier5).replace(Fichier5.find("\"5\""), 3, "\"5a\""), 5},
        {"value too long", std::string(Fichier5).replace(Fichier5.find("\"Nom\""), 5, "\"" + longNom + "\""), 5},
        {"more flags than sections", std::string(Fichier5).replace(Fichier5.find("0 1 0 0 1 "), 10, "0 1 0 0 1 1 "), 5},
    };
    for (const auto &c : cas) {
        const SelectionImportee r = ImporteSelection(c.octets, c.n, {0});
        EXPECT_FALSE(r.valide) << c.quoi;
        EXPECT_FALSE(r.erreur.isEmpty()) << c.quoi;
        EXPECT_TRUE(r.selection.empty()) << c.quoi;
    }
}

TEST(SelectionFichier, AFileOfAnotherDimensionIsReadToItsOwnAndMarksOnlyTheMapsSections)
{
    const auto fichier = [](const char *dimension, const char *drapeaux) {
        return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<SELECTIONS>\r\n<selection nom=\"Nom\"  dimension=\"") +
               dimension + "\" type=\"type\" freq=\"0\"  couleur=\"000000\">\r\n" + drapeaux +
               "\r\n</selection>\r\n</SELECTIONS>";
    };
    const struct {
        const char *quoi;
        std::string octets;
        std::vector<int> decalages;
        std::vector<char> attendue;
        std::string trace; // the flags' part of the trace
        const char *avertissement;
    } cas[] = {
        // 3 sections on a map of 5: the mark 2 + 1 lies beyond the file's sections.
        {"smaller", fichier("3", "0 1 1 "), {0, 1}, {0, 1, 1, 0, 0}, std::string("\0 \1 \1 ", 6),
         "Sélection chargée : le fichier décrit 3 sections et la carte 5 ; seules les 3 premières sections ont "
         "été prises en compte."},
        // 7 sections on a map of 5: section 5 still marks 4; 5 and 6 are no sections of the map.
        {"larger", fichier("7", "1 0 0 0 0 1 1 "), {-1, 0}, {1, 0, 0, 0, 1}, std::string("\1 \0 \0 \0 \1 ", 10),
         "Sélection chargée : le fichier décrit 7 sections et la carte 5 ; seules les 5 premières sections ont "
         "été prises en compte."},
        {"one section", fichier("1", "1 "), {0}, {1, 0, 0, 0, 0}, std::string("\1 ", 2),
         "Sélection chargée : le fichier décrit 1 section et la carte 5 ; seule la première section a été prise en "
         "compte."},
        {"same", fichier("5", "0 0 1 0 0 "), {0}, {0, 0, 1, 0, 0}, std::string("\0 \0 \1 \0 \0 ", 10), ""},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.quoi);
        const SelectionImportee r = ImporteSelection(c.octets, 5, c.decalages);
        ASSERT_TRUE(r.valide) << r.erreur.toStdString();
        EXPECT_EQ(r.selection, c.attendue);
        const std::string tete = r.trace.substr(0, r.trace.find("000000\r\n") + 8);
        EXPECT_EQ(r.trace.substr(tete.size()), c.trace);
        EXPECT_EQ(r.avertissement, QString::fromUtf8(c.avertissement));
    }
    EXPECT_EQ(ImporteSelection(fichier("7", "1 0 0 0 0 1 1 "), 5, {0}).trace,
              std::string("\r\nnom=Nom\r\ndimension=  7\r\ntype =  type\r\nfreq=  0\r\ncouleur =  000000\r\n") +
                  std::string("\1 \0 \0 \0 \0 ", 10));
}

} // namespace

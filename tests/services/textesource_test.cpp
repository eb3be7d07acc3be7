// Checks made on a text before segmentation: UTF-8 recognised, converted into a new file beside
// it in the display code page, and a text without any word form told apart.
#include "platform/qt/codepage.h"
#include "services/textesource.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using talmer::test::InTempDir;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

class TexteSourceTest : public InTempDir {};

TEST(ValideurUtf8, TellsUtf8FromOtherBytes)
{
    struct Cas {
        std::string octets;
        bool valide;
        bool nonAscii;
    };
    const Cas cas[] = {
        {"abc\r\n", true, false},
        {"tr\xC3\xA8s", true, true},
        {"tr\xE8s", false, true},               // Windows-1252
        {"\xC0\xAF", false, true},              // overlong '/'
        {"\xE0\x80\x80", false, true},          // overlong
        {"\xED\xA0\x80", false, true},          // surrogate
        {"\xF4\x90\x80\x80", false, true},      // beyond U+10FFFF
        {"\xF0\x9F\x98\x80 \xE2\x80\x94", true, true},
        {"fin \xC3", false, true},              // cut at the end
        {"\xC3\xA8\xA8", false, true},          // stray continuation byte
    };
    for (const Cas &c : cas) {
        talmer::ValideurUtf8 v;
        v.Ajoute(c.octets);
        EXPECT_EQ(v.Valide(), c.valide) << c.octets;
        EXPECT_EQ(v.NonAscii(), c.nonAscii) << c.octets;
    }
    // A character cut between two pieces is whole once the second comes.
    talmer::ValideurUtf8 v;
    v.Ajoute("tr\xC3");
    EXPECT_FALSE(v.Valide());
    EXPECT_FALSE(v.Rompu());
    v.Ajoute("\xA8s");
    EXPECT_TRUE(v.Valide());
}

TEST_F(TexteSourceTest, Utf8TextsAreRecognisedFromTheFile)
{
    writeFile("ascii.txt", "<titre=a> Le texte.\r\n");
    writeFile("ansi.txt", "Tr\xE8s bien.\r\n");
    writeFile("utf8.txt", "Tr\xC3\xA8s bien.\r\n");
    EXPECT_FALSE(talmer::EstTexteUtf8(QStringLiteral("ascii.txt")));
    EXPECT_FALSE(talmer::EstTexteUtf8(QStringLiteral("ansi.txt")));
    EXPECT_TRUE(talmer::EstTexteUtf8(QStringLiteral("utf8.txt")));
    EXPECT_FALSE(talmer::EstTexteUtf8(QStringLiteral("absent.txt")));
}

TEST_F(TexteSourceTest, ConversionWritesANewFileAndCountsWhatTheCodePageLacks)
{
    // A byte-order mark, letters of Windows-1252 (è « » — œ é) and two it lacks (Ŝ and an emoji).
    const std::string source = "\xEF\xBB\xBF<titre=\xC3\xA9t\xC3\xA9>\r\nTr\xC3\xA8s \xC2\xAB bien \xC2\xBB "
                               "\xE2\x80\x94 \xC5\x93uvre \xC5\x9C\xF0\x9F\x98\x80.\r\n";
    writeFile("discours.txt", source);
    // An earlier file of the converted name stays as it is.
    writeFile("discours_cp1252.txt", "ancien");
    talmer::CodePage cp1252("1252");

    const talmer::ResultatConversion r = talmer::ConvertitTexteUtf8(QStringLiteral("discours.txt"), cp1252);
    ASSERT_TRUE(r.erreur.isEmpty()) << r.erreur.toStdString();
    EXPECT_EQ(fs::path(r.chemin.toStdString()).filename(), "discours_cp1252-2.txt");
    EXPECT_EQ(readFile("discours_cp1252-2.txt"),
              "<titre=\xE9t\xE9>\r\nTr\xE8s \xAB bien \xBB \x97 \x9Cuvre ??.\r\n");
    EXPECT_EQ(r.manquants, 2);
    EXPECT_EQ(readFile("discours.txt"), source);
    EXPECT_EQ(readFile("discours_cp1252.txt"), "ancien");
}

TEST_F(TexteSourceTest, ConversionKeepsCharactersCutBetweenReadBlocks)
{
    // One ASCII byte, then two-byte letters: the 1 MiB read blocks end inside a letter.
    std::string source = "a";
    std::string attendu = "a";
    for (int i = 0; i < 600000; ++i) {
        source += "\xC3\xA9";
        attendu += '\xE9';
    }
    writeFile("long", source);
    talmer::CodePage cp1252("1252");
    const talmer::ResultatConversion r = talmer::ConvertitTexteUtf8(QStringLiteral("long"), cp1252);
    ASSERT_TRUE(r.erreur.isEmpty()) << r.erreur.toStdString();
    EXPECT_EQ(fs::path(r.chemin.toStdString()).filename(), "long_cp1252");
    EXPECT_EQ(r.manquants, 0);
    EXPECT_TRUE(readFile("long_cp1252") == attendu);
}

TEST_F(TexteSourceTest, WordFormsAreLookedForAsTheSegmenterReads)
{
    struct Cas {
        std::string texte;
        std::string delimiteurs;
        talmer::FormesDuTexte attendu;
    };
    using F = talmer::FormesDuTexte;
    const Cas cas[] = {
        {"", "", F::Aucune},
        {" \t\r\n  \r\n", "", F::Aucune},
        {std::string("\0\0\0\n", 4), "", F::Aucune},
        {"<titre=un texte>\r\n<titre=autre>\r\n", "", F::Aucune},
        {"<titre=a> >> \r\n", "", F::Aucune},        // '>' outside a marker is punctuation
        {". , ; !\r\n", ".,;!", F::Aucune},
        {". , ; !\r\n", ".,", F::AuMoinsUne},
        {"<titre=a> mot", "", F::AuMoinsUne},
        {"\xE9", "", F::AuMoinsUne},
        {"<titre=a", "", F::CleInachevee},
    };
    for (const Cas &c : cas) {
        writeFile("t.txt", c.texte);
        EXPECT_EQ(talmer::ChercheForme(QStringLiteral("t.txt"), c.delimiteurs), c.attendu) << c.texte;
    }
    EXPECT_EQ(talmer::ChercheForme(QStringLiteral("absent.txt"), ""), F::Illisible);
}

} // namespace

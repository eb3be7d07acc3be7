// Segmentation: base files and trace byte for byte, numbering and alphabetical order, limits.
#include "engine/segmenteur.h"
#include "support/octets_le.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using talmer::test::InTempDir;
using talmer::test::readFile;
using talmer::test::writeFile;

using talmer::test::le32;

namespace {

ResultatSegm segmente(const std::string &text, const std::string &delims, std::int32_t maxArt = MaxArtDefaut,
                      const std::string &name = "corpus.txt")
{
    writeFile(name, text);
    ParametresSegm p;
    p.delimiteurs = delims;
    p.maxArt = maxArt;
    return SegmPrinc(name.c_str(), p);
}

// One .dic line as the writer's format " %-7ld %7ld  %s" gives it, spaces counted by hand.
struct DicLine {
    std::string spelling;
    int frq;
    int alpha;
};

// The spellings of the .dic in entity order.
std::vector<std::string> spellings(const std::string &dic)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < dic.size()) {
        const std::size_t end = dic.find("\r\n", pos);
        const std::string line = dic.substr(pos, end - pos);
        out.push_back(line.substr(18));  // 1 + 7 + 1 + 7 + 2 columns
        pos = end + 2;
    }
    return out;
}

using Files = std::vector<std::string>;

bool startsWith(const std::string &s, const std::string &prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

Files filesHere()
{
    Files names;
    for (const auto &e : fs::directory_iterator("."))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class Segmentation : public InTempDir {};

TEST_F(Segmentation, SmallTextGivesTheBaseFilesByteForByte)
{
    ASSERT_EQ(segmente("Le chat, le chat.", ",."), ResultatSegm::Reussie);

    // Articles in creation order Le, chat, le, then ',' and '.'; alphabetical buckets L < c < l;
    // frequency order chat (2), Le (1, alpha 0), le (1, alpha 2).
    const std::string dic = " 2      " " " "      1" "  chat\r\n"
                            " 1      " " " "      0" "  Le\r\n"
                            " 1      " " " "      2" "  le\r\n"
                            " 1      " " " "      3" "  ,\r\n"
                            " 1      " " " "      4" "  .\r\n";
    EXPECT_EQ(readFile("corpus.dic"), dic);
    EXPECT_EQ(readFile("corpus.num"), le32({1, 0, 4999999 - ',', 2, 0, 4999999 - '.'}));
    const std::string par = "corpus\r\n"
                            "6 6 4 4 3 2 2 5000000 2 0 0 0 0"
                            "\r\n*** R\xE9sultat de la segmentation du fichier: corpus.TXT ***"
                            "\r\nD\xE9limiteurs ,."
                            "\r\n"
                            "\r\n \tnombre des occurrences :           4"
                            "\r\n \tnombre des formes      :           3"
                            "\r\n \tfrequence maximale     :           2"
                            "\r\n \tnombre des hapax       :           2"
                            "\r\n \tnombre des cl\xE9s(type)  :           0"
                            "\r\n \tnombre des cl\xE9s(ctnu)  :           0"
                            "\r\n\r\n*** Fin de la segmentation du fichier:      corpus.TXT ***";
    EXPECT_EQ(readFile("corpus.par"), par);
    EXPECT_EQ(filesHere(), (Files{"atrace.txt", "corpus.dic", "corpus.num", "corpus.par", "corpus.txt"}));
}

TEST_F(Segmentation, TraceOfASegmentation)
{
    ASSERT_EQ(segmente("Le chat, le chat.", ",."), ResultatSegm::Reussie);
    const std::string trace = "\r\n\r\n*****D\xE9" "but SegmPrinc*****\r\n"
                              "\r\n\r\n*****FIN DE TraitPath : pn:corpus.txt bn:corpus*****\r\n"
                              "\r\nMAXART (Maximum d'articles trait\xE9s) = 100000"
                              "\r\nAllocation de 7812K"
                              "\r\n\r\n*****FIN DE AllocTab*****\r\n"
                              "\r\nFichier -- corpus.txt -- ouvert pour segmentation"
                              "\r\nFichier xxxx.txn ouvert"
                              "\r\nD\xE9limiteurs : ,.\r\n"
                              "\r\n==  nbf= 3, nhap= 2, nbcle= 0, nbctnu= 0, nblemm=0, nbcatg= 0\r\n"
                              "\r\n\r\n*****FIN DE SegmText*****\r\n"
                              "\r\n--  Tri lexicom. de       3 formes "
                              "\r\n--  Fin Travail Dictionnaire              "
                              "\r\n\r\n*****FIN DE TravDico*****\r\n"
                              "\r\n    Fichier Dict  :\t corpus.dic :"
                              "\r\n--  Fin EcriDicNum        5 articles"
                              "\r\n\r\n*****FIN DE EcriDicNum*****\r\n"
                              "\r\n    Fichier Texte :\t corpus.num : "
                              "       6 items."
                              "\r\n\r\n*****FIN DE EcriTexNum*****\r\n"
                              "\r\n    Fichier Param \t corpus.par  :"
                              "\r\n\r\n*****FIN DE EcriParam*****\r\n"
                              "\r\n\r\n*****FIN DE LA SEGMENTATION*****\r\n"
                              "\r\n\r\n*****FIN DE NumeDefT*****\r\n"
                              "\r\nlib\xE9ration de ptrzon2"
                              "\r\nlib\xE9ration de list"
                              "\r\nlib\xE9ration de list1"
                              "\r\nlib\xE9ration de msg"
                              "\r\n\r\n*****FIN DE Desalloc*****\r\n"
                              "\r\n\r\n*****FIN DE EffaceTxn*****\r\n";
    EXPECT_EQ(readFile("atrace.txt"), trace);
}

TEST_F(Segmentation, KeysLineBreaksAndGroups)
{
    // Two markers, blanks dropped inside; the same text as a word and as key content makes two
    // articles; the line feed is an item, the carriage return nothing.
    ASSERT_EQ(segmente("<auteur = Hugo >\r\nHugo ecrit.\r\n<date=1830> <auteur=Vigny>", "."), ResultatSegm::Reussie);
    // forms Hugo (1), ecrit (1): bucket H < e; punctuation '.'; key types auteur, date; contents
    // 1830, Hugo, Vigny (bucket '1' < 'H' < 'V').
    const std::string dic = " 1      " " " "      0" "  Hugo\r\n"
                            " 1      " " " "      1" "  ecrit\r\n"
                            " 1      " " " "      2" "  .\r\n"
                            " 2      " " " "      3" "  auteur\r\n"
                            " 1      " " " "      4" "  date\r\n"
                            " 1      " " " "      5" "  1830\r\n"
                            " 1      " " " "      6" "  Hugo\r\n"
                            " 1      " " " "      7" "  Vigny\r\n";
    EXPECT_EQ(readFile("corpus.dic"), dic);
    EXPECT_EQ(readFile("corpus.num"),
              le32({3, 6, 4999742, 0, 1, 4999999 - '.', 4999742, 4, 5, 3, 7}));
    EXPECT_TRUE(startsWith(readFile("corpus.par"), "corpus\r\n11 11 7 2 2 1 2 5000000 1 2 3 0 0\r\n"));
}

TEST_F(Segmentation, CarriageReturnsChangeNothing)
{
    ASSERT_EQ(segmente("<a=x>\nun deux.\ntrois\n", ".", MaxArtDefaut, "lf.txt"), ResultatSegm::Reussie);
    ASSERT_EQ(segmente("<a=x>\r\nun deux.\r\ntrois\r\n", ".", MaxArtDefaut, "crlf.txt"), ResultatSegm::Reussie);
    EXPECT_EQ(readFile("lf.dic"), readFile("crlf.dic"));
    EXPECT_EQ(readFile("lf.num"), readFile("crlf.num"));
}

TEST_F(Segmentation, EntityOrderTable)
{
    struct Case {
        const char *name;
        std::string text;
        std::string delims;
        std::vector<std::string> expected;  // spellings in entity order
    };
    const std::string w61(61, 'x');
    const std::vector<Case> cases = {
        // Words cut after 59 letters; the rest starts a new word.
        {"long word", w61, ".", {"xx", std::string(59, 'x')}},
        // été goes to the e bucket, Été after every unaccented letter; capitals before lower case,
        // whatever the locale comparison says of Zola and abbé.
        {"accents", "\xC9t\xE9 abb\xE9 Zola \xE9t\xE9 ete etre", "",
         {"Zola", "abb\xE9", "ete", "\xE9t\xE9", "etre", "\xC9t\xE9"}},
        // Equal frequencies in alphabetical order; higher frequencies first.
        {"frequencies", "b a c b a b", "", {"b", "a", "c"}},
        // No delimiter of code 33 or above: no punctuation, keys numbered all the same.
        {"no punctuation", "<k=v> un deux", "", {"deux", "un", "k", "v"}},
        // A delimiter below 33 changes nothing; '>' out of a marker is punctuation.
        {"control delimiter", "a\tb > c", "\t", {"a", "b", "c", ">"}},
        // Punctuation in character-code order, not in order of appearance.
        {"punctuation order", "x ; y , z !", ";,!", {"x", "y", "z", "!", ",", ";"}},
        // No word form at all.
        {"no forms", "<t=v>.", ".", {".", "t", "v"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(segmente(c.text, c.delims), ResultatSegm::Reussie);
        EXPECT_EQ(spellings(readFile("corpus.dic")), c.expected);
    }
}

TEST_F(Segmentation, NoFormsKeepsFmaxOfTheFirstEntity)
{
    ASSERT_EQ(segmente("<t=v> . .", "."), ResultatSegm::Reussie);
    // Fmax is the frequency of whatever entity comes first: here the full stop (2).
    EXPECT_TRUE(startsWith(readFile("corpus.par"), "corpus\r\n4 4 2 0 0 2 0 5000000 1 1 1 0 0\r\n"));
}

TEST_F(Segmentation, KeyOf126CharactersPasses)
{
    ASSERT_EQ(segmente("<t=" + std::string(126, 'v') + "> mot", ""), ResultatSegm::Reussie);
    EXPECT_EQ(spellings(readFile("corpus.dic")).back(), std::string(126, 'v'));
}

TEST_F(Segmentation, FailuresLeaveNoBaseAndSayWhy)
{
    struct Case {
        const char *name;
        std::string text;
        std::int32_t maxArt;
        ResultatSegm expected;
        std::string traceEnd;
    };
    const std::string w59(59, 'w');
    const std::vector<Case> cases = {
        {"too many articles", "a b c d", 3, ResultatSegm::TropDArticles,
         "\r\nTrop d'articles : plus de 3 (MAXART), segmentation abandonn\xE9" "e\r\n"},
        {"punctuation over the limit", "a b c.", 3, ResultatSegm::TropDArticles,
         "\r\nTrop d'articles : plus de 3 (MAXART), segmentation abandonn\xE9" "e\r\n"},
        {"spelling pool full", w59 + " " + std::string(59, 'v'), 2, ResultatSegm::ReserveGraphies,
         "\r\nR\xE9serve des graphies pleine (80 octets), segmentation abandonn\xE9" "e\r\n"},
        {"key part of 127 characters", "a\n<t=" + std::string(127, 'v') + ">", MaxArtDefaut, ResultatSegm::CleTropLongue,
         "\r\nL    2 Cl\xE9 trop longue (plus de 126 caract\xE8res), segmentation abandonn\xE9" "e\r\n"},
        {"empty type", "<=x> a", MaxArtDefaut, ResultatSegm::CleVide,
         "\r\nL    1 Cl\xE9 sans type ou sans contenu, segmentation abandonn\xE9" "e\r\n"},
        {"blank content", "a <x= > b", MaxArtDefaut, ResultatSegm::CleVide,
         "\r\nL    1 Cl\xE9 sans type ou sans contenu, segmentation abandonn\xE9" "e\r\n"},
        {"line break inside a key", "<a=b\r\nc>", MaxArtDefaut, ResultatSegm::CleIllisible,
         "\r\nL    1 Cl\xE9 contenant un caract\xE8re de contr\xF4le (saut de ligne, tabulation...), "
         "segmentation abandonn\xE9" "e\r\n"},
        {"marker never closed", "a b\n<auteur=Hugo", MaxArtDefaut, ResultatSegm::CleInachevee,
         "\r\nL    2 Cl\xE9 non ferm\xE9" "e en fin de texte, segmentation abandonn\xE9" "e\r\n"},
        {"marker without equals sign", "<auteur", MaxArtDefaut, ResultatSegm::CleInachevee,
         "\r\nL    1 Cl\xE9 non ferm\xE9" "e en fin de texte, segmentation abandonn\xE9" "e\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // An earlier base of the same name stays as it was.
        writeFile("corpus.par", "old par");
        writeFile("corpus.dic", "old dic");
        writeFile("corpus.num", "old num");
        fs::remove("atrace.txt");
        EXPECT_EQ(segmente(c.text, "."  , c.maxArt), c.expected);
        EXPECT_EQ(readFile("corpus.par"), "old par");
        EXPECT_EQ(readFile("corpus.dic"), "old dic");
        EXPECT_EQ(readFile("corpus.num"), "old num");
        EXPECT_EQ(filesHere(), (Files{"atrace.txt", "corpus.dic", "corpus.num", "corpus.par", "corpus.txt"}));
        const std::string trace = readFile("atrace.txt");
        ASSERT_GE(trace.size(), c.traceEnd.size());
        EXPECT_EQ(trace.substr(trace.size() - c.traceEnd.size()), c.traceEnd);
        EXPECT_FALSE(std::string(MessageSegmentation(c.expected)).empty());
    }
}

TEST_F(Segmentation, UnreadableTextIsReportedNotFatal)
{
    ParametresSegm p;
    EXPECT_EQ(SegmPrinc("absent.txt", p), ResultatSegm::TexteIllisible);
    const std::string trace = readFile("atrace.txt");
    EXPECT_NE(trace.find("\r\nFichier absent.txt pas ouvert !"), std::string::npos);
    EXPECT_EQ(filesHere(), (Files{"atrace.txt"}));
}

TEST_F(Segmentation, WorkFileHasANameOfItsOwn)
{
    // Whatever lies under the work file's usual name is neither used nor touched.
    fs::create_directory("xxxx.txn");
    EXPECT_EQ(segmente("a b", ""), ResultatSegm::Reussie);
    EXPECT_TRUE(fs::is_directory("xxxx.txn"));
    EXPECT_EQ(filesHere(), (Files{"atrace.txt", "corpus.dic", "corpus.num", "corpus.par", "corpus.txt", "xxxx.txn"}));
}

TEST_F(Segmentation, BaseFileThatCannotBeWritten)
{
    fs::create_directories("corpus.par/inside");  // a folder where the parameter file should go
    EXPECT_EQ(segmente("a b", ""), ResultatSegm::FichierBase);
    const std::string trace = readFile("atrace.txt");
    EXPECT_NE(trace.find("\r\n\"corpus.par\": ne peut etre ouvert\r\n"), std::string::npos);
    // Neither the work file nor a new base file is left, and the earlier files stay.
    EXPECT_EQ(filesHere(), (Files{"atrace.txt", "corpus.par", "corpus.txt"}));
    EXPECT_TRUE(fs::is_directory("corpus.par/inside"));
}

TEST_F(Segmentation, SegmentingTwiceGivesTheSameBase)
{
    ASSERT_EQ(segmente("<a=b> un deux un.", "."), ResultatSegm::Reussie);
    const std::string dic = readFile("corpus.dic"), num = readFile("corpus.num"), par = readFile("corpus.par");
    ASSERT_EQ(segmente("<a=b> un deux un.", "."), ResultatSegm::Reussie);
    EXPECT_EQ(readFile("corpus.dic"), dic);
    EXPECT_EQ(readFile("corpus.num"), num);
    EXPECT_EQ(readFile("corpus.par"), par);
}

TEST(NomBase, FileNameWithoutFolderAndLastExtension)
{
    EXPECT_EQ(NomBaseDeTexte("/a/b.c/texte.ancien.txt"), "texte.ancien");
    EXPECT_EQ(NomBaseDeTexte("dossier.x/texte"), "texte");
    EXPECT_EQ(NomBaseDeTexte("texte.txt"), "texte");
}

namespace {
int g_segmProgress = 0;
void countSegmProgress(std::int32_t) { ++g_segmProgress; }
} // namespace

TEST_F(Segmentation, ProgressAboutAHundredTimesOverTheText)
{
    std::string text;
    while (text.size() < 5000)
        text += "mot. ";
    writeFile("corpus.txt", text);
    ParametresSegm p;
    p.delimiteurs = ".";
    p.progression = countSegmProgress;
    g_segmProgress = 0;
    ASSERT_EQ(SegmPrinc("corpus.txt", p), ResultatSegm::Reussie);
    EXPECT_GE(g_segmProgress, 98);
    EXPECT_LE(g_segmProgress, 101);
}

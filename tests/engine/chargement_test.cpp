// Loading a base: round trip through the files, progress, and every malformed file refused with
// its code and a trace line.
#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/base_fixture.h"
#include "support/octets_le.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;
using talmer::test::InTempDir;
using talmer::test::makeBase;
using talmer::test::readFile;
using talmer::test::writeFile;

using talmer::test::le32;

namespace {

std::vector<std::int32_t> items(const charg1 &b)
{
    std::vector<std::int32_t> v;
    for (std::int32_t p = 0; p < b.Nbitem(); ++p)
        v.push_back(b.Tnum(p));
    return v;
}

int g_calls[2];
void countCalls(std::int32_t phase)
{
    if (phase == 0 || phase == 1)
        ++g_calls[phase];
}

} // namespace

class Loading : public InTempDir {};

TEST_F(Loading, SampleCorpusRoundTrip)
{
    const std::string text = readFile(fs::path(TALMER_SOURCE_DIR) / "samples" / "ville.txt");
    ASSERT_FALSE(text.empty());
    auto base = makeBase(text, DelimiteursDefaut, "ville");
    ASSERT_TRUE(base);
    const charg1 &b = *base;
    EXPECT_STREQ(b.NomBase(), "ville");
    EXPECT_EQ(b.Nbcle(), 2);
    EXPECT_EQ(b.NbTotEntites(), b.Nbart());
    EXPECT_EQ(b.Nbform() + b.Nbartponct() + b.Nbcle() + b.Nbctnu(), b.Nbart());

    // Frequencies of forms sum to Nbocc; forms by decreasing frequency, ties alphabetical; the
    // hapax last; Fmax is the first form's frequency.
    std::int64_t sum = 0;
    for (std::int32_t e = 0; e < b.Nbform(); ++e) {
        sum += b.RetourneFrq(e);
        if (e > 0) {
            EXPECT_TRUE(b.RetourneFrq(e - 1) > b.RetourneFrq(e) ||
                        (b.RetourneFrq(e - 1) == b.RetourneFrq(e) && b.Lexg(e - 1) < b.Lexg(e)));
        }
        EXPECT_EQ(b.RetourneFrq(e) == 1, e >= b.Nbform() - b.Nhap());
    }
    EXPECT_EQ(sum, b.Nbocc());
    EXPECT_EQ(b.Fmax(), b.RetourneFrq(0));

    // Alphabetical indexes: a permutation that keeps the groups; punctuation keeps its numbers.
    std::vector<bool> seen(static_cast<std::size_t>(b.Nbart()));
    for (std::int32_t e = 0; e < b.Nbart(); ++e) {
        const std::int32_t a = b.Lexg(e);
        ASSERT_GE(a, 0);
        ASSERT_LT(a, b.Nbart());
        EXPECT_FALSE(seen[static_cast<std::size_t>(a)]);
        seen[static_cast<std::size_t>(a)] = true;
        if (e >= b.Nbform() && e < b.Nbform() + b.Nbartponct()) {
            EXPECT_EQ(a, e);
        }
    }

    // Items: entities or line breaks Limd+2+k in order; forms are exactly the occurrences;
    // punctuation codes of the .num map back to their one-character entity.
    const std::string num = readFile("ville.num");
    ASSERT_EQ(num.size(), 4u * static_cast<std::size_t>(b.Nbitem()));
    std::int32_t breaks = 0, occ = 0;
    std::map<std::int32_t, std::int32_t> count;
    for (std::int32_t p = 0; p < b.Nbitem(); ++p) {
        const std::int32_t v = b.Tnum(p);
        std::int32_t raw = 0;
        std::memcpy(&raw, num.data() + 4 * p, 4);
        if (v >= b.Limd()) {
            EXPECT_EQ(v, b.Limd() + 2 + breaks);
            EXPECT_EQ(raw, 4999742);
            ++breaks;
            continue;
        }
        ASSERT_LT(v, b.Nbart());
        ++count[v];
        if (v < b.Nbform())
            ++occ;
        if (v >= b.Nbform() && v < b.Nbform() + b.Nbartponct()) {
            const char *s = b.RetourneGraphie(v, true);
            EXPECT_EQ(std::strlen(s), 1u);
            EXPECT_EQ(raw, 4999999 - static_cast<unsigned char>(s[0]));
        } else {
            EXPECT_EQ(raw, v);
        }
    }
    EXPECT_EQ(occ, b.Nbocc());
    EXPECT_EQ(breaks, b.NbLignes());
    EXPECT_EQ(breaks, static_cast<std::int32_t>(std::count(text.begin(), text.end(), '\n')));
    for (std::int32_t e = 0; e < b.Nbart(); ++e)
        EXPECT_EQ(count[e], b.RetourneFrq(e)) << b.RetourneGraphie(e, false);
}

TEST_F(Loading, HandMadeBaseReadsBack)
{
    // LF line ends, a frequency written wider than 7 columns, a spelling with blanks inside, no
    // punctuation (9th number 0).
    writeFile("b.par", "b\n3 3 2 1 1 1 1 5000000 0 1 1 0 0\nsummary\n");
    writeFile("b.dic", " 1 0  mot\n 000000001       1  auteur\n 1 2  Victor Hugo\n");
    writeFile("b.num", le32({1, 2, 0}));
    charg1 b;
    ASSERT_EQ(b.ChargeBase("b.par"), ChargeReussie);
    EXPECT_STREQ(b.NomBase(), "b");
    EXPECT_EQ(b.RetourneFrq(1), 1);
    EXPECT_STREQ(b.RetourneGraphie(2, false), "Victor Hugo");
    EXPECT_EQ(items(b), (std::vector<std::int32_t>{1, 2, 0}));
    EXPECT_EQ(b.Nbartponct(), 0);
}

TEST_F(Loading, ParWithCrLfGivesNameWithoutCarriageReturn)
{
    auto base = makeBase("un deux.", ".", "nom");
    ASSERT_TRUE(base);
    EXPECT_STREQ(base->NomBase(), "nom");
}

TEST_F(Loading, ProgressAboutAHundredTimesPerFile)
{
    // Fewer than 100 records: one call per file, at the first record.
    ASSERT_TRUE(makeBase("a b c.", "."));
    g_calls[0] = g_calls[1] = 0;
    charg1 small;
    small.AttribGauge(countCalls);
    ASSERT_EQ(small.ChargeBase("corpus.par"), ChargeReussie);
    EXPECT_EQ(g_calls[0], 1);
    EXPECT_EQ(g_calls[1], 1);

    // 250 items: interval 2, calls at records 2, 4, ..., 248.
    std::string text;
    for (int i = 0; i < 250; ++i)
        text += "w" + std::to_string(i % 5) + " ";
    ASSERT_TRUE(makeBase(text, "", "grand"));
    g_calls[0] = g_calls[1] = 0;
    charg1 big;
    big.AttribGauge(countCalls);
    ASSERT_EQ(big.ChargeBase("grand.par"), ChargeReussie);
    EXPECT_EQ(g_calls[0], 1);
    EXPECT_EQ(g_calls[1], 124);
}

TEST_F(Loading, MissingDictionaryAfterFourAllocations)
{
    ASSERT_TRUE(makeBase("un deux.", "."));
    fs::remove("corpus.dic");
    charg1 b;
    EXPECT_EQ(b.ChargeBase("corpus.par"), ErreurDictionnaire);
    const std::string trace = readFile("atrace.txt");
    EXPECT_EQ(trace.rfind("LecParam\r\n", 0), 0u);
    for (const char *table : {"lexm", "tnum", "ftext", "list"})
        EXPECT_NE(trace.find(std::string("\r\nAllocation de ") + table + " r\xE9ussie, "), std::string::npos) << table;
    EXPECT_NE(trace.find("\r\nDictionnaire num\xE9ris\xE9 : corpus.dic"), std::string::npos);
    EXPECT_EQ(b.RetourneGraphie(0, false), std::string());
    EXPECT_EQ(b.Tnum(0), -1);
    EXPECT_TRUE(b.LocOccFor(0).empty());
}

TEST_F(Loading, LoaderTraceOfASuccessfulLoad)
{
    ASSERT_TRUE(makeBase("un deux.", "."));
    charg1 b;
    ASSERT_EQ(b.ChargeBase("corpus.par"), ChargeReussie);
    const std::string lexm = std::to_string(4 * sizeof(EntreeDico));
    const std::string trace = "LecParam\r\n"
                              "\r\n3 3 3 2 2 1 2 5000000 1 0 0"
                              "\r\nAllocation de la m\xE9moire :"
                              "\r\nAllocation de lexm r\xE9ussie, " + lexm + " octets"
                              "\r\nAllocation de tnum r\xE9ussie, 12 octets"
                              "\r\nAllocation de ftext r\xE9ussie, 160 octets"
                              "\r\nAllocation de list r\xE9ussie, 4 octets"
                              "\r\nEntr\xE9" "e dans OpenDicNum"
                              "\r\nDictionnaire num\xE9ris\xE9 : corpus.dic"
                              "\r\nEntr\xE9" "e dans OpenTextNum\r\n";
    EXPECT_EQ(readFile("atrace.txt"), trace);
}

TEST_F(Loading, MalformedFilesGiveTheirCode)
{
    struct Case {
        const char *name;
        std::function<void()> damage;
        int code;
        std::string traceLine;
    };
    // The base "un deux un." with the full stop: entities un (2), deux (1), '.'; 4 items.
    const std::string par = "corpus\r\n4 4 2 3 2 2 1 5000000 1 0 0 0 0\r\n";
    const std::string dic = " 2 1  un\r\n 1 0  deux\r\n 1 2  .\r\n";
    const std::string num = le32({0, 1, 0, 4999999 - '.'});
    auto parWith = [](const std::string &line2) { return [line2] { writeFile("corpus.par", "corpus\r\n" + line2 + "\r\n"); }; };
    auto dicWith = [](const std::string &d) { return [d] { writeFile("corpus.dic", d); }; };
    auto numWith = [](const std::vector<std::int32_t> &v) { return [v] { writeFile("corpus.num", le32(v)); }; };
    const std::vector<Case> cases = {
        {"intact", [] {}, ChargeReussie, ""},
        {"no parameter file", [] { fs::remove("corpus.par"); }, ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par pas ouvert !"},
        {"base name of 255 characters", [] { writeFile("corpus.par", std::string(255, 'n') + "\r\n4 4 2 3 2 2 1 5000000 1 0 0 0 0\r\n"); },
         ErreurFichierParam, "\r\nNom de base de plus de 254 caract\xE8res dans corpus.par"},
        {"counts missing", parWith("4 4 2 3"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par illisible : onze nombres attendus en ligne 2"},
        {"count beyond 32 bits", parWith("4294967300 4 2 3 2 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par illisible : onze nombres attendus en ligne 2"},
        {"other Limd", parWith("4 4 2 3 2 2 1 4000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : comptes impossibles"},
        {"more forms than entities", parWith("4 4 2 3 5 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : comptes impossibles"},
        {"negative items", parWith("-4 4 2 3 2 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : comptes impossibles"},
        {"entities beyond the line-break code", parWith("4 4 4999742 3 2 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : comptes impossibles"},
        // Counts beyond what the files hold: the parameter file is wrong, before any allocation.
        {"more items than the numeric text holds", parWith("600000000 4 2 3 2 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : 600000000 items annonc\xE9s, corpus.num n'en contient que 4"},
        {"more entities than the dictionary holds", parWith("4 4 9 3 2 2 1 5000000 1 0 0 0 0"), ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : 10 entr\xE9" "es annonc\xE9" "es, corpus.dic n'en contient pas autant"},
        {"base name with a folder", [] { writeFile("corpus.par", "../ailleurs/corpus\r\n4 4 2 3 2 2 1 5000000 1 0 0 0 0\r\n"); },
         ErreurFichierParam,
         "\r\nNom de base ../ailleurs/corpus refus\xE9 dans corpus.par : un nom de fichier sans dossier est attendu"},
        {"dictionary shorter", dicWith(" 2 1  un\r\n 1 0  deux\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic illisible ou tronqu\xE9 \xE0 l'entr\xE9" "e 2"},
        {"dictionary longer", dicWith(dic + " 1 3  x\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : plus de 3 entr\xE9" "es"},
        {"index not a permutation", dicWith(" 2 1  un\r\n 1 1  deux\r\n 1 2  .\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : fr\xE9quence ou index alphab\xE9tique impossible \xE0 l'entr\xE9" "e 1"},
        {"index out of range", dicWith(" 2 1  un\r\n 1 0  deux\r\n 1 3  .\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : fr\xE9quence ou index alphab\xE9tique impossible \xE0 l'entr\xE9" "e 2"},
        {"negative frequency", dicWith(" 2 1  un\r\n -1 0  deux\r\n 1 2  .\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : fr\xE9quence ou index alphab\xE9tique impossible \xE0 l'entr\xE9" "e 1"},
        {"spelling longer than the line buffer", dicWith(" 2 1  " + std::string(65536, 'u') + "\r\n 1 0  deux\r\n 1 2  .\r\n"),
         ErreurDictionnaire, "\r\nDictionnaire corpus.dic : graphie de plus de 65535 octets \xE0 l'entr\xE9" "e 0"},
        {"spellings longer than forty bytes each", dicWith(" 2 1  " + std::string(157, 'u') + "\r\n 1 0  deux\r\n 1 2  .\r\n"),
         ChargeReussie, ""},
        {"last spelling without its line end", dicWith(" 2 1  un\r\n 1 0  deux\r\n 1 2  ."), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : l'entr\xE9" "e 2 n'a pas de fin de ligne (fichier tronqu\xE9)"},
        {"spelling cut by the end of the file", dicWith(" 2 1  un\r\n 1 0  de" + std::string(30, ' ')), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : l'entr\xE9" "e 1 n'a pas de fin de ligne (fichier tronqu\xE9)"},
        {"punctuation of two characters", dicWith(" 2 1  un\r\n 1 0  deux\r\n 1 2  ..\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : la ponctuation 2 n'est pas un caract\xE8re"},
        {"form frequencies against occurrences", dicWith(" 3 1  un\r\n 1 0  deux\r\n 1 2  .\r\n"), ErreurDictionnaire,
         "\r\nDictionnaire corpus.dic : les fr\xE9quences des formes ne totalisent pas 3 occurrences"},
        {"no numeric text", [] { fs::remove("corpus.num"); }, ErreurTexteNum, "\r\n\"corpus.num\": ne peut etre ouvert\r\n"},
        {"numeric text truncated", [num] { writeFile("corpus.num", num.substr(0, 14)); }, ErreurFichierParam,
         "\r\nFichier de param\xE8tres corpus.par incoh\xE9rent : 4 items annonc\xE9s, corpus.num n'en contient que 3"},
        {"numeric text longer", numWith({0, 1, 0, 4999999 - '.', 0}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : plus de 4 items"},
        {"entity at Nbart", numWith({0, 1, 3, 4999999 - '.'}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : entit\xE9 3 hors du dictionnaire \xE0 la position 2"},
        {"negative entity", numWith({0, 1, -7, 4999999 - '.'}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : entit\xE9 -7 hors du dictionnaire \xE0 la position 2"},
        {"code beyond every entity", numWith({0, 1, 5000000, 4999999 - '.'}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : entit\xE9 5000000 hors du dictionnaire \xE0 la position 2"},
        {"punctuation missing from the dictionary", numWith({0, 1, 0, 4999999 - ','}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : ponctuation de code 44 absente du dictionnaire \xE0 la position 3"},
        {"punctuation code 256", numWith({0, 1, 0, 4999743}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : ponctuation de code 256 absente du dictionnaire \xE0 la position 3"},
        {"occurrences against the parameter file", numWith({0, 1, 4999742, 4999999 - '.'}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : 2 occurrences au lieu de 3"},
        // The numeric text of another segmentation beside this dictionary: the form totals agree,
        // the frequencies of the entities do not.
        {"form frequencies against the text", numWith({0, 1, 1, 4999999 - '.'}), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : l'entit\xE9 0 y figure 1 fois, le dictionnaire en annonce 2"},
        {"punctuation frequency against the text", dicWith(" 2 1  un\r\n 1 0  deux\r\n 2 2  .\r\n"), ErreurTexteNum,
         "\r\nTexte num\xE9ris\xE9 corpus.num : l'entit\xE9 2 y figure 1 fois, le dictionnaire en annonce 2"},
        // Last: nothing may be written to a FIFO afterwards. Reading it would block for ever.
        {"dictionary that is a FIFO", [] { fs::remove("corpus.dic"); ASSERT_EQ(mkfifo("corpus.dic", 0600), 0); },
         ErreurDictionnaire, "\r\n\"corpus.dic\": ne peut etre ouvert\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("corpus.par", par);
        writeFile("corpus.dic", dic);
        writeFile("corpus.num", num);
        c.damage();
        charg1 b;
        EXPECT_EQ(b.ChargeBase("corpus.par"), c.code);
        const std::string trace = readFile("atrace.txt");
        if (!c.traceLine.empty()) {
            ASSERT_GE(trace.size(), c.traceLine.size());
            EXPECT_EQ(trace.substr(trace.size() - c.traceLine.size()), c.traceLine);
        }
        // A failed base answers every query with the empty result.
        if (c.code != ChargeReussie) {
            EXPECT_EQ(b.RetourneFrq(0), -1);
            EXPECT_EQ(b.RetourneGraphieAtPos(0, false), nullptr);
            EXPECT_EQ(b.LocFormDic("un", false), -1);
        } else {
            EXPECT_EQ(items(b), (std::vector<std::int32_t>{0, 1, 0, 2}));
        }
    }
}

// A numeric text of several million items is decoded in stretches at once: the items, the line
// numbers and the counts are those of one decoding from the start, and a damaged text reports its
// first fault, with the progress calls a decoding that stops there makes.
TEST_F(Loading, LongNumericTextDecodedAsFromTheStart)
{
    std::string texte;
    for (int l = 0; l < 520000; ++l)
        texte += "a b c d e.\n";  // 7 items a line
    auto base = makeBase(texte, ".,", "long");
    ASSERT_TRUE(base);
    ASSERT_GT(base->Nbitem(), 3 << 20);
    std::vector<std::int32_t> ligne;
    for (const char *f : {"a", "b", "c", "d", "e", "."})
        ligne.push_back(base->LocFormDic(f, true));
    for (std::int32_t p = 0; p < base->Nbitem(); ++p) {
        const std::int32_t attendu = p % 7 == 6 ? base->Limd() + 2 + p / 7 : ligne[static_cast<std::size_t>(p % 7)];
        ASSERT_EQ(base->Tnum(p), attendu) << p;
    }
    EXPECT_EQ(base->NbLignes(), 520000);
    const std::int32_t nbitem = base->Nbitem();
    base.reset();

    // Two faults; the first in text order is told.
    std::string num = readFile("long.num");
    const std::int32_t premiere = 2200003, seconde = 3000001;
    num.replace(4 * static_cast<std::size_t>(seconde), 4, le32({999}));
    num.replace(4 * static_cast<std::size_t>(premiere), 4, le32({4999999 - ','}));
    writeFile("long.num", num);
    charg1 b;
    b.AttribGauge(countCalls);
    g_calls[0] = g_calls[1] = 0;
    EXPECT_EQ(b.ChargeBase("long.par"), ErreurTexteNum);
    const std::string trace = readFile("atrace.txt");
    const std::string ligneTrace = "\r\nTexte num\xE9ris\xE9 long.num : ponctuation de code 44 absente du dictionnaire \xE0 la position " +
                                   std::to_string(premiere);
    ASSERT_GE(trace.size(), ligneTrace.size());
    EXPECT_EQ(trace.substr(trace.size() - ligneTrace.size()), ligneTrace);
    // Read by runs of 2^20 items: the run of the fault is the last one read.
    const std::int64_t lu = std::min<std::int64_t>(nbitem, (premiere / (1 << 20) + 1) * std::int64_t{1 << 20});
    EXPECT_EQ(g_calls[1], (lu - 1) / (nbitem / 100));
}

TEST_F(Loading, ErrorTexts)
{
    EXPECT_STREQ(TexteErreurChargement(ErreurFichierParam), "de lecture du fichier de paramètres");
    EXPECT_STREQ(TexteErreurChargement(ErreurMemoire), ": Allocation mémoire impossible");
    EXPECT_STREQ(TexteErreurChargement(ErreurDictionnaire), "de lecture du dictionnaire numérisé");
    EXPECT_STREQ(TexteErreurChargement(ErreurTexteNum), "de lecture du texte numérisé");
    EXPECT_STREQ(TexteErreurChargement(7), "");
}

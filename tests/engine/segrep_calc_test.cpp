// The repeated-segment computation on small hand-made texts, then against a plain reference and a
// brute-force enumeration on random texts.

#include "engine/segrep.h"

#include "engine/charg1.h"
#include "engine/tgen.h"

#include "engine/base_fixture.h"
#include "engine/segrep_reference.h"
#include "support/limites.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

using talmer::test::InTempDir;
using talmer::test::LimiteTailleFichiers;
using talmer::test::makeBase;
using talmer::test::readFile;
namespace segref = talmer::test::segref;

namespace {

// The delimiter entities of the given punctuation characters.
std::set<std::int32_t> delimiteurs(const charg1 &b, const std::string &caracteres)
{
    std::set<std::int32_t> d;
    for (char c : caracteres) {
        const std::int32_t e = b.LocFormDic(std::string(1, c).c_str(), true);
        EXPECT_GE(e, b.Nbform()) << "no punctuation entity for " << c;
        d.insert(e);
    }
    return d;
}

// Little-endian 32-bit integers, as the positions file holds them.
std::string octets(const std::vector<std::int32_t> &valeurs)
{
    std::string s;
    for (std::int32_t v : valeurs)
        for (int o = 0; o < 4; ++o)
            s.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * o)) & 0xFF));
    return s;
}

// What a computed SegRep holds, its positions read back from its file.
std::vector<segref::Seg> contenu(SegRep &sr)
{
    std::vector<segref::Seg> r;
    for (std::int32_t k = 0; k < sr.NbSegments(); ++k) {
        const Segment &s = sr.Segments()[static_cast<std::size_t>(k)];
        r.push_back({s.Formes, s.Frq, s.Offset, sr.LocOccSeg(k)});
    }
    return r;
}

struct Attendu {
    std::string texte;  // spellings, each followed by a blank
    std::int32_t frq;
    std::vector<std::int32_t> positions;
};

// Checks the list in order; offsets follow from the frequencies of the segments before.
void verifie(SegRep &sr, const std::vector<Attendu> &attendus)
{
    ASSERT_EQ(sr.NbSegments(), static_cast<std::int32_t>(attendus.size()));
    std::int32_t offset = 0;
    for (std::int32_t k = 0; k < sr.NbSegments(); ++k) {
        const Attendu &a = attendus[static_cast<std::size_t>(k)];
        const Segment &s = sr.Segments()[static_cast<std::size_t>(k)];
        EXPECT_EQ(sr.RetourneGraphie(k), a.texte) << "segment " << k;
        EXPECT_EQ(s.Frq, a.frq) << a.texte;
        EXPECT_EQ(s.Offset, offset) << a.texte;
        EXPECT_EQ(sr.LocOccSeg(k), a.positions) << a.texte;
        offset += 4 * a.frq;
    }
    EXPECT_EQ(std::filesystem::file_size("corpus.loc.sr"), static_cast<std::uintmax_t>(offset));
}

class SegRepCalc : public InTempDir {};

struct Cas {
    const char *nom;
    const char *texte;
    const char *delims;  // the chosen sequence delimiters
    std::int32_t fmin;
    std::vector<Attendu> segments;
};

const std::vector<Cas> &casDeBord()
{
    static const std::vector<Cas> cas = {
        {"frequent continuation only", "x de la y . z de la w . de la v . de le s . de le t .", ".", 3,
         {{"de la ", 3, {1, 6, 10}}}},
        {"always the same form before", "c a b x . c a b y . c a b z .", ".", 3, {{"c a b ", 3, {0, 5, 10}}}},
        {"always the same form after", "x a b d . y a b d . z a b d .", ".", 3, {{"a b d ", 3, {1, 6, 11}}}},
        {"comma not chosen is passed over", "a , b c . a , b d . a , b e .", ".", 3, {{"a b ", 3, {0, 5, 10}}}},
        {"chosen comma ends the sequence", "a , b c . a , b d . a , b e .", ".,", 3, {}},
        {"line break and key marker passed over", "a <t=x> b c . a\nb d . a b e .", ".", 3,
         {{"a b ", 3, {0, 6, 11}}}},
        {"no segment beyond 11 forms",
         "x1 p01 p02 p03 p04 p05 p06 p07 p08 p09 p10 p11 p12 p13 p14 p15 . "
         "x2 p01 p02 p03 p04 p05 p06 p07 p08 p09 p10 p11 p12 p13 p14 p15 . "
         "x3 p01 p02 p03 p04 p05 p06 p07 p08 p09 p10 p11 p12 p13 p14 p15 .",
         ".", 3, {{"p01 p02 p03 p04 p05 p06 p07 p08 p09 p10 p11 ", 3, {1, 18, 35}}}},
        {"text start and chosen delimiter leave no form before", "a b c . y a b d ; a b e .", ".;", 3,
         {{"a b ", 3, {0, 5, 9}}}},
        {"one same form before every occurrence", "y a b c . y a b d . y a b e .", ".", 3,
         {{"y a b ", 3, {0, 5, 10}}}},
        {"no form frequent enough", "a b . a b .", ".", 3, {}},
        // The contexts of the last occurrences run into the end of the text: they sort before the
        // longer ones, so the three-form run {3, 4} stays whole.
        {"contexts reaching the end of the text", "a a b a a a a", "", 2,
         {{"a a a ", 2, {3, 4}}, {"a a ", 4, {0, 3, 4, 5}}}},
        // The comma, frequent too, is no pivot: only forms are.
        {"pivots are forms only", ", b c . , b c .", ".", 2, {{"b c ", 2, {1, 5}}}},
        {"pivots in frequency order", "a b c . a b d . a b e . x y . x y .", ".", 2,
         {{"a b ", 3, {0, 4, 8}}, {"x y ", 2, {12, 15}}}},
    };
    return cas;
}

TEST_F(SegRepCalc, EdgeCasesOnHandMadeTexts)
{
    for (const Cas &c : casDeBord()) {
        SCOPED_TRACE(c.nom);
        auto base = makeBase(c.texte);
        ASSERT_TRUE(base);
        SegRep sr(base.get(), delimiteurs(*base, c.delims));
        sr.CalcSegRep(10, c.fmin);
        EXPECT_EQ(sr.FreqMin(), c.fmin);
        verifie(sr, c.segments);
    }
}

TEST_F(SegRepCalc, TwoSegmentsMakeATwentyByteFile)
{
    auto base = makeBase("a b c . a b d . a b e . x y . x y .");
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.CalcSegRep(0, 2);
    ASSERT_EQ(sr.NbSegments(), 2);
    EXPECT_EQ(sr.Segments()[0].Offset, 0);
    EXPECT_EQ(sr.Segments()[1].Offset, 12);
    EXPECT_EQ(readFile("corpus.loc.sr"), std::string("\x00\x00\x00\x00\x04\x00\x00\x00\x08\x00\x00\x00"
                                                     "\x0C\x00\x00\x00\x0F\x00\x00\x00",
                                                     20));
    EXPECT_EQ(sr.LocOccSeg(1), (std::vector<std::int32_t>{12, 15}));
    EXPECT_TRUE(std::filesystem::exists("corpus.desc.sr"));
    EXPECT_EQ(std::filesystem::file_size("corpus.desc.sr"), 0u);
}

TEST_F(SegRepCalc, TraceLineAppendedAfterTheLoadersLines)
{
    auto base = makeBase("a b . a b .");
    ASSERT_TRUE(base);
    const std::string avant = readFile("atrace.txt");
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.CalcSegRep(0, 2);
    EXPECT_EQ(readFile("atrace.txt"), avant + "CalcSegRep----\r\ncorpus.loc.sr - corpus.desc.sr");
}

TEST_F(SegRepCalc, NoPivotLeavesBothFilesEmpty)
{
    auto base = makeBase("a b . a b .");
    ASSERT_TRUE(base);
    talmer::test::writeFile("corpus.loc.sr", "old positions");
    talmer::test::writeFile("corpus.desc.sr", "old");
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.CalcSegRep(0, 3);
    EXPECT_EQ(sr.NbSegments(), 0);
    EXPECT_TRUE(sr.FichiersOuverts());
    EXPECT_EQ(readFile("corpus.loc.sr"), "");
    EXPECT_EQ(readFile("corpus.desc.sr"), "");
}

TEST_F(SegRepCalc, SecondComputationRewritesFilesAndList)
{
    auto base = makeBase("a b c . a b d . a b e . x y . x y .");
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.CalcSegRep(0, 2);
    ASSERT_EQ(sr.NbSegments(), 2);
    sr.CalcSegRep(0, 3);
    verifie(sr, {{"a b ", 3, {0, 4, 8}}});
    EXPECT_EQ(readFile("corpus.loc.sr"), octets({0, 4, 8}));
    sr.CalcSegRep(0, 2);
    verifie(sr, {{"a b ", 3, {0, 4, 8}}, {"x y ", 2, {12, 15}}});
}

TEST_F(SegRepCalc, UnopenableFileGivesAnEmptyList)
{
    auto base = makeBase("a b c . a b d . a b e .");
    ASSERT_TRUE(base);
    std::filesystem::create_directory("corpus.desc.sr");
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.CalcSegRep(0, 2);
    EXPECT_EQ(sr.NbSegments(), 0);
    EXPECT_FALSE(sr.FichiersOuverts());
    EXPECT_TRUE(sr.LocOccSeg(0).empty());
    // The trace line comes before the files are opened.
    const std::string trace = readFile("atrace.txt");
    EXPECT_EQ(trace.substr(trace.size() - 14), "corpus.desc.sr");
}

TEST_F(SegRepCalc, FailedWritesGiveOffsetMinusOne)
{
    auto base = makeBase("a b c . a b d . a b e . x y . x y .");
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    {
        // No file may grow while the segments are computed: every write fails.
        const LimiteTailleFichiers limite;
        sr.CalcSegRep(0, 2);
    }
    ASSERT_EQ(sr.NbSegments(), 2);
    for (std::int32_t k = 0; k < 2; ++k) {
        EXPECT_EQ(sr.Segments()[static_cast<std::size_t>(k)].Offset, -1);
        EXPECT_TRUE(sr.LocOccSeg(k).empty());
    }
    EXPECT_EQ(sr.Segments()[0].Frq, 3);
}

int appels = 0;
void compteAppels(std::int32_t phase)
{
    EXPECT_EQ(phase, 0);
    ++appels;
}

TEST_F(SegRepCalc, ProgressOncePerHundredthOfThePivots)
{
    // 250 forms of frequency 2: the callback comes every 250 / 100 = 2 pivots.
    std::string texte;
    for (int tour = 0; tour < 2; ++tour)
        for (int i = 0; i < 250; ++i)
            texte += "w" + std::to_string(1000 + i) + " . ";
    auto base = makeBase(texte);
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.AttribGauge(compteAppels);
    appels = 0;
    sr.CalcSegRep(0, 2);
    EXPECT_EQ(appels, 124);
    appels = 0;
    sr.CalcSegRep(0, 3);  // no pivot
    EXPECT_EQ(appels, 0);

    auto petite = makeBase("a b . a b .", ".", "petite");
    ASSERT_TRUE(petite);
    SegRep sr2(petite.get(), delimiteurs(*petite, "."));
    sr2.AttribGauge(compteAppels);
    appels = 0;
    sr2.CalcSegRep(0, 2);  // two pivots: once, at the first
    EXPECT_EQ(appels, 1);
}

std::uintmax_t tailleAuPremierAppel = 0;
int appelsVus = 0;

void NoteTaillePremierAppel(std::int32_t)
{
    if (appelsVus++ == 0) {
        std::error_code e;
        tailleAuPremierAppel = std::filesystem::file_size("corpus.loc.sr.tmp", e);
    }
}

TEST_F(SegRepCalc, TheFirstStepComesBeforeTheMostFrequentPivotsAreDone)
{
    // Three pivots hold most of the occurrences and the only segment; 300 rare ones follow.
    // Stepping once per hundredth of the pivots, the first step would come after the three,
    // once the whole segment was written.
    std::string texte;
    for (int i = 0; i < 1000; ++i)
        texte += "a b c . ";
    for (int tour = 0; tour < 2; ++tour)
        for (int i = 0; i < 300; ++i)
            texte += "w" + std::to_string(1000 + i) + " . ";
    auto base = makeBase(texte);
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.AttribGauge(NoteTaillePremierAppel);
    appelsVus = 0;
    tailleAuPremierAppel = 0;
    sr.CalcSegRep(0, 2);
    ASSERT_EQ(sr.NbSegments(), 1);
    EXPECT_EQ(readFile("corpus.loc.sr").size(), 4000u);
    EXPECT_LT(tailleAuPremierAppel, 400u);
    // The calls are as many as a step per hundredth of the 303 pivots makes.
    EXPECT_EQ(appelsVus, 100);
}

TEST_F(SegRepCalc, EachPivotTakesAColourOfTheTurn)
{
    auto base = makeBase("a b c . a b d . a b e . x y . x y .");  // 4 pivots of frequency >= 2
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    const int avant = Tgen::IndexCouleurSuivante();
    sr.CalcSegRep(0, 2);
    EXPECT_EQ(Tgen::IndexCouleurSuivante(), (avant + 4) % Tgen::TaillePalette);
}

void Interromps(std::int32_t)
{
    throw CalculInterrompu{};
}

// The watch counts its calls, and stops the work at the call given (0: never).
int veilles = 0;
int arretALaVeille = 0;
void VeilleComptee(bool)
{
    if (++veilles == arretALaVeille)
        throw CalculInterrompu{};
}

TEST_F(SegRepCalc, AnInterruptedComputationLeavesTheLastOneWhole)
{
    std::string texte = "a b c . a b d . a b e . x y . x y . ";
    // Enough pivots for the watch to be called many times.
    for (int tour = 0; tour < 2; ++tour)
        for (int i = 0; i < 50; ++i)
            texte += "w" + std::to_string(1000 + i) + " . ";
    auto base = makeBase(texte);
    ASSERT_TRUE(base);
    SegRep premier(base.get(), delimiteurs(*base, "."));
    FixeVeille(VeilleComptee);
    veilles = 0;
    arretALaVeille = 0;
    premier.CalcSegRep(0, 2);
    const int nbVeilles = veilles;
    ASSERT_GE(nbVeilles, 50);
    const std::vector<segref::Seg> avant = contenu(premier);
    ASSERT_EQ(avant.size(), 2u);
    const std::string fichier = readFile("corpus.loc.sr");
    const int couleur = Tgen::IndexCouleurSuivante();

    // Stopped by the first progress step, or by the watch at its first call, halfway, or at its
    // last call.
    for (const int aLaVeille : {0, 1, nbVeilles / 2, nbVeilles}) {
        SegRep stoppe(base.get(), delimiteurs(*base, "."));
        if (aLaVeille == 0)
            stoppe.AttribGauge(Interromps);
        veilles = 0;
        arretALaVeille = aLaVeille;
        EXPECT_THROW(stoppe.CalcSegRep(0, 2), CalculInterrompu) << aLaVeille;
        EXPECT_EQ(stoppe.NbSegments(), 0);
        EXPECT_FALSE(stoppe.FichiersOuverts());
        EXPECT_EQ(readFile("corpus.loc.sr"), fichier);
        EXPECT_FALSE(std::filesystem::exists("corpus.loc.sr.tmp"));
        EXPECT_FALSE(std::filesystem::exists("corpus.desc.sr.tmp"));
        EXPECT_EQ(Tgen::IndexCouleurSuivante(), couleur);
        EXPECT_EQ(contenu(premier), avant);
    }
    // Another thread than the one that set the watch never calls it.
    veilles = 0;
    arretALaVeille = 1;
    std::thread([] { Veille(); }).join();
    EXPECT_EQ(veilles, 0);
    FixeVeille(nullptr);

    // A computation that ends takes the files' names; the first list still reads its own
    // positions through the file it keeps open, not the new one.
    SegRep suivant(base.get(), delimiteurs(*base, "."));
    suivant.CalcSegRep(0, 3);
    EXPECT_EQ(suivant.NbSegments(), 1);
    EXPECT_EQ(readFile("corpus.loc.sr").size(), 12u);
    EXPECT_EQ(contenu(premier), avant);
}

TEST_F(SegRepCalc, GroupOfSeveralFormsFindsTheSegmentsOfEach)
{
    // The occurrences of le and la interleave by context (chat a, chat b, chat c); the two of le
    // still form one run.
    auto base = makeBase("le chat a . la chat b . le chat c . la chat b .");
    ASSERT_TRUE(base);
    SegRep sr(base.get(), delimiteurs(*base, "."));
    sr.SetFreqMin(2);
    const std::int32_t formes[2] = {base->LocFormDic("le", true), base->LocFormDic("la", true)};
    Tgen groupe(base.get(), formes, 2);
    ASSERT_EQ(groupe.NbOcc(), 4);
    const std::vector<Segment> r = sr.CalcTgenSR(&groupe, false);
    EXPECT_EQ(sr.NbSegments(), 0);  // not appended
    ASSERT_EQ(r.size(), 2u);
    // la first (alphabetical), then le; no file is open, so no offset.
    EXPECT_EQ(r[0].Formes, (std::vector<std::int32_t>{formes[1], base->LocFormDic("chat", true),
                                                      base->LocFormDic("b", true)}));
    EXPECT_EQ(r[0].Frq, 2);
    EXPECT_EQ(r[0].Offset, -1);
    EXPECT_EQ(r[1].Formes, (std::vector<std::int32_t>{formes[0], base->LocFormDic("chat", true)}));
    EXPECT_EQ(r[1].Frq, 2);
    // The group's own positions are left in context order.
    EXPECT_EQ(std::vector<std::int32_t>(groupe.Positions(), groupe.Positions() + 4),
              (std::vector<std::int32_t>{12, 4, 0, 8}));

    sr.CalcTgenSR(&groupe, true);
    EXPECT_EQ(sr.NbSegments(), 2);
    EXPECT_TRUE(sr.CalcTgenSR(nullptr, true).empty());
}

TEST_F(SegRepCalc, SequenceRead)
{
    // items: a0 <t=x>1,2 b3 ,4 c5 \n6 .7 d8 e9
    auto base = makeBase("a <t=x> b , c\n. d e");
    ASSERT_TRUE(base);
    const std::int32_t a = base->LocFormDic("a", true), b = base->LocFormDic("b", true),
                       c = base->LocFormDic("c", true), d = base->LocFormDic("d", true),
                       e = base->LocFormDic("e", true);
    const std::int32_t F = SegRep::Bourrage;
    SegRep sr(base.get(), delimiteurs(*base, "."));
    struct Lecture {
        std::int32_t position;
        std::vector<std::int32_t> attendu;
    };
    const std::vector<Lecture> lectures = {
        {0, {F, a, b, c, F, F, F, F, F, F, F, F}},
        {3, {a, b, c, F, F, F, F, F, F, F, F, F}},
        {4, {b, c, F, F, F, F, F, F, F, F, F, F}},  // on the comma: forms from the next one
        {8, {F, d, e, F, F, F, F, F, F, F, F, F}},  // after the full stop: no form before
        {9, {d, e, F, F, F, F, F, F, F, F, F, F}},
        {-1, {F, F, F, F, F, F, F, F, F, F, F, F}},
        {10, {F, F, F, F, F, F, F, F, F, F, F, F}},
    };
    for (const Lecture &l : lectures) {
        std::int32_t out[SegRep::TailleSequence];
        sr.LectSeg(out, l.position);
        EXPECT_EQ(std::vector<std::int32_t>(out, out + SegRep::TailleSequence), l.attendu) << "at " << l.position;
    }
}

// Random texts over a small vocabulary, with punctuation, line breaks and key markers; half of
// them repeat long passages of themselves (longer than a segment), inside or at the end of the
// text, so that contexts agree far beyond 11 forms and run to the end of the text.
std::string texteAleatoire(std::mt19937 &g)
{
    static const char *mots[] = {"a", "b", "c", "d", "e", "f"};
    std::uniform_int_distribution<int> nbItems(1, 80);
    const int n = nbItems(g);
    const int vocabulaire = std::uniform_int_distribution<int>(1, 6)(g);
    std::uniform_int_distribution<int> mot(0, vocabulaire - 1);
    std::uniform_int_distribution<int> sorte(0, 99);
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i) {
        const int s = sorte(g);
        if (s < 72)
            items.push_back(mots[std::min(mot(g), mot(g))]);  // skewed towards the first words
        else if (s < 80)
            items.push_back(".");
        else if (s < 86)
            items.push_back(",");
        else if (s < 90)
            items.push_back(";");
        else if (s < 95)
            items.push_back("\n");
        else
            items.push_back(s % 2 ? "<t=x>" : "<u=y>");
    }
    const int copies = std::uniform_int_distribution<int>(-2, 2)(g);
    for (int c = 0; c < copies; ++c) {
        const auto debut = static_cast<std::size_t>(std::uniform_int_distribution<int>(0, n - 1)(g));
        const std::size_t longueur = std::min<std::size_t>(items.size() - debut, 14 + g() % 30);
        const std::vector<std::string> passage(items.begin() + static_cast<std::ptrdiff_t>(debut),
                                               items.begin() + static_cast<std::ptrdiff_t>(debut + longueur));
        const std::size_t ou = c == 0 ? items.size() : g() % (items.size() + 1);
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(ou), passage.begin(), passage.end());
    }
    std::string t = "a ";  // at least one form
    // A large vocabulary in some texts (words met once, ahead of a full stop), so that the
    // comparison of contexts reads past the ranks packed into one key.
    if (g() % 2) {
        for (int i = 0; i < 70; ++i)
            t += "h" + std::to_string(i) + ' ';
        t += ". ";
    }
    for (const std::string &item : items)
        t += item + ' ';
    return t;
}

TEST_F(SegRepCalc, RandomTextsMatchReferenceAndBruteForce)
{
    std::mt19937 g(20240611);
    const char *jeux[] = {".;", ".", "", ".,;"};
    int avecSegments = 0;
    for (int essai = 0; essai < 400; ++essai) {
        const std::string texte = texteAleatoire(g);
        const std::string nom = "r" + std::to_string(essai);
        SCOPED_TRACE(texte);
        auto base = makeBase(texte, ".,;", nom);
        ASSERT_TRUE(base);
        std::set<std::int32_t> d;
        for (char c : std::string(jeux[essai % 4])) {
            const std::int32_t e = base->LocFormDic(std::string(1, c).c_str(), true);
            if (e >= 0)
                d.insert(e);
        }
        const std::int32_t fmin = std::uniform_int_distribution<int>(0, 4)(g);
        SegRep sr(base.get(), d);
        sr.CalcSegRep(0, fmin);
        const std::vector<segref::Seg> calcule = contenu(sr);
        avecSegments += !calcule.empty();

        const segref::Resultat ref = segref::reference(*base, d, fmin);
        EXPECT_EQ(calcule, ref.segments);
        EXPECT_EQ(readFile(nom + ".loc.sr"), ref.octets);

        std::set<segref::Seg> attendu = segref::forceBrute(*base, d, fmin);
        std::set<segref::Seg> trouve;
        for (segref::Seg s : calcule) {
            s.offset = -1;
            EXPECT_TRUE(trouve.insert(s).second) << "segment listed twice";
        }
        EXPECT_EQ(trouve, attendu);
        if (HasFailure())
            break;
    }
    EXPECT_GT(avecSegments, 200) << "the random texts hardly repeat anything";
}

} // namespace

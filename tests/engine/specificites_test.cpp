// Group specificities (PrimSpec), specificities per part (CalcSpecTot) and chronological
// specificities (PrimSpecChr) on small hand-made partitions.
//
// Expected rows come from tests/engine/specificites_reference.py, which applies the rules of the
// three calculators to the same tables of counts with an independent high-precision coefficient
// (mpmath); the unrounded values all lie well away from a rounding boundary.

#include "engine/calcspectot.h"
#include "engine/primspec.h"
#include "engine/primspecchr.h"

#include "base_fixture.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

void PrintTo(const StructSpecChr &l, std::ostream *o)
{
    *o << "(" << l.Entite << " f" << l.f << " c" << l.Coef << " " << l.Premiere << ".." << l.Derniere << ")";
}

namespace {

using talmer::test::InTempDir;
using talmer::test::makeBase;

// A text with one marker <p=value> per part, followed by each word as often as given.
std::string TexteParParties(const std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>> &parties)
{
    std::string texte;
    for (const auto &[valeur, mots] : parties) {
        texte += "<p=" + valeur + ">\n";
        for (const auto &[mot, n] : mots)
            for (int i = 0; i < n; ++i)
                texte += mot + " ";
        texte += "\n";
    }
    return texte;
}

struct Ligne {
    std::string forme;
    std::int32_t F, f, coef;
};

class GroupeTest : public InTempDir {
protected:
    // Parts x (81 occurrences), y (52), z (41); the words sized so that the filters show.
    void SetUp() override
    {
        base = makeBase(TexteParParties({
                            {"x", {{"a", 30}, {"c", 10}, {"d", 12}, {"e", 10}, {"g", 9}, {"h", 10}}},
                            {"y", {{"b", 30}, {"c", 10}, {"d", 12}}},
                            {"z", {{"a", 5}, {"b", 5}, {"c", 30}, {"d", 1}}},
                        }),
                        "");
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
        ASSERT_EQ(partition->NbParties(), 3);
        ASSERT_EQ(partition->NbOccPartie(0), 81);
    }

    std::vector<Ligne> Lignes(const std::vector<StructSpec> &liste)
    {
        std::vector<Ligne> r;
        for (const StructSpec &s : liste) {
            const char *g = s.Entite > base->Nbart() ? "seg" : base->RetourneGraphie(s.Entite, true);
            r.push_back({g, s.F, s.f, s.Coef});
        }
        return r;
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

bool operator==(const Ligne &a, const Ligne &b)
{
    return a.forme == b.forme && a.F == b.F && a.f == b.f && a.coef == b.coef;
}

std::ostream &operator<<(std::ostream &o, const Ligne &l)
{
    return o << "(" << l.forme << " " << l.F << " " << l.f << " " << l.coef << ")";
}

int appels0 = 0, appels1 = 0;
void Compte(std::int32_t phase)
{
    (phase == 0 ? appels0 : appels1)++;
}

TEST_F(GroupeTest, OnePartAgainstAllSortedByCoefficient)
{
    partition->Selectionne(0, true);
    PrimSpec calcul(partition.get(), 1);
    appels0 = appels1 = 0;
    calcul.SetProgression(Compte);
    calcul.Calcule();
    EXPECT_EQ(calcul.TailleCorpus(), 174);
    EXPECT_EQ(calcul.TaillePartie(), 81);
    // b (F 35) never occurs in x: a form absent from the target parts gets no row. e (F 10, the
    // minimum frequency) is tested, g (F 9) is not. e and h tie: entity order (e before h).
    const std::vector<Ligne> attendu = {{"a", 35, 30, 8}, {"e", 10, 10, 4}, {"h", 10, 10, 4}, {"c", 50, 10, -6}};
    EXPECT_EQ(Lignes(calcul.Liste()), attendu);
    // Fewer than 100 forms: one call, after the first form; no segment phase.
    EXPECT_EQ(appels0, 1);
    EXPECT_EQ(appels1, 0);

    partition->FixeFreqMin(9);
    PrimSpec spec9(partition.get(), 1);
    spec9.Calcule();
    // g (F 9) is entity 6, after h (F 10, entity 5).
    const std::vector<Ligne> attendu9 = {{"a", 35, 30, 8}, {"e", 10, 10, 4}, {"h", 10, 10, 4}, {"g", 9, 9, 4}, {"c", 50, 10, -6}};
    EXPECT_EQ(Lignes(spec9.Liste()), attendu9);
}

TEST_F(GroupeTest, TwoTargetParts)
{
    partition->Selectionne(0, true);
    partition->Selectionne(2, true);
    PrimSpec calcul(partition.get(), 1);
    calcul.Calcule();
    EXPECT_EQ(calcul.TaillePartie(), 122);
    const std::vector<Ligne> attendu = {{"a", 35, 35, 7}, {"e", 10, 10, 3}, {"h", 10, 10, 3},
                                        {"c", 50, 40, 2}, {"d", 25, 13, -3}, {"b", 35, 5, -15}};
    EXPECT_EQ(Lignes(calcul.Liste()), attendu);
}

TEST_F(GroupeTest, DivisorTruncatesBothSizes)
{
    partition->Selectionne(2, true);
    PrimSpec calcul(partition.get(), 3);
    calcul.Calcule();
    EXPECT_EQ(calcul.TailleCorpus(), 58);   // 174 / 3
    EXPECT_EQ(calcul.TaillePartie(), 13);   // 41 / 3 = 13.67
    const std::vector<Ligne> attendu = {{"d", 25, 1, -4}};
    EXPECT_EQ(Lignes(calcul.Liste()), attendu);
}

TEST_F(GroupeTest, NothingCheckedGivesNothing)
{
    partition->Selectionne(0, true);
    for (int k = 0; k < 3; ++k)
        partition->Coche(k, false);
    PrimSpec calcul(partition.get(), 1);
    calcul.Calcule();
    EXPECT_EQ(calcul.TailleCorpus(), 0);
    EXPECT_EQ(calcul.NbLignes(), 0);
}

TEST_F(GroupeTest, SegmentsAbsentFromTheTargetCanBeUnderUsed)
{
    // Two segments made by hand on occurrences of b in part y: 12 of them, and 9 (below the
    // minimum frequency).
    const std::vector<std::int32_t> b = base->LocOccFor(base->LocFormDic("b", true));
    SegRep sr(base.get(), {});
    ASSERT_TRUE(sr.OuvreFichiers());
    const std::int32_t bb[] = {base->LocFormDic("b", true), base->LocFormDic("b", true)};
    sr.AjouteSegment({bb[0], bb[1]}, std::vector<std::int32_t>(b.begin(), b.begin() + 12));
    sr.AjouteSegment({bb[0], bb[1]}, std::vector<std::int32_t>(b.begin(), b.begin() + 9));
    base->AssigneSR(&sr);
    partition->Selectionne(0, true);
    PrimSpec calcul(partition.get(), 1);
    appels0 = appels1 = 0;
    calcul.SetProgression(Compte);
    calcul.Calcule();
    const std::vector<Ligne> attendu = {{"a", 35, 30, 8}, {"e", 10, 10, 4}, {"h", 10, 10, 4},
                                        {"seg", 12, 0, -4}, {"c", 50, 10, -6}};
    EXPECT_EQ(Lignes(calcul.Liste()), attendu);
    EXPECT_EQ(calcul.Liste()[3].Entite, base->Nbart() + 1);
    EXPECT_EQ(appels0, 1);
    EXPECT_EQ(appels1, 1);
    base->AssigneSR(nullptr);
}

TEST_F(GroupeTest, PerPartColumnsOfTheCheckedParts)
{
    partition->Coche(1, false);
    partition->Selectionne(2, true);
    appels0 = appels1 = 0;
    CalcSpecTot tot(partition.get(), true, true, Compte, nullptr);
    ASSERT_EQ(tot.NbPartiesCalculees(), 2);
    EXPECT_EQ(tot.IndicesParties(), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(appels0, 2);   // one per column
    // The selected flags are as before.
    EXPECT_FALSE(partition->EstSelectionnee(0));
    EXPECT_FALSE(partition->EstSelectionnee(1));
    EXPECT_TRUE(partition->EstSelectionnee(2));

    // Column 0 is part x, column 1 part z, each against x + z (122 occurrences).
    const std::map<std::string, std::pair<int, int>> attendu = {
        {"a", {4, -4}}, {"c", {-12, 12}}, {"d", {3, -3}}, {"e", {3, 0}}, {"h", {3, 0}},
        {"b", {0, 0}},   // F = 5 over the checked parts: below the minimum frequency
        {"g", {0, 0}},
    };
    for (const auto &[forme, coefs] : attendu) {
        const std::int32_t e = base->LocFormDic(forme.c_str(), true);
        EXPECT_EQ(tot.RetourneSpec(e, 0), coefs.first) << forme;
        EXPECT_EQ(tot.RetourneSpec(e, 1), coefs.second) << forme;
    }
    EXPECT_EQ(tot.RetourneSpec(0, 2), 0);
    EXPECT_EQ(tot.RetourneSpec(0, -1), 0);
    // The index answers as a walk of the column's rows would.
    for (int k = 0; k < 2; ++k)
        for (const StructSpec &l : tot.Colonne(k)->Liste())
            EXPECT_EQ(tot.RetourneSpec(l.Entite, k), l.Coef);
    EXPECT_EQ(tot.Colonne(0)->TailleCorpus(), 122);
}

TEST_F(GroupeTest, PerPartWithoutCheckedPart)
{
    for (int k = 0; k < 3; ++k)
        partition->Coche(k, false);
    CalcSpecTot tot(partition.get(), false, false, nullptr, nullptr);
    EXPECT_EQ(tot.NbPartiesCalculees(), 0);
    EXPECT_TRUE(tot.IndicesParties().empty());
    EXPECT_EQ(tot.RetourneSpec(0, 0), 0);
    EXPECT_EQ(tot.Colonne(0), nullptr);
}

std::vector<std::int32_t> journal;
void Journalise(std::int32_t phase)
{
    journal.push_back(phase);
}

// A callback that lets `appelsAvantArret` calls through, then stops the computation as the shell
// does when the user asks.
int appelsAvantArret = 0;
void ArreteApres(std::int32_t)
{
    if (appelsAvantArret-- <= 0)
        throw CalculInterrompu{};
}

// Every column equals the group computation of that part alone, row for row, with the same
// progress calls, on one thread as on eight: on random partitions with unchecked parts, parts
// present in several zones, parts without forms, and repeated segments attached. Stopped halfway
// on eight threads, the computation lets the interruption through and changes no flag.
TEST_F(GroupeTest, PerPartColumnsMatchTheGroupComputationOfEachPart)
{
    std::mt19937 g(20261210);
    const std::vector<std::string> mots = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    for (int essai = 0; essai < 30; ++essai) {
        const int valeurs = 1 + static_cast<int>(g() % 12);
        std::string texte;
        for (int zone = 0, zones = 1 + static_cast<int>(g() % 25); zone < zones; ++zone) {
            const int v = static_cast<int>(g() % static_cast<unsigned>(valeurs));
            texte += "<p=v" + std::to_string(v) + "> ";
            for (int i = 0, n = static_cast<int>(g() % 60); i < n; ++i) {
                // Each part leans towards its own words, so that specificities show.
                const auto m = g() % 3 == 0 ? static_cast<std::size_t>(v) % mots.size() : g() % mots.size();
                texte += mots[m] + (g() % 9 == 0 ? " . " : " ");
            }
        }
        const std::string nom = "s" + std::to_string(essai);
        auto corpus = makeBase(texte, ".", nom);
        ASSERT_TRUE(corpus);
        SegRep segments(corpus.get(), {corpus->LocFormDic(".", true)});
        if (essai % 2) {
            segments.CalcSegRep(0, 2);
            corpus->AssigneSR(&segments);
        }
        Partition parts(corpus.get(), corpus->LocFormDic("p", false));
        parts.FixeFreqMin(static_cast<std::int32_t>(g() % 6));
        parts.FixeSeuil(essai % 3 == 0 ? 50 : 5);
        for (std::int32_t k = 0; k < parts.NbParties(); ++k) {
            parts.Coche(k, g() % 4 != 0);
            parts.Selectionne(k, g() % 3 == 0);
        }
        const std::vector<char> selection = parts.CopieSelection();

        // The reference: each checked part alone as the target of a group computation.
        journal.clear();
        std::vector<std::vector<StructSpec>> listes;
        std::vector<std::int32_t> taillesParties;
        for (std::int32_t i = 0; i < parts.NbParties(); ++i) {
            if (!parts.EstCochee(i))
                continue;
            for (std::int32_t k = 0; k < parts.NbParties(); ++k)
                parts.Selectionne(k, k == i);
            PrimSpec seule(&parts, 1);
            seule.SetProgression(Journalise);
            seule.Calcule();
            listes.push_back(seule.Liste());
            taillesParties.push_back(seule.TaillePartie());
        }
        parts.RestaureSelection(selection);
        const std::vector<std::int32_t> journalSeules = journal;

        for (const unsigned fils : {1u, 8u}) {
            journal.clear();
            CalcSpecTot tot(&parts, false, false, Journalise, nullptr, fils);
            EXPECT_EQ(parts.CopieSelection(), selection);
            ASSERT_EQ(tot.NbPartiesCalculees(), static_cast<std::int32_t>(listes.size()));
            for (std::size_t k = 0; k < listes.size(); ++k) {
                const auto colonne = static_cast<std::int32_t>(k);
                EXPECT_EQ(tot.Colonne(colonne)->Liste(), listes[k]) << "essai " << essai << " column " << k << ", " << fils;
                EXPECT_EQ(tot.Colonne(colonne)->TaillePartie(), taillesParties[k]);
            }
            EXPECT_EQ(journal, journalSeules) << "essai " << essai << ", " << fils << " thread(s)";
        }
        if (journalSeules.size() > 1) {
            appelsAvantArret = static_cast<int>(journalSeules.size() / 2);
            EXPECT_THROW(CalcSpecTot(&parts, false, false, ArreteApres, nullptr, 8), CalculInterrompu);
            EXPECT_EQ(parts.CopieSelection(), selection);
        }
        corpus->AssigneSR(nullptr);
        if (HasFailure())
            break;
    }
}

// The reader answers as RetourneSpec does, whatever the order of the entities read: ascending
// (the table's rows as first filled), descending, shuffled, with repeats.
TEST_F(GroupeTest, TheReaderOfManyEntitiesAnswersAsTheLookupDoes)
{
    std::mt19937 g(20261211);
    std::string texte;
    for (int zone = 0; zone < 40; ++zone) {
        const int v = zone % 7;
        texte += "<p=v" + std::to_string(v) + "> ";
        for (int i = 0; i < 80; ++i)
            texte += "m" + std::string(1, char('a' + (g() % 3 == 0 ? v : g() % 26))) + (g() % 9 == 0 ? " . " : " ");
    }
    auto corpus = makeBase(texte, ".", "lecteur");
    ASSERT_TRUE(corpus);
    SegRep segments(corpus.get(), {corpus->LocFormDic(".", true)});
    segments.CalcSegRep(0, 2);
    corpus->AssigneSR(&segments);
    Partition parts(corpus.get(), corpus->LocFormDic("p", false));
    parts.FixeFreqMin(1);
    parts.FixeSeuil(50);
    parts.Coche(3, false);
    const CalcSpecTot tot(&parts, false, false, nullptr, nullptr);
    std::vector<std::int32_t> entites;
    for (std::int32_t e = 0; e <= corpus->Nbart() + segments.NbSegments() + 1; ++e)
        entites.push_back(e);
    std::vector<std::int32_t> melange = entites;
    std::shuffle(melange.begin(), melange.end(), g);
    melange.insert(melange.end(), entites.begin(), entites.begin() + 20);
    const std::vector<std::vector<std::int32_t>> ordres = {entites, {entites.rbegin(), entites.rend()}, melange};
    int nonNuls = 0;
    for (const std::vector<std::int32_t> &ordre : ordres) {
        LecteurSpecTot lecteur(tot);
        for (std::int32_t e : ordre)
            for (std::int32_t k = -1; k <= tot.NbPartiesCalculees(); ++k) {
                const std::int32_t attendu = tot.RetourneSpec(e, k);
                nonNuls += attendu != 0;
                ASSERT_EQ(lecteur.Coef(e, k), attendu) << "entity " << e << " column " << k;
            }
    }
    EXPECT_GT(nonNuls, 100);
    corpus->AssigneSR(nullptr);
}

void Echoue(std::int32_t)
{
    throw std::runtime_error("interrompu");
}

TEST_F(GroupeTest, PerPartRestoresTheSelectionWhenAComputationFails)
{
    partition->Selectionne(1, true);
    EXPECT_THROW(CalcSpecTot(partition.get(), false, false, Echoue, nullptr), std::runtime_error);
    EXPECT_FALSE(partition->EstSelectionnee(0));
    EXPECT_TRUE(partition->EstSelectionnee(1));
    EXPECT_FALSE(partition->EstSelectionnee(2));
}

TEST_F(GroupeTest, AnInterruptedComputationKeepsItsListAndTheFlags)
{
    partition->Selectionne(0, true);
    PrimSpec groupe(partition.get(), 1);
    groupe.Calcule();
    const std::vector<StructSpec> avant = groupe.Liste();
    ASSERT_FALSE(avant.empty());
    const std::int32_t T = groupe.TailleCorpus(), t = groupe.TaillePartie();

    // Another target: what the first run found stays as it was when the second is stopped.
    partition->Selectionne(0, false);
    partition->Selectionne(2, true);
    groupe.SetProgression(ArreteApres);
    appelsAvantArret = 0;
    EXPECT_THROW(groupe.Calcule(), CalculInterrompu);
    EXPECT_EQ(groupe.Liste(), avant);
    EXPECT_EQ(groupe.TailleCorpus(), T);
    EXPECT_EQ(groupe.TaillePartie(), t);
    // Stopped in its second column (one call per column on so few forms).
    appelsAvantArret = 1;
    EXPECT_THROW(CalcSpecTot(partition.get(), false, false, ArreteApres, nullptr), CalculInterrompu);
    EXPECT_FALSE(partition->EstSelectionnee(0));
    EXPECT_FALSE(partition->EstSelectionnee(1));
    EXPECT_TRUE(partition->EstSelectionnee(2));
}

// Chronological specificities: six parts of 300 occurrences, padded with forms that occur at most
// once per part (never above the minimum frequency).
class ChronoTest : public InTempDir {
protected:
    void Construit(const std::vector<std::pair<std::string, std::vector<int>>> &formes, int taille = 300)
    {
        const std::size_t parties = formes.front().second.size();
        std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>> texte;
        for (std::size_t k = 0; k < parties; ++k) {
            std::vector<std::pair<std::string, int>> mots;
            int n = 0;
            for (const auto &[forme, comptes] : formes) {
                mots.emplace_back(forme, comptes[k]);
                n += comptes[k];
            }
            for (int i = 0; n < taille; ++i, ++n)
                mots.emplace_back("z" + std::to_string(i), 1);
            texte.emplace_back(std::string(1, static_cast<char>('A' + k)), mots);
        }
        base = makeBase(TexteParParties(texte), "");
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
        ASSERT_EQ(partition->NbParties(), static_cast<std::int32_t>(parties));
    }
    std::int32_t E(const char *forme) { return base->LocFormDic(forme, true); }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

TEST_F(ChronoTest, RunsAndTheirInversions)
{
    Construit({
        {"u", {0, 0, 0, 67, 67, 66}},    // under-used over 0..2
        {"w", {0, 0, 200, 0, 0, 0}},     // 0..2, 1..2 and 2..2 all reach the floor
        {"m", {50, 50, 0, 0, 50, 50}},   // under-used over 2..3
        {"q", {10, 0, 0, 0, 0, 0}},      // frequency equal to the minimum frequency
        {"r", {11, 0, 0, 0, 0, 0}},
    });
    PrimSpecChr chr(partition.get(), 5, 10);
    chr.Calcule();
    EXPECT_EQ(chr.NbParties(), 6);
    const std::vector<StructSpecChr> attendu = {
        {E("m"), 0, -39, 2, 3},    // a negative run that touches neither end stays as it is
        // Under-use of 0..2 at the floor ties with the over-use of 3..5; the first run visited
        // wins and is reported as the over-use of the parts after it, with the f of 0..2.
        {E("u"), 0, 51, 3, 5},
        {E("w"), 200, 51, 0, 2},   // equal magnitudes: the smaller first part, then the shorter run
        {E("r"), 11, 10, 0, 0},
    };
    EXPECT_EQ(chr.Lignes(), attendu);
}

TEST_F(ChronoTest, UnderUseUpToTheLastPart)
{
    // Over-use of 0..3 and under-use of 4..5 are the same event with the same magnitude; whichever
    // the last bits favour, the row reads over-use of 0..3.
    Construit({{"v", {50, 50, 50, 50, 0, 0}}});
    PrimSpecChr chr(partition.get(), 5, 10);
    chr.Calcule();
    ASSERT_EQ(chr.NbLignes(), 1);
    const StructSpecChr &l = chr.Ligne(0);
    EXPECT_EQ(l.Entite, E("v"));
    EXPECT_EQ(l.Coef, 39);
    EXPECT_EQ(l.Premiere, 0);
    EXPECT_EQ(l.Derniere, 3);
    EXPECT_TRUE(l.f == 200 || l.f == 0) << l.f;
}

TEST_F(ChronoTest, ProgressOverTheExaminedFormsAndAnInterruptedRunKeepsTheRowsOfBefore)
{
    Construit({
        {"u", {0, 0, 0, 67, 67, 66}},
        {"w", {0, 0, 200, 0, 0, 0}},
        {"r", {11, 0, 0, 0, 0, 0}},
    });
    // Above a minimum frequency of 1, the padding forms are examined too (about 300 forms).
    ASSERT_GE(base->Nbform(), 200);
    PrimSpecChr chr(partition.get(), 5, 1);
    chr.CalculeEntite(E("w"));
    const std::vector<StructSpecChr> avant = chr.Lignes();
    ASSERT_EQ(avant.size(), 1u);

    // Stopped at the first call (after the first form) or late in the walk: nothing is added.
    for (int arret : {0, 60}) {
        appelsAvantArret = arret;
        EXPECT_THROW(chr.Calcule(ArreteApres), CalculInterrompu);
        EXPECT_EQ(chr.Lignes(), avant);
    }
    // Run to its end, about a hundred calls (once every n / 100 forms: 100 to 200 of them);
    // the rows join those already there.
    appels0 = appels1 = 0;
    chr.Calcule(Compte);
    EXPECT_GE(appels0, 100);
    EXPECT_LE(appels0, 200);
    EXPECT_EQ(appels1, 0);
    ASSERT_GE(chr.NbLignes(), 4);
    EXPECT_EQ(chr.Ligne(0), avant[0]);
    EXPECT_EQ(chr.Ligne(1).Entite, E("u"));

    // Above 10 only u, w and r are examined: the steps go with them, once for so few.
    PrimSpecChr frequentes(partition.get(), 5, 10);
    appels0 = 0;
    frequentes.Calcule(Compte);
    EXPECT_EQ(appels0, 1);
    EXPECT_EQ(frequentes.NbLignes(), 3);
}

TEST_F(ChronoTest, OnePartIsNeverSignificant)
{
    Construit({{"a", {40}}}, 100);
    PrimSpecChr chr(partition.get(), 5, 10);
    chr.Calcule();
    EXPECT_EQ(chr.NbLignes(), 0);
}

TEST_F(ChronoTest, TheTenSortCodes)
{
    Construit({
        {"u", {0, 0, 0, 67, 67, 66}},
        {"w", {0, 0, 200, 0, 0, 0}},
        {"m", {50, 50, 0, 0, 50, 50}},
        {"r", {11, 0, 0, 0, 0, 0}},
    });
    PrimSpecChr chr(partition.get(), 5, 10);
    chr.Calcule();
    ASSERT_EQ(chr.NbLignes(), 4);
    // Rows: m (F 200, f 0, -39, 2..3), u (200, 0, 51, 3..5), w (200, 200, 51, 0..2),
    // r (11, 11, 10, 0..0). Equal keys come in entity order (m, u, w, r).
    const std::int32_t m = E("m"), u = E("u"), w = E("w"), r = E("r");
    ASSERT_LT(m, u);
    ASSERT_LT(u, w);
    ASSERT_LT(w, r);
    const std::vector<std::int32_t> attendu[10] = {
        {m, r, u, w},   // 0 alphabetical
        {w, u, r, m},   // 1
        {r, m, u, w},   // 2 total frequency
        {m, u, w, r},   // 3
        {r, w, m, u},   // 4 run: (0,0) (0,2) (2,3) (3,5)
        {u, m, w, r},   // 5
        {m, u, r, w},   // 6 sub-frequency
        {w, r, m, u},   // 7
        {m, r, u, w},   // 8 coefficient
        {u, w, r, m},   // 9
    };
    for (int code = 0; code < 10; ++code) {
        chr.Trie(9 - code);   // start from another order each time
        chr.Trie(code);
        std::vector<std::int32_t> ordre;
        for (const StructSpecChr &l : chr.Lignes())
            ordre.push_back(l.Entite);
        EXPECT_EQ(ordre, attendu[code]) << "code " << code;
    }
    const std::vector<StructSpecChr> avant = chr.Lignes();
    chr.Trie(10);
    chr.Trie(-1);
    EXPECT_EQ(chr.Lignes(), avant);
}

// The rows of the forms spread over the threads are those of the forms examined one after the
// other, in entity order; the callback runs on the calling thread as often as in a walk that
// calls after every hundredth of the examined forms; stopped half-way by its callback, the
// computation leaves the rows of before.
std::thread::id filAppelant;
int appelsChrono = 0, arretApres = -1;
void PasChrono(std::int32_t phase)
{
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(std::this_thread::get_id(), filAppelant);
    if (appelsChrono++ == arretApres)
        throw CalculInterrompu{};
}

TEST_F(ChronoTest, FormsOverTheThreadsGiveTheRowsOfOneFormAtATime)
{
    // 40 parts of a drifting vocabulary: forms come and go along the parts.
    std::mt19937 alea(4242);
    std::string texte;
    for (int k = 0; k < 40; ++k) {
        texte += "<p=" + std::string(1, static_cast<char>('A' + k / 26)) + std::string(1, static_cast<char>('a' + k % 26)) + ">\n";
        for (int n = 0; n < 1500; ++n) {
            const int rang = static_cast<int>(std::pow(static_cast<double>(alea() % 100000) / 100000.0, 3.0) * 1500);
            texte += "m" + std::to_string((rang + (alea() % 4 == 0 ? 30 * k : 0)) % 2500) + " ";
        }
        texte += "\n";
    }
    base = makeBase(texte, "");
    ASSERT_TRUE(base);
    partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
    ASSERT_EQ(partition->NbParties(), 40);
    const std::int32_t nbform = base->Nbform();
    ASSERT_GT(nbform, 1000);
    std::int32_t examinees = 0;
    for (std::int32_t e = 0; e < nbform; ++e)
        examinees += base->RetourneFrq(e) > 10;
    ASSERT_GT(examinees, 200);

    PrimSpecChr un(partition.get(), 5, 10);
    for (std::int32_t e = 0; e < nbform; ++e)
        un.CalculeEntite(e);
    ASSERT_GT(un.NbLignes(), 100);

    filAppelant = std::this_thread::get_id();
    PrimSpecChr tous(partition.get(), 5, 10);
    appelsChrono = 0;
    arretApres = -1;
    tous.Calcule(PasChrono);
    EXPECT_EQ(tous.Lignes(), un.Lignes());
    // One call after every hundredth of the examined forms.
    EXPECT_EQ(appelsChrono, (examinees - 1) / (examinees / 100));

    for (int arret : {0, 50}) {
        appelsChrono = 0;
        arretApres = arret;
        EXPECT_THROW(tous.Calcule(PasChrono), CalculInterrompu);
        EXPECT_EQ(appelsChrono, arret + 1);
        EXPECT_EQ(tous.Lignes(), un.Lignes());
    }
}

} // namespace

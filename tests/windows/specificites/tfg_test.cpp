// The table of forms by parts: header-click orders, the rows' orders, and the "Sp. Tot" run.
#include "windows/specificites/tfg.h"

#include "windows/specificites/pagetfg.h"

#include "corpus_parties.h"
#include "dialogues_muets.h"

#include "engine/calcspectot.h"
#include "engine/segrep.h"
#include "services/mesures.h"
#include "support/textes_dessines.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using namespace talmer;
using talmer::test::DialoguesMuets;

TEST(EtatTriTFG, HeaderClicksAndModeButtons)
{
    enum Geste { Clic, Frequence, Specificite };
    struct Pas {
        Geste geste;
        int colonne;   // for a click
        bool modeFrq;  // for a click
        OrdreTFG ordre;
        int etat, colonneTriee;
    };
    using O = OrdreTFG;
    const Pas pas[] = {
        {Clic, 0, true, O::AlphaCroissant, 0, -1},       // first click on the spellings: ascending
        {Clic, 0, true, O::AlphaDecroissant, 1, -1},
        {Clic, 0, true, O::AlphaCroissant, 0, -1},
        {Frequence, 0, true, O::Aucun, 0, -1},           // no part column sorted yet
        {Clic, 2, true, O::FrqDecroissante, 3, 1},       // a new part column: highest first
        {Clic, 2, true, O::FrqCroissante, 2, 1},
        {Clic, 2, true, O::FrqDecroissante, 3, 1},
        {Clic, 3, true, O::FrqDecroissante, 3, 2},       // another part column starts afresh
        {Specificite, 0, true, O::CoefDecroissant, 4, 2},
        {Specificite, 0, true, O::Aucun, 4, 2},          // already in that mode
        {Clic, 3, false, O::CoefCroissant, 5, 2},
        {Clic, 3, false, O::CoefDecroissant, 4, 2},
        {Clic, 1, false, O::CoefDecroissant, 4, 0},
        {Frequence, 0, true, O::FrqDecroissante, 3, 0},
        {Clic, 0, true, O::AlphaCroissant, 0, 0},        // the sorted part column is kept
        {Clic, 1, true, O::FrqDecroissante, 3, 0},       // same column, state 0: descending
    };
    EtatTriTFG etat;
    int i = 0;
    for (const Pas &p : pas) {
        OrdreTFG o = O::Aucun;
        switch (p.geste) {
        case Clic: o = etat.ClicEntete(p.colonne, p.modeFrq); break;
        case Frequence: o = etat.ChoisitFrequence(); break;
        case Specificite: o = etat.ChoisitSpecificite(); break;
        }
        EXPECT_EQ(o, p.ordre) << "step " << i;
        EXPECT_EQ(etat.Etat(), p.etat) << "step " << i;
        EXPECT_EQ(etat.Colonne(), p.colonneTriee) << "step " << i;
        ++i;
    }
}

TEST(EtatTriTFG, ANewComputationForgetsAColumnItNoLongerHas)
{
    EtatTriTFG etat;
    etat.ClicEntete(3, true); // computed part 2
    etat.NouveauCalcul(3);
    EXPECT_EQ(etat.Colonne(), 2);
    etat.NouveauCalcul(2);
    EXPECT_EQ(etat.Colonne(), -1);
    EXPECT_EQ(etat.Etat(), 3);
    EXPECT_EQ(etat.TriePartie(true), OrdreTFG::Aucun);
}

class TFGBase : public talmer::test::CorpusParties {
protected:
    std::vector<std::int32_t> Trie(std::vector<std::int32_t> lignes, OrdreTFG ordre, const CalcSpecTot *calcul,
                                   int partie)
    {
        FrequencesParties frequences(partition.get());
        TrieLignesTFG(lignes, ordre, *base, frequences, calcul, partie);
        return lignes;
    }
};

TEST_F(TFGBase, AlphabeticalOrderPutsAFormBeforeTheSegmentsItStarts)
{
    SegRep segments(base.get(), {4});
    segments.AjouteSegment({0, 1}, {});  // "le chat "
    segments.AjouteSegment({1, 3}, {});  // "chat dort "
    base->AssigneSR(&segments);
    const std::int32_t leChat = base->Nbart() + 1, chatDort = base->Nbart() + 2;
    const std::vector<std::int32_t> lignes = {leChat, 0, chatDort, 3, 1, 2};
    EXPECT_EQ(Trie(lignes, OrdreTFG::AlphaCroissant, nullptr, -1),
              (std::vector<std::int32_t>{1, chatDort, 2, 3, 0, leChat}));
    EXPECT_EQ(Trie(lignes, OrdreTFG::AlphaDecroissant, nullptr, -1),
              (std::vector<std::int32_t>{leChat, 0, 3, 2, chatDort, 1}));
    base->AssigneSR(nullptr);
}

TEST_F(TFGBase, FrequencyAndCoefficientOrdersOfAPartColumn)
{
    partition->FixeSeuil(60);
    partition->FixeFreqMin(1);
    CalcSpecTot calcul(partition.get(), false, false, nullptr, nullptr);
    ASSERT_EQ(calcul.IndicesParties(), (std::vector<std::int32_t>{0, 1, 2}));
    const std::vector<std::int32_t> lignes = {0, 1, 2, 3};

    // Part b: le 2, chat 2, dort 1, chien 0.
    std::vector<std::int32_t> r = Trie(lignes, OrdreTFG::FrqDecroissante, &calcul, 1);
    EXPECT_EQ(std::set<std::int32_t>(r.begin(), r.begin() + 2), (std::set<std::int32_t>{0, 1}));
    EXPECT_EQ(r[2], 3);
    EXPECT_EQ(r[3], 2);
    r = Trie(lignes, OrdreTFG::FrqCroissante, &calcul, 1);
    EXPECT_EQ(r[0], 2);
    EXPECT_EQ(r[1], 3);

    // At 60 %, part b gives a coefficient to chat alone (+1; le and dort are not significant,
    // chien is absent): it comes first in both directions.
    EXPECT_EQ(calcul.RetourneSpec(1, 1), 1);
    for (OrdreTFG o : {OrdreTFG::CoefDecroissant, OrdreTFG::CoefCroissant})
        EXPECT_EQ(Trie(lignes, o, &calcul, 1).front(), 1);
    // Part c: chien +2, le not significant.
    EXPECT_EQ(Trie({0, 2}, OrdreTFG::CoefCroissant, &calcul, 2), (std::vector<std::int32_t>{2, 0}));
}

// A part's frequency column, segments and punctuation included, sorts as the frequencies counted
// zone by zone sort, equal keys in the same order: on random partitions, both directions, each
// part's column, twice over the frequencies kept.
TEST_F(TFGBase, FrequencyOrdersAsTheZoneByZoneCounts)
{
    std::mt19937 g(20261211);
    const std::vector<std::string> mots = {"a", "b", "c", "d", "e", "f"};
    for (int essai = 0; essai < 8; ++essai) {
        std::string texte;
        const int valeurs = 1 + static_cast<int>(g() % 9);
        for (int zone = 0, zones = 1 + static_cast<int>(g() % 20); zone < zones; ++zone) {
            texte += "<p=v" + std::to_string(g() % static_cast<unsigned>(valeurs)) + "> ";
            for (int i = 0, n = static_cast<int>(g() % 50); i < n; ++i)
                texte += mots[std::min(g() % mots.size(), g() % mots.size())] + (g() % 6 == 0 ? " . " : " ");
        }
        auto corpus = talmer::test::makeBase(texte, ".", "aleatoire" + std::to_string(essai));
        ASSERT_TRUE(corpus);
        const std::int32_t point = corpus->LocFormDic(".", true);
        SegRep segments(corpus.get(), {point});
        segments.CalcSegRep(0, 2);
        corpus->AssigneSR(&segments);
        Partition parts(corpus.get(), corpus->LocFormDic("p", false));
        CalcSpecTot calcul(&parts, false, false, nullptr, nullptr);
        std::vector<std::int32_t> lignes;
        for (std::int32_t e = 0; e < corpus->Nbform(); ++e)
            lignes.push_back(e);
        if (point >= 0)
            lignes.push_back(point);
        for (std::int32_t e = corpus->Nbart() + 1; e <= corpus->NbTotEntites(); ++e)
            lignes.push_back(e);
        std::shuffle(lignes.begin(), lignes.end(), g);

        FrequencesParties frequences(&parts);
        for (int tour = 0; tour < 2; ++tour) {
            for (std::int32_t k = 0; k < calcul.NbPartiesCalculees(); ++k) {
                for (const bool croissant : {false, true}) {
                    std::vector<std::pair<std::int32_t, std::int32_t>> cles;
                    for (std::int32_t e : lignes)
                        cles.emplace_back(parts.RetourneFrqPartie(e, calcul.IndicesParties()[static_cast<std::size_t>(k)]), e);
                    std::sort(cles.begin(), cles.end(), [croissant](const auto &x, const auto &y) {
                        return croissant ? x.first < y.first : x.first > y.first;
                    });
                    std::vector<std::int32_t> attendu;
                    for (const auto &c : cles)
                        attendu.push_back(c.second);
                    std::vector<std::int32_t> triees = lignes;
                    TrieLignesTFG(triees, croissant ? OrdreTFG::FrqCroissante : OrdreTFG::FrqDecroissante, *corpus,
                                  frequences, &calcul, k);
                    EXPECT_EQ(triees, attendu) << texte << "\npart " << k << (croissant ? " ascending" : " descending");
                }
            }
        }
        corpus->AssigneSR(nullptr);
        if (HasFailure())
            break;
    }
}

void Echoue(std::int32_t)
{
    throw std::runtime_error("interrompu");
}

TEST_F(TFGBase, RunComputesEveryPartOrTheCheckedOnesAndPutsTheFlagsBack)
{
    partition->Coche(0, false);
    partition->Selectionne(2, true);
    auto flags = [this] {
        return std::vector<bool>{partition->EstCochee(0), partition->EstCochee(1), partition->EstCochee(2),
                                 partition->EstSelectionnee(0), partition->EstSelectionnee(1),
                                 partition->EstSelectionnee(2)};
    };
    const std::vector<bool> avant = flags();

    EXPECT_EQ(NbPartiesACalculer(*partition, false), 3);
    std::unique_ptr<CalcSpecTot> tout = CalculeSpecTot(*partition, false, nullptr);
    ASSERT_TRUE(tout);
    EXPECT_EQ(tout->IndicesParties(), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(flags(), avant);

    EXPECT_EQ(NbPartiesACalculer(*partition, true), 2);
    std::unique_ptr<CalcSpecTot> cochees = CalculeSpecTot(*partition, true, nullptr);
    ASSERT_TRUE(cochees);
    EXPECT_EQ(cochees->IndicesParties(), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(flags(), avant);

    EXPECT_THROW(CalculeSpecTot(*partition, false, Echoue), std::runtime_error);
    EXPECT_EQ(flags(), avant);

    for (std::int32_t k = 0; k < 3; ++k)
        partition->Coche(k, false);
    EXPECT_EQ(CalculeSpecTot(*partition, true, nullptr), nullptr);
}

TEST_F(TFGBase, PageRunKeepsItsOrdersButNeverAColumnBeyondTheNewComputation)
{
    DialoguesMuets dialogues;
    PageTFG page(partition.get());
    ModeleTFG &m = *page.Modele();
    ASSERT_TRUE(page.Calcule(false, 100, 1));
    EXPECT_EQ(partition->Seuil(), 100);
    EXPECT_EQ(partition->FreqMin(), 1);
    ASSERT_EQ(m.columnCount(), 3);
    EXPECT_EQ(m.headerData(2, Qt::Horizontal).toString(), "c");
    EXPECT_EQ(m.headerData(1, Qt::Vertical).toString(), "chat");
    EXPECT_EQ(m.Lignes(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    // Grid row 1 (the first data row) is green, row 2 white; a part cell shows the frequency.
    EXPECT_EQ(m.index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 220, 192));
    EXPECT_EQ(m.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(m.index(0, 1).data().toString(), "2");

    page.Grille()->horizontalHeader()->sectionClicked(2); // part c, frequency descending: chien and le (1 each) first
    EXPECT_EQ(page.Etat().Colonne(), 2);
    EXPECT_EQ(std::set<std::int32_t>(m.Lignes().begin(), m.Lignes().begin() + 2), (std::set<std::int32_t>{0, 2}));

    // A run on the checked parts only (b and c): the table refills in entity order and the kept
    // column (computed part 2) no longer exists.
    partition->Coche(0, false);
    ASSERT_TRUE(page.Calcule(true, 100, 1));
    EXPECT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.Lignes(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(page.Etat().Colonne(), -1);
    EXPECT_TRUE(partition->EstCochee(1));
    EXPECT_FALSE(partition->EstCochee(0));

    // The corner sorts the spellings.
    page.Grille()->findChild<QAbstractButton *>()->click();
    EXPECT_EQ(m.Lignes(), (std::vector<std::int32_t>{1, 2, 3, 0}));
    EXPECT_EQ(page.Etat().Etat(), 0);

    // A dropped group replaces the rows, in its order.
    page.DeposeGroupe({3, 0});
    EXPECT_EQ(m.Lignes(), (std::vector<std::int32_t>{3, 0}));

    // Nothing to compute: the user is told and the table stays.
    partition->Coche(1, false);
    partition->Coche(2, false);
    const CalcSpecTot *avant = page.Calcul();
    EXPECT_FALSE(page.Calcule(true, 5, 10));
    EXPECT_EQ(page.Calcul(), avant);
    EXPECT_EQ(dialogues.messages.size(), 1);
}

TEST_F(TFGBase, ANewRunCountsTheSegmentsAttachedThen)
{
    talmer::test::DialoguesMuets dialogues;
    // Items: 2 le, 3 chat (part b); 8 le, 9 chien (part c); 15 le, 16 chat (part b).
    SegRep premiers(base.get(), {4});
    ASSERT_TRUE(premiers.OuvreFichiers());
    premiers.AjouteSegment({0, 1}, {2, 15}); // "le chat "
    base->AssigneSR(&premiers);
    PageTFG page(partition.get());
    const std::int32_t segment = base->Nbart() + 1;
    ASSERT_TRUE(page.Calcule(false, 5, 1));
    ASSERT_EQ(page.Modele()->Lignes().back(), segment);
    EXPECT_EQ(page.Modele()->index(4, 1).data().toString(), "2");
    EXPECT_EQ(page.Modele()->headerData(4, Qt::Vertical).toString(), "le chat ");

    SegRep seconds(base.get(), {4});
    ASSERT_TRUE(seconds.OuvreFichiers());
    seconds.AjouteSegment({0, 2}, {8}); // "le chien "
    base->AssigneSR(&seconds);
    ASSERT_TRUE(page.Calcule(false, 5, 1));
    EXPECT_EQ(page.Modele()->index(4, 1).data().toString(), "0");
    EXPECT_EQ(page.Modele()->index(4, 2).data().toString(), "1");
    base->AssigneSR(nullptr);
}

TEST(PageTFG, SpellingsTooLongForTheGridStopAtAThirdOfIt)
{
    talmer::test::TempDir ici;
    std::string longue;
    while (longue.size() < 120)
        longue += "anticonstitutionnellement";
    auto base = talmer::test::makeBase("<partie=b> " + longue + " le chat . <partie=c> le chien .", ".");
    ASSERT_TRUE(base);
    Partition partition(base.get(), base->LocFormDic("partie", false));
    PageTFG page(&partition);
    ASSERT_TRUE(page.Calcule(false, 5, 1));
    page.resize(900, 400);
    page.show();
    QCoreApplication::processEvents();
    const QHeaderView *lignes = page.Grille()->verticalHeader();
    EXPECT_LE(lignes->width(), 900 / 3);
    EXPECT_EQ(lignes->textElideMode(), Qt::ElideRight);
    // Its row title is drawn elided, never cut mid-letter; a short one whole.
    int rang = -1;
    for (int r = 0; r < page.Modele()->rowCount(); ++r)
        if (page.Modele()->headerData(r, Qt::Vertical).toString().startsWith(QStringLiteral("anticonstitution")))
            rang = r;
    ASSERT_GE(rang, 0);
    const QString entiere = page.Modele()->headerData(rang, Qt::Vertical).toString();
    ASSERT_GT(QFontMetrics(lignes->font()).horizontalAdvance(entiere), lignes->width());
    const QString affiche = talmer::TitreAffiche(*lignes, rang);
    EXPECT_TRUE(affiche.endsWith(QChar(0x2026))) << affiche.toStdString();
    EXPECT_TRUE(entiere.startsWith(affiche.chopped(1)));
    EXPECT_LE(QFontMetrics(lignes->font()).horizontalAdvance(affiche), lignes->width());
    const QStringList dessines = talmer::test::TextesDessines(*page.Grille()->verticalHeader());
    EXPECT_TRUE(dessines.contains(affiche));
    EXPECT_FALSE(dessines.contains(entiere));
    EXPECT_TRUE(dessines.contains(QStringLiteral("chat")));
    // The part columns keep their width beside it.
    EXPECT_GE(page.Grille()->columnWidth(0), 90);
}

TEST_F(TFGBase, CancellingTheDialogChangesNothing)
{
    DialoguesMuets dialogues;
    partition->FixeSeuil(7);
    PageTFG page(partition.get());
    EXPECT_FALSE(page.LanceSpTot(nullptr));
    EXPECT_EQ(page.Calcul(), nullptr);
    EXPECT_EQ(partition->Seuil(), 7);
    EXPECT_EQ(partition->FreqMin(), 10);
}

} // namespace

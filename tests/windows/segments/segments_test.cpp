// Repeated-segment set-up dialog and list: thresholds, orders, the drag, the report page, and a
// second computation while a list is open, with the groups of the container that follow it.
#include "engine/base_fixture.h"
#include "windows/fenprinc_echantillon.h"
#include "engine/charg1.h"
#include "engine/segrep.h"
#include "engine/tgen.h"
#include "shell/conteneur.h"
#include "shell/dragobjects.h"
#include "shell/installation_glisser.h"
#include "shell/fenprinc.h"
#include "shell/poste_test.h"
#include "shell/rapport.h"
#include "windows/commun/choixcouleur.h"
#include "windows/groupes/fenselecformes.h"
#include "windows/installation.h"
#include "windows/segments/fenprepsr.h"
#include "windows/segments/frmsr.h"
#include "windows/segments/modele_segments.h"
#include "windows/segments/ordre_segments.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QToolButton>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>

using talmer::OrdreSR;
using talmer::test::DialoguesTest;
using talmer::test::InTempDir;
using talmer::test::makeBase;
using talmer::test::readFile;

namespace {

std::vector<std::vector<std::int32_t>> FormesDansLOrdre(const std::vector<std::int32_t> &ordre,
                                                        const std::vector<Segment> &segments)
{
    std::vector<std::vector<std::int32_t>> formes;
    for (std::int32_t s : ordre)
        formes.push_back(segments[static_cast<std::size_t>(s)].Formes);
    return formes;
}

} // namespace

TEST(SeuilsSegments, ValueAndMaximumFollowTheHighestFrequency)
{
    struct Cas {
        std::int32_t fmax, valeur, maximum;
        bool possible;
    };
    for (const Cas &c : {Cas{0, 10, 10, false}, Cas{1, 10, 10, false}, Cas{2, 2, 2, true}, Cas{7, 7, 7, true},
                         Cas{10, 10, 10, true}, Cas{250, 10, 250, true}}) {
        const talmer::SeuilsPrepSR s = talmer::SeuilsSegments(c.fmax);
        EXPECT_EQ(s.valeur, c.valeur) << c.fmax;
        EXPECT_EQ(s.minimum, 2) << c.fmax;
        EXPECT_EQ(s.maximum, c.maximum) << c.fmax;
        EXPECT_EQ(s.possible, c.possible) << c.fmax;
    }
}

class SegmentsFenetres : public InTempDir {
protected:
    void SetUp() override
    {
        // Forms by alphabetical order: a < b < c < d.
        base = makeBase("a b c. a b c. a c. d b! a b. c d, b.", ".!,", "corpus");
        ASSERT_TRUE(base);
        a = base->LocFormDic("a", true);
        b = base->LocFormDic("b", true);
        c = base->LocFormDic("c", true);
        d = base->LocFormDic("d", true);
        segments = std::make_unique<SegRep>(base.get(), std::set<std::int32_t>{});
        ASSERT_TRUE(segments->OuvreFichiers());
    }
    std::unique_ptr<charg1> base;
    std::unique_ptr<SegRep> segments;
    std::int32_t a = -1, b = -1, c = -1, d = -1;
};

TEST_F(SegmentsFenetres, DialogChecksEveryDelimiterAndKeyTypeAndReturnsTheCheckedOnes)
{
    TFenPrepSR dialogue(*base);
    EXPECT_EQ(dialogue.windowTitle(), QStringLiteral("Paramétrage du calcul des segments répétés"));
    ASSERT_EQ(dialogue.ListDelims()->count(), base->Nbartponct());
    EXPECT_EQ(dialogue.ListCles()->count(), base->Nbcle());
    std::set<std::int32_t> toutes;
    for (int i = 0; i < dialogue.ListDelims()->count(); ++i) {
        EXPECT_EQ(dialogue.ListDelims()->item(i)->checkState(), Qt::Checked);
        toutes.insert(base->Nbform() + i);
    }
    EXPECT_EQ(dialogue.Delimiteurs(), toutes);
    // Fmax is 5 here: both thresholds lowered and capped.
    ASSERT_EQ(base->Fmax(), 5);
    EXPECT_EQ(dialogue.ValeurEditSR(), 5);
    EXPECT_EQ(dialogue.EditSR()->maximum(), 5);
    EXPECT_EQ(dialogue.EditSR()->minimum(), 2);
    EXPECT_EQ(dialogue.ValeurEditForme(), 5);
    EXPECT_TRUE(dialogue.Boutons()->button(QDialogButtonBox::Ok)->isEnabled());

    dialogue.ListDelims()->item(0)->setCheckState(Qt::Unchecked);
    toutes.erase(base->Nbform());
    EXPECT_EQ(dialogue.Delimiteurs(), toutes);
}

TEST(PrepSR, ABaseWhereNoFormRepeatsSaysSoAndCannotBeConfirmed)
{
    talmer::test::TempDir dossier;
    auto base = makeBase("un deux trois.", ".", "unique");
    ASSERT_TRUE(base);
    ASSERT_EQ(base->Fmax(), 1);
    TFenPrepSR dialogue(*base);
    EXPECT_FALSE(dialogue.CalculPossible());
    EXPECT_FALSE(dialogue.Boutons()->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_FALSE(dialogue.Avertissement()->isHidden());
    EXPECT_FALSE(dialogue.Avertissement()->text().isEmpty());
}

TEST_F(SegmentsFenetres, OrdersOfTheListAreStrictAndStartFromTheCurrentOrder)
{
    // Hand-made set, in this order: (a b c) 2, (c d) 2, (a c) 3, (a b) 3, (b c) 2.
    segments->AjouteSegment({a, b, c}, {0, 4});
    segments->AjouteSegment({c, d}, {2, 9});
    segments->AjouteSegment({a, c}, {0, 4, 8});
    segments->AjouteSegment({a, b}, {0, 4, 12});
    segments->AjouteSegment({b, c}, {1, 5});
    const std::vector<Segment> &s = segments->Segments();
    using F = std::vector<std::vector<std::int32_t>>;

    std::vector<std::int32_t> ordre{0, 1, 2, 3, 4};
    talmer::TrieOrdre(ordre, s, base.get(), OrdreSR::Alphabetique);
    EXPECT_EQ(FormesDansLOrdre(ordre, s), (F{{a, b}, {a, b, c}, {a, c}, {b, c}, {c, d}}));

    // Ties keep the order the list had: by frequency from the alphabetical order...
    talmer::TrieOrdre(ordre, s, base.get(), OrdreSR::Frequence);
    EXPECT_EQ(FormesDansLOrdre(ordre, s), (F{{a, b}, {a, c}, {a, b, c}, {b, c}, {c, d}}));
    // ...then by length from there; a second click on the same column changes nothing.
    talmer::TrieOrdre(ordre, s, base.get(), OrdreSR::Longueur);
    const F parLongueur{{a, b}, {a, c}, {b, c}, {c, d}, {a, b, c}};
    EXPECT_EQ(FormesDansLOrdre(ordre, s), parLongueur);
    talmer::TrieOrdre(ordre, s, base.get(), OrdreSR::Longueur);
    EXPECT_EQ(FormesDansLOrdre(ordre, s), parLongueur);

    EXPECT_EQ(talmer::OrdreDeColonne(0), OrdreSR::Longueur);
    EXPECT_EQ(talmer::OrdreDeColonne(1), OrdreSR::Alphabetique);
    EXPECT_EQ(talmer::OrdreDeColonne(2), OrdreSR::Frequence);
}

TEST_F(SegmentsFenetres, SortingManyEqualAndIdenticalSegmentsStaysInBoundsAndOrdered)
{
    // Identical form lists and equal keys by the thousand: an ordering that answered "a before a"
    // would let the sort run out of its range.
    std::mt19937 alea(7);
    const std::int32_t formes[] = {a, b, c, d};
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::int32_t> f(2 + alea() % 2);
        for (auto &x : f)
            x = formes[alea() % 4];
        segments->AjouteSegment(f, std::vector<std::int32_t>(1 + alea() % 3, 0));
    }
    const std::vector<Segment> &s = segments->Segments();
    std::vector<std::int32_t> ordre(s.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    for (OrdreSR critere : {OrdreSR::Alphabetique, OrdreSR::Frequence, OrdreSR::Longueur}) {
        talmer::TrieOrdre(ordre, s, base.get(), critere);
        std::vector<std::int32_t> trie = ordre;
        std::sort(trie.begin(), trie.end());
        ASSERT_EQ(trie, [&] { std::vector<std::int32_t> v(s.size()); std::iota(v.begin(), v.end(), 0); return v; }());
    }
    for (std::size_t r = 1; r < ordre.size(); ++r)
        ASSERT_LE(s[static_cast<std::size_t>(ordre[r - 1])].Formes.size(), s[static_cast<std::size_t>(ordre[r])].Formes.size());
}

TEST_F(SegmentsFenetres, ReportPageListsTheSegmentsInTheOrderOfComputation)
{
    segments->AjouteSegment({c, d}, {2, 9});
    segments->AjouteSegment({a, b, c}, {0, 4});
    const std::string page = talmer::PageSegments(segments->Segments(), *base, "Segments r\xe9p\xe9t\xe9s",
                                                  "windows-1252", "jeudi 10 d\xe9" "cembre 2026 - 16:05");
    const std::string attendu =
        "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />"
        "<title>Segments r\xe9p\xe9t\xe9s</title></head>\n<body bgcolor=#ffffff>\n"
        "<table><tr><td>Corpus :corpus</td>\n"
        "<td>Date :jeudi 10 d\xe9" "cembre 2026 - 16:05</td>\n"
        "</tr></table>Segments r\xe9p\xe9t\xe9s<br>\n<table border=1><font size=-2>\n"
        "<tr><td>Longueur</td><td>Segment</td><td>Fr\xe9quence</td>"
        "<tr><td align=right>2<td>c d <td align=right>2\n"
        "<tr><td align=right>3<td>a b c <td align=right>2\n"
        "</tr></font></table>\n</body>\n</html>";
    EXPECT_EQ(page, attendu);
    EXPECT_EQ(talmer::DateDePage(QDateTime(QDate(2026, 12, 10), QTime(16, 5))),
              "jeudi 10 d\xe9" "cembre 2026 - 16:05");
}

TEST_F(SegmentsFenetres, ListShowsRowsThroughItsOrderAndDragsTheSelectedSegmentsInRowOrder)
{
    segments->AjouteSegment({a, b, c}, {0, 4});
    segments->AjouteSegment({c, d}, {2, 9});
    segments->AjouteSegment({a, b}, {0, 4, 12});
    TfrmSR liste(*segments);
    talmer::ModeleSegments *m = liste.Modele();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->index(0, 0).data().toInt(), 3);
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("a b c "));
    EXPECT_EQ(m->index(0, 2).data().toInt(), 2);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Segment"));

    EXPECT_TRUE(liste.EntitesSelectionnees().empty());
    const std::int32_t premier = base->Nbart() + 1;
    liste.ListSR()->selectionModel()->select(m->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    liste.ListSR()->selectionModel()->select(m->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(liste.EntitesSelectionnees(), (std::vector<std::int32_t>{premier + 0, premier + 2}));

    // By frequency: (a b) first; the selection follows its segments.
    liste.ListSRColumnClick(2);
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("a b "));
    EXPECT_EQ(liste.EntitesSelectionnees(), (std::vector<std::int32_t>{premier + 2, premier + 0}));

    // The swatch: white until a colour is chosen; a cancelled choice changes nothing.
    EXPECT_EQ(liste.CouleurPastille(), 0xFFFFFF);
    talmer::FixeChoixCouleur([](QWidget *, const QColor &) { return std::optional<QColor>(); });
    liste.ShPastille()->click();
    EXPECT_EQ(liste.CouleurPastille(), 0xFFFFFF);
    talmer::FixeChoixCouleur([](QWidget *, const QColor &) { return std::optional<QColor>(QColor(0x10, 0x20, 0x30)); });
    liste.ShPastille()->click();
    talmer::FixeChoixCouleur({});
    EXPECT_EQ(liste.CouleurPastille(), 0x302010);
}

// ----------------------------------------------------------------------------------------------
// Through the main window

class SegmentsPoste : public talmer::test::FenPrincEchantillon {
protected:
    // Runs the command with this segment threshold.
    void Calcule(int seuil)
    {
        dialogues.repondDialogue = [seuil](QDialog &d) {
            if (auto *prep = qobject_cast<TFenPrepSR *>(&d))
                prep->EditSR()->setValue(seuil);
            return int(QDialog::Accepted);
        };
        fen->BtnSRClick();
    }
    std::vector<TfrmSR *> Listes() const
    {
        std::vector<TfrmSR *> listes;
        for (QWidget *page : fen->ListesGauche()->Pages())
            if (auto *l = qobject_cast<TfrmSR *>(page))
                listes.push_back(l);
        return listes;
    }

};

TEST_F(SegmentsPoste, ASecondComputationReplacesTheOldListAndLeavesItsSegmentsIntact)
{
    Calcule(2);
    ASSERT_EQ(Listes().size(), 1u);
    SegRep *premier = fen->Base()->SegmentsAttaches();
    ASSERT_NE(premier, nullptr);
    ASSERT_GT(premier->NbSegments(), 1);
    EXPECT_EQ(Listes()[0]->Modele()->rowCount(), premier->NbSegments());
    std::vector<std::vector<std::int32_t>> positions;
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k)
        positions.push_back(premier->LocOccSeg(k));

    // A computation that finds nothing keeps the list and what it reads.
    Calcule(fen->Base()->Fmax());
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Aucun segment trouvé!"));
    ASSERT_EQ(Listes().size(), 1u);
    EXPECT_EQ(fen->Base()->SegmentsAttaches(), premier);
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k)
        ASSERT_EQ(fen->Base()->LocOccFor(fen->Base()->Nbart() + 1 + k), positions[static_cast<std::size_t>(k)]) << k;

    // A computation with other segments: one list, of the new set; the old set still answers
    // with its own positions.
    Calcule(3);
    ASSERT_EQ(Listes().size(), 1u);
    SegRep *second = fen->Base()->SegmentsAttaches();
    ASSERT_NE(second, premier);
    EXPECT_EQ(&Listes()[0]->Segments(), second);
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k)
        ASSERT_EQ(premier->LocOccSeg(k), positions[static_cast<std::size_t>(k)]) << k;
    for (std::int32_t k = 0; k < second->NbSegments(); ++k)
        EXPECT_EQ(static_cast<std::int32_t>(second->LocOccSeg(k).size()), second->Segments()[static_cast<std::size_t>(k)].Frq);
}

TEST_F(SegmentsPoste, AComputationTheUserStopsLeavesTheSegmentsAttachedBefore)
{
    Calcule(2);
    SegRep *premier = fen->Base()->SegmentsAttaches();
    ASSERT_NE(premier, nullptr);
    std::vector<std::vector<std::int32_t>> positions;
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k)
        positions.push_back(premier->LocOccSeg(k));
    const std::string fichier = readFile(std::string(fen->Base()->NomBase()) + ".loc.sr");
    ASSERT_FALSE(fichier.empty());

    // Escape waits until the computation repaints, and stops it there.
    dialogues.repondDialogue = [this](QDialog &d) {
        if (auto *prep = qobject_cast<TFenPrepSR *>(&d))
            prep->EditSR()->setValue(3);
        talmer::test::AppuieEchap(fen.get());
        return int(QDialog::Accepted);
    };
    fen->BtnSRClick();
    EXPECT_TRUE(dialogues.messages.empty());
    EXPECT_EQ(fen->TexteStatut(), QStringLiteral("Calcul interrompu"));
    EXPECT_EQ(fen->Base()->SegmentsAttaches(), premier);
    ASSERT_EQ(Listes().size(), 1u);
    EXPECT_EQ(&Listes()[0]->Segments(), premier);
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k)
        ASSERT_EQ(fen->Base()->LocOccFor(fen->Base()->Nbart() + 1 + k), positions[static_cast<std::size_t>(k)]) << k;
    EXPECT_EQ(readFile(std::string(fen->Base()->NomBase()) + ".loc.sr"), fichier);
}

TEST_F(SegmentsPoste, GroupsOfTheContainerAndOfTheGroupWindowFollowTheirSegmentsToTheNextComputation)
{
    talmer::TConteneur *conteneur = talmer::InstalleConteneurEtCorpus(*fen);
    const std::int32_t nbart = fen->Base()->Nbart();
    // The segments a threshold of 3 finds (the same at each computation).
    Calcule(3);
    const std::vector<Segment> seuil3 = fen->Base()->SegmentsAttaches()->Segments();
    const auto indexDans = [](const std::vector<Segment> &set, const std::vector<std::int32_t> &formes) {
        for (std::size_t k = 0; k < set.size(); ++k)
            if (set[k].Formes == formes)
                return static_cast<std::int32_t>(k);
        return -1;
    };

    // With a threshold of 2: a segment that the next computation finds at another index, and two
    // that it does not find.
    Calcule(2);
    const SegRep *premier = fen->Base()->SegmentsAttaches();
    std::int32_t garde = -1, nouveau = -1;
    std::vector<std::int32_t> perdus;
    for (std::int32_t k = 0; k < premier->NbSegments(); ++k) {
        const std::int32_t j = indexDans(seuil3, premier->Segments()[static_cast<std::size_t>(k)].Formes);
        if (j >= 0 && j != k && garde < 0) {
            garde = k;
            nouveau = j;
        } else if (j < 0 && perdus.size() < 2) {
            perdus.push_back(k);
        }
    }
    ASSERT_GE(garde, 0);
    ASSERT_EQ(perdus.size(), 2u);
    const std::string texteGarde = premier->RetourneGraphie(garde);
    const std::int32_t forme = 0;
    const auto depose = [&](std::vector<std::int32_t> entites, const char *nom) {
        conteneur->RangeConteneur(
            std::make_unique<Tgen>(fen->Base(), entites.data(), static_cast<std::int32_t>(entites.size()), nom));
    };
    depose({forme, nbart + 1 + garde}, "garde");
    depose({nbart + 1 + perdus[0], forme}, "moitie");
    depose({nbart + 1 + perdus[1]}, "perdu"); // the current group
    // A group being built in a "Groupes de formes" window.
    fen->Action("BtnSelFormes")->trigger();
    auto *fenetre = qobject_cast<talmer::TFenSelecFormes *>(fen->ZoneMdi()->activeSubWindow()->widget());
    ASSERT_NE(fenetre, nullptr);
    fenetre->Resultat().AjouteResultats({nbart + 1 + perdus[0], forme, nbart + 1 + garde});

    Calcule(3);
    const SegRep *second = fen->Base()->SegmentsAttaches();
    ASSERT_EQ(second->RetourneGraphie(nouveau), texteGarde);
    // The group of lost segments only has left the history, and it was the current group.
    ASSERT_EQ(conteneur->Historique().Taille(), 2);
    EXPECT_EQ(conteneur->GroupeCourant(), nullptr);
    EXPECT_EQ(conteneur->toolTip(), QStringLiteral("Vide"));
    const Tgen *moitie = conteneur->Historique().Entree(0);
    EXPECT_STREQ(moitie->Nom(), "moitie");
    EXPECT_EQ(moitie->Formes(), (std::vector<std::int32_t>{forme}));
    EXPECT_EQ(moitie->NbOcc(), fen->Base()->RetourneFrq(forme));
    const Tgen *gardeG = conteneur->Historique().Entree(1);
    EXPECT_STREQ(gardeG->Nom(), "garde");
    EXPECT_EQ(gardeG->Formes(), (std::vector<std::int32_t>{forme, nbart + 1 + nouveau}));
    EXPECT_EQ(gardeG->NbOcc(), fen->Base()->RetourneFrq(forme) + second->Segments()[static_cast<std::size_t>(nouveau)].Frq);
    EXPECT_EQ(fen->TexteStatut(),
              QStringLiteral("Segments répétés recalculés : dans l'historique des groupes, 1 segment(s) "
                             "renuméroté(s), 2 segment(s) retiré(s) car absent(s) du nouveau calcul. 1 groupe(s) "
                             "devenu(s) vide(s) retiré(s) de l'historique."));

    EXPECT_EQ(fenetre->Resultat().Entites(), (std::vector<std::int32_t>{forme, nbart + 1 + nouveau}));
    EXPECT_EQ(fenetre->Resultat().Graphie(1), texteGarde);
    EXPECT_EQ(fenetre->TexteStatut(),
              QStringLiteral("Segments répétés recalculés : dans la liste, 1 segment(s) renuméroté(s), 1 segment(s) "
                             "retiré(s) car absent(s) du nouveau calcul."));

    // A drag from the history carries the segment under its new number: the same text.
    conteneur->ElemMenuClick(1);
    std::unique_ptr<talmer::TTgenDragObject> objet = conteneur->ContainerStartDrag();
    ASSERT_NE(objet, nullptr);
    ASSERT_EQ(objet->Count(), 2);
    EXPECT_EQ(fen->Base()->RetourneGraphie(objet->Entites()[1], false), texteGarde);

    // A computation that gives every segment its old number changes nothing and says nothing.
    fen->AfficheStatut(QString());
    Calcule(3);
    EXPECT_EQ(conteneur->Historique().Entree(1)->Formes(), (std::vector<std::int32_t>{forme, nbart + 1 + nouveau}));
    EXPECT_TRUE(fen->TexteStatut().isEmpty()) << fen->TexteStatut().toStdString();
}

TEST_F(SegmentsPoste, EveryReportPageKeepsAFileOfItsOwn)
{
    Calcule(2);
    ASSERT_EQ(Listes().size(), 1u);
    TfrmSR *liste = Listes()[0];
    Rapport *rapport = fen->RapportCourant();
    ASSERT_NE(rapport, nullptr);
    const int avant = rapport->NbElements();
    liste->SpdBtnRap()->click();
    liste->SpdBtnRap()->click();
    ASSERT_EQ(rapport->NbElements(), avant + 2);
    const QString p1 = rapport->FichiersElements()[avant];
    const QString p2 = rapport->FichiersElements()[avant + 1];
    EXPECT_NE(p1, p2);
    EXPECT_TRUE(p1.startsWith(QStringLiteral("sr")));
    for (const QString &p : {p1, p2}) {
        const std::string page = readFile((rapport->DossierTemporaire() + p + QStringLiteral(".html")).toStdString());
        EXPECT_NE(page.find("<title>Segments r\xe9p\xe9t\xe9s</title>"), std::string::npos);
        EXPECT_NE(page.find("</tr></font></table>\n</body>\n</html>"), std::string::npos);
    }
}

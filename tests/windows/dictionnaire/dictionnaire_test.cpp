// The dictionary window: the order table in both orders, the prefix search with its keys and
// timer, the column click, the colour chip, and the drag of the selected rows.
#include "engine/base_fixture.h"

#include "shell/dragobjects.h"
#include "windows/commun/pastille.h"
#include "windows/dictionnaire/fendicnum.h"
#include "windows/dictionnaire/modeledico.h"
#include "windows/dictionnaire/ordredico.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace talmer;

namespace {

// Frequencies: b 3, a 2, then ba, bac, été, zoo once each (equal frequencies in alphabetical
// order, été in the bucket of e), then the punctuation in character order.
//   entities: b 0, a 1, ba 2, bac 3, été 4, zoo 5, ',' 6, '.' 7
//   alphabetical: a, b, ba, bac, été, zoo
const char *const Texte = "b a b ba a b, zoo. \xE9t\xE9 bac\n";

std::vector<std::int32_t> Entites(const OrdreDictionnaire &o)
{
    std::vector<std::int32_t> v;
    for (std::int32_t r = 0; r < o.NbLignes(); ++r)
        v.push_back(o.Entite(r));
    return v;
}

class DictionnaireTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base = talmer::test::makeBase(Texte, ".,");
        ASSERT_TRUE(base);
    }
    std::unique_ptr<charg1> base;
};

} // namespace

TEST_F(DictionnaireTest, TableDOrdreDansLesDeuxOrdres)
{
    OrdreDictionnaire o(*base);
    ASSERT_EQ(o.NbLignes(), 8);
    EXPECT_EQ(Entites(o), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    o.FixeAlphabetique(true);
    // Forms alphabetically, the punctuation still after them in character order.
    EXPECT_EQ(Entites(o), (std::vector<std::int32_t>{1, 0, 2, 3, 4, 5, 6, 7}));
    for (std::int32_t r = 0; r < o.NbLignes(); ++r)
        EXPECT_EQ(o.Ligne(o.Entite(r)), r);
    EXPECT_EQ(o.Entite(8), -1);
    EXPECT_EQ(o.Ligne(8), -1);
    o.FixeAlphabetique(false);
    EXPECT_EQ(Entites(o), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));

    ModeleDictionnaire m(*base);
    EXPECT_EQ(m.rowCount(), 8);
    EXPECT_EQ(m.data(m.index(4, 0)).toString(), QStringLiteral("été"));
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QStringLiteral("3"));
    EXPECT_EQ(m.data(m.index(6, 0)).toString(), QStringLiteral(","));
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Formes (ordre lexicométrique)"));
    m.FixeAlphabetique(true);
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), QStringLiteral("a"));
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QStringLiteral("2"));
    EXPECT_EQ(m.data(m.index(0, 0), ModeleDictionnaire::RoleEntite).toInt(), 1);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Formes (ordre lexicographique)"));
}

TEST_F(DictionnaireTest, IndexAlphabetiqueHorsDesFormesNePlacePasDeForme)
{
    // A .dic whose indexes are all distinct but give b and a the indexes of the punctuation
    // (6 and 7) and the punctuation those of b and a: the forms ba to zoo keep their rows, b
    // and a take the rows left free, in frequency order, and no row is left empty.
    std::FILE *f = std::fopen("corpus.dic", "wb");
    ASSERT_NE(f, nullptr);
    const char *lignes[] = {" 3             6  b", " 2             7  a", " 1             2  ba",
                            " 1             3  bac", " 1             4  \xE9t\xE9", " 1             5  zoo",
                            " 1             1  ,", " 1             0  ."};
    for (const char *l : lignes)
        std::fprintf(f, "%s\r\n", l);
    std::fclose(f);
    charg1 faussee;
    ASSERT_EQ(faussee.ChargeBase("corpus.par"), ChargeReussie);
    ASSERT_EQ(faussee.Lexg(0), 6);

    OrdreDictionnaire o(faussee);
    o.FixeAlphabetique(true);
    EXPECT_EQ(Entites(o), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(o.Ligne(1), 1);
}

TEST_F(DictionnaireTest, RecherchePrefixe)
{
    OrdreDictionnaire o(*base);
    const char *const ete = "\xE9t\xE9";
    struct Cas {
        const char *prefixe;
        std::int32_t apres;
        std::int32_t attendu;
    } cas[] = {
        {"b", -1, 0},      // the whole spelling of row 0
        {"b", 0, 2},       // next match
        {"b", 2, 3},
        {"b", 3, -1},      // after the last match
        {"bac", -1, 3},
        {"bacs", -1, -1},  // longer than every spelling it begins
        {"\xE9", -1, 4},   // accents count
        {"\xC9", -1, -1},  // and case
        {ete, -1, 4},
        {"", -1, -1},
        {".", -1, 7},
        {"x", -1, -1},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(o.Cherche(c.prefixe, c.apres), c.attendu) << c.prefixe << " after " << c.apres;
    o.FixeAlphabetique(true);
    EXPECT_EQ(o.Cherche("b", -1), 1);
    EXPECT_EQ(o.Cherche("a", -1), 0);
}

TEST_F(DictionnaireTest, FenetreRechercheAuClavierEtALaMinuterie)
{
    TFenDicNum fen(*base);
    fen.show();
    EXPECT_EQ(fen.windowTitle(), QStringLiteral("Dictionnaire"));
    EXPECT_EQ(fen.StatusBar1()->currentMessage(), QStringLiteral("8 formes"));
    // The designed widths are minimums: the titles need more.
    EXPECT_GE(fen.ListeFormes()->columnWidth(0), 175);
    EXPECT_GE(fen.ListeFormes()->columnWidth(1), 65);
    EXPECT_FALSE(fen.TimerRech()->isActive());
    EXPECT_EQ(fen.TimerRech()->interval(), 1500);

    QSignalSpy bips(&fen, &TFenDicNum::rechercheVaine);
    const auto selection = [&] {
        std::vector<int> lignes;
        for (const QModelIndex &i : fen.ListeFormes()->selectionModel()->selectedRows())
            lignes.push_back(i.row());
        return lignes;
    };

    // Typing arms the timer; its time-out searches from the top, silently.
    fen.EdRech()->setText(QStringLiteral("b"));
    EXPECT_TRUE(fen.TimerRech()->isActive());
    fen.TimerRech()->setInterval(1);
    QTRY_VERIFY(!fen.TimerRech()->isActive());
    EXPECT_EQ(selection(), std::vector<int>{0});

    QTest::keyClick(fen.EdRech(), Qt::Key_F3);
    EXPECT_EQ(selection(), std::vector<int>{2});
    QTest::keyClick(fen.EdRech(), Qt::Key_F3);
    EXPECT_EQ(selection(), std::vector<int>{3});
    EXPECT_EQ(bips.count(), 0);
    // After the last match: a beep, the selection and the last hit stay.
    QTest::keyClick(fen.EdRech(), Qt::Key_F3);
    EXPECT_EQ(bips.count(), 1);
    EXPECT_EQ(selection(), std::vector<int>{3});
    EXPECT_EQ(fen.DerniereTrouvee(), 3);
    // Enter starts from the top again.
    QTest::keyClick(fen.EdRech(), Qt::Key_Return);
    EXPECT_EQ(selection(), std::vector<int>{0});
    EXPECT_EQ(fen.EdRech()->text(), QStringLiteral("b"));

    // Typed text is converted to the display code page before it is compared.
    fen.EdRech()->setText(QStringLiteral("ét"));
    QTest::keyClick(fen.EdRech(), Qt::Key_Enter);
    EXPECT_EQ(selection(), std::vector<int>{4});
    fen.EdRech()->setText(QStringLiteral("q"));
    QTest::keyClick(fen.EdRech(), Qt::Key_Return);
    EXPECT_EQ(bips.count(), 2);
    EXPECT_EQ(selection(), std::vector<int>{4});
    // An empty search finds nothing.
    fen.EdRech()->clear();
    QTest::keyClick(fen.EdRech(), Qt::Key_Return);
    EXPECT_EQ(bips.count(), 3);
}

TEST_F(DictionnaireTest, ClicDeColonneGardeLaFormeChoisie)
{
    TFenDicNum fen(*base);
    fen.show();
    QHeaderView *entete = fen.ListeFormes()->horizontalHeader();
    const auto clic = [&](int colonne) {
        QTest::mouseClick(entete->viewport(), Qt::LeftButton, {},
                          QPoint(entete->sectionPosition(colonne) + 5, entete->height() / 2));
    };
    const auto selection = [&] {
        std::vector<int> lignes;
        for (const QModelIndex &i : fen.ListeFormes()->selectionModel()->selectedRows())
            lignes.push_back(i.row());
        return lignes;
    };
    fen.ListeFormes()->selectRow(1); // a
    clic(0);
    EXPECT_TRUE(fen.Modele()->Ordre().Alphabetique());
    EXPECT_EQ(fen.Modele()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Formes (ordre lexicographique)"));
    EXPECT_EQ(selection(), std::vector<int>{0});
    // The frequency column changes no order and keeps the selection.
    clic(1);
    EXPECT_TRUE(fen.Modele()->Ordre().Alphabetique());
    EXPECT_EQ(selection(), std::vector<int>{0});
    clic(0);
    EXPECT_FALSE(fen.Modele()->Ordre().Alphabetique());
    EXPECT_EQ(selection(), std::vector<int>{1});
    // With nothing selected the order changes and nothing gets selected.
    fen.ListeFormes()->clearSelection();
    clic(0);
    EXPECT_TRUE(selection().empty());
}

TEST_F(DictionnaireTest, GlisserPorteLesLignesDansLOrdreEtLaCouleurDeLaPastille)
{
    TFenDicNum fen(*base);
    fen.show();
    EXPECT_EQ(fen.ObjetAGlisser(), nullptr);
    // The chip starts blue (0x00BBGGRR); a press and release opens the dialog, cancelling keeps
    // the colour.
    EXPECT_EQ(fen.ShPastille()->CouleurBgr(), 0xFF0000);
    std::optional<QColor> reponse;
    fen.ShPastille()->FixeChoixCouleur([&](QWidget *, const QColor &) { return reponse; });
    QTest::mouseClick(fen.ShPastille(), Qt::LeftButton);
    EXPECT_EQ(fen.ShPastille()->CouleurBgr(), 0xFF0000);
    reponse = QColor(0x12, 0x34, 0x56);
    QTest::mouseClick(fen.ShPastille(), Qt::LeftButton);
    EXPECT_EQ(fen.ShPastille()->CouleurBgr(), 0x563412);

    // Alphabetical order, rows selected out of order: the entities come in row order.
    fen.Modele()->FixeAlphabetique(true);
    auto *selection = fen.ListeFormes()->selectionModel();
    for (int ligne : {4, 0, 1, 6})
        selection->select(fen.Modele()->index(ligne, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<TTgenDragObject> objet = fen.ObjetAGlisser();
    ASSERT_NE(objet, nullptr);
    EXPECT_EQ(objet->Entites(), (std::vector<std::int32_t>{1, 0, 4, 6}));
    EXPECT_EQ(objet->Couleur(), 0x563412);
    EXPECT_TRUE(objet->Nom().empty());
    EXPECT_EQ(objet->Source(), fen.ListeFormes());
    EXPECT_EQ(objet->Base(), base.get());
    EXPECT_EQ(objet->Kind(), TTalmerDragObject::GenreTgen);
}

TEST_F(DictionnaireTest, PresserUneLigneChoisieEtBougerLanceLeGlisserDeLaSelection)
{
    TFenDicNum fen(*base);
    fen.resize(300, 400);
    fen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fen));
    ListeDictionnaire *liste = fen.ListeFormes();
    // Alphabetical order (a, b, ba, bac, été, zoo), so that row order is not entity order.
    fen.Modele()->FixeAlphabetique(true);
    auto *selection = liste->selectionModel();
    for (int ligne : {4, 0, 1})
        selection->select(fen.Modele()->index(ligne, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    // Press on a selected row, then move past the drag distance with the button held.
    QWidget *vue = liste->viewport();
    const QPoint depart = liste->visualRect(fen.Modele()->index(1, 0)).center();
    const QPoint arrivee = depart + QPoint(0, 3 * QApplication::startDragDistance());
    QMouseEvent presse(QEvent::MouseButtonPress, depart, vue->mapToGlobal(depart), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(vue, &presse);
    for (QPoint p : {depart + QPoint(0, 1), arrivee}) {
        QMouseEvent bouge(QEvent::MouseMove, p, vue->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vue, &bouge);
    }
    // Without a screen the drag ends at once, and Qt deletes it only when the event loop runs
    // again: until then it is a child of the list, with what it carries.
    QDrag *glisser = liste->findChild<QDrag *>();
    ASSERT_NE(glisser, nullptr);
    auto *objet = dynamic_cast<TTgenDragObject *>(ObjetGlisse(glisser->mimeData()));
    ASSERT_NE(objet, nullptr);
    EXPECT_EQ(objet->Entites(), (std::vector<std::int32_t>{1, 0, 4}));
    EXPECT_EQ(objet->Couleur(), 0xFF0000);
    EXPECT_EQ(objet->Source(), liste);
    // The gesture started a drag: the selection was neither extended nor replaced.
    std::vector<int> lignes;
    for (const QModelIndex &i : selection->selectedRows())
        lignes.push_back(i.row());
    std::sort(lignes.begin(), lignes.end());
    EXPECT_EQ(lignes, (std::vector<int>{0, 1, 4}));
}

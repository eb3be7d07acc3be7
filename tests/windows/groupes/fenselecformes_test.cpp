// The "Groupes de formes" window: requests from its controls, the group name, drops in and drags
// out, deleting rows, the colour chip, lists through the dialogs, and the main window's command.
#include "windows/groupes/fenselecformes.h"

#include "engine/base_fixture.h"
#include "engine/segrep.h"
#include "services/rapport.h"
#include "shell/dragobjects.h"
#include "shell/fenprinc.h"
#include "shell/page_rapport.h"
#include "shell/zone_fenetres.h"
#include "support/glisser.h"
#include "support/poste_test.h"
#include "windows/groupes/modeleresultat.h"
#include "windows/installation.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using talmer::TFenSelecFormes;
using talmer::TMimeTalmer;
using talmer::TTgenDragObject;
using talmer::test::Depose;
using talmer::test::DialoguesTest;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

// Forms: 0 le, 1 chat, 2 cc, 3 chien, 4 c++, 5 etc., 6 été, 7 Été; segments 0 "le chat ",
// 1 "le chien ".
const char *const Texte = "<t=a> le chat le chat le chien , c++ etc. \xE9t\xE9 cc\n"
                          "<t=b> le chat , le chien \xC9t\xE9 cc\n";

class FenSelecFormesTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base_ = talmer::test::makeBase(Texte, ",");
        ASSERT_TRUE(base_);
        segments_ = std::make_unique<SegRep>(base_.get(), std::set<std::int32_t>{});
        segments_->AjouteSegment({0, 1}, {});
        segments_->AjouteSegment({0, 3}, {});
        base_->AssigneSR(segments_.get());
        fen_ = std::make_unique<TFenSelecFormes>(base_.get());
    }
    void TearDown() override
    {
        fen_.reset();
        if (base_)
            base_->AssigneSR(nullptr);
    }

    std::int32_t Seg(std::int32_t k) const { return base_->Nbart() + 1 + k; }

    void Cherche(const QString &motif, int type)
    {
        const QSignalBlocker bloque(fen_->LstTypeReq);
        fen_->LstTypeReq->setCurrentIndex(type);
        fen_->EdMotif->setText(motif);
        QTest::mouseClick(fen_->BtnRech, Qt::LeftButton);
    }

    QStringList Lignes() const
    {
        QStringList l;
        for (int i = 0; i < fen_->Modele()->rowCount(); ++i)
            l << fen_->Modele()->index(i, 0).data().toString() + QLatin1Char('|')
                     + fen_->Modele()->index(i, 1).data().toString();
        return l;
    }

    void Selectionne(std::initializer_list<int> lignes)
    {
        QItemSelectionModel *s = fen_->ListResu->selectionModel();
        s->clearSelection();
        for (int l : lignes)
            s->select(fen_->Modele()->index(l, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    std::unique_ptr<TTgenDragObject> Groupe(std::vector<std::int32_t> entites, std::int32_t couleur)
    {
        auto o = std::make_unique<TTgenDragObject>(nullptr, base_.get(), "", couleur,
                                                   static_cast<std::int32_t>(entites.size()));
        o->Entites() = std::move(entites);
        return o;
    }

    DialoguesTest dialogues_;
    std::unique_ptr<charg1> base_;
    std::unique_ptr<SegRep> segments_;
    std::unique_ptr<TFenSelecFormes> fen_;
};

} // namespace

TEST_F(FenSelecFormesTest, SearchesFromTheControlsAndNamesTheGroupOnce)
{
    EXPECT_EQ(fen_->windowTitle(), QStringLiteral("Groupes de formes"));
    EXPECT_EQ(fen_->LstTypeReq->currentIndex(), 0);
    EXPECT_TRUE(fen_->ChkAjout->isChecked());
    EXPECT_EQ(fen_->LstTypeReq->count(), 5);

    Cherche(QStringLiteral("  le "), 1);
    EXPECT_EQ(Lignes(), (QStringList{"le|5", "le chat |0", "le chien |0"}));
    EXPECT_EQ(fen_->EdNomGrp->text(), QStringLiteral("le+"));

    // Enter in the pattern field adds; the name stays.
    fen_->EdMotif->setText(QStringLiteral("\u00e9t\u00e9"));
    QTest::keyClick(fen_->EdMotif, Qt::Key_Return);
    EXPECT_EQ(Lignes().size(), 4);
    EXPECT_EQ(Lignes().back(), QStringLiteral("\u00e9t\u00e9|1"));
    EXPECT_EQ(fen_->EdNomGrp->text(), QStringLiteral("le+"));

    // Changing the request type searches again; without "Ajouter" the result is replaced.
    fen_->ChkAjout->setChecked(false);
    fen_->EdMotif->setText(QStringLiteral("(?i)^\u00c9T\u00c9$"));
    fen_->LstTypeReq->setCurrentIndex(4);
    EXPECT_EQ(Lignes(), (QStringList{"\u00e9t\u00e9|1", "\u00c9t\u00e9|1"}));
    EXPECT_TRUE(fen_->TexteStatut().isEmpty());

    // An empty pattern does nothing, not even empty the result.
    fen_->EdMotif->setText(QStringLiteral("   "));
    QTest::mouseClick(fen_->BtnRech, Qt::LeftButton);
    EXPECT_EQ(Lignes().size(), 2);
}

TEST_F(FenSelecFormesTest, BadPatternsAreReportedAndAddNothing)
{
    Cherche(QStringLiteral("chat"), 0);
    Cherche(QStringLiteral("ch(at"), 4);
    EXPECT_EQ(Lignes(), (QStringList{"chat|3"}));
    EXPECT_EQ(fen_->TexteStatut(),
              QStringLiteral("Expression rationnelle incorrecte : missing closing parenthesis (position 5)."));

    // Without "Ajouter" too the fault is told, and the result is not replaced by nothing.
    fen_->ChkAjout->setChecked(false);
    for (int type : {1, 4}) {
        Cherche(QStringLiteral("ch(at"), type);
        EXPECT_EQ(Lignes(), (QStringList{"chat|3"})) << type;
        EXPECT_EQ(fen_->TexteStatut(),
                  QStringLiteral("Expression rationnelle incorrecte : missing closing parenthesis (position 5)."));
    }
    fen_->ChkAjout->setChecked(true);

    Cherche(QStringLiteral("^(?:(?:.?){30}){30}(?!)"), 4);
    EXPECT_EQ(Lignes().size(), 1);
    EXPECT_TRUE(fen_->TexteStatut().startsWith(QStringLiteral("10 textes n'ont pas pu être examinés")))
        << fen_->TexteStatut().toStdString();

    // A character the display code page lacks finds nothing (its '?' stand-in would).
    Cherche(QStringLiteral("\u4e2d"), 3);
    EXPECT_EQ(Lignes().size(), 1);
    EXPECT_FALSE(fen_->TexteStatut().isEmpty());
}

TEST_F(FenSelecFormesTest, DropsMergeIntoTheListAndFillTheFields)
{
    fen_->ListResu->resize(300, 200);
    Cherche(QStringLiteral("chat"), 0);
    TMimeTalmer donnees(Groupe({3, 1, Seg(0)}, 0x0000FF));
    ASSERT_TRUE(Depose(*fen_->ListResu->viewport(), donnees));
    EXPECT_EQ(Lignes(), (QStringList{"chat|3", "chien|2", "le chat |0"}));
    EXPECT_EQ(fen_->CouleurPastille(), 0x0000FF);

    TMimeTalmer segment(Groupe({Seg(1), 2}, TTgenDragObject::SansCouleur));
    ASSERT_TRUE(Depose(*fen_->EdMotif, segment));
    EXPECT_EQ(fen_->EdMotif->text(), QStringLiteral("le chien "));
    ASSERT_TRUE(Depose(*fen_->EdNomGrp, segment));
    EXPECT_EQ(fen_->EdNomGrp->text(), QStringLiteral("le chien "));
    TMimeTalmer vide(Groupe({}, 0));
    ASSERT_TRUE(Depose(*fen_->EdNomGrp, vide));
    EXPECT_EQ(fen_->EdNomGrp->text(), QString());

    // Plain text is no group: the fields refuse it.
    QMimeData texte;
    texte.setText(QStringLiteral("chat"));
    EXPECT_FALSE(Depose(*fen_->EdMotif, texte));
    EXPECT_EQ(fen_->EdMotif->text(), QStringLiteral("le chien "));

    // A group of another base is refused.
    auto autre = talmer::test::makeBase("autre texte.", ".", "autre");
    ASSERT_TRUE(autre);
    auto etranger = std::make_unique<TTgenDragObject>(nullptr, autre.get(), "", 0, 1);
    etranger->Entites()[0] = 0;
    TMimeTalmer donneesEtrangeres(std::move(etranger));
    EXPECT_FALSE(Depose(*fen_->ListResu->viewport(), donneesEtrangeres));
    EXPECT_EQ(Lignes().size(), 3);
}

TEST_F(FenSelecFormesTest, DragsCarryTheSelectionOrTheWholeResult)
{
    Cherche(QStringLiteral("^c"), 4); // chat, cc, chien, c++
    EXPECT_EQ(fen_->GroupeDeLaSelection(), nullptr);

    fen_->EdNomGrp->setText(QStringLiteral("  mon groupe "));
    Selectionne({3, 0, 2});
    auto partie = fen_->GroupeDeLaSelection();
    ASSERT_TRUE(partie);
    EXPECT_EQ(partie->Entites(), (std::vector<std::int32_t>{1, 3, 4}));
    EXPECT_EQ(partie->Couleur(), 0);
    EXPECT_EQ(partie->Nom(), "mon groupe");
    EXPECT_EQ(partie->Base(), base_.get());

    auto tout = fen_->GroupeComplet();
    ASSERT_TRUE(tout);
    EXPECT_EQ(tout->Entites(), (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(tout->Couleur(), TTgenDragObject::SansCouleur);

    // The chip: a press then a release opens the colour dialog; OK gives its colour.
    dialogues_.repondDialogue = [](QDialog &d) {
        static_cast<QColorDialog &>(d).setCurrentColor(QColor(0x12, 0x34, 0x56));
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(fen_->ShPastille, Qt::LeftButton);
    EXPECT_EQ(dialogues_.dialoguesVus, (std::vector<std::string>{"QColorDialog"}));
    EXPECT_EQ(fen_->CouleurPastille(), 0x563412);
    EXPECT_EQ(fen_->GroupeComplet()->Couleur(), 0x563412);
    // A release alone (the press was elsewhere) opens nothing; a cancelled dialog keeps the colour.
    QTest::mouseRelease(fen_->ShPastille, Qt::LeftButton);
    EXPECT_EQ(dialogues_.dialoguesVus.size(), 1u);
    dialogues_.repondDialogue = [](QDialog &) { return int(QDialog::Rejected); };
    QTest::mouseClick(fen_->ShPastille, Qt::LeftButton);
    EXPECT_EQ(fen_->CouleurPastille(), 0x563412);

    fen_->VideResultat();
    EXPECT_EQ(fen_->GroupeComplet(), nullptr);
}

TEST_F(FenSelecFormesTest, TheDragButtonTakesEventsThatAreNotMouseEvents)
{
    // Shown, the button receives polish, show, paint and layout events; then hover and keys. Its
    // watcher must read none of them as a mouse event (a sanitized build stops on the first).
    Cherche(QStringLiteral("^c"), 4);
    fen_->show();
    QToolButton *bouton = fen_->DragBtn;
    QEvent polissage(QEvent::Polish);
    QApplication::sendEvent(bouton, &polissage);
    QEnterEvent entree(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(bouton, &entree);
    QTest::keyClick(bouton, Qt::Key_A);
    // A press and a release without moving start no drag and leave the button up.
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_FALSE(bouton->isDown());
    EXPECT_EQ(fen_->Modele()->rowCount(), 4);
}

TEST_F(FenSelecFormesTest, DeletingRowsAndHandedSpellings)
{
    Cherche(QStringLiteral("^c"), 4);
    Selectionne({1, 3});
    QTest::keyClick(fen_->ListResu, Qt::Key_Delete);
    EXPECT_EQ(Lignes(), (QStringList{"chat|3", "chien|2"}));

    fen_->ListResu->selectionModel()->clearSelection();
    QTest::mouseClick(fen_->BtnSuppr, Qt::LeftButton);
    EXPECT_EQ(Lignes().size(), 2);
    // Shift empties the list, selection or not.
    QTest::mouseClick(fen_->BtnSuppr, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Lignes().size(), 0);

    talmer::RecepteurForme &recepteur = *fen_;
    recepteur.DeposeForme(" c++\r\n");
    recepteur.DeposeForme("inconnu");
    recepteur.DeposeForme("c++");
    EXPECT_EQ(Lignes(), (QStringList{"c++|1"}));
}

TEST_F(FenSelecFormesTest, ListsThroughTheDialogs)
{
    Cherche(QStringLiteral("le"), 1);
    const QString chemin = QString::fromStdString((dir_.path() / "groupe.lst").string());
    dialogues_.repondDialogue = [&](QDialog &d) {
        static_cast<QFileDialog &>(d).selectFile(chemin);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(fen_->BtnEnr, Qt::LeftButton);
    EXPECT_EQ(readFile(dir_.path() / "groupe.lst"), "le\r\nle chat \r\nle chien \r\n");

    // Loaded into another window without segments: the segment lines are counted and reported.
    base_->AssigneSR(nullptr);
    TFenSelecFormes autre(base_.get());
    QTest::mouseClick(autre.BtnLoad, Qt::LeftButton);
    EXPECT_EQ(autre.Resultat().Entites(), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(autre.TexteStatut(), QStringLiteral("2 lignes de la liste ne désignent rien dans la base."));

    // Saving segments that are no longer attached says so.
    QTest::mouseClick(fen_->BtnEnr, Qt::LeftButton);
    EXPECT_EQ(fen_->TexteStatut(), QStringLiteral("Liste enregistrée sans 2 segments répétés : ils ne sont plus "
                                                  "calculés sur la base."));
    EXPECT_EQ(readFile(dir_.path() / "groupe.lst"), "le\r\n");

    // Cancelled dialogs do nothing.
    dialogues_.repondDialogue = [](QDialog &) { return int(QDialog::Rejected); };
    writeFile(dir_.path() / "groupe.lst", "x");
    QTest::mouseClick(fen_->BtnEnr, Qt::LeftButton);
    EXPECT_EQ(readFile(dir_.path() / "groupe.lst"), "x");
}

TEST(FenSelecFormesCommande, MainWindowOpensOneWindowPerClickOnTheOpenBase)
{
    talmer::test::TempDir dossier;
    DialoguesTest dialogues;
    const std::string par = talmer::test::FabriqueBaseEchantillon(dossier.path() / "base");
    ASSERT_FALSE(par.empty());
    const talmer::test::VariableEnv temp("TEMP", dossier.path().string());
    {
        TFenPrinc fen;
        talmer::InstalleFenetres(fen);
        ASSERT_TRUE(fen.Ouverture().OuvreBase(QString::fromStdString(par)));
        QAction *commande = fen.Action("BtnSelFormes");
        ASSERT_NE(commande, nullptr);
        EXPECT_TRUE(commande->isEnabled());
        const int avant = static_cast<int>(fen.Zone().Mdi()->subWindowList().size());
        commande->trigger();
        commande->trigger();
        std::vector<TFenSelecFormes *> fenetres;
        for (QMdiSubWindow *s : fen.Zone().Mdi()->subWindowList())
            if (auto *f = qobject_cast<TFenSelecFormes *>(s->widget()))
                fenetres.push_back(f);
        EXPECT_EQ(static_cast<int>(fen.Zone().Mdi()->subWindowList().size()), avant + 2);
        ASSERT_EQ(fenetres.size(), 2u);
        EXPECT_EQ(fenetres[0]->Resultat().Base(), fen.Base());
        EXPECT_NE(fenetres[0], fenetres[1]);
        if (fen.Rapports().Courant())
            fen.Rapports().Courant()->Abandonne();
    }
}

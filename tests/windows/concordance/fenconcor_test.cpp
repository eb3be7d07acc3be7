// The concordance window: requests from its controls and its history, drops, the page it shows,
// the report items of two windows, and the main window's command.
#include "windows/concordance/fenconcor.h"

#include "engine/base_fixture.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "services/corpus_registry.h"
#include "services/rapport.h"
#include "shell/dragobjects.h"
#include "shell/fenprinc.h"
#include "shell/page_rapport.h"
#include "shell/zone_fenetres.h"
#include "support/glisser.h"
#include "support/poste_test.h"
#include "windows/commun/barreparties.h"
#include "windows/commun/vuehtml.h"
#include "windows/installation.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using talmer::TFenConcor;
using talmer::TMimeTalmer;
using talmer::TTgenDragObject;
using talmer::test::Depose;
using talmer::test::readFile;

namespace {

// The base of the page tests: "le" at 3, 6 and 12; parts "un" (3-9) and "deux" (12-17).
const char *const Texte = "debut <p=un> le chien voit le chat .\n<p=deux> le chat voit r&d .\n";
const std::string L3 = "     debut&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chien voit \n";
const std::string L6 = "chien voit&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chat . le \n";
const std::string L12 = " le chat .&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chat voit \n";

class FenConcorTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        temp_.emplace("TEMP", dir_.path().string());
        base_ = talmer::test::makeBase(Texte, ".");
        ASSERT_TRUE(base_);
        registre_.AjouteBase(base_.get());
        fen_ = std::make_unique<TFenConcor>(base_.get(), &registre_);
        fen_->SpinLgCont->setValue(10);
    }
    void TearDown() override
    {
        fen_.reset();
        for (Partition *p : partitions_)
            delete p;
        temp_.reset();
    }

    void Cherche(const char *texte, bool expression = false)
    {
        fen_->ChkExpRep->setChecked(expression);
        fen_->EdForme->setText(QString::fromLatin1(texte));
        QTest::keyClick(fen_->EdForme, Qt::Key_Return);
    }
    // The lines of the page shown.
    std::string Lignes() const
    {
        const std::string page = readFile(fen_->CheminPage().toStdString());
        const std::string debut = "<pre><font size=2>";
        const std::size_t d = page.find(debut);
        const std::size_t f = page.rfind("</font></pre>");
        if (d == std::string::npos || f == std::string::npos)
            return "?";
        return page.substr(d + debut.size(), f - d - debut.size());
    }
    std::optional<talmer::test::VariableEnv> temp_;
    talmer::test::DialoguesTest dialogues_;
    Corpus registre_;
    std::vector<Partition *> partitions_;
    std::unique_ptr<charg1> base_;
    std::unique_ptr<TFenConcor> fen_;
};

} // namespace

TEST_F(FenConcorTest, SearchesHistoryAndSortRestoredOnGoingBack)
{
    EXPECT_EQ(fen_->windowTitle(), QStringLiteral("Concordances"));
    EXPECT_FALSE(fen_->BtnPrec->isEnabled());
    EXPECT_FALSE(fen_->BtnSuiv->isEnabled());
    EXPECT_EQ(fen_->SpinLgCont->minimum(), 10);
    EXPECT_EQ(fen_->SpinLgCont->maximum(), 255);
    EXPECT_EQ(fen_->SpinLgCont->singleStep(), 5);
    EXPECT_EQ(fen_->EdDelims->text().size(), 20);
    EXPECT_TRUE(fen_->CheminPage().contains(QStringLiteral("t3ch")));

    Cherche("le");
    ASSERT_EQ(fen_->Histoire().Taille(), 1);
    EXPECT_EQ(Lignes(), L3 + L6 + L12);
    fen_->ComboTri->setCurrentIndex(2); // "Après": shown again at once
    EXPECT_EQ(Lignes(), L6 + L12 + L3);

    Cherche("^r", true); // made while sorted to the right
    EXPECT_EQ(fen_->Histoire().Taille(), 2);
    EXPECT_EQ(Lignes(), " chat voit&nbsp;<span class=\"tgenstyle\">r&amp;d</span>&nbsp;. \n");
    EXPECT_TRUE(fen_->BtnPrec->isEnabled());

    QTest::mouseClick(fen_->BtnPrec, Qt::LeftButton);
    EXPECT_EQ(fen_->ComboTri->currentIndex(), 0); // the first entry was made in text order
    EXPECT_EQ(Lignes(), L3 + L6 + L12);
    EXPECT_TRUE(fen_->BtnSuiv->isEnabled());
    EXPECT_FALSE(fen_->BtnPrec->isEnabled());

    // A new request goes after the first entry; the second stays after it.
    Cherche("chat");
    EXPECT_EQ(fen_->Histoire().Taille(), 3);
    EXPECT_EQ(fen_->Histoire().Courant(), 1);
    EXPECT_TRUE(fen_->BtnSuiv->isEnabled());
    QTest::mouseClick(fen_->BtnSuiv, Qt::LeftButton);
    EXPECT_EQ(fen_->ComboTri->currentIndex(), 2);
    EXPECT_FALSE(fen_->BtnSuiv->isEnabled());
}

TEST_F(FenConcorTest, RequestsThatFindNothingChangeNothingAndSaySo)
{
    Cherche("le");
    const std::string avant = Lignes();
    const struct {
        const char *texte;
        bool expression;
    } cas[] = {{"inconnu", false}, {"^zz", true}, {"(le", true}, {"", false}};
    for (const auto &c : cas) {
        SCOPED_TRACE(c.texte);
        Cherche(c.texte, c.expression);
        EXPECT_EQ(fen_->Histoire().Taille(), 1);
        EXPECT_EQ(Lignes(), avant);
    }
    Cherche("(le", true);
    EXPECT_EQ(fen_->TexteStatut(),
              QStringLiteral("Expression rationnelle incorrecte : missing closing parenthesis (position 3)."));

    // Dropped groups: an empty one is refused with a word; a group is a new request.
    auto vide = std::make_unique<TTgenDragObject>(nullptr, base_.get(), "", 0, 0);
    TMimeTalmer donneesVides(std::move(vide));
    EXPECT_TRUE(Depose(*fen_->ConcorEditHTML, donneesVides));
    EXPECT_EQ(fen_->Histoire().Taille(), 1);
    EXPECT_FALSE(fen_->TexteStatut().isEmpty());
    auto groupe = std::make_unique<TTgenDragObject>(nullptr, base_.get(), "", 0x0000FF, 1);
    groupe->Entites()[0] = base_->LocFormDic("r&d", true);
    TMimeTalmer donnees(std::move(groupe));
    EXPECT_TRUE(Depose(*fen_->ConcorEditHTML, donnees));
    EXPECT_EQ(fen_->Histoire().Taille(), 2);
    EXPECT_EQ(fen_->GroupeCourant()->Couleur(), 0x0000FF);
    EXPECT_NE(readFile(fen_->CheminPage().toStdString()).find("color: #ff0000;"), std::string::npos);

    // A handed spelling is a one-form request.
    static_cast<talmer::RecepteurForme &>(*fen_).DeposeForme(" chien\n");
    EXPECT_EQ(fen_->Histoire().Taille(), 3);
}

TEST_F(FenConcorTest, GroupingByARegisteredPartition)
{
    auto *p = new Partition(base_.get(), base_->LocFormDic("p", false));
    partitions_.push_back(p);
    ASSERT_TRUE(registre_.AjoutePartition(p));
    fen_->ComboGrpChargePart();
    ASSERT_EQ(fen_->ComboGrp->count(), 2);
    EXPECT_EQ(fen_->ComboGrp->itemText(1), QStringLiteral("p"));
    Cherche("le");
    fen_->ComboGrp->setCurrentIndex(1);
    emit fen_->ComboGrp->activated(1);
    EXPECT_EQ(fen_->PartitionDeGroupement(), p);
    EXPECT_EQ(Lignes(), "\n<br><b>Partie : deux, Nombre de contextes : 1</b><br>\n" + L12 +
                            "\n<br><b>Partie : un, Nombre de contextes : 2</b><br>\n" + L3 + L6);
}

TEST_F(FenConcorTest, ReportItemsOfTwoWindowsNeverShareANameAndFollowWhatIsShown)
{
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base_.get());
    FixeRapportCourant(&rapport);
    TFenConcor autre(base_.get(), &registre_);

    fen_->AjouteAuRapport(); // nothing shown yet: nothing added
    EXPECT_EQ(rapport.NbElements(), 0);
    Cherche("le");
    fen_->AjouteAuRapport();
    autre.EdForme->setText(QStringLiteral("chat"));
    autre.Recherche();
    autre.AjouteAuRapport();
    fen_->CbTypeDocu->setCurrentIndex(1); // the inventory is what the window shows now
    EXPECT_TRUE(fen_->InventaireAffiche());
    fen_->AjouteAuRapport();

    EXPECT_EQ(rapport.FichiersElements(), (QStringList{"conc0", "conc1", "conc2"}));
    EXPECT_EQ(rapport.TitresElements().size(), 3);
    const std::string dossier = rapport.DossierTemporaire().toStdString();
    const std::string page0 = readFile(dossier + "conc0.html");
    EXPECT_NE(page0.find("Concordance de : le<br> (tri ordre du texte)<br><br>\n" + L3 + L6 + L12), std::string::npos);
    EXPECT_NE(readFile(dossier + "conc0.xml").find("<pole>le</pole>"), std::string::npos);
    EXPECT_NE(readFile(dossier + "conc1.xml").find("<pole>chat</pole>"), std::string::npos);
    const std::string inventaire = readFile(dossier + "conc2.html");
    EXPECT_NE(inventaire.find("Inventaire distributionnel de : le"), std::string::npos);
    EXPECT_EQ(inventaire.find("(tri"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dossier + "conc2.xml"));

    FixeRapportCourant(nullptr);
    rapport.Abandonne();
}

TEST_F(FenConcorTest, ReportCaptionEscapesTheGroupsSpelling)
{
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base_.get());
    FixeRapportCourant(&rapport);
    Cherche("r&d");
    fen_->AjouteAuRapport();
    FixeRapportCourant(nullptr);
    ASSERT_EQ(arbre.item(0)->rowCount(), 1);
    QStandardItem *noeud = arbre.item(0)->child(0);
    EXPECT_EQ(noeud->data(Rapport::RoleLegende).toString(), QStringLiteral("Concordance de : r&amp;d"));
    EXPECT_EQ(noeud->text(), QStringLiteral("Concordance de : r&d"));
    const std::string page = readFile(rapport.DossierTemporaire().toStdString() + "conc0.html");
    EXPECT_NE(page.find("<pre><font size=2>Concordance de : r&amp;d<br> (tri ordre du texte)<br><br>\n"), std::string::npos)
        << page;
    rapport.Abandonne();
}

TEST(FenConcorCommande, MainWindowOpensAMaximisedWindowPerClick)
{
    talmer::test::TempDir dossier;
    talmer::test::DialoguesTest dialogues;
    const std::string par = talmer::test::FabriqueBaseEchantillon(dossier.path() / "base");
    ASSERT_FALSE(par.empty());
    const talmer::test::VariableEnv temp("TEMP", dossier.path().string());
    {
        TFenPrinc fen;
        talmer::InstalleFenetres(fen);
        ASSERT_TRUE(fen.Ouverture().OuvreBase(QString::fromStdString(par)));
        QAction *commande = fen.Action("BtnDocu");
        ASSERT_NE(commande, nullptr);
        EXPECT_TRUE(commande->isEnabled());
        commande->trigger();
        commande->trigger();
        int n = 0;
        for (QMdiSubWindow *s : fen.Zone().Mdi()->subWindowList())
            if (qobject_cast<TFenConcor *>(s->widget())) {
                ++n;
                EXPECT_TRUE(s->isMaximized());
            }
        EXPECT_EQ(n, 2);
        if (fen.Rapports().Courant())
            fen.Rapports().Courant()->Abandonne();
    }
}

TEST_F(FenConcorTest, APageOfAConcordanceIsReachedByItsNumber)
{
    // "mot" 2 500 times, each time after its number: three screen pages of 1 000 contexts.
    std::string texte;
    for (int i = 0; i < 2500; ++i)
        texte += "n" + std::to_string(i) + " mot ";
    auto base = talmer::test::makeBase(texte + ".\n", ".", "mots");
    ASSERT_TRUE(base);
    TFenConcor fen(base.get(), nullptr);
    fen.EdForme->setText(QStringLiteral("mot"));
    QTest::keyClick(fen.EdForme, Qt::Key_Return);
    ASSERT_EQ(fen.NbPages(), 3);
    talmer::BarreParties *barre = fen.BarrePages;
    EXPECT_FALSE(barre->isHidden());
    EXPECT_EQ(barre->Texte()->text(), QStringLiteral("sur 3 : contextes 1 à 1000 sur 2500"));
    EXPECT_EQ(barre->Numero()->maximum(), 3);
    EXPECT_FALSE(barre->BoutonPrecedent()->isEnabled());
    const auto montre = [&](const char *contexte) {
        return readFile(fen.CheminPage().toStdString()).find(contexte) != std::string::npos;
    };

    // The number typed goes to that page at once; a larger one stops at the last.
    barre->Numero()->setValue(3);
    EXPECT_EQ(fen.PageCourante(), 2);
    EXPECT_EQ(barre->Texte()->text(), QStringLiteral("sur 3 : contextes 2001 à 2500 sur 2500"));
    EXPECT_TRUE(montre("n2499&nbsp;"));
    EXPECT_FALSE(montre("n1999&nbsp;"));
    EXPECT_FALSE(barre->BoutonSuivant()->isEnabled());
    barre->Numero()->setValue(7);
    EXPECT_EQ(fen.PageCourante(), 2);
    // The arrows move from there, and the number follows.
    barre->BoutonPrecedent()->click();
    EXPECT_EQ(fen.PageCourante(), 1);
    EXPECT_EQ(barre->Numero()->value(), 2);
    EXPECT_TRUE(montre("n1999&nbsp;"));
    EXPECT_TRUE(barre->BoutonSuivant()->isEnabled());

    // A concordance of one page shows no bar.
    fen.EdForme->setText(QStringLiteral("n7"));
    QTest::keyClick(fen.EdForme, Qt::Key_Return);
    EXPECT_EQ(fen.NbPages(), 1);
    EXPECT_TRUE(barre->isHidden());
}

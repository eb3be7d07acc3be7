// The section map window on a small base: groups, presses, browsing, clearing, settings, saved
// selections, the tall-picture refusal; and, from the main window, the section dialog with its
// sectionings, views, nodes and report items.
#include "engine/base_fixture.h"
#include "support/poste_test.h"
#include "windows/fenprinc_echantillon.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspec.h"
#include "engine/section.h"
#include "engine/tgen.h"
#include "services/corpus_registry.h"
#include "services/rapport.h"
#include "shell/barre_etat.h"
#include "shell/fennavig.h"
#include "shell/fenprinc.h"
#include "shell/page_rapport.h"
#include "shell/zone_fenetres.h"
#include "windows/commun/vuehtml.h"
#include "windows/installation.h"
#include "windows/sections/dialogues_carte.h"
#include "windows/sections/fencarteparag.h"
#include "windows/sections/fenchoixdelim.h"
#include "windows/sections/selection_fichier.h"
#include "windows/specificites/fenspecgrp.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTabBar>
#include <QToolButton>

#include <memory>

using talmer::test::DialoguesTest;
using talmer::test::TraiteEvenements;
using namespace talmer;

namespace {

QByteArray Lit(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CarteTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        // Ten sections at ".": chat in 1, 4 and 7; le in 0 and 4.
        base = talmer::test::makeBase("x. le a. chat b. c. d. chat le. e. f. chat g. h. i.\n");
        ASSERT_TRUE(base);
        const std::int32_t point = base->LocFormDic(".", true);
        section = std::make_unique<Section>(base.get(), &point, 1);
        ASSERT_EQ(section->NbSections(), 11);
        carte = std::make_unique<TFenCarteParag>(nullptr, *section, *base);
        carte->show();
    }

    std::unique_ptr<Tgen> Groupe(const char *forme)
    {
        const std::int32_t e = base->LocFormDic(forme, true);
        return std::make_unique<Tgen>(base.get(), &e, 1);
    }

    // A press at the centre of a section's box.
    void Presse(int i, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const DispositionCarte &d = carte->Disposition();
        carte->Presse(QPoint(d.x[i] + 4, d.y[i] + 4), mods);
    }

    std::vector<int> Selectionnees() const
    {
        std::vector<int> s;
        for (std::size_t i = 0; i < carte->Donnees().selection.size(); ++i)
            if (carte->Donnees().selection[i])
                s.push_back(static_cast<int>(i));
        return s;
    }

    DialoguesTest dialogues;
    std::unique_ptr<charg1> base;
    std::unique_ptr<Section> section;
    std::unique_ptr<TFenCarteParag> carte;
};

TEST_F(CarteTest, MainGroupColoursItsSectionsAndTheSecondLeavesItAlone)
{
    EXPECT_FALSE(carte->BtnOccPrec()->isEnabled());
    EXPECT_FALSE(carte->BtnOccSuiv()->isEnabled());
    EXPECT_FALSE(carte->BtnSecPrec()->isEnabled());
    EXPECT_TRUE(carte->BtnSecSuiv()->isEnabled());

    carte->AppliqueTgen(Groupe("chat"));
    EXPECT_EQ(carte->Donnees().touche, (std::vector<char>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(carte->LbTgen1()->text(), QStringLiteral("chat"));
    EXPECT_TRUE(carte->BtnOccSuiv()->isEnabled());
    const std::vector<std::int32_t> specif = carte->Donnees().specif;

    carte->AppliqueTgenSup(Groupe("le"));
    EXPECT_EQ(carte->Donnees().toucheSup, (std::vector<char>{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(carte->Donnees().touche, (std::vector<char>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(carte->Donnees().specif, specif);
    EXPECT_EQ(carte->LbTgenSup()->text(), QStringLiteral("le"));

    // A white group is painted black; the colour of its swatch is its own.
    auto blanc = Groupe("chat");
    blanc->FixeCouleur(0xFFFFFF);
    carte->AppliqueTgen(std::move(blanc));
    EXPECT_EQ(carte->ImageCarte().pixel(carte->Disposition().x[1] + 4, carte->Disposition().y[1] + 4) & 0xFFFFFF, 0u);
}

TEST_F(CarteTest, PressesSelectWithShiftAndCtrl)
{
    Presse(7);
    EXPECT_EQ(Selectionnees(), (std::vector<int>{7}));
    EXPECT_EQ(carte->Donnees().courante, 7);
    Presse(3, Qt::ShiftModifier);
    EXPECT_EQ(Selectionnees(), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(carte->Donnees().courante, 3);
    Presse(5, Qt::ControlModifier);
    EXPECT_EQ(Selectionnees(), (std::vector<int>{3, 4, 6, 7}));
    Presse(2);
    EXPECT_EQ(Selectionnees(), (std::vector<int>{2}));
    // Outside every box: nothing.
    carte->Presse(QPoint(2, 2), Qt::NoModifier);
    EXPECT_EQ(carte->Donnees().courante, 2);
}

TEST_F(CarteTest, ShiftPressWithoutCurrentSectionDoesNothing)
{
    Presse(3, Qt::ShiftModifier);
    EXPECT_TRUE(Selectionnees().empty());
    EXPECT_EQ(carte->Donnees().courante, -1);
}

TEST_F(CarteTest, BrowsingButtonsFollowTheCurrentSection)
{
    carte->AppliqueTgen(Groupe("chat"));
    carte->BtnOccSuivClick();
    EXPECT_EQ(carte->Donnees().courante, 1);
    EXPECT_FALSE(carte->BtnOccPrec()->isEnabled()); // no hit before 1
    EXPECT_TRUE(carte->BtnSecPrec()->isEnabled());
    carte->BtnOccSuivClick();
    carte->BtnOccSuivClick();
    EXPECT_EQ(carte->Donnees().courante, 7);
    EXPECT_FALSE(carte->BtnOccSuiv()->isEnabled());
    carte->BtnOccSuivClick(); // from the last hit: stays
    EXPECT_EQ(carte->Donnees().courante, 7);
    carte->BtnOccPrecClick();
    EXPECT_EQ(carte->Donnees().courante, 4);
    EXPECT_TRUE(carte->BtnOccSuiv()->isEnabled());

    // A press moves the section buttons too.
    Presse(10);
    EXPECT_FALSE(carte->BtnSecSuiv()->isEnabled());
    EXPECT_TRUE(carte->BtnOccPrec()->isEnabled());
    carte->BtnSecSuivClick();
    EXPECT_EQ(carte->Donnees().courante, 10);
    Presse(0);
    EXPECT_FALSE(carte->BtnSecPrec()->isEnabled());
    carte->BtnSecPrecClick();
    EXPECT_EQ(carte->Donnees().courante, 0);
    carte->BtnSecSuivClick();
    EXPECT_EQ(carte->Donnees().courante, 1);
    // The pane shows the current section, the group in bold.
    EXPECT_TRUE(carte->Texte()->HtmlPartie().contains(QStringLiteral("chat")));
    EXPECT_TRUE(QFile::exists(carte->Page().Chemin()));
}

TEST_F(CarteTest, ClearingKeepsTheGroupButLeavesNoHitToFind)
{
    carte->AppliqueTgen(Groupe("chat"));
    carte->AppliqueTgenSup(Groupe("le"));
    Presse(5);
    carte->BtnEffacerClick();
    EXPECT_EQ(carte->Donnees().touche, std::vector<char>(11, 0));
    EXPECT_EQ(carte->Donnees().toucheSup, std::vector<char>(11, 0));
    EXPECT_TRUE(Selectionnees().empty());
    EXPECT_TRUE(carte->LbTgen1()->text().isEmpty());
    EXPECT_NE(carte->Groupe(), nullptr);
    EXPECT_EQ(carte->Donnees().courante, 5);
    carte->BtnOccSuivClick();
    carte->BtnOccPrecClick();
    EXPECT_EQ(carte->Donnees().courante, 5);
}

TEST_F(CarteTest, SettingsPopupChecksBothThresholdsBeforeUsingThem)
{
    carte->AppliqueTgen(Groupe("chat"));
    const std::int32_t couleur = carte->Groupe()->Couleur();
    dialogues.repondDialogue = [](QDialog &d) {
        auto &popup = dynamic_cast<TFenParamCarte &>(d);
        popup.Edit1()->setText(QStringLiteral("3"));
        popup.Edit2()->setText(QStringLiteral("un"));
        popup.accept();
        return popup.result();
    };
    carte->BtnColClick();
    EXPECT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(carte->Donnees().seuilHaut, 5);
    EXPECT_EQ(carte->Donnees().seuilBas, 2);

    dialogues.repondDialogue = [](QDialog &d) {
        auto &popup = dynamic_cast<TFenParamCarte &>(d);
        popup.Edit1()->setText(QStringLiteral("3"));
        popup.Edit2()->setText(QStringLiteral("1"));
        popup.accept();
        return popup.result();
    };
    carte->BtnColClick();
    EXPECT_EQ(carte->Donnees().seuilHaut, 3);
    EXPECT_EQ(carte->Donnees().seuilBas, 1);
    EXPECT_EQ(carte->Donnees().teintes.couleur1, couleur);
    EXPECT_EQ(carte->Donnees().teintes.couleur2, TeintesDe(couleur).couleur2);
    // The popup keeps what was typed for the next map.
    EXPECT_EQ(ParamCarte().Edit1()->text(), QStringLiteral("3"));
}

TEST_F(CarteTest, SavedSelectionRoundTripAndBadFileKeepsTheSelection)
{
    carte->AppliqueTgen(Groupe("chat")); // sections 1, 4, 7
    carte->BtnSauveSelectionClick();
    EXPECT_EQ(Lit(FichierSelection()).toStdString(), ExporteSelection({0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}));

    Presse(9);
    dialogues.repondDialogue = [](QDialog &d) {
        auto &choix = dynamic_cast<TfrmChoixSeclectionSection &>(d);
        choix.Case(0)->setChecked(false);
        choix.Case(1)->setChecked(true);
        choix.accept();
        return choix.result();
    };
    carte->BtnChargeSelectionClick();
    EXPECT_EQ(Selectionnees(), (std::vector<int>{2, 5, 8}));
    EXPECT_EQ(carte->Donnees().courante, -1);
    EXPECT_EQ(Lit(FichierControle()),
              QByteArray("\r\nnom=Nom\r\ndimension=  11\r\ntype =  type\r\nfreq=  0\r\ncouleur =  000000\r\n") +
                  QByteArray("\0 \0 \1 \0 \0 \1 \0 \0 \1 \0 \0 ", 22));

    // Another map's file (another number of sections) is read as far as both go, and the status
    // says so.
    TFenPrinc principale;
    const auto ecrit = [](const std::string &octets) {
        QFile f(FichierSelection());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(octets.data(), static_cast<qint64>(octets.size()));
    };
    ecrit(ExporteSelection({0, 1, 1}));
    EXPECT_TRUE(carte->ChargeSelection({0, 1}));
    EXPECT_EQ(Selectionnees(), (std::vector<int>{1, 2}));
    EXPECT_EQ(principale.Etat().TexteStatut(),
              QStringLiteral("Sélection chargée : le fichier décrit 3 sections et la carte 11 ; seules les 3 "
                             "premières sections ont été prises en compte."));
    EXPECT_TRUE(dialogues.messages.empty());

    // A file that is not whole is refused and changes nothing.
    ecrit(ExporteSelection({1, 1, 1}).substr(0, 60));
    EXPECT_FALSE(carte->ChargeSelection({0}));
    EXPECT_EQ(Selectionnees(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(dialogues.messages.empty());
}

TEST_F(CarteTest, SectionsOfTheGroupsAreTheTargetsOfTheirSpecificities)
{
    std::vector<std::int32_t> vues;
    FabriqueSpecifsSections() = [&](TFenPrinc *, charg1 &, std::vector<StructSpec>, std::int32_t n) { vues.push_back(n); };
    dialogues.repondDialogue = [](QDialog &d) {
        dynamic_cast<TFenParamSpecSect &>(d).CSpinEdit1()->setValue(100);
        return int(QDialog::Accepted);
    };
    carte->BtnSpfSectTgenClick(); // no group: no window
    carte->SpfButtonClick();      // no selection: no window
    EXPECT_TRUE(vues.empty());
    carte->AppliqueTgen(Groupe("chat"));
    carte->AppliqueTgenSup(Groupe("le"));
    carte->BtnSpfSectTgenClick();
    Presse(2);
    Presse(3, Qt::ControlModifier);
    Presse(9, Qt::ControlModifier);
    carte->SpfButtonClick();
    EXPECT_EQ(vues, (std::vector<std::int32_t>{4, 3}));
    FabriqueSpecifsSections() = nullptr;
}

TEST_F(CarteTest, HandedSpellingBecomesTheMainGroup)
{
    carte->DeposeForme("  chat \r\n");
    ASSERT_NE(carte->Groupe(), nullptr);
    EXPECT_EQ(carte->Donnees().touche[4], 1);
    carte->DeposeForme("absent");
    EXPECT_EQ(carte->LbTgen1()->text(), QStringLiteral("chat"));
}

class CarteParPartiesTest : public talmer::test::InTempDir {};

TEST_F(CarteParPartiesTest, MapByPartsIndexesItsOwnZonesAndDrawsEverySection)
{
    auto base = talmer::test::makeBase("a. b. <p=x>c. d. <p=y>e. f.\n");
    ASSERT_TRUE(base);
    const std::int32_t point = base->LocFormDic(".", true);
    Section section(base.get(), &point, 1);
    ASSERT_EQ(section.NbSections(), 6);
    Partition partition(base.get(), base->LocFormDic("p", false));
    ASSERT_EQ(partition.NbZones(), 2);
    const std::int32_t avant = partition.ZoneNo(1).PremierIndex;
    DialoguesTest dialogues;
    TFenCarteParag carte(nullptr, section, *base);
    carte.ChoisitPartition(&partition);
    // Sections 0 and 1 start before the first zone and are drawn with it; section 3 starts at the
    // second marker, before the second zone, and is drawn with the first.
    EXPECT_EQ(carte.IndexZones(), (std::vector<std::int32_t>{0, 4, 6}));
    EXPECT_EQ(partition.ZoneNo(1).PremierIndex, avant);
    const DispositionCarte &d = carte.Disposition();
    EXPECT_EQ(d.yEntetes.size(), 2u);
    EXPECT_EQ(d.y[0], d.yEntetes[0] + 12);
    EXPECT_EQ(d.x[4], 20 + 4 * 11);
    EXPECT_EQ(d.y[4], d.yEntetes[1] + 12);
    carte.Presse(QPoint(d.x[1] + 2, d.y[1] + 2), Qt::NoModifier);
    EXPECT_EQ(carte.Donnees().courante, 1);
    carte.ChoisitPartition(nullptr);
    EXPECT_TRUE(carte.Disposition().yEntetes.empty());
}

class CarteLongueTest : public talmer::test::InTempDir {};

TEST_F(CarteLongueTest, PictureTallerThanJpegAllowsIsRefusedWithWhatMakesItShorter)
{
    // 360 000 sections in 2 400 zones: too tall even with the smallest boxes and no partition.
    std::string texte;
    for (int z = 0; z < 2400; ++z) {
        texte += "<p=v" + std::to_string(z) + "> ";
        for (int i = 0; i < 150; ++i)
            texte += "a. ";
    }
    auto base = talmer::test::makeBase(texte + "\n");
    ASSERT_TRUE(base);
    const std::int32_t point = base->LocFormDic(".", true);
    Section section(base.get(), &point, 1);
    Partition partition(base.get(), base->LocFormDic("p", false));
    ASSERT_EQ(partition.NbZones(), 2400);
    DialoguesTest dialogues;
    TFenCarteParag carte(nullptr, section, *base);
    const struct {
        int taille;
        bool avecPartition;
        const char *conseil;
    } cas[] = {
        {25, true, "Réduisez la taille des boîtes, retirez la partition ou choisissez moins de délimiteurs."},
        {25, false, "Réduisez la taille des boîtes ou choisissez moins de délimiteurs."},
        {7, true, "Retirez la partition ou choisissez moins de délimiteurs."},
        {7, false, "Choisissez moins de délimiteurs."},
    };
    for (const auto &c : cas) {
        dialogues.messages.clear();
        carte.FixeTaille(c.taille);
        carte.ChoisitPartition(c.avecPartition ? &partition : nullptr);
        const int hauteur = carte.Disposition().hauteur;
        ASSERT_GT(hauteur, 65500) << c.conseil;
        carte.AjouteAuRapport();
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.conseil;
        EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("La carte mesure %1 pixels de haut ; une image JPEG "
                                                              "n'en admet que 65500. ").arg(hauteur) +
                                                   QString::fromUtf8(c.conseil));
        EXPECT_EQ(carte.CompteurImages(), 0);
    }
}

// --- From the main window ------------------------------------------------------------------------

class ChoixDelimTest : public talmer::test::FenPrincEchantillon {
protected:
    // Runs "Carte des sections", choosing these delimiters and pressing "Créer".
    void Cree(const QStringList &delimiteurs, bool *existantes = nullptr)
    {
        dialogues.repondDialogue = [this, delimiteurs, existantes](QDialog &d) {
            auto &choix = dynamic_cast<TFenChoixDelim &>(d);
            if (existantes)
                *existantes = choix.OngletExistantesVisible();
            for (int i = 0; i < choix.ListDelims()->count(); ++i)
                if (delimiteurs.contains(choix.ListDelims()->item(i)->text()))
                    choix.ListDelims()->item(i)->setSelected(true);
            choix.BtnValideClick();
            dernier = choix.VueOuverte();
            return choix.result();
        };
        fen->Action("BtnParag")->trigger();
        TraiteEvenements();
    }

    QStringList Enfants(QStandardItem *noeud) const
    {
        QStringList textes;
        for (int r = 0; noeud && r < noeud->rowCount(); ++r)
            textes << noeud->child(r)->text();
        return textes;
    }

    TFenCarteParag *dernier = nullptr;
};

TEST_F(ChoixDelimTest, SectioningsViewsAndNodes)
{
    bool existantes = true;
    Cree({QStringLiteral(".")}, &existantes);
    EXPECT_FALSE(existantes);
    ASSERT_NE(dernier, nullptr);
    TFenCarteParag *premiere = dernier;
    const QString noeud = QStringLiteral(" découpées d'après le délimiteur:  .");
    EXPECT_EQ(premiere->windowTitle(), QStringLiteral("Sections ") + noeud + QStringLiteral(" - vue n°1"));
    ASSERT_EQ(fen->Registre().NbSections(), 1);
    EXPECT_EQ(Enfants(fen->FenNavig()->NoeudCartesSections()), QStringList{noeud});
    QStandardItem *noeudSection = fen->FenNavig()->NoeudCartesSections()->child(0);
    EXPECT_EQ(Enfants(noeudSection), QStringList{QStringLiteral("Vue n°1")});

    // The same delimiter, answering No: the newest view comes to the front, nothing is added.
    dialogues.reponses = {ReponseMessage::Non};
    Cree({QStringLiteral(".")}, &existantes);
    EXPECT_TRUE(existantes);
    EXPECT_EQ(dernier, premiere);
    EXPECT_EQ(fen->Registre().EntreeSection(0)->vues.size(), 1u);
    EXPECT_EQ(dialogues.messages.back().texte, QStringLiteral("La section existe déjà,\nvoulez-vous créer une nouvelle vue ?"));

    // Yes: a second view of the same sectioning.
    dialogues.reponses = {ReponseMessage::Oui};
    Cree({QStringLiteral(".")});
    ASSERT_NE(dernier, premiere);
    EXPECT_TRUE(dernier->windowTitle().endsWith(QStringLiteral(" - vue n°2")));
    EXPECT_EQ(&dernier->SectionCarte(), &premiere->SectionCarte());
    EXPECT_EQ(Enfants(noeudSection), (QStringList{QStringLiteral("Vue n°1"), QStringLiteral("Vue n°2")}));

    // Another list of delimiters is another sectioning.
    Cree({QStringLiteral("."), QStringLiteral(",")});
    EXPECT_EQ(fen->Registre().NbSections(), 2);
    EXPECT_EQ(Enfants(fen->FenNavig()->NoeudCartesSections()).size(), 2);

    // Closing a view only minimises it: the registry's views stay alive.
    dernier->parentWidget()->close();
    TraiteEvenements();
    EXPECT_FALSE(fen->Registre().EntreeSection(1)->vues[0].isNull());
}

TEST_F(ChoixDelimTest, ReportPictureAndSectionPage)
{
    Cree({QStringLiteral(".")});
    ASSERT_NE(dernier, nullptr);
    Rapport *rapport = fen->Rapports().Courant();
    ASSERT_NE(rapport, nullptr);
    const std::int32_t point = dernier->SectionCarte().Delimiteurs()[0];
    const QString prefixe = QString::fromLatin1(base->NomBase()) + QStringLiteral("_img-section-") +
                            QString::number(point) + QStringLiteral("_1_");
    dernier->AjouteAuRapport();
    dernier->AjouteAuRapport();
    EXPECT_TRUE(QFile::exists(rapport->DossierTemporaire() + prefixe + QStringLiteral("1.jpg")));
    EXPECT_TRUE(QFile::exists(rapport->DossierTemporaire() + prefixe + QStringLiteral("2.jpg")));

    // "&Rapport" without a current section adds nothing; with one, the page of that section.
    const int avant = fen->Rapports().Modele()->item(0)->rowCount();
    dernier->BtnAjouteRapClick();
    EXPECT_EQ(fen->Rapports().Modele()->item(0)->rowCount(), avant);
    dernier->BtnSecSuivClick();
    dernier->BtnAjouteRapClick();
    EXPECT_EQ(fen->Rapports().Modele()->item(0)->rowCount(), avant + 1);
    const QByteArray page = Lit(rapport->DossierTemporaire() + QString::fromLatin1(base->NomBase()) +
                                QStringLiteral("_section-") + QString::number(point) + QStringLiteral("_1_0.html"));
    EXPECT_TRUE(page.contains("<h2>Section 0</h2><br>\n<font size=-2>\n"));
    // The caption is HTML for the index; the tree shows its text.
    QStandardItem *noeud = fen->Rapports().Modele()->item(0)->child(avant);
    EXPECT_EQ(noeud->data(Rapport::RoleLegende).toString(), QStringLiteral("Section n&deg;0"));
    EXPECT_EQ(noeud->text(), QString::fromUtf8("Section n°0"));
}

TEST_F(ChoixDelimTest, AMapOpensWholeInsideTheVisibleArea)
{
    // A laptop's screen, the reading view restored beside the place of the new window.
    fen->resize(1366, 768);
    fen->show();
    TraiteEvenements();
    QMdiSubWindow *lecture = fen->Zone().Mdi()->subWindowList().front();
    lecture->showNormal();
    lecture->setGeometry(0, 0, 780, 300);
    for (int vue = 1; vue <= 2; ++vue) {
        Cree({QStringLiteral(".")});
        ASSERT_NE(dernier, nullptr);
        auto *sous = qobject_cast<QMdiSubWindow *>(dernier->parentWidget());
        ASSERT_NE(sous, nullptr);
        const QRect zone(QPoint(0, 0), fen->Zone().ZoneVisible());
        EXPECT_TRUE(zone.contains(sous->geometry())) << vue << " " << sous->geometry().x() << "+"
                                                     << sous->geometry().width() << " in " << zone.width();
        EXPECT_EQ(sous->width(), std::min(fen->LargeurLibre() - 5, zone.width())) << vue;
        EXPECT_EQ(sous->height(), 390) << vue;
    }
}

TEST_F(ChoixDelimTest, SectionalSpecificitiesOpenAListOfSections)
{
    Cree({QStringLiteral(".")});
    ASSERT_NE(dernier, nullptr);
    const DispositionCarte &d = dernier->Disposition();
    for (int i : {0, 1, 2})
        dernier->Presse(QPoint(d.x[i] + 2, d.y[i] + 2), i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    dialogues.repondDialogue = [](QDialog &dlg) {
        dynamic_cast<TFenParamSpecSect &>(dlg).CSpinEdit1()->setValue(100);
        return int(QDialog::Accepted);
    };
    dernier->SpfButtonClick();
    TFenSpecGrp *liste = nullptr;
    for (QWidget *page : fen->ListesGauche()->Pages())
        if (auto *l = qobject_cast<TFenSpecGrp *>(page))
            liste = l;
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), QStringLiteral("Spécifs - Sections"));
    EXPECT_EQ(liste->LbCorpRef()->text(), QStringLiteral("3 sections"));
    EXPECT_GT(liste->Modele()->rowCount(), 0);
}

} // namespace

// The specificity windows in the partition statistics window: its buttons, pages and report.
#include "windows/specificites/installation_specificites.h"

#include "windows/partitions/comptes_parties.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/specificites/fenspecgrp.h"
#include "windows/specificites/pagesc.h"
#include "windows/specificites/pagetfg.h"
#include "windows/specificites/paramspec.h"

#include "corpus_parties.h"
#include "dialogues_muets.h"

#include "engine/calcspectot.h"
#include "engine/primspecchr.h"

#include "services/rapport.h"
#include "support/jeu_affichage.h"
#include "support/poste_test.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace talmer;

class StatPartSpecificites : public talmer::test::CorpusParties {
protected:
    void SetUp() override
    {
        CorpusParties::SetUp();
        InstalleSpecificites();
    }
    void TearDown() override
    {
        ExtensionStatistiques() = nullptr;
        CorpusParties::TearDown();
    }
};

TEST_F(StatPartSpecificites, SpTotShowsTheTableAndTheReportTakesTheActivePage)
{
    talmer::test::DialoguesMuets dialogues;
    TFenStatPart f(nullptr, *partition);
    for (QToolButton *b : {f.BtnSpecif(), f.BtnSpEvol(), f.BtnSpTot()})
        EXPECT_TRUE(b->isEnabled());
    PageTFG *tfg = PageTFGDe(f);
    ASSERT_NE(tfg, nullptr);

    // The dialog comes loaded from the partition; the box is greyed while every part is checked.
    bool coche = true, actif = true;
    dialogues.repond = [&](QDialog &d) {
        auto &tot = static_cast<TFenParamSpecTot &>(d);
        EXPECT_EQ(tot.CSSeuil()->value(), 5);
        EXPECT_EQ(tot.CSFreqMin()->value(), 10);
        coche = tot.ChkCorpRef()->isChecked();
        actif = tot.ChkCorpRef()->isEnabled();
        tot.CSSeuil()->setValue(100);
        tot.CSFreqMin()->setValue(1);
        return int(QDialog::Accepted);
    };
    EXPECT_FALSE(f.TabTFGVisible());
    f.BtnSpTot()->click();
    EXPECT_FALSE(coche);
    EXPECT_FALSE(actif);
    EXPECT_TRUE(f.TabTFGVisible());
    EXPECT_EQ(f.PCStat()->currentWidget(), f.TabTFG());
    ASSERT_NE(tfg->Calcul(), nullptr);
    EXPECT_EQ(tfg->Calcul()->NbPartiesCalculees(), 3);
    EXPECT_EQ(tfg->Modele()->rowCount(), 4);

    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    FixeRapportCourant(&rapport);
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    f.PCStat()->setCurrentWidget(f.TabPCLC());
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    FixeRapportCourant(nullptr);
    EXPECT_EQ(rapport.FichiersElements(), (QStringList{"tfgpartie", "pclcpartie", "pclcpartie_2"}));
    const std::filesystem::path dossier(rapport.DossierTemporaire().toStdString());
    const std::string xml = talmer::test::readFile(dossier / "tfgpartie.xml");
    EXPECT_EQ(xml.rfind("<tfg nomPartition=\"partie\">\n<ligneTfg><forme>le</forme><partie nom=\"a\" codePartie=\"6\" frq=\"0\"", 0), 0u)
        << xml;
    EXPECT_EQ(talmer::test::readFile(dossier / "pclcpartie.xml"), talmer::test::readFile(dossier / "pclcpartie_2.xml"));
    EXPECT_EQ(arbre.item(0)->child(0)->text(), QString::fromUtf8("Principales caractéristiques de la partition : partie"));
    EXPECT_TRUE(dialogues.messages.isEmpty());
    rapport.Abandonne();
}

TEST_F(StatPartSpecificites, ReportPagesInACodePageWithoutEAcuteUseReferences)
{
    talmer::test::DialoguesMuets dialogues;
    const talmer::test::JeuDAffichageTest cyrillique(1); // no "é"
    TFenStatPart f(nullptr, *partition);
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    FixeRapportCourant(&rapport);
    f.PCStat()->setCurrentWidget(f.TabPCLC());
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    PageTFG *tfg = PageTFGDe(f);
    ASSERT_NE(tfg, nullptr);
    QString erreur;
    EXPECT_TRUE(tfg->ExporteAuRapport(rapport, f.windowTitle(), &erreur)) << erreur.toStdString();
    FixeRapportCourant(nullptr);

    const std::string tete = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1251\" />"
                             "<title>";
    const std::string cap = "Principales caract&#233;ristiques de la partition : partie";
    const std::filesystem::path dossier(rapport.DossierTemporaire().toStdString());
    EXPECT_EQ(talmer::test::readFile(dossier / "pclcpartie.html"),
              tete + cap + "</title></head>\n<body bgcolor=#ffffff>\n" + cap +
                  "<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Partie<td>Nb occurrences<td>Nb formes<td>Nb hapax<td>Fr&#233;q. Max<td>Forme"
                  "\n<tr><td>a<td align=\"right\">0<td align=\"right\">0<td align=\"right\">0<td align=\"right\">0<td>"
                  "\n<tr><td>b<td align=\"right\">5<td align=\"right\">3<td align=\"right\">1<td align=\"right\">2<td>le"
                  "\n<tr><td>c<td align=\"right\">2<td align=\"right\">2<td align=\"right\">2<td align=\"right\">1<td>le"
                  "</font></table>\n</body>\n</html>");
    // Before any run the table has no row.
    const std::string titreTfg = cap + " : Tableau des sp&eacute;cificit&eacute;s";
    EXPECT_EQ(talmer::test::readFile(dossier / "tfgpartie.html"),
              tete + titreTfg + "</title></head>\n<body bgcolor=#ffffff>\n" + titreTfg +
                  "<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Formes<td colspan=2>a<td colspan=2>b<td colspan=2>c</font></table>\n</body>\n</html>");
    ASSERT_EQ(arbre.item(0)->rowCount(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(arbre.item(0)->child(i)->text(), QString::fromUtf8("Principales caractéristiques de la partition : partie"));
    EXPECT_TRUE(dialogues.messages.isEmpty());
    rapport.Abandonne();
}

TEST_F(StatPartSpecificites, SpecifsOpensTheListOfTheSelectedParts)
{
    talmer::test::DialoguesMuets dialogues;
    TFenStatPart f(nullptr, *partition);
    partition->Selectionne(2, true);
    QPointer<TFenSpecGrp> liste;
    dialogues.repond = [&](QDialog &d) {
        auto &dialogue = static_cast<TFenParamSpec &>(d);
        dialogue.SpinFreqMin()->setValue(1);
        dialogue.SpinSeuil()->setValue(60);
        dialogue.BtnOKClick();
        liste = dialogue.Liste();
        return d.result();
    };
    f.BtnSpecif()->click();
    ASSERT_TRUE(liste);
    // Part c against the whole corpus at 60 %: chien (+2), alone significant.
    ASSERT_EQ(liste->Modele()->rowCount(), 1);
    EXPECT_EQ(liste->Modele()->index(0, 0).data().toString(), "chien");
    EXPECT_EQ(liste->Modele()->index(0, 3).data().toString(), "2");
    delete liste.data();
}

TEST_F(StatPartSpecificites, RunsTheUserStopsLeaveTheEarlierTableAndGrid)
{
    talmer::test::DialoguesMuets dialogues;
    TFenStatPart f(nullptr, *partition);
    PageTFG *tfg = PageTFGDe(f);
    PageSC *sc = PageSCDe(f);
    ASSERT_TRUE(tfg && sc);
    // The user presses Escape once the run has started (the key waits until the run repaints).
    bool echap = false;
    const auto avecParametres = [&](int seuil, bool evolutives) {
        dialogues.repond = [&, seuil, evolutives](QDialog &d) {
            if (auto *tot = qobject_cast<TFenParamSpecTot *>(&d)) {
                tot->CSSeuil()->setValue(seuil);
                tot->CSFreqMin()->setValue(1);
            } else if (auto *diac = qobject_cast<TFenParamSpecDiac *>(&d)) {
                diac->SpinSeuil()->setValue(seuil);
                diac->SpinFreqMin()->setValue(1);
                diac->ChkSpEvl()->setChecked(evolutives);
                if (echap)
                    talmer::test::AppuieEchap(&f);
                diac->BitBtnOKClick();
                return d.result();
            }
            if (echap)
                talmer::test::AppuieEchap(&f);
            return int(QDialog::Accepted);
        };
    };

    avecParametres(100, false);
    f.BtnSpTot()->click();
    f.BtnSpEvol()->click();
    const CalcSpecTot *table = tfg->Calcul();
    const PrimSpecChr *grille = sc->Resultat();
    ASSERT_TRUE(table && grille);
    ASSERT_GT(grille->NbLignes(), 0);
    const std::vector<StructSpecChr> lignes = grille->Lignes();
    const int lignesTable = tfg->Modele()->rowCount();

    // Stopped: the specificities per part, the chronological ones, and the evolutive ones (whose
    // stop also stops the chronological run after them).
    echap = true;
    for (bool evolutives : {false, true}) {
        avecParametres(50, evolutives);
        f.BtnSpTot()->click();
        f.BtnSpEvol()->click();
        EXPECT_EQ(tfg->Calcul(), table);
        EXPECT_EQ(tfg->Modele()->rowCount(), lignesTable);
        EXPECT_EQ(sc->Resultat(), grille);
        EXPECT_EQ(sc->Resultat()->Lignes(), lignes);
        EXPECT_EQ(sc->Modele()->rowCount(), static_cast<int>(lignes.size()));
    }
    EXPECT_TRUE(dialogues.messages.isEmpty());
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFenSpecGrp *>(w), nullptr);
}

TEST_F(StatPartSpecificites, SpDiacWithoutSelectionLeavesTheFirstPartSelectedInTheGrid)
{
    talmer::test::DialoguesMuets dialogues; // the dialog is cancelled
    TFenStatPart f(nullptr, *partition);
    const ModelePCLC &grille = *f.ModeleComptes();
    const auto selectionnees = [&grille] {
        std::vector<bool> s;
        for (int r = 0; r < grille.rowCount(); ++r)
            s.push_back(grille.index(r, 0).data(ModelePCLC::RoleSelectionnee).toBool());
        return s;
    };
    ASSERT_EQ(selectionnees(), (std::vector<bool>{false, false, false}));
    f.BtnSpEvol()->click();
    EXPECT_EQ(selectionnees(), (std::vector<bool>{true, false, false}));
    // A selection the user made is left as it is.
    partition->Selectionne(0, false);
    partition->Selectionne(2, true);
    f.BtnSpEvol()->click();
    EXPECT_EQ(selectionnees(), (std::vector<bool>{false, false, true}));
}

// A key and a part name holding markup characters: "<k&\"=Zo\xE9&\"Cie\"> le chat . <k&\"=Ab> le chien ."
// Forms le 0 (2), chat 1, chien 2; '.' 3; the key type k&" 4; its values Ab 5, Zo\xE9&"Cie" 6
// (capitals in byte order). Each part: 2 occurrences, 2 forms, 2 hapax, highest frequency 1 (le).
class CleBalisee : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        InstalleSpecificites();
        base = talmer::test::makeBase("<k&\"=Zo\xE9&\"Cie\"> le chat . <k&\"=Ab> le chien .", ".");
        ASSERT_TRUE(base);
        ASSERT_EQ(base->LocFormDic("k&\"", false), 4);
        partition = std::make_unique<Partition>(base.get(), 4);
        ASSERT_EQ(partition->NbParties(), 2);
    }
    void TearDown() override
    {
        ExtensionStatistiques() = nullptr;
        partition.reset();
        base.reset();
    }

    // The counts page the partition statistics window adds to a new report.
    std::string PagePCLC(std::string *xml = nullptr)
    {
        TFenStatPart f(nullptr, *partition);
        QStandardItemModel arbre;
        Rapport::InitArbreRapport(&arbre);
        Rapport rapport(&arbre, base.get());
        FixeRapportCourant(&rapport);
        f.PCStat()->setCurrentWidget(f.TabPCLC());
        static_cast<ContributeurRapport &>(f).AjouteAuRapport();
        FixeRapportCourant(nullptr);
        const std::filesystem::path dossier(rapport.DossierTemporaire().toStdString());
        const std::string nom = rapport.FichiersElements().value(0).toStdString();
        if (xml)
            *xml = talmer::test::readFile(dossier / (nom + ".xml"));
        std::string page = talmer::test::readFile(dossier / (nom + ".html"));
        rapport.Abandonne();
        return page;
    }

    // The report page of the group specificities of part `partie` alone.
    std::string PageSpf(std::int32_t partie)
    {
        partition->Selectionne(partie, true);
        TFenParamSpec dialogue(nullptr, partition.get());
        dialogue.BtnOKClick();
        partition->Selectionne(partie, false);
        TFenSpecGrp *liste = dialogue.Liste();
        if (liste == nullptr)
            return {};
        const std::string page = liste->Page();
        delete liste;
        return page;
    }

    // The bytes before the date and those from the date's end to the head of the table.
    static void CompareAutourDeLaDate(const std::string &page, const std::string &avant, const std::string &apres)
    {
        ASSERT_EQ(page.substr(0, avant.size()), avant);
        const std::size_t fin = page.find("</td>\n", avant.size());
        ASSERT_NE(fin, std::string::npos);
        EXPECT_EQ(page.substr(fin, apres.size()), apres);
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

TEST_F(CleBalisee, KeyAndPartNamesAreEscapedInTheTitlesAndTheLists)
{
    talmer::test::DialoguesMuets dialogues;
    const std::string cap = "Principales caract\xE9ristiques de la partition : k&amp;\"";
    std::string xml;
    EXPECT_EQ(PagePCLC(&xml),
              "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" /><title>" +
                  cap + "</title></head>\n<body bgcolor=#ffffff>\n" + cap +
                  "<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Partie<td>Nb occurrences<td>Nb formes<td>Nb hapax<td>Fr\xE9q. Max<td>Forme"
                  "\n<tr><td>Ab<td align=\"right\">2<td align=\"right\">2<td align=\"right\">2<td align=\"right\">1<td>le"
                  "\n<tr><td>Zo\xE9&amp;\"Cie\"<td align=\"right\">2<td align=\"right\">2<td align=\"right\">2<td align=\"right\">1<td>le"
                  "</font></table>\n</body>\n</html>");
    EXPECT_EQ(xml, "<pclc nomPartition=\"k&amp;&quot;\">\n"
                   "<partie nom=\"Ab\" codepartie=\"5\" nbocc=\"2\" nbform=\"2\" nbhapax=\"2\" frqmax=\"1\" formemax=\"le\"/>\n"
                   "<partie nom=\"Zo\xE9&amp;&quot;Cie&quot;\" codepartie=\"6\" nbocc=\"2\" nbform=\"2\" nbhapax=\"2\" "
                   "frqmax=\"1\" formemax=\"le\"/>\n"
                   "</pclc>\n");

    CompareAutourDeLaDate(
        PageSpf(1),
        "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />"
        "<title>Sp\xE9" "cifs - Part : k&amp;\"</title></head>\n<body bgcolor=#ffffff>\n"
        "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</TD>\n<td>Date : ",
        "</td>\n<td>Partition = k&amp;\"</TD>\n</table>Sp\xE9" "cifs - Part : k&amp;\"<br>\n"
        "Parties s\xE9lectionn\xE9" "es : Zo\xE9&amp;\"Cie\", <br>\n"
        "<table border=1><font size=-2>\n<tr><td>Forme<td>Frq. Tot.<td>Fr\xE9quence<td>Coeff.");
    EXPECT_TRUE(dialogues.messages.isEmpty());
}

TEST_F(CleBalisee, TitlesInShiftJisUseCharacterReferences)
{
    talmer::test::DialoguesMuets dialogues;
    const talmer::test::JeuDAffichageTest japonais(3); // code page 932, no "é"
    const std::string cap = "Principales caract&#233;ristiques de la partition : k&amp;\"";
    // The part names are the base's bytes, escaped and otherwise as they stand.
    EXPECT_EQ(PagePCLC(),
              "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=Shift_JIS\" /><title>" +
                  cap + "</title></head>\n<body bgcolor=#ffffff>\n" + cap +
                  "<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Partie<td>Nb occurrences<td>Nb formes<td>Nb hapax<td>Fr&#233;q. Max<td>Forme"
                  "\n<tr><td>Ab<td align=\"right\">2<td align=\"right\">2<td align=\"right\">2<td align=\"right\">1<td>le"
                  "\n<tr><td>Zo\xE9&amp;\"Cie\"<td align=\"right\">2<td align=\"right\">2<td align=\"right\">2<td align=\"right\">1<td>le"
                  "</font></table>\n</body>\n</html>");

    CompareAutourDeLaDate(
        PageSpf(0),
        "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=Shift_JIS\" />"
        "<title>Sp&#233;cifs - Part : k&amp;\"</title></head>\n<body bgcolor=#ffffff>\n"
        "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</TD>\n<td>Date : ",
        "</td>\n<td>Partition = k&amp;\"</TD>\n</table>Sp&#233;cifs - Part : k&amp;\"<br>\n"
        "Parties s&#233;lectionn&#233;es : Ab, <br>\n"
        "<table border=1><font size=-2>\n<tr><td>Forme<td>Frq. Tot.<td>Fr&#233;quence<td>Coeff.");
    EXPECT_TRUE(dialogues.messages.isEmpty());
}

TEST_F(StatPartSpecificites, ABigTablePageIsWrittenOnlyWhenTheUserAgreesAndAStoppedOneAddsNothing)
{
    // 1,200 parts and a dropped group of 5,000 forms: a page of about 250 MB.
    std::string texte;
    for (int i = 0; i < 5000; ++i) {
        if (i % 4 == 0 && i / 4 < 1200)
            texte += "<page=v" + std::to_string(10'000 + i / 4) + "> ";
        texte += std::string{char('a' + i / 676), char('a' + i / 26 % 26), char('a' + i % 26), ' '};
    }
    std::unique_ptr<charg1> grande = talmer::test::makeBase(texte, ".", "grande");
    ASSERT_TRUE(grande);
    ASSERT_EQ(grande->Nbform(), 5000);
    Partition pages(grande.get(), grande->LocFormDic("page", false));
    ASSERT_EQ(pages.NbParties(), 1200);
    TFenStatPart f(nullptr, pages);
    PageTFG *tfg = PageTFGDe(f);
    ASSERT_NE(tfg, nullptr);
    std::vector<std::int32_t> formes(5000);
    std::iota(formes.begin(), formes.end(), 0);
    tfg->DeposeGroupe(formes);
    f.MontreTabTFG(true);
    f.PCStat()->setCurrentWidget(f.TabTFG());

    talmer::test::DialoguesTest dialogues;
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, grande.get());
    FixeRapportCourant(&rapport);
    const QDir dossier(rapport.DossierTemporaire());
    // "Non": nothing is written. "Oui", then Escape once the writing has started: the item is
    // not added, no file is left, and no box tells of a failure.
    dialogues.reponses = {ReponseMessage::Non, ReponseMessage::Oui};
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    talmer::test::AppuieEchap(&f);
    static_cast<ContributeurRapport &>(f).AjouteAuRapport();
    FixeRapportCourant(nullptr);
    ASSERT_EQ(dialogues.messages.size(), 2u);
    for (const auto &m : dialogues.messages) {
        EXPECT_EQ(m.boutons, BoutonsMessage::OuiNon);
        EXPECT_TRUE(m.texte.startsWith(QStringLiteral("La page du tableau fera environ 2"))) << m.texte.toStdString();
        EXPECT_TRUE(m.texte.endsWith(QStringLiteral("Voulez-vous continuer ?"))) << m.texte.toStdString();
    }
    EXPECT_TRUE(rapport.FichiersElements().isEmpty());
    EXPECT_EQ(arbre.item(0)->rowCount(), 0);
    EXPECT_EQ(dossier.entryList(QDir::Files | QDir::Hidden), QStringList{});
    rapport.Abandonne();
}

} // namespace

// The specificity list: its rows, order, chip, drag and report page.
#include "windows/specificites/fenspecgrp.h"

#include "corpus_parties.h"
#include "dialogues_muets.h"

#include "windows/commun/choixcouleur.h"

#include "services/rapport.h"
#include "shell/dragobjects.h"
#include "support/jeu_affichage.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace talmer;

const char *const Tete = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" /><title>";

DonneesPageSpecGrp Donnees()
{
    DonneesPageSpecGrp d;
    d.charset = "windows-1252";
    d.titre = "Sp\xE9" "cifs - Part : partie";
    d.parties = "Parties s\xE9lectionn\xE9" "es : b, ";
    d.nomBase = "corpus";
    d.date = "jeudi 10 d\xE9" "cembre 2026 - 16:05";
    d.partition = true;
    d.cle = "partie";
    d.lignes = {{"chat", 12, 8, 50}, {"a<b", 3, 3, 51}, {"le ", 40, 2, -51}, {"\"q\"", 2, 1, 1}};
    return d;
}

TEST(PageSpecGrp, PageOfAPartitionListInTheListsOwnOrder)
{
    EXPECT_EQ(PageSpecGrp(Donnees()),
              std::string(Tete) +
                  "Sp\xE9" "cifs - Part : partie</title></head>\n<body bgcolor=#ffffff>\n"
                  "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</TD>\n"
                  "<td>Date : jeudi 10 d\xE9" "cembre 2026 - 16:05</td>\n"
                  "<td>Partition = partie</TD>\n"
                  "</table>"
                  "Sp\xE9" "cifs - Part : partie<br>\nParties s\xE9lectionn\xE9" "es : b, <br>\n"
                  "<table border=1><font size=-2>\n"
                  "<tr><td>Forme<td>Frq. Tot.<td>Fr\xE9quence<td>Coeff."
                  "<tr><td>chat<td align=right>12<td align=right>8<td align=right>50\n"
                  "<tr><td>a&lt;b<td align=right>3<td align=right>3<td align=right>***\n"
                  "<tr><td>le <td align=right>40<td align=right>2<td align=right>***\n"
                  "<tr><td>\"q\"<td align=right>2<td align=right>1<td align=right>1\n"
                  "</font></table>\n</body>\n</html>");
}

TEST(PageSpecGrp, PageOfASectionListHasNoPartitionCell)
{
    DonneesPageSpecGrp d = Donnees();
    d.partition = false;
    d.titre = "Sp\xE9" "cifs - Sections";
    d.lignes.resize(1);
    EXPECT_EQ(PageSpecGrp(d),
              std::string(Tete) +
                  "Sp\xE9" "cifs - Sections</title></head>\n<body bgcolor=#ffffff>\n"
                  "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</TD>\n"
                  "<td>Date : jeudi 10 d\xE9" "cembre 2026 - 16:05</td>\n"
                  "</table>"
                  "Sp\xE9" "cifs - Sections<br>\nParties s\xE9lectionn\xE9" "es : b, <br>\n"
                  "<table border=1><font size=-2>\n"
                  "<tr><td>Forme<td>Frq. Tot.<td>Fr\xE9quence<td>Coeff."
                  "<tr><td>chat<td align=right>12<td align=right>8<td align=right>50\n"
                  "</font></table>\n</body>\n</html>");
}

class ListeSpec : public talmer::test::CorpusParties {
protected:
    // le 0 (+50), chat 1 (+3), chien 2 (-2), dort 3 (-50)
    std::vector<StructSpec> Lignes() const { return {{0, 3, 2, 50}, {1, 2, 2, 3}, {2, 1, 0, -2}, {3, 1, 0, -50}}; }
};

TEST_F(ListeSpec, RowsPositiveOrNegativeFirstWithStarsFromFifty)
{
    TFenSpecGrp liste(nullptr, base.get(), Lignes());
    ModeleSpecGrp &m = *liste.Modele();
    auto ligne = [&m](int r) {
        QStringList l;
        for (int c = 0; c < 4; ++c)
            l << m.index(r, c).data().toString();
        return l.join('|');
    };
    EXPECT_EQ(ligne(0), "le|3|2|***");
    EXPECT_EQ(ligne(1), "chat|2|2|3");
    liste.BoutonNegatives()->setChecked(true);
    EXPECT_EQ(ligne(0), "dort|1|0|***");
    EXPECT_EQ(ligne(1), "chien|1|0|-2");
    // The page keeps the list's own order and writes 50 and -50 as they are.
    const std::string page = liste.Page();
    EXPECT_LT(page.find("<tr><td>le<td align=right>3<td align=right>2<td align=right>50\n"),
              page.find("<tr><td>dort<td align=right>1<td align=right>0<td align=right>-50\n"));
    EXPECT_EQ(page.find("Partition = "), std::string::npos);
    EXPECT_EQ(liste.windowTitle(), QString::fromUtf8("Spécifs - Sections"));
}

TEST_F(ListeSpec, ChipColourFollowsTheSelectedParts)
{
    constexpr std::int32_t bleu = 0xFF0000, vert = 0x008000, rouge = 0x0000FF;
    EXPECT_EQ(CouleurPastille(nullptr), 0);
    EXPECT_EQ(CouleurPastille(partition.get()), bleu); // nothing selected
    partition->FixeCouleur(0, vert);
    partition->FixeCouleur(1, vert);
    partition->FixeCouleur(2, rouge);
    partition->Selectionne(0, true);
    partition->Selectionne(1, true);
    EXPECT_EQ(CouleurPastille(partition.get()), vert);
    partition->Selectionne(2, true);
    EXPECT_EQ(CouleurPastille(partition.get()), bleu);
}

TEST_F(ListeSpec, DragCarriesTheSelectedRowsInDisplayOrder)
{
    TFenSpecGrp liste(nullptr, base.get(), Lignes());
    EXPECT_EQ(liste.Pastille(), QColor(0, 0, 0)); // a list of sections
    // A click on the chip chooses the colour the dragged group gets.
    FixeChoixCouleur([](QWidget *, const QColor &) { return std::optional<QColor>(QColor(0, 128, 0)); });
    QTest::mouseClick(liste.findChild<QWidget *>("ShPastille"), Qt::LeftButton);
    FixeChoixCouleur({});
    EXPECT_EQ(liste.Pastille(), QColor(0, 128, 0));
    VueListeSpecifs &vue = *liste.ListeSpecifs();
    EXPECT_EQ(vue.ObjetGlisse(base.get(), vue.couleur), nullptr);
    liste.BoutonNegatives()->setChecked(true); // dort, chien, chat, le
    QItemSelectionModel *s = vue.selectionModel();
    s->select(vue.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    s->select(vue.model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    s->select(vue.model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<TTgenDragObject> objet = vue.ObjetGlisse(base.get(), vue.couleur);
    ASSERT_TRUE(objet);
    EXPECT_EQ(objet->Entites(), (std::vector<std::int32_t>{3, 1, 0}));
    EXPECT_EQ(objet->Couleur(), 0x008000);
    EXPECT_EQ(objet->Nom(), "");
}

TEST_F(ListeSpec, ReportPagesAreNumberedAcrossTheProgram)
{
    talmer::test::DialoguesMuets dialogues;
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    FixeRapportCourant(&rapport);
    TFenSpecGrp liste(nullptr, base.get(), Lignes());
    liste.FixeLibelles("Sections : ", "1, 2, ");
    const int n = TFenSpecGrp::CompteurPages();
    liste.AjouteAuRapport();
    liste.AjouteAuRapport();
    FixeRapportCourant(nullptr);
    EXPECT_EQ(TFenSpecGrp::CompteurPages(), n + 2);
    const QString a = QStringLiteral("spf") + QString::number(n), b = QStringLiteral("spf") + QString::number(n + 1);
    EXPECT_EQ(rapport.FichiersElements(), (QStringList{a, b}));
    EXPECT_EQ(arbre.item(0)->child(0)->text(),
              QString::fromUtf8("Spécifs - Sections 1, 2, (%1)").arg(n + 1));
    const std::filesystem::path dossier(rapport.DossierTemporaire().toStdString());
    EXPECT_TRUE(std::filesystem::exists(dossier / (b.toStdString() + ".html")));
    EXPECT_TRUE(dialogues.messages.isEmpty());
    rapport.Abandonne();
}

TEST_F(ListeSpec, ReportPageAndCaptionInACodePageWithoutEAcute)
{
    talmer::test::DialoguesMuets dialogues;
    const talmer::test::JeuDAffichageTest cyrillique(1); // no "é"
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    FixeRapportCourant(&rapport);
    TFenSpecGrp liste(nullptr, base.get(), Lignes());
    liste.FixeLibelles(QStringLiteral("2 sections"), QString::fromUtf8("Parties sélectionnées : R&D, "));
    EXPECT_EQ(liste.LbParties()->text(), QString::fromUtf8("Parties sélectionnées : R&D, "));
    const std::string page = liste.Page();
    const int n = TFenSpecGrp::CompteurPages();
    liste.AjouteAuRapport();
    FixeRapportCourant(nullptr);

    // The date changes with the clock: the bytes around it.
    const std::string avant = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1251\" />"
                              "<title>Sp&#233;cifs - Sections</title></head>\n<body bgcolor=#ffffff>\n"
                              "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</TD>\n<td>Date : ";
    const std::string apres = "</td>\n</table>Sp&#233;cifs - Sections<br>\nParties s&#233;lectionn&#233;es : R&amp;D, <br>\n"
                              "<table border=1><font size=-2>\n<tr><td>Forme<td>Frq. Tot.<td>Fr&#233;quence<td>Coeff."
                              "<tr><td>le<td align=right>3<td align=right>2<td align=right>50\n"
                              "<tr><td>chat<td align=right>2<td align=right>2<td align=right>3\n"
                              "<tr><td>chien<td align=right>1<td align=right>0<td align=right>-2\n"
                              "<tr><td>dort<td align=right>1<td align=right>0<td align=right>-50\n"
                              "</font></table>\n</body>\n</html>";
    ASSERT_GT(page.size(), avant.size() + apres.size());
    EXPECT_EQ(page.substr(0, avant.size()), avant);
    EXPECT_EQ(page.substr(page.size() - apres.size()), apres);
    EXPECT_EQ(page.find('?'), std::string::npos);

    QStandardItem *noeud = arbre.item(0)->child(0);
    ASSERT_NE(noeud, nullptr);
    const QString numero = QStringLiteral("(%1)").arg(n + 1);
    EXPECT_EQ(noeud->data(Rapport::RoleLegende).toString(),
              QString::fromUtf8("Spécifs - Sections Parties sélectionnées : R&amp;D, ") + numero);
    EXPECT_EQ(noeud->text(), QString::fromUtf8("Spécifs - Sections Parties sélectionnées : R&D, ") + numero);
    EXPECT_TRUE(dialogues.messages.isEmpty());
    rapport.Abandonne();
}

} // namespace

namespace {

// "Spécificités" and its two buttons, in a list as wide as a docked page of the side panel:
// the caption whole and clear of its first button, the row whole inside the window.
TEST_F(ListeSpec, TheSignCaptionStandsClearOfItsButtons)
{
    TFenSpecGrp liste(nullptr, base.get(), Lignes());
    liste.resize(286, 300);
    liste.show();
    QLabel *legende = nullptr;
    for (QLabel *l : liste.findChildren<QLabel *>())
        if (l->text() == QString::fromUtf8("Spécificités"))
            legende = l;
    ASSERT_NE(legende, nullptr);
    const auto *positives = liste.findChild<QRadioButton *>(QStringLiteral("RadioButton1"));
    const QWidget *pastille = liste.findChild<QWidget *>(QStringLiteral("ShPastille"));
    ASSERT_TRUE(positives && pastille);
    const auto cadre = [&liste](const QWidget *w) { return QRect(w->mapTo(&liste, QPoint(0, 0)), w->size()); };
    EXPECT_GE(legende->width(), legende->sizeHint().width());
    EXPECT_GE(cadre(positives).left() - cadre(legende).right(), 6);
    EXPECT_GE(cadre(liste.BoutonNegatives()).left(), cadre(positives).right());
    EXPECT_TRUE(liste.rect().contains(cadre(pastille)));
}

} // namespace

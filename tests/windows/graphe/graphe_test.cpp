// The distribution graph: its series as pure functions of a partition and a group, its picture
// names, and the window's views, colours, zoom, drops and report pictures.
#include "engine/base_fixture.h"
#include "support/poste_test.h"

#include "engine/partition.h"
#include "engine/specificite.h"
#include "engine/tgen.h"
#include "services/rapport.h"
#include "shell/dragobjects.h"
#include "windows/graphe/fengraphetgen.h"
#include "windows/graphe/series_graphe.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDropEvent>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QValueAxis>

#include <filesystem>
#include <memory>

namespace {

// Parts x (le chien et le gros chat: 6 occurrences) and y (le chat dort | un chat: 5).
const char *const Texte = "<a=y> le chat dort. <a=x> le chien et le gros chat. <a=y> un chat.\n";

class GrapheTest : public talmer::test::InTempDir {
protected:
    std::unique_ptr<Partition> Partage(charg1 *b, const char *cle = "a")
    {
        return std::make_unique<Partition>(b, b->LocFormDic(cle, false));
    }
    std::unique_ptr<Tgen> Groupe(charg1 *b, const char *forme)
    {
        const std::int32_t e = b->LocFormDic(forme, true);
        EXPECT_GE(e, 0) << forme;
        return std::make_unique<Tgen>(b, &e, 1);
    }
};

TEST_F(GrapheTest, FrequencySeriesRelativePerTenThousandAndAbsolute)
{
    auto base = talmer::test::makeBase(Texte);
    ASSERT_TRUE(base);
    auto p = Partage(base.get());
    auto chat = Groupe(base.get(), "chat");
    auto le = Groupe(base.get(), "le");
    // 1 × 10000 / 6 truncated, 2 × 10000 / 5; le: 2 × 10000 / 6, 1 × 10000 / 5.
    EXPECT_EQ(talmer::SerieFrequences(*p, *chat, true), (std::vector<std::int64_t>{1666, 4000}));
    EXPECT_EQ(talmer::SerieFrequences(*p, *chat, false), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(talmer::SerieFrequences(*p, *le, true), (std::vector<std::int64_t>{3333, 2000}));
}

TEST_F(GrapheTest, AnEmptyPartCountsAsOneOccurrence)
{
    // Part z holds only a full stop: no word occurrence.
    auto base = talmer::test::makeBase("<a=z> . <a=x> le chat.\n");
    ASSERT_TRUE(base);
    auto p = Partage(base.get());
    ASSERT_EQ(p->NbOccPartie(1), 0);
    auto point = Groupe(base.get(), ".");
    EXPECT_EQ(talmer::SerieFrequences(*p, *point, true), (std::vector<std::int64_t>{5000, 10000}));
    EXPECT_EQ(talmer::SerieFrequences(*p, *point, false), (std::vector<std::int64_t>{1, 1}));
}

TEST_F(GrapheTest, TheRelativeValueOfAVeryFrequentGroupDoesNotOverflow)
{
    // 220 000 occurrences of le in a part of 220 001: 220000 × 10000 is beyond 32 bits.
    std::string texte = "<a=x> chat\n";
    for (int ligne = 0; ligne < 11000; ++ligne) {
        for (int i = 0; i < 20; ++i)
            texte += "le ";
        texte += "\n";
    }
    auto base = talmer::test::makeBase(texte);
    ASSERT_TRUE(base);
    auto p = Partage(base.get());
    auto le = Groupe(base.get(), "le");
    ASSERT_EQ(le->NbOcc(), 220000);
    EXPECT_EQ(talmer::SerieFrequences(*p, *le, true), (std::vector<std::int64_t>{9999}));
    EXPECT_EQ(talmer::SerieFrequences(*p, *le, false), (std::vector<std::int64_t>{220000}));
}

TEST_F(GrapheTest, SpecificityBarsUseTheFixedThresholdAndTrackTheirEnds)
{
    // Part x: 40 chat and 10 le; part y: 50 le. T = 100, F(chat) = 40.
    std::string texte = "<a=x>";
    for (int i = 0; i < 40; ++i)
        texte += " chat";
    for (int i = 0; i < 10; ++i)
        texte += " le";
    texte += "\n<a=y>";
    for (int i = 0; i < 50; ++i)
        texte += " le";
    texte += "\n";
    auto base = talmer::test::makeBase(texte);
    ASSERT_TRUE(base);
    auto p = Partage(base.get());
    p->FixeSeuil(50); // the partition's own threshold plays no part
    auto chat = Groupe(base.get(), "chat");
    const std::int32_t surX = CalcSpecifEntier(100, 50, 40, 40, 0.05);
    const std::int32_t surY = CalcSpecifEntier(100, 50, 40, 0, 0.05);
    ASSERT_GT(surX, 0);
    ASSERT_LT(surY, 0);
    std::int32_t bas = 0, haut = 0;
    EXPECT_EQ(talmer::SerieSpecificites(*p, *chat, &bas, &haut), (std::vector<std::int32_t>{surX, surY}));
    EXPECT_EQ(bas, surY);
    EXPECT_EQ(haut, surX);
    // Ends met earlier stay when the new group does not go beyond them.
    bas = -60;
    haut = 70;
    talmer::SerieSpecificites(*p, *chat, &bas, &haut);
    EXPECT_EQ(bas, -60);
    EXPECT_EQ(haut, 70);
}

TEST(NomsImagesGraphe, NamesAndCaptions)
{
    EXPECT_EQ(talmer::NomImageGraphe("date", 0), QStringLiteral("img-graphe-date0.jpg"));
    EXPECT_EQ(talmer::NomImageGraphe("auteur", 12), QStringLiteral("img-graphe-auteur12.jpg"));
    // A byte that has no place in a file name is spelled out.
    EXPECT_EQ(talmer::NomImageGraphe("ann\xE9" "e", 3), QStringLiteral("img-graphe-ann_e9e3.jpg"));
    EXPECT_EQ(talmer::LegendeImageGraphe(QStringLiteral("Graphique de ventilation pour la partition : date"), 1),
              QStringLiteral("Graphique de ventilation pour la partition : date (1)"));
}

// ---------------------------------------------------------------------------------------------
// The window

class FenGrapheTest : public GrapheTest {
protected:
    void SetUp() override
    {
        base = talmer::test::makeBase(Texte);
        ASSERT_TRUE(base);
        partition = Partage(base.get());
        fenetre = std::make_unique<TFenGrapheTgen>(nullptr, *partition);
        fenetre->resize(800, 500);
        fenetre->show();
    }

    std::vector<QLineSeries *> Courbes() const
    {
        std::vector<QLineSeries *> c;
        for (QAbstractSeries *s : fenetre->Graphe()->series())
            if (auto *l = qobject_cast<QLineSeries *>(s))
                c.push_back(l);
        return c;
    }
    std::vector<QBarSet *> Barres() const
    {
        for (QAbstractSeries *s : fenetre->Graphe()->series())
            if (auto *b = qobject_cast<QBarSeries *>(s)) {
                const QList<QBarSet *> ensembles = b->barSets();
                return std::vector<QBarSet *>(ensembles.begin(), ensembles.end());
            }
        return {};
    }
    static std::vector<double> Valeurs(QLineSeries *s)
    {
        std::vector<double> v;
        for (const QPointF &p : s->points())
            v.push_back(p.y());
        return v;
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
    std::unique_ptr<TFenGrapheTgen> fenetre;
};

TEST_F(FenGrapheTest, OpensInTheRelativeFrequencyView)
{
    EXPECT_EQ(fenetre->windowTitle(), QStringLiteral("Graphique de ventilation pour la partition : a"));
    EXPECT_TRUE(fenetre->Relatif());
    EXPECT_TRUE(fenetre->RBtnRel()->isChecked());
    EXPECT_TRUE(fenetre->BtnAffFrq()->isChecked());
    EXPECT_TRUE(fenetre->BtnLeft()->isEnabled());
    EXPECT_TRUE(fenetre->BtnRight()->isEnabled());
    EXPECT_EQ(fenetre->AxeParties()->categories(), (QStringList{"x", "y"}));
    EXPECT_EQ(fenetre->AxeValeurs()->titleText(), QStringLiteral("Fréquences relatives ( x 10 000 )"));
    EXPECT_TRUE(fenetre->Graphe()->series().isEmpty());
}

TEST_F(FenGrapheTest, GroupsBecomeSeriesOfEveryViewAndModeAndClearingEmptiesAll)
{
    fenetre->AjouteGroupe(Groupe(base.get(), "chat"));
    fenetre->AjouteGroupe(Groupe(base.get(), "le"));
    ASSERT_EQ(Courbes().size(), 2u);
    EXPECT_EQ(Courbes()[0]->name(), QStringLiteral("chat"));
    EXPECT_EQ(Valeurs(Courbes()[0]), (std::vector<double>{1666, 4000}));
    EXPECT_EQ(Courbes()[0]->pen().width(), 2);
    EXPECT_EQ(fenetre->AxeValeurs()->min(), 0);
    EXPECT_GE(fenetre->AxeValeurs()->max(), 4000);

    // Absolute mode: rebuilt from the group list.
    fenetre->RBtnAbs()->click();
    EXPECT_FALSE(fenetre->Relatif());
    ASSERT_EQ(Courbes().size(), 2u);
    EXPECT_EQ(Valeurs(Courbes()[1]), (std::vector<double>{2, 1}));
    EXPECT_EQ(fenetre->AxeValeurs()->titleText(), QStringLiteral("Fréquences absolues"));

    // Specificity view: one bar set per group, the axis around the ends met.
    fenetre->BtnAffSpf()->click();
    EXPECT_TRUE(Courbes().empty());
    ASSERT_EQ(Barres().size(), 2u);
    EXPECT_EQ(Barres()[1]->label(), QStringLiteral("le"));
    EXPECT_EQ(fenetre->AxeValeurs()->titleText(), QStringLiteral("Spécificités"));
    EXPECT_EQ(fenetre->AxeValeurs()->min(), fenetre->PlusBas() - 1);
    EXPECT_EQ(fenetre->AxeValeurs()->max(), fenetre->PlusHaut() + 1);
    EXPECT_LE(fenetre->AxeValeurs()->min(), -1);
    EXPECT_GE(fenetre->AxeValeurs()->max(), 1);
    // A group dropped in this view comes as bars.
    fenetre->AjouteGroupe(Groupe(base.get(), "et"));
    EXPECT_EQ(Barres().size(), 3u);

    // Switching relative/absolute always goes back to the frequency view.
    fenetre->RBtnRel()->click();
    EXPECT_TRUE(fenetre->BtnAffFrq()->isChecked());
    EXPECT_TRUE(fenetre->Relatif());
    EXPECT_EQ(Courbes().size(), 3u);
    EXPECT_TRUE(Barres().empty());
    EXPECT_EQ(fenetre->PlusBas(), 0);
    EXPECT_EQ(fenetre->PlusHaut(), 0);

    fenetre->BtnClear()->click();
    EXPECT_TRUE(fenetre->Graphe()->series().isEmpty());
    EXPECT_TRUE(fenetre->Groupes().empty());
}

TEST_F(FenGrapheTest, SeriesColoursFollowTheGroupUnlessTakenNullOrWhite)
{
    auto premier = Groupe(base.get(), "chat");
    premier->FixeCouleur(0x0000FF); // red
    auto meme = Groupe(base.get(), "le");
    meme->FixeCouleur(0x0000FF);
    auto nulle = Groupe(base.get(), "et");
    nulle->FixeCouleur(0);
    auto blanche = Groupe(base.get(), "un");
    blanche->FixeCouleur(0xFFFFFF);
    fenetre->AjouteGroupe(std::move(premier));
    fenetre->AjouteGroupe(std::move(meme));
    fenetre->AjouteGroupe(std::move(nulle));
    fenetre->AjouteGroupe(std::move(blanche));
    const auto c = Courbes();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0]->color(), QColor(255, 0, 0));
    EXPECT_NE(c[1]->color(), QColor(255, 0, 0));
    EXPECT_NE(c[2]->color(), QColor(0, 0, 0));
    EXPECT_EQ(c[3]->color(), QColor(0, 0, 0));

    fenetre->BtnAffSpf()->click();
    const auto b = Barres();
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[0]->color(), QColor(255, 0, 0));
    EXPECT_NE(b[1]->color(), QColor(255, 0, 0));
    EXPECT_EQ(b[3]->color(), QColor(0, 0, 0));
}

TEST_F(FenGrapheTest, DropsAndHandedSpellingsOfTheOwnBaseOnly)
{
    auto objet = std::make_unique<talmer::TTgenDragObject>(nullptr, base.get(), "f\xE9lins", 0x008000, 1);
    objet->Entites()[0] = base->LocFormDic("chat", true);
    talmer::TMimeTalmer donnees(std::move(objet));
    QDragEnterEvent entree(QPoint(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fenetre.get(), &entree);
    EXPECT_TRUE(entree.isAccepted());
    QDropEvent depot(QPointF(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fenetre.get(), &depot);
    ASSERT_EQ(fenetre->Groupes().size(), 1u);
    EXPECT_EQ(fenetre->Groupes()[0]->Base(), base.get());
    EXPECT_STREQ(fenetre->Groupes()[0]->Nom(), "f\xE9lins");
    EXPECT_EQ(fenetre->Groupes()[0]->Couleur(), 0x008000);
    EXPECT_EQ(Courbes()[0]->name(), QStringLiteral("félins"));

    // A group of another base: its numbers mean nothing here.
    std::filesystem::create_directory("autre");
    std::filesystem::current_path("autre");
    auto autreBase = talmer::test::makeBase("<a=x> le chat.\n", ".", "autre");
    ASSERT_TRUE(autreBase);
    auto etranger = std::make_unique<talmer::TTgenDragObject>(nullptr, autreBase.get(), "", 0xFFFFFF, 1);
    etranger->Entites()[0] = 0;
    talmer::TMimeTalmer autres(std::move(etranger));
    QDragEnterEvent refus(QPoint(10, 10), Qt::CopyAction, &autres, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fenetre.get(), &refus);
    EXPECT_FALSE(refus.isAccepted());
    QDropEvent depotRefuse(QPointF(10, 10), Qt::CopyAction, &autres, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fenetre.get(), &depotRefuse);
    EXPECT_FALSE(fenetre->AjouteGroupe(Groupe(autreBase.get(), "chat")));
    EXPECT_EQ(fenetre->Groupes().size(), 1u);

    // A spelling: trimmed, one form, named after it; a text that is no form adds nothing.
    talmer::EnvoieForme(fenetre.get(), "  gros\t");
    talmer::EnvoieForme(fenetre.get(), "grosse");
    ASSERT_EQ(fenetre->Groupes().size(), 2u);
    EXPECT_STREQ(fenetre->Groupes()[1]->Nom(), "gros");
}

TEST_F(FenGrapheTest, ZoomShowsTheMiddleHalfAndTheArrowsMoveByFive)
{
    // Twelve parts k01 to k12.
    std::string texte;
    for (int k = 1; k <= 12; ++k)
        texte += "<p=k" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "> le chat.\n";
    std::filesystem::create_directory("douze");
    std::filesystem::current_path("douze");
    auto b = talmer::test::makeBase(texte);
    ASSERT_TRUE(b);
    auto p = Partage(b.get(), "p");
    ASSERT_EQ(p->NbParties(), 12);
    TFenGrapheTgen f(nullptr, *p);
    auto vues = [&] { return std::make_pair(f.PremierePartieVue(), f.DernierePartieVue()); };
    EXPECT_EQ(vues(), std::make_pair(0, 11));
    f.BtnZoom()->click();
    EXPECT_EQ(vues(), std::make_pair(3, 8));
    EXPECT_EQ(f.AxeParties()->min(), QStringLiteral("k04"));
    EXPECT_TRUE(f.BtnRight()->isEnabled());
    f.BtnRight()->click();
    EXPECT_EQ(vues(), std::make_pair(6, 11)); // stopped at the last part
    f.BtnRight()->click();
    EXPECT_EQ(vues(), std::make_pair(6, 11));
    f.BtnLeft()->click();
    EXPECT_EQ(vues(), std::make_pair(1, 6));
    f.BtnLeft()->click();
    EXPECT_EQ(vues(), std::make_pair(0, 5));
    f.BtnUnZoom()->click();
    EXPECT_EQ(vues(), std::make_pair(0, 11));
    EXPECT_FALSE(f.BtnLeft()->isEnabled());
    EXPECT_FALSE(f.BtnRight()->isEnabled());
}

// The texts the chart draws (axis titles, tick labels, legend), as it draws them.
QStringList TextesDuGraphe(const QChartView &vue)
{
    QStringList textes;
    for (const QGraphicsItem *item : vue.scene()->items())
        if (const auto *texte = dynamic_cast<const QGraphicsTextItem *>(item); texte && texte->isVisible())
            textes << texte->toPlainText();
    return textes;
}

TEST_F(FenGrapheTest, AtItsMinimumSizeTheChartsAxesAndLegendStayWhole)
{
    fenetre->AjouteGroupe(Groupe(base.get(), "chat"));
    fenetre->resize(fenetre->minimumSizeHint().expandedTo(fenetre->minimumSize()));
    // Each view, with its own title on the left axis.
    for (QAbstractButton *vue : std::initializer_list<QAbstractButton *>{fenetre->RBtnAbs(), fenetre->BtnAffSpf(),
                                                                         fenetre->RBtnRel()}) {
        vue->click();
        QApplication::processEvents();
        const QStringList textes = TextesDuGraphe(*fenetre->Vue());
        const std::string nom = vue->text().toStdString();
        EXPECT_TRUE(textes.contains(fenetre->AxeValeurs()->titleText())) << nom << ": " << textes.join('|').toStdString();
        for (const char *partie : {"x", "y"}) {
            EXPECT_TRUE(textes.contains(QString::fromLatin1(partie))) << nom << ": " << partie;
        }
        for (const QString &t : textes) {
            EXPECT_FALSE(t.contains(QStringLiteral("...")) || t.contains(QChar(0x2026))) << nom << ": " << t.toStdString();
        }
    }
}

TEST_F(FenGrapheTest, ReportPicturesAreNumberedByOneCounterOfEveryGraph)
{
    const talmer::test::VariableEnv temp("TEMP", dir_.path().string());
    {
        QStandardItemModel arbre;
        Rapport::InitArbreRapport(&arbre);
        Rapport rapport(&arbre, base.get());
        ASSERT_TRUE(rapport.DossierTemporaireValide());
        FixeRapportCourant(&rapport);
        fenetre->AjouteGroupe(Groupe(base.get(), "chat"));
        TFenGrapheTgen autre(nullptr, *partition);

        const int n = talmer::ProchainNumeroImageGraphe();
        static_cast<ContributeurRapport *>(fenetre.get())->AjouteAuRapport();
        static_cast<ContributeurRapport &>(autre).AjouteAuRapport();
        const QString titre = fenetre->windowTitle();
        EXPECT_EQ(rapport.FichiersElements(),
                  (QStringList{QStringLiteral("img-graphe-a%1.jpg").arg(n + 1), QStringLiteral("img-graphe-a%1.jpg").arg(n + 2)}));
        EXPECT_EQ(rapport.TitresElements(), (QStringList{" ", " "}));
        EXPECT_EQ(rapport.Genre(0), GenreElement::Image);
        ASSERT_EQ(arbre.item(0)->rowCount(), 2);
        EXPECT_EQ(arbre.item(0)->child(0)->text(), titre + QStringLiteral(" (%1)").arg(n + 2));
        EXPECT_EQ(arbre.item(0)->child(1)->text(), titre + QStringLiteral(" (%1)").arg(n + 3));
        const QString jpeg = rapport.DossierTemporaire() + rapport.FichiersElements()[0];
        ASSERT_TRUE(QFile::exists(jpeg));
        EXPECT_EQ(talmer::test::readFile(jpeg.toStdString()).substr(0, 3), std::string("\xFF\xD8\xFF"));
        FixeRapportCourant(nullptr);
        rapport.Abandonne();
    }
}

} // namespace

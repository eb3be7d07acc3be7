// Zipf and growth curves: their points on a small base, the drops each window takes, the axes,
// thinning, and the pictures added to the report.
#include "engine/base_fixture.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "services/rapport.h"
#include "shell/dragobjects.h"
#include "support/glisser.h"
#include "support/poste_test.h"
#include "windows/courbes/fengrapheac.h"
#include "windows/courbes/fenzipf.h"
#include "windows/commun/textes_longs.h"
#include "windows/courbes/points_courbes.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolTip>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <utility>

using talmer::Courbe;
using talmer::PointCourbe;
using talmer::test::InTempDir;
using talmer::test::makeBase;
using Points = std::vector<PointCourbe>;

namespace {

// A drop on the chart.
bool Depose(talmer::FenCourbes &fenetre, const QMimeData &donnees)
{
    return talmer::test::Depose(*fenetre.Vue()->viewport(), donnees);
}

Points PointsDe(const QLineSeries *serie)
{
    Points points;
    for (const QPointF &p : serie->points())
        points.push_back({static_cast<std::int32_t>(p.x()), static_cast<std::int32_t>(p.y())});
    return points;
}

} // namespace

// Positions: 0 e, 1 f, 2-3 <p=y>, 4 a, 5 b, 6 a, 7 '.', 8-9 <p=x>, 10 c, 11 a, 12 '.', 13-14 <p=y>,
// 15 d, 16 a, 17 '.'. Part 0 is x, part 1 is y; the text before the first marker (e f) belongs
// to the first zone's part, y.
class Courbes : public InTempDir {
protected:
    void SetUp() override
    {
        base = makeBase("e f <p=y> a b a . <p=x> c a . <p=y> d a .", ".");
        ASSERT_TRUE(base);
        ASSERT_EQ(base->Nbitem(), 18);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
        ASSERT_EQ(partition->NbParties(), 2);
        ASSERT_STREQ(partition->NomPartie(0), "x");
        for (std::int32_t k = 0; k < 2; ++k)
            partition->Coche(k, true);
    }
    void Selectionne(bool x, bool y)
    {
        partition->Selectionne(0, x);
        partition->Selectionne(1, y);
    }
    std::int32_t F(const char *s) const { return base->LocFormDic(s, true); }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

TEST_F(Courbes, ZipfPointsAndTitlesOfTheChosenParts)
{
    struct Cas {
        bool x, y;
        const char *titre;
        Points points;
    };
    // a occurs 4 times (3 in y with the text before the first marker, 1 in x), every other form once.
    for (const Cas &c : {Cas{false, false, "x, y", {{6, 1}, {1, 4}}}, Cas{true, true, "x, y", {{6, 1}, {1, 4}}},
                         Cas{false, true, "y", {{5, 1}, {1, 3}}}, Cas{true, false, "x", {{2, 1}}}}) {
        Selectionne(c.x, c.y);
        const Courbe courbe = talmer::CourbeZipf(*partition);
        EXPECT_EQ(courbe.titre, c.titre);
        EXPECT_EQ(courbe.points, c.points) << c.titre;
    }
}

TEST_F(Courbes, GrowthPointsOfTheFirstCurveFollowTheZonesOfTheChosenParts)
{
    struct Cas {
        bool x, y;
        const char *titre;
        bool titreDuProgramme;
        Points points;
    };
    for (const Cas &c : {
             // The whole text: e f a b a c a d a; closing point (Nbocc, Nbform).
             Cas{false, false, "Corpus entier", true, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {6, 4}, {8, 5}, {9, 6}}},
             Cas{true, true, "x, y", false, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {6, 4}, {8, 5}, {9, 6}}},
             // y: e f, then a b a, then d a (the last zone); x alone: c a, nothing after its zone.
             Cas{false, true, "y", false, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {6, 4}, {7, 5}}},
             Cas{true, false, "x", false, {{1, 0}, {2, 1}, {2, 2}}},
         }) {
        Selectionne(c.x, c.y);
        const Courbe courbe = talmer::CourbeAccroissementPartition(*base, *partition);
        EXPECT_EQ(courbe.titre, c.titre);
        EXPECT_EQ(courbe.titreDuProgramme, c.titreDuProgramme);
        EXPECT_EQ(courbe.points, c.points) << c.titre;

        // The same parts dropped as a selection draw the same curve.
        Courbe deposee;
        ASSERT_TRUE(talmer::CourbeAccroissementSelection(*base, *partition, deposee));
        EXPECT_EQ(deposee.titre, "Titre à définir");
        if (c.x || c.y)
            EXPECT_EQ(deposee.points, c.points) << c.titre;
        else
            EXPECT_EQ(deposee.points, (Points{{0, 0}})); // no part selected: an empty mask
    }
}

TEST_F(Courbes, GrowthOfAGroupRunsOverEveryOccurrenceAndMarksOnlyItsOwn)
{
    const std::int32_t formes[] = {F("a"), F("d")};
    Tgen groupe(base.get(), formes, 2);
    Courbe courbe;
    ASSERT_TRUE(talmer::CourbeAccroissementSelection(*base, groupe, courbe));
    EXPECT_EQ(courbe.points, (Points{{3, 0}, {8, 1}, {9, 2}}));

    // A text of a, b, a: (1, 0), (2, 1) and the closing point (3, 2).
    auto petite = makeBase("a b a", ".", "petite");
    ASSERT_TRUE(petite);
    Partition sansCle(petite.get(), -1);
    EXPECT_EQ(talmer::CourbeAccroissementPartition(*petite, sansCle).points, (Points{{1, 0}, {2, 1}, {3, 2}}));
}

TEST(Eclaircit, KeepsTheHighestAndLowestPointOfEveryColumn)
{
    // A jagged curve: the thinned one must hold the same extremes in every column it spans.
    Points points;
    for (std::int32_t i = 1; i <= 100000; ++i)
        points.push_back({i, static_cast<std::int32_t>(1000 * std::sqrt(i)) + (i % 7) * 50});
    for (bool logX : {false, true}) {
        const int colonnes = 500;
        const Points fines = talmer::Eclaircit(points, colonnes, logX);
        ASSERT_LE(fines.size(), 4u * colonnes);
        EXPECT_EQ(fines.front(), points.front());
        EXPECT_EQ(fines.back(), points.back());
        auto colonne = [&](std::int32_t x) {
            const double a = logX ? std::log(double(x)) : x, lo = logX ? 0.0 : 1.0, hi = logX ? std::log(1e5) : 1e5;
            return std::min(colonnes - 1, int((a - lo) / (hi - lo) * colonnes));
        };
        std::vector<std::pair<int, int>> avant(colonnes, {INT32_MAX, INT32_MIN}), apres = avant;
        for (const PointCourbe &p : points) {
            auto &e = avant[static_cast<std::size_t>(colonne(p.x))];
            e = {std::min(e.first, p.y), std::max(e.second, p.y)};
        }
        for (const PointCourbe &p : fines) {
            auto &e = apres[static_cast<std::size_t>(colonne(p.x))];
            e = {std::min(e.first, p.y), std::max(e.second, p.y)};
        }
        EXPECT_EQ(avant, apres) << logX;
        EXPECT_TRUE(std::is_sorted(fines.begin(), fines.end(), [](auto &a, auto &b) { return a.x < b.x; }));
    }
    // Short curves stay whole.
    const Points court{{1, 1}, {2, 2}, {3, 3}};
    EXPECT_EQ(talmer::Eclaircit(court, 2, false), court);
}

TEST_F(Courbes, ZipfWindowTakesOnlyPartitionsOfItsKeyAndSpansEveryCurve)
{
    Selectionne(true, false);
    TFenZipf fenetre(*partition);
    EXPECT_EQ(fenetre.windowTitle(), QStringLiteral("Diagramme de Pareto - p"));
    ASSERT_EQ(fenetre.Series().size(), 1);
    EXPECT_EQ(fenetre.Series()[0]->name(), QStringLiteral("x"));
    EXPECT_EQ(PointsDe(fenetre.Series()[0]), (Points{{2, 1}}));
    // A single frequency: the log axis is widened so the point shows.
    EXPECT_LT(fenetre.AxeFrequences()->min(), fenetre.AxeFrequences()->max());

    // The partition dragged again adds the parts selected now; the frequency axis reaches the
    // highest frequency of all curves, not the number of forms.
    Selectionne(false, false);
    talmer::TMimeTalmer meme(std::make_unique<talmer::TPartDragObject>(nullptr, partition.get()));
    ASSERT_TRUE(Depose(fenetre, meme));
    ASSERT_EQ(fenetre.Series().size(), 2);
    EXPECT_EQ(PointsDe(fenetre.Series()[1]), (Points{{6, 1}, {1, 4}}));
    EXPECT_DOUBLE_EQ(fenetre.AxeFrequences()->max(), 4);
    EXPECT_DOUBLE_EQ(fenetre.AxeFormes()->max(), 6);

    // Another key of the same base, a partition of another base, a group of forms: refused.
    Partition autreCle(base.get(), base->LocFormDic(".", true));
    talmer::TMimeTalmer autre(std::make_unique<talmer::TPartDragObject>(nullptr, &autreCle));
    EXPECT_FALSE(Depose(fenetre, autre));
    auto seconde = makeBase("e f <p=y> a b a .", ".", "seconde");
    ASSERT_TRUE(seconde);
    Partition ailleurs(seconde.get(), seconde->LocFormDic("p", false));
    talmer::TMimeTalmer etrangere(std::make_unique<talmer::TPartDragObject>(nullptr, &ailleurs));
    EXPECT_FALSE(Depose(fenetre, etrangere));
    auto groupe = std::make_unique<talmer::TTgenDragObject>(nullptr, base.get(), std::string(), 0, 1);
    groupe->Entites()[0] = F("a");
    talmer::TMimeTalmer deGroupe(std::move(groupe));
    EXPECT_FALSE(Depose(fenetre, deGroupe));
    EXPECT_EQ(fenetre.Series().size(), 2);

    // "Effacer", then a drop draws its curve alone, the axes set from it.
    fenetre.BtnEffacer()->click();
    EXPECT_TRUE(fenetre.Series().isEmpty());
    Selectionne(false, true);
    ASSERT_TRUE(Depose(fenetre, meme));
    ASSERT_EQ(fenetre.Series().size(), 1);
    EXPECT_DOUBLE_EQ(fenetre.AxeFrequences()->max(), 3);
}

TEST_F(Courbes, GrowthWindowTakesSelectionsOfItsBaseOnly)
{
    TFenGrapheAC fenetre(*partition, *base);
    EXPECT_EQ(fenetre.windowTitle(), QStringLiteral("Accroissement de vocabulaire"));
    ASSERT_EQ(fenetre.Series().size(), 1);
    EXPECT_EQ(fenetre.Series()[0]->name(), QStringLiteral("Corpus entier"));
    EXPECT_DOUBLE_EQ(fenetre.AxeOccurrences()->max(), 9);
    EXPECT_DOUBLE_EQ(fenetre.AxeFormes()->max(), 6);

    // A group of two forms: x over the whole text, one point per form and the closing one. The
    // same drag object dropped twice draws from one group.
    auto objet = std::make_unique<talmer::TTgenDragObject>(nullptr, base.get(), std::string(), 0, 2);
    objet->Entites()[0] = F("a");
    objet->Entites()[1] = F("d");
    talmer::TTgenDragObject *porte = objet.get();
    talmer::TMimeTalmer groupe(std::move(objet));
    ASSERT_TRUE(Depose(fenetre, groupe));
    Selection *construit = porte->RetourneObjet();
    ASSERT_TRUE(Depose(fenetre, groupe));
    EXPECT_EQ(porte->RetourneObjet(), construit);
    ASSERT_EQ(fenetre.Series().size(), 3);
    EXPECT_EQ(fenetre.Series()[1]->name(), QStringLiteral("Titre à définir"));
    EXPECT_EQ(PointsDe(fenetre.Series()[1]), (Points{{3, 0}, {8, 1}, {9, 2}}));

    // Refused: an object that carries no selection, and a selection of another base.
    talmer::TMimeTalmer vide(std::make_unique<talmer::TTalmerDragObject>(nullptr, base.get()));
    EXPECT_FALSE(Depose(fenetre, vide));
    auto seconde = makeBase("e f <p=y> a b a .", ".", "seconde");
    ASSERT_TRUE(seconde);
    Partition ailleurs(seconde.get(), seconde->LocFormDic("p", false));
    talmer::TMimeTalmer etrangere(std::make_unique<talmer::TPartDragObject>(nullptr, &ailleurs));
    EXPECT_FALSE(Depose(fenetre, etrangere));
    EXPECT_EQ(fenetre.Series().size(), 3);

    fenetre.BtnEffacer()->click();
    EXPECT_TRUE(fenetre.Series().isEmpty());
}

TEST(Graduations, StepsOfOneTwoOrFiveTimesAPowerOfTenAtMostFive)
{
    const struct {
        double maxi, pas;
    } cas[] = {{0, 1}, {1, 1}, {5, 1}, {6, 2}, {9, 2}, {10, 2}, {11, 5}, {25, 5}, {26, 10},
               {38765, 10000}, {50000, 10000}, {50001, 20000}, {1e9, 2e8}};
    for (const auto &c : cas)
        EXPECT_DOUBLE_EQ(talmer::PasGraduations(c.maxi), c.pas) << c.maxi;
}

TEST_F(Courbes, GrowthAxesGraduateWholeNumbersEvenWhenTheChartIsEmpty)
{
    TFenGrapheAC fenetre(*partition, *base);
    // Graduations from 0 by a whole step, up to the highest count.
    const auto graduees = [&](double xMax, double yMax, double pasX, double pasY) {
        for (auto [axe, maxi, pas] : {std::tuple{fenetre.AxeOccurrences(), xMax, pasX},
                                      std::tuple{fenetre.AxeFormes(), yMax, pasY}}) {
            EXPECT_TRUE(axe->labelsVisible());
            EXPECT_DOUBLE_EQ(axe->min(), 0);
            EXPECT_DOUBLE_EQ(axe->max(), maxi);
            EXPECT_EQ(axe->tickType(), QValueAxis::TicksDynamic);
            EXPECT_DOUBLE_EQ(axe->tickAnchor(), 0);
            EXPECT_DOUBLE_EQ(axe->tickInterval(), pas);
        }
    };
    graduees(9, 6, 2, 2);
    // Empty: from 0 to 1, graduated 0 and 1.
    fenetre.BtnEffacer()->click();
    graduees(1, 1, 1, 1);

    // A group of one form: at most 1 form over the whole text.
    auto objet = std::make_unique<talmer::TTgenDragObject>(nullptr, base.get(), std::string(), 0, 1);
    objet->Entites()[0] = F("a");
    talmer::TMimeTalmer groupe(std::move(objet));
    ASSERT_TRUE(Depose(fenetre, groupe));
    graduees(9, 1, 2, 1);
}

TEST_F(Courbes, AVerticalTitleFitsTheHeightOfItsPlot)
{
    TFenGrapheAC fenetre(*partition, *base);
    QValueAxis *axe = fenetre.AxeFormes();
    const QString titre = axe->titleText();
    const double naturelle = axe->titleFont().pointSizeF();
    // The widest line of the title as drawn (its lines joined by <br>).
    const auto tient = [&] {
        int largeur = 0;
        for (const QString &ligne : axe->titleText().split(QStringLiteral("<br>")))
            largeur = std::max(largeur, QFontMetrics(axe->titleFont()).horizontalAdvance(ligne));
        return largeur <= fenetre.Graphe()->plotArea().height();
    };
    // Half the free height of a 1366 x 768 screen: the plot is not as tall as the title.
    fenetre.resize(1000, 330);
    fenetre.Vue()->grab();
    EXPECT_TRUE(tient()) << axe->titleText().toStdString() << " at " << axe->titleFont().pointSize();
    EXPECT_EQ(axe->titleText(), QStringLiteral("Nombre de formes<br>différentes"));
    // Tall again: the title takes its own line and size back.
    fenetre.resize(1000, 900);
    fenetre.Vue()->grab();
    EXPECT_TRUE(tient());
    EXPECT_EQ(axe->titleText(), titre);
    EXPECT_DOUBLE_EQ(axe->titleFont().pointSizeF(), naturelle);
}

TEST_F(Courbes, AtTheirMinimumSizeBothChartsDrawTheirAxesWhole)
{
    TFenZipf zipf(*partition);
    TFenGrapheAC croissance(*partition, *base);
    for (talmer::FenCourbes *fenetre : std::initializer_list<talmer::FenCourbes *>{&zipf, &croissance}) {
        SCOPED_TRACE(fenetre->objectName().toStdString());
        fenetre->show();
        fenetre->resize(fenetre->minimumSizeHint());
        talmer::test::TraiteEvenements();
        fenetre->Vue()->grab();
        // The texts the chart shows, as it lays them out (elided or not).
        QStringList textes;
        for (const QGraphicsItem *item : fenetre->Vue()->scene()->items())
            if (const auto *texte = dynamic_cast<const QGraphicsTextItem *>(item); texte && texte->isVisible())
                textes.push_back(texte->toPlainText());
        ASSERT_FALSE(textes.isEmpty());
        // The bottom axis: its title and its graduations whole (the side one shrinks its title to
        // the plot's height, see above).
        for (QAbstractAxis *axe : fenetre->Graphe()->axes(Qt::Horizontal))
            EXPECT_TRUE(textes.contains(axe->titleText())) << axe->titleText().toStdString();
        for (const QString &t : textes) {
            if (!t.endsWith(QStringLiteral("...")) && !t.endsWith(QChar(0x2026)))
                continue;
            for (QAbstractAxis *axe : fenetre->Graphe()->axes(Qt::Vertical)) {
                const QString titre = QString(axe->titleText()).replace(QStringLiteral("<br>"), QStringLiteral(" "));
                EXPECT_TRUE(titre.startsWith(t.chopped(3).trimmed())) << t.toStdString();
            }
        }
    }
}

TEST(AjusteTitre, OneLineTwoLinesThenSmallerDownToTheMinimum)
{
    QFont police;
    const QString texte = QStringLiteral("Nombre de formes >= F");
    const auto largeur = [&](const QString &t, int taille) {
        police.setPointSize(taille);
        return QFontMetrics(police).horizontalAdvance(t);
    };
    const talmer::TitreAjuste large = talmer::AjusteTitre(police, 12, texte, 100000, 7);
    EXPECT_EQ(large.lignes, QStringList{texte});
    EXPECT_EQ(large.taille, 12);
    // Cut at the blank nearest the middle, the ">" escaped for the chart's HTML.
    const talmer::TitreAjuste deux = talmer::AjusteTitre(police, 12, texte, largeur(texte, 12) - 1, 7);
    EXPECT_EQ(deux.lignes, (QStringList{QStringLiteral("Nombre de"), QStringLiteral("formes &gt;= F")}));
    EXPECT_EQ(deux.taille, 12);
    const talmer::TitreAjuste petit = talmer::AjusteTitre(police, 12, texte, largeur(QStringLiteral("formes >= F"), 9), 7);
    EXPECT_EQ(petit.taille, 9);
    EXPECT_EQ(talmer::AjusteTitre(police, 12, texte, 1, 7).taille, 7);
}

TEST_F(Courbes, ALegendNamingThousandsOfPartsIsElidedToTheChart)
{
    // 2000 parts of long names: the curve's title, all their names joined, is some 50 000
    // characters long.
    std::string texte;
    for (int k = 0; k < 2000; ++k)
        texte += "<p=page-du-manuel-" + std::to_string(k) + "> a b ";
    auto grande = makeBase(texte, ".");
    ASSERT_TRUE(grande);
    Partition pages(grande.get(), grande->LocFormDic("p", false));
    ASSERT_EQ(pages.NbParties(), 2000);
    const Courbe courbe = talmer::CourbeZipf(pages);

    TFenZipf zipf(pages);
    for (std::int32_t k = 0; k < pages.NbParties(); ++k) {
        pages.Coche(k, true);
        pages.Selectionne(k, true);
    }
    TFenGrapheAC croissance(pages, *grande);
    for (talmer::FenCourbes *f : std::initializer_list<talmer::FenCourbes *>{&zipf, &croissance}) {
        for (int largeur : {900, 400}) {
            f->resize(largeur, 300);
            f->Vue()->grab();
            ASSERT_EQ(f->Series().size(), 1);
            const QLineSeries *serie = f->Series()[0];
            // The whole title stays with the curve; the legend shows what fits the chart.
            EXPECT_EQ(talmer::FenCourbes::NomComplet(serie).toStdString(), courbe.titre);
            EXPECT_TRUE(serie->name().startsWith(QStringLiteral("page-du-manuel-0, page-du-manuel-1")));
            EXPECT_LE(QFontMetrics(f->Graphe()->legend()->font()).horizontalAdvance(serie->name()),
                      f->Graphe()->size().width())
                << largeur;
        }
        // Its tooltip: the whole title, on as many lines as a screen holds.
        const QList<QLegendMarker *> marques = f->Graphe()->legend()->markers(f->Series()[0]);
        ASSERT_EQ(marques.size(), 1);
        emit marques[0]->hovered(true);
        EXPECT_EQ(QToolTip::text(), talmer::TexteInfobulle(QString::fromStdString(courbe.titre)));
        emit marques[0]->hovered(false);
    }
    // A short title shows whole.
    TFenZipf petit(*partition);
    petit.resize(900, 300);
    petit.Vue()->grab();
    EXPECT_EQ(petit.Series()[0]->name(), QStringLiteral("x, y"));
    EXPECT_EQ(talmer::FenCourbes::NomComplet(petit.Series()[0]), QStringLiteral("x, y"));
}

TEST_F(Courbes, PicturesForTheReportCarryACounterPerWindowKind)
{
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    ASSERT_TRUE(rapport.DossierTemporaireValide());
    FixeRapportCourant(&rapport);
    TFenZipf::Compteur() = 0;
    TFenGrapheAC::Compteur() = 0;
    {
        TFenZipf zipf1(*partition);
        TFenZipf zipf2(*partition);
        TFenGrapheAC croissance(*partition, *base);
        for (talmer::FenCourbes *f : std::initializer_list<talmer::FenCourbes *>{&zipf1, &zipf2, &croissance}) {
            f->resize(600, 400);
            f->AjouteAuRapport();
        }
    }
    FixeRapportCourant(nullptr);
    rapport.Abandonne();
    ASSERT_EQ(rapport.NbElements(), 3);
    EXPECT_EQ(rapport.FichiersElements(),
              (QStringList{"img-grapheZipf-0.jpg", "img-grapheZipf-1.jpg", "img-grapheAC-0.jpg"}));
    EXPECT_EQ(rapport.Genre(0), GenreElement::Image);
    QStringList legendes;
    for (int i = 0; i < 3; ++i)
        legendes.push_back(arbre.item(0)->child(i)->text());
    EXPECT_EQ(legendes, (QStringList{"Diagramme de Pareto - p (1)", "Diagramme de Pareto - p (2)",
                                     "Accroissement de vocabulaire (1)"}));
    for (const QString &f : rapport.FichiersElements()) {
        QFile image(rapport.DossierTemporaire() + f);
        ASSERT_TRUE(image.open(QIODevice::ReadOnly)) << f.toStdString();
        EXPECT_TRUE(image.read(2) == QByteArray("\xFF\xD8", 2)) << f.toStdString();
    }
}

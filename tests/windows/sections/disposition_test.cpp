// The section map's layout (corners, sizes, zone runs, shades, hit test) and its painting into a
// picture, checked at a few pixels.
#include "engine/base_fixture.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "windows/sections/dessin_carte.h"
#include "windows/sections/disposition.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <tuple>

using namespace talmer;

namespace {

std::pair<int, int> Coin(const DispositionCarte &d, int i)
{
    return {d.x[static_cast<std::size_t>(i)], d.y[static_cast<std::size_t>(i)]};
}

TEST(DispositionCarte, StepIsTheSizeTimesOnePointThreeTruncated)
{
    const int attendus[] = {9, 10, 11, 13, 14, 15, 16, 18, 19, 20, 22, 23, 24, 26, 27, 28, 29, 31, 32};
    for (int s = TailleBoiteMin; s <= TailleBoiteMax; ++s)
        EXPECT_EQ(PasBoite(s), attendus[s - TailleBoiteMin]) << "size " << s;
}

TEST(DispositionCarte, RowsOfFiftyWithGapsAfterTenBoxesAndTwoRows)
{
    const DispositionCarte d = Dispose(120, 9);
    EXPECT_EQ(d.pas, 11);
    EXPECT_EQ(Coin(d, 0), std::make_pair(20, 5));
    EXPECT_EQ(Coin(d, 10), std::make_pair(132, 5));  // 20 + 10 x 11 + 2
    EXPECT_EQ(Coin(d, 49), std::make_pair(567, 5));  // 20 + 49 x 11 + 4 x 2
    EXPECT_EQ(Coin(d, 50), std::make_pair(20, 16));
    EXPECT_EQ(Coin(d, 100), std::make_pair(20, 29)); // two rows of 11 and the gap of 2
    EXPECT_EQ(Coin(d, 119), std::make_pair(231, 29));
    EXPECT_EQ(d.largeur, 732);
    // The last row's boxes end at 38; the surface reaches 20 below.
    EXPECT_EQ(d.hauteur, 58);
    EXPECT_TRUE(d.yEntetes.empty());

    EXPECT_EQ(Dispose(120, 25).largeur, 1812);
    EXPECT_EQ(Dispose(120, 25).pas, 32);
    EXPECT_EQ(Dispose(0, 9).hauteur, 25);
}

TEST(DispositionCarte, SurfaceHoldsTheLastRowOfALongMap)
{
    // 100,000 sections: 2,000 rows; the surface must reach below the last one however tall.
    for (int s : {7, 9, 25}) {
        const DispositionCarte d = Dispose(100000, s);
        EXPECT_GE(d.hauteur, d.y.back() + s) << s;
        EXPECT_EQ(d.y.back(), 5 + 1999 * PasBoite(s) + 999 * 2) << s;
    }
}

TEST(DispositionCarte, RunsUnderZoneHeadingsKeepTheGlobalColumns)
{
    // Three zones: sections 0-36, none, 37-119.
    const std::vector<std::int32_t> index = {0, 37, 37, 120};
    const DispositionCarte d = Dispose(120, 9, &index);
    EXPECT_EQ(d.finLigne, 613);
    EXPECT_EQ(d.yEntetes, (std::vector<std::int32_t>{10, 42, 74}));
    EXPECT_EQ(Coin(d, 0), std::make_pair(20, 22));
    EXPECT_EQ(Coin(d, 36), std::make_pair(422, 22));
    // The empty zone keeps its heading and its room; the next run starts in column 37.
    EXPECT_EQ(Coin(d, 37), std::make_pair(433, 86));
    EXPECT_EQ(Coin(d, 49), std::make_pair(567, 86));
    EXPECT_EQ(Coin(d, 50), std::make_pair(20, 97));
    EXPECT_EQ(Coin(d, 100), std::make_pair(20, 110));
    EXPECT_EQ(d.hauteur, 139);
}

TEST(DispositionCarte, ShadesHalfAndTwoThirdsTowardWhite)
{
    const std::tuple<std::int32_t, std::int32_t, std::int32_t> cas[] = {
        {0xFF0000, 0xFF7F7F, 0xFFA9A9},
        {0x0000FF, 0x7F7FFF, 0xA9A9FF},
        {0x000000, 0x7F7F7F, 0xA9A9A9},
        {0x008000, 0x7FBF7F, 0xA9D4A9},
    };
    for (const auto &[couleur, deux, trois] : cas) {
        const Teintes t = TeintesDe(couleur);
        EXPECT_EQ(t.couleur1, couleur);
        EXPECT_EQ(t.couleur2, deux) << std::hex << couleur;
        EXPECT_EQ(t.couleur3, trois) << std::hex << couleur;
    }
}

TEST(DispositionCarte, HitTestFindsTheBoxUnderThePointEdgesIncluded)
{
    const DispositionCarte d = Dispose(120, 9);
    const std::tuple<int, int, int> cas[] = {
        {20, 5, 0}, {29, 14, 0}, {30, 5, -1}, {31, 5, 1}, {132, 16, 60},
        {10, 10, -1}, {25, 15, -1}, {231, 29, 119}, {242, 29, -1}, {20, 500, -1},
    };
    for (const auto &[x, y, section] : cas)
        EXPECT_EQ(SectionAuPoint(d, x, y), section) << x << "," << y;
}

TEST(DispositionCarte, VisibleSectionsAreTheRowsInTheBand)
{
    const DispositionCarte d = Dispose(120, 9);
    EXPECT_EQ(SectionsVisibles(d, 0, 3), std::make_pair(0, 50));
    EXPECT_EQ(SectionsVisibles(d, 29, 35), std::make_pair(100, 120));
    EXPECT_EQ(SectionsVisibles(d, 400, 500), std::make_pair(120, 120));
}

class ZonesCarteTest : public talmer::test::InTempDir {};

TEST_F(ZonesCarteTest, SectionsBeforeTheFirstZoneGoWithItAndThePartitionIsLeftAlone)
{
    // Cut at "." by key p: sections " b." and "<p=x> c." start before the only zone.
    auto base = talmer::test::makeBase("a. b. <p=x>c. d.\n");
    ASSERT_TRUE(base);
    const std::int32_t point = base->LocFormDic(".", true);
    Section section(base.get(), &point, 1);
    ASSERT_EQ(section.NbSections(), 4);
    Partition partition(base.get(), base->LocFormDic("p", false));
    ASSERT_EQ(partition.NbZones(), 1);
    const std::int32_t avant = partition.ZoneNo(0).PremierIndex;

    EXPECT_EQ(IndexZonesCarte(partition.Zones(), section.Debuts(), 4), (std::vector<std::int32_t>{0, 4}));
    EXPECT_EQ(partition.ZoneNo(0).PremierIndex, avant);
}

TEST(ZonesCarte, EachZoneStartsAtTheFirstSectionAtOrAfterIt)
{
    const std::vector<std::int32_t> debuts = {2, 4, 8, 10, 12};
    std::vector<Zone> zones(3);
    zones[0].Debut = 3;
    zones[1].Debut = 9;
    zones[2].Debut = 12; // closing record
    EXPECT_EQ(IndexZonesCarte(zones, debuts, 4), (std::vector<std::int32_t>{0, 3, 4}));
    zones[1].Debut = 50; // past every section: an empty last run
    EXPECT_EQ(IndexZonesCarte(zones, debuts, 4), (std::vector<std::int32_t>{0, 4, 4}));
}

// --- Painting -----------------------------------------------------------------------------------

QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

constexpr QRgb Blanc = 0xFFFFFF, Noir = 0x000000, Rouge = 0xFF0000, Bleu = 0x0000FF, Vert = 0x008000;

TEST(DessinCarte, BoxesOutlinesAndSecondGroupAtTheirPixels)
{
    const DispositionCarte d = Dispose(120, 9);
    DonneesCarte donnees;
    donnees.Dimensionne(120);
    donnees.groupe = true;
    donnees.couleurGroupe = 0x0000FF; // red
    donnees.groupeSup = true;
    donnees.couleurSup = 0x008000;    // green
    donnees.touche[0] = 1;
    donnees.courante = 1;
    donnees.selection[2] = 1;
    donnees.toucheSup[3] = 1;
    donnees.touche[4] = 1;
    donnees.toucheSup[4] = 1;
    donnees.touche[119] = 1;

    QImage image(d.largeur, d.hauteur, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    DessineCarte(peintre, d, donnees, nullptr, image.rect());
    peintre.end();

    // Box 0 at (20, 5): black outline, red inside.
    EXPECT_EQ(Pixel(image, 20, 5), Noir);
    EXPECT_EQ(Pixel(image, 28, 13), Noir);
    EXPECT_EQ(Pixel(image, 24, 9), Rouge);
    EXPECT_EQ(Pixel(image, 29, 9), Blanc); // right edge excluded
    // Box 1 at (31, 5), the current section: three blue pixels thick, white inside.
    EXPECT_EQ(Pixel(image, 31, 5), Bleu);
    EXPECT_EQ(Pixel(image, 33, 7), Bleu);
    EXPECT_EQ(Pixel(image, 35, 9), Blanc);
    // Box 2 at (42, 5), selected: two thick.
    EXPECT_EQ(Pixel(image, 43, 6), Bleu);
    EXPECT_EQ(Pixel(image, 44, 7), Blanc);
    // Box 3 at (53, 5), second group only: its colour from x + 1 to x + 8, y + 1 to y + 7.
    EXPECT_EQ(Pixel(image, 54, 6), Vert);
    EXPECT_EQ(Pixel(image, 61, 12), Vert);
    EXPECT_EQ(Pixel(image, 53, 6), Noir);
    EXPECT_EQ(Pixel(image, 58, 13), Noir);
    // Box 4 at (64, 5), both groups: second colour on x + 1 to x + 4, the main fill after.
    EXPECT_EQ(Pixel(image, 65, 6), Vert);
    EXPECT_EQ(Pixel(image, 68, 10), Vert);
    EXPECT_EQ(Pixel(image, 69, 10), Rouge);
    // The last box (231, 29) is drawn.
    EXPECT_EQ(Pixel(image, 235, 33), Rouge);
}

TEST(DessinCarte, OnlyTheRowsOfTheClipAreDrawn)
{
    const DispositionCarte d = Dispose(120, 9);
    DonneesCarte donnees;
    donnees.Dimensionne(120);
    donnees.groupe = true;
    donnees.couleurGroupe = 0x0000FF;
    std::fill(donnees.touche.begin(), donnees.touche.end(), 1);
    QImage image(d.largeur, d.hauteur, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    DessineCarte(peintre, d, donnees, nullptr, QRect(0, 29, d.largeur, 10));
    peintre.end();
    EXPECT_EQ(Pixel(image, 24, 33), Rouge);  // row 3 (box 100)
    EXPECT_EQ(Pixel(image, 24, 9), Blanc);   // row 1 not drawn
}

TEST(DessinCarte, HeadingLineIsRedUpToTheLineEnd)
{
    const std::vector<std::int32_t> index = {0, 120};
    const DispositionCarte d = Dispose(120, 9, &index);
    DonneesCarte donnees;
    donnees.Dimensionne(120);
    EtiquettesZones etiquettes{QStringLiteral("p"), {QStringLiteral("x")}};
    QImage image(d.largeur, d.hauteur, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    DessineCarte(peintre, d, donnees, &etiquettes, image.rect());
    peintre.end();
    EXPECT_EQ(Pixel(image, 600, d.yEntetes[0] + 2), Rouge);
    EXPECT_EQ(Pixel(image, 614, d.yEntetes[0] + 2), Blanc);
    EXPECT_EQ(Pixel(image, 20, d.yEntetes[0] + 12), Noir); // box 0's corner below the heading
}

TEST(DessinCarte, FillFollowsHitColourAndThresholds)
{
    DonneesCarte donnees;
    donnees.Dimensionne(6);
    donnees.groupe = true;
    donnees.couleurGroupe = 0xFFFFFF; // a white group is painted black
    donnees.teintes = TeintesDe(0xFF0000);
    donnees.specif = {9, 5, 4, 2, 1, 7};
    donnees.touche = {1, 1, 1, 1, 1, 0};
    EXPECT_EQ(RemplissageSection(donnees, 0), 0x000000);
    EXPECT_EQ(RemplissageSection(donnees, 5), 0xFFFFFF);
    donnees.seuillage = true;
    const std::int32_t attendus[] = {0xFF0000, 0xFF0000, 0xFF7F7F, 0xFF7F7F, 0xFFA9A9, 0xFFFFFF};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(RemplissageSection(donnees, i), attendus[i]) << i;
}

} // namespace

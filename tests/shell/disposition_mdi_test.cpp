// Where tiled and kept-in windows go in the MDI area.
#include "shell/disposition_mdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DispositionMdi, TiledWindowsShareTheAreaAndGiveRoomToTheWideOnes)
{
    struct Cas {
        const char *nom;
        std::vector<QSize> minimums;
        std::vector<QRect> attendus;
    };
    const QSize zone(1000, 600);
    const Cas cas[] = {
        {"one fills the area", {QSize()}, {QRect(0, 0, 1000, 600)}},
        {"four in a square", {QSize(), QSize(), QSize(), QSize()},
         {QRect(0, 0, 500, 300), QRect(500, 0, 500, 300), QRect(0, 300, 500, 300), QRect(500, 300, 500, 300)}},
        {"the last row shares its whole width", {QSize(), QSize(), QSize()},
         {QRect(0, 0, 500, 300), QRect(500, 0, 500, 300), QRect(0, 300, 1000, 300)}},
        {"a wide window takes its minimum, its neighbour the rest", {QSize(700, 100), QSize(100, 100)},
         {QRect(0, 0, 700, 600), QRect(700, 0, 300, 600)}},
        {"a high window's row takes its minimum", {QSize(), QSize(), QSize(100, 450)},
         {QRect(0, 0, 500, 150), QRect(500, 0, 500, 150), QRect(0, 150, 1000, 450)}},
        {"too wide side by side: one above the other", {QSize(600, 100), QSize(600, 100)},
         {QRect(0, 0, 1000, 300), QRect(0, 300, 1000, 300)}},
        {"too high in a square: more columns", {QSize(100, 400), QSize(100, 400), QSize(100, 400)},
         {QRect(0, 0, 333, 600), QRect(333, 0, 333, 600), QRect(666, 0, 334, 600)}},
        {"wider than the area: its right edge, where the close button is, in sight", {QSize(1200, 100)},
         {QRect(-200, 0, 1200, 600)}},
        // A graph and Pareto side by side would leave the statistics a row that overlaps them.
        {"rows that hold their windows only in another order: the highest share a row",
         {QSize(650, 374), QSize(241, 221), QSize(307, 296)},
         {QRect(0, 0, 650, 374), QRect(0, 374, 1000, 226), QRect(650, 0, 350, 374)}},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(Mosaique(zone, c.minimums), c.attendus) << c.nom;
    EXPECT_TRUE(Mosaique(zone, {}).empty());
}

// Many windows whose minimums do not all fit: every window keeps its minimum, and raised in the
// order of the tiles every title bar (caption and buttons) stays in sight inside the area.
TEST(DispositionMdi, CrowdedTilesKeepEveryTitleBarInSight)
{
    const QSize titre(150, 25);
    // Minimums of the program's windows in a French session, from the back to the front: reading
    // view, section map, distribution graph, Pareto, growth, partition statistics, concordance,
    // groups of forms, factor plane.
    const std::vector<QSize> fenetres = {{120, 130}, {598, 344}, {650, 170}, {241, 221}, {241, 221},
                                         {307, 296}, {579, 169}, {470, 250}, {405, 451}};
    struct Cas {
        const char *nom;
        QSize zone;
        std::vector<QSize> minimums;
        bool sansChevauchement;
        // False where some window is too high to fit below the title bars above it.
        bool dansLaZone = true;
    };
    const std::vector<QSize> neuf = fenetres;
    const std::vector<QSize> huit(fenetres.begin(), fenetres.begin() + 8);
    std::vector<QSize> quatorze = neuf;
    quatorze.insert(quatorze.end(), fenetres.begin() + 1, fenetres.begin() + 6);
    const std::vector<QSize> petites(8, QSize(200, 120));
    const std::vector<QSize> trente(30, QSize(200, 150));
    const Cas cas[] = {
        {"8 windows at 1366 x 768", QSize(1025, 650), huit, false},
        {"9 windows at 1366 x 768", QSize(1025, 650), neuf, false},
        {"14 windows at 1366 x 768", QSize(1025, 650), quatorze, false},
        {"9 windows in a large area", QSize(1900, 1000), neuf, true},
        {"reading view, graph, Pareto and statistics at 1366 x 768", QSize(1025, 646),
         {{120, 130}, {650, 374}, {241, 221}, {307, 296}}, true},
        {"8 small windows fit in a grid", QSize(1024, 630), petites, true},
        {"9 windows in a small area", QSize(500, 400), neuf, false, false},
        {"30 windows", QSize(1024, 630), trente, false},
        {"a window higher than the area", QSize(1024, 630), {{300, 200}, {300, 900}, {300, 200}}, false},
    };
    for (const Cas &c : cas) {
        const std::vector<QRect> cadres = Mosaique(c.zone, c.minimums, titre);
        ASSERT_EQ(cadres.size(), c.minimums.size()) << c.nom;
        for (std::size_t i = 0; i < cadres.size(); ++i) {
            const std::string nom = std::string(c.nom) + ", window " + std::to_string(i);
            const QRect &r = cadres[i];
            EXPECT_GE(r.width(), std::max(c.minimums[i].width(), titre.width())) << nom;
            EXPECT_GE(r.height(), std::max(c.minimums[i].height(), titre.height())) << nom;
            const QRect zone(QPoint(0, 0), c.zone);
            // The title bar in sight, all of it unless the window is wider than the area, and then
            // its right end, where the buttons are.
            const QRect barre(r.x(), r.y(), r.width(), titre.height());
            EXPECT_TRUE(zone.contains(barre) || (r.width() > zone.width() && r.right() == zone.right() &&
                                                 r.y() >= 0 && barre.bottom() <= zone.bottom()))
                << nom;
            if (c.dansLaZone && r.height() <= zone.height()) {
                EXPECT_LE(r.bottom(), zone.bottom()) << nom;
            }
            for (std::size_t j = i + 1; j < cadres.size(); ++j) {
                EXPECT_FALSE(cadres[j].intersects(barre)) << nom << " under window " << j;
                if (c.sansChevauchement) {
                    EXPECT_FALSE(cadres[j].intersects(r)) << nom << " and window " << j;
                }
            }
        }
    }
}

TEST(DispositionMdi, CascadedWindowsStepByATitleBarAndEndInsideTheArea)
{
    struct Cas {
        const char *nom;
        std::vector<QSize> tailles;
        std::vector<QSize> minimums;
        std::vector<QRect> attendus;
    };
    const QSize zone(1000, 600);
    const QSize titre(150, 25);
    const Cas cas[] = {
        {"one keeps its size at the top left", {{400, 300}}, {}, {QRect(0, 0, 400, 300)}},
        {"each a title bar below and right of the one before", {{400, 300}, {400, 300}, {400, 300}}, {},
         {QRect(0, 0, 400, 300), QRect(25, 25, 400, 300), QRect(50, 50, 400, 300)}},
        {"larger than the area: shrunk to end inside it", {{1200, 800}, {1200, 800}}, {},
         {QRect(0, 0, 1000, 600), QRect(25, 25, 975, 575)}},
        {"never below a title bar", {{50, 10}}, {}, {QRect(0, 0, 150, 25)}},
        {"a minimum too wide for its place: moved left", {{400, 300}, {400, 300}}, {{}, {990, 100}},
         {QRect(0, 0, 400, 300), QRect(10, 25, 990, 300)}},
        {"a minimum too high for its place: runs off the bottom", {{300, 200}, {300, 200}, {300, 200}},
         {{}, {}, {300, 590}}, {QRect(0, 0, 300, 200), QRect(25, 25, 300, 200), QRect(50, 50, 300, 590)}},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(Cascade(zone, c.tailles, c.minimums, titre), c.attendus) << c.nom;
    EXPECT_TRUE(Cascade(zone, {}, {}, titre).empty());

    // More windows than title bars fit one below the other (24 of them): the 25th starts a second
    // cascade at the top of the area's right half.
    const std::vector<QRect> trente = Cascade(zone, std::vector<QSize>(30, QSize(200, 150)), {}, titre);
    ASSERT_EQ(trente.size(), 30u);
    EXPECT_EQ(trente[23], QRect(575, 575, 200, 25));
    EXPECT_EQ(trente[24], QRect(500, 0, 200, 150));
    EXPECT_EQ(trente[29], QRect(625, 125, 200, 150));
}

// The program's windows in a French session, cascaded in the area they get at 1366 x 768: raised in
// order, no window covers the title bar of one before it, and each keeps its minimum.
TEST(DispositionMdi, CascadedProgramWindowsKeepEveryTitleBarInSight)
{
    const QSize titre(150, 25);
    const QSize zone(1025, 650);
    // Minimums from the back to the front: reading view, section map, distribution graph, factor
    // plane, Pareto, growth, partition statistics, concordance, groups of forms; the sizes they
    // had, some larger than the area.
    const std::vector<QSize> minimums = {{120, 130}, {598, 344}, {650, 330}, {405, 451}, {241, 221},
                                         {241, 221}, {307, 296}, {579, 169}, {470, 250}};
    const std::vector<QSize> tailles = {{1025, 650}, {1020, 390}, {1025, 433}, {700, 560}, {400, 300},
                                        {1009, 323}, {330, 290}, {1020, 650}, {486, 350}};
    const std::vector<QRect> cadres = Cascade(zone, tailles, minimums, titre);
    ASSERT_EQ(cadres.size(), minimums.size());
    const QRect area(QPoint(0, 0), zone);
    for (std::size_t i = 0; i < cadres.size(); ++i) {
        const std::string nom = "window " + std::to_string(i);
        const QRect &r = cadres[i];
        EXPECT_TRUE(area.contains(r)) << nom;
        EXPECT_EQ(r.size(), r.size().expandedTo(minimums[i]).expandedTo(titre)) << nom;
        const QRect barre(r.x(), r.y(), r.width(), titre.height());
        for (std::size_t j = i + 1; j < cadres.size(); ++j) {
            EXPECT_FALSE(cadres[j].intersects(barre)) << nom << " under window " << j;
            EXPECT_GE(cadres[j].x() - r.x(), titre.height() * int(j - i)) << nom << " and window " << j;
        }
    }
}

TEST(DispositionMdi, AFrameIsBroughtInsideTheAreaAsLittleAsNeeded)
{
    struct Cas {
        const char *nom;
        QRect cadre;
        QSize minimum;
        QRect attendu;
    };
    const QSize zone(1000, 600);
    const Cas cas[] = {
        {"inside: unchanged", QRect(10, 20, 300, 200), QSize(), QRect(10, 20, 300, 200)},
        {"off the right edge: moved left", QRect(790, 0, 700, 390), QSize(), QRect(300, 0, 700, 390)},
        {"wider than the area: shrunk", QRect(790, 50, 1100, 390), QSize(200, 100), QRect(0, 50, 1000, 390)},
        {"above and left: moved in", QRect(-30, -10, 300, 200), QSize(), QRect(0, 0, 300, 200)},
        {"off the bottom: moved up", QRect(0, 500, 300, 200), QSize(), QRect(0, 400, 300, 200)},
        {"higher than the area: shrunk", QRect(0, 100, 300, 900), QSize(100, 100), QRect(0, 0, 300, 600)},
        {"minimum wider than the area: ends at its right edge", QRect(500, 0, 300, 200), QSize(1100, 100),
         QRect(-100, 0, 1100, 200)},
        {"minimum higher than the area: starts at its top", QRect(100, 300, 300, 200), QSize(100, 700),
         QRect(100, 0, 300, 700)},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(DansLaZone(c.cadre, c.minimum, zone), c.attendu) << c.nom;
}

// Leaving maximised, a window the area had framed at the least its controls allow (the statistics
// window at 333 x 296) comes back at its designed size where the area holds it, inside the area.
TEST(DispositionMdi, AWindowLeavingMaximisedGetsAtLeastItsDesignedSize)
{
    struct Cas {
        const char *nom;
        QRect cadre;
        QSize concue;
        QSize minimum;
        QRect attendu;
    };
    const QSize zone(1025, 646);
    const Cas cas[] = {
        {"smaller than designed: enlarged and moved in", QRect(676, 0, 333, 296), QSize(666, 468), QSize(307, 296),
         QRect(359, 0, 666, 468)},
        {"larger than designed: kept", QRect(10, 20, 800, 500), QSize(666, 468), QSize(), QRect(10, 20, 800, 500)},
        {"designed larger than the area: the area", QRect(300, 300, 333, 296), QSize(1200, 700), QSize(),
         QRect(0, 0, 1025, 646)},
        {"no designed size: only brought inside", QRect(900, 500, 333, 296), QSize(), QSize(),
         QRect(692, 350, 333, 296)},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(HorsMaximise(c.cadre, c.concue, c.minimum, zone), c.attendu) << c.nom;
}

} // namespace

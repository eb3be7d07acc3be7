// Where tiled and kept-in windows go in the MDI area.
#include "shell/disposition_mdi.h"

#include <gtest/gtest.h>

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
        {"too wide together: they overlap inside the area", {QSize(600, 100), QSize(600, 100)},
         {QRect(0, 0, 600, 600), QRect(400, 0, 600, 600)}},
        {"wider than the area: at its left edge", {QSize(1200, 100)}, {QRect(0, 0, 1200, 600)}},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(Mosaique(zone, c.minimums), c.attendus) << c.nom;
    EXPECT_TRUE(Mosaique(zone, {}).empty());
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
        {"minimum above the area: kept, at the corner", QRect(500, 0, 300, 200), QSize(1100, 100),
         QRect(0, 0, 1100, 200)},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(DansLaZone(c.cadre, c.minimum, zone), c.attendu) << c.nom;
}

} // namespace

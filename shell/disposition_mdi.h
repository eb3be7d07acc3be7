// Where the child windows go in the MDI area. Plain geometry, so a test can check it without a
// screen: every rectangle lies inside the area unless a window's own minimum size is larger.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

// Tiles windows in an area of the given size: a grid as square as the count allows, filled row
// by row, the windows of the last row sharing its whole width. A window wider (or higher) than its
// cell at its minimum size gets that minimum, the others of its row (or the other rows) give up
// the room; when even that cannot be, the windows overlap rather than leave the area.
std::vector<QRect> Mosaique(QSize zone, const std::vector<QSize> &minimums);

// The frame moved and shrunk as little as needed to lie inside the area, never below the
// window's minimum size (a window larger than the area then starts at its top-left corner).
QRect DansLaZone(const QRect &cadre, QSize minimum, QSize zone);

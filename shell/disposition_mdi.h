// Where the child windows go in the MDI area. Plain geometry, so a test can check it without a
// screen: every rectangle lies inside the area unless a window's own minimum size is larger, and
// then its title bar with its buttons (at the right end) stays in sight.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

// Tiles windows in an area of the given size, filled row by row: a grid as square as the count
// allows whose rows fit one below the other, a row closing early where its next window would not
// fit beside the others, the windows of each row sharing its whole width. `barreTitre` is the
// room a title bar needs to stay usable (caption and buttons, width and height): no window gets
// less. The windows fill the grid in the order given; when no grid of them in that order holds
// every minimum height, the highest go first, so that they share rows. When no grid holds every
// minimum height the rows overlap, in the order given: each row starts at least a title bar below
// the one above it, and the windows raised in the order of the result (row after row) leave every
// title bar in sight; windows never overlap within a row.
std::vector<QRect> Mosaique(QSize zone, const std::vector<QSize> &minimums, QSize barreTitre = QSize());

// Cascades windows in an area of the given size, in the order given (the first at the back, at the
// top left; the last in front): each starts a title bar's height (`barreTitre`) below and to the
// right of the one before, so that raised in that order every title bar stays in sight. A window
// keeps its size (`tailles`) where it fits, and is shrunk to end inside the area otherwise, never
// below its minimum nor below a usable title bar; one whose minimum is too wide for its place is
// moved left, one too high for its place runs off the bottom (its title bar stays in sight). With
// more windows than title bars fit one below the other, the cascade starts again at the top, in
// the next column of the area.
std::vector<QRect> Cascade(QSize zone, const std::vector<QSize> &tailles, const std::vector<QSize> &minimums,
                           QSize barreTitre);

// The frame moved and shrunk as little as needed to lie inside the area, never below the
// window's minimum size. A window wider than the area ends at its right edge (the close button in
// sight), one higher than the area starts at its top (the title bar in sight).
QRect DansLaZone(const QRect &cadre, QSize minimum, QSize zone);

// The frame a window gets back when it leaves maximised: at least its designed size (`concue`,
// frame included) where the area holds it, then brought inside the area as `DansLaZone` does.
QRect HorsMaximise(const QRect &cadre, QSize concue, QSize minimum, QSize zone);

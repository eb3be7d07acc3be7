// Where the boxes of a section map stand: one square box per section, in rows of 50 with a gap
// after every tenth box and every second row, optionally broken into runs under a heading per
// zone of a partition. Pure functions: the window paints what they place, and its hit test reads
// the same corners.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct Zone;

namespace talmer {

constexpr int TailleBoiteMin = 7;
constexpr int TailleBoiteMax = 25;
constexpr int TailleBoiteInitiale = 9;
constexpr int BoitesParLigne = 50;

// The distance from one box to the next: trunc(S x 1.3).
int PasBoite(int taille);

// The three colours of a group's shading (0x00BBGGRR): the colour itself, then each channel
// halfway and two thirds of the way to white.
struct Teintes {
    std::int32_t couleur1 = 0;
    std::int32_t couleur2 = 0;
    std::int32_t couleur3 = 0;
};
Teintes TeintesDe(std::int32_t couleur);

// The first section of each zone of a partition for one sectioning, the closing record's being n.
// Each zone starts with the first section that starts at or after it, except the first zone,
// which also takes the sections that start before it (their text counts in its part). The
// indexes never decrease and stay within 0..n. `zones` ends with the closing record.
std::vector<std::int32_t> IndexZonesCarte(const std::vector<Zone> &zones, const std::vector<std::int32_t> &debuts,
                                          std::int32_t n);

struct DispositionCarte {
    int taille = TailleBoiteInitiale;
    int pas = 0;
    // Top-left corner of every section's box, in section order; y never decreases.
    std::vector<std::int32_t> x, y;
    // With a partition: the heading of each zone (its y; the key at (20, y - 3), the line at
    // y + 2 up to finLigne, the part at (finLigne + 5, y - 3)).
    std::vector<std::int32_t> yEntetes;
    int finLigne = 0;
    // The drawing surface: every box and heading lies inside it.
    int largeur = 0;
    int hauteur = 0;

    std::int32_t NbSections() const { return static_cast<std::int32_t>(x.size()); }
};

// Places n boxes of size `taille` (clamped to 7..25). premiersIndex: null for no partition, else
// the first section of each zone followed by n (IndexZonesCarte); with no zone the map is laid
// out as without a partition.
DispositionCarte Dispose(std::int32_t n, int taille, const std::vector<std::int32_t> *premiersIndex = nullptr);

// The section whose box holds the point (edges included), the lowest such; -1 when none.
std::int32_t SectionAuPoint(const DispositionCarte &d, int px, int py);

// The sections [first, end) whose box or row number may show between the heights haut and bas.
std::pair<std::int32_t, std::int32_t> SectionsVisibles(const DispositionCarte &d, int haut, int bas);

} // namespace talmer

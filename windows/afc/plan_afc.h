// What the factor plane computes, apart from its widgets: the result files of the analysis read
// and checked, the projection of the plane, the label boxes and the three rectangle rules, the
// status text, the factor table's cells and the report's texts.
#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Partition;
class QDateTime;

namespace talmer {

// The point table of "facteurs.txt": one row per part.
struct ListePoints {
    std::int32_t nbPoints = 0;
    std::int32_t nbFacteurs = 0;                // F
    std::vector<std::vector<double>> colonnes;  // 3F columns of nbPoints values
    std::vector<double> masse;
    std::vector<double> distance;
    std::string type;                           // one character per row
};

// Reads the text of "facteurs.txt" for a partition of nbParties parts. Nothing when the counts
// do not match the partition, F < 2, a line is short or holds something that is not a number, an
// identifier is not a row index, a row is given twice or never, or a value is not finite.
std::optional<ListePoints> LitFacteurs(std::string_view texte, std::int32_t nbParties);

// Reads the text of "vp.txt": a count, then as many eigenvalues. Nothing when the count is not
// positive, a value is missing or is not a finite number.
std::optional<std::vector<double>> LitValeursPropres(std::string_view texte);

// The whole content of a regular file; nothing when it cannot be read or is not a regular file
// (a folder, a FIFO, a device).
std::optional<std::string> LitFichier(const std::string &chemin);

// The ranges of the plane and its projection onto a surface, truncated toward zero. A range of
// zero width (every value equal) is widened by one unit on each side.
struct CadrePlan {
    double xmin = 0, xmax = 1, ymin = 0, ymax = 1;

    static CadrePlan DesColonnes(const std::vector<double> &x, const std::vector<double> &y, double margeX);
    void FixeX(const std::vector<double> &x);
    void FixeY(const std::vector<double> &y);
    int EcranX(double x, int largeur) const;
    int EcranY(double y, int hauteur) const;
};

// The graduations of the plane every 50 file units: the values 50, 100, ... below `maxi`, then
// -50, -100, ... above `mini`, with the kind of stroke of each (true: long, 6 pixels).
struct Graduation {
    double valeur;
    bool longue;
};
std::vector<Graduation> Graduations(double mini, double maxi);

// The box of a label whose top-left corner falls at `coin` on a surface of that size: moved left
// and up as far as it takes to end inside the surface, so that a label near the right or bottom
// edge shows whole (a box larger than the surface starts at its edge).
QRect BoiteEtiquette(const QPoint &coin, const QSize &taille, const QSize &surface);

// The eigenvalue histogram shows its bars a window at a time, so that every bar, `largeurBarre`
// of its row's height, stays `hauteurBarre` pixels tall (as tall as its labels) whatever their
// number. How many of the n bars a plot area `hauteurZone` pixels tall shows at once: all of them
// when they fit (and while the area is not laid out yet, height 0), never fewer than one.
int BarresVisibles(double hauteurZone, int n, int hauteurBarre, double largeurBarre);

// The eigenvalues a window of `visibles` bars shows, `decalage` values below the first one (the
// offset kept inside 0..n - visibles): from `premier` (at the top) on, `nombre` of them.
struct FenetreValeurs {
    int premier = 0;
    int nombre = 0;
};
FenetreValeurs FenetreHistogramme(int n, int visibles, int decalage);

// A label box meets a rectangle (edges included). The rectangle's sides are ordered.
bool Rencontre(const QRect &boite, const QRect &rectangle);
// The rectangle from one corner to the other with its sides ordered.
QRect RectangleOrdonne(const QPoint &a, const QPoint &b);

// The text of part k's label: its spelling, or the entity number of its key value.
std::string TexteEtiquette(const Partition &partition, std::int32_t k, bool noms);

// The rectangle rules on the parts whose label boxes (one per row) meet `rectangle`.
// Selection: unless adding, every selected mark is cleared first; the parts met become checked
// and selected.
void SelectionneRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle, bool ajoute);
// Active / supplementary: the parts met have their checked mark inverted (and lose their
// selected mark when unchecked).
void BasculeActifsRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle);
// Colour: the parts met take the colour (0x00BBGGRR).
void ColorieRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle,
                 std::int32_t couleur);
// The colour grid in selection mode: only the parts of that colour end selected (and checked).
void SelectionneCouleur(Partition &partition, std::int32_t nbPoints, std::int32_t couleur);

// The status text for the pointer at `p`: for each box containing it, in row order, the label,
// ", F<i>=<x>, F<j>=<y>; ", with the last character removed; empty when no box contains it.
QString TexteStatut(const std::vector<QRect> &boites, const std::vector<QString> &etiquettes,
                    const std::vector<double> &x, const std::vector<double> &y, int facteurX, int facteurY,
                    const QPoint &p);

// A number as the status text shows it (general format, up to 15 significant digits).
QString NombreGeneral(double valeur);
// A number in fixed notation with `decimales` decimals.
QString NombreFixe(double valeur, int decimales);

// The factor table: its column captions and the text of a cell (column 0 the label given).
QStringList EntetesFacteurs(std::int32_t nbFacteurs);
QString CelluleFacteurs(const ListePoints &points, std::int32_t ligne, std::int32_t colonne, const QString &etiquette);

// The report: the picture counter shared by every factor-plane window (the next value),
// and the HTML block that goes with a picture.
int ProchainNumeroImageAFC();
// The counter itself (0 at start; tests put it back).
int &CompteurImagesAFC();
QString BlocRapportAFC(const QString &titre, const std::string &base, const QDateTime &moment, const std::string &cle,
                       std::int32_t nbPoints);

} // namespace talmer

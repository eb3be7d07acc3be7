// Sizes taken from the font's metrics, so that nothing a grid, a list or a dialog shows is cut:
// rows as high as a line of their font, columns as wide as their title and their widest value,
// dialogs as wide as their title. Every grid and list of the program goes through these.
#pragma once

#include <Qt>

#include <vector>

class QAbstractItemView;
class QFont;
class QTableView;
class QTreeView;
class QWidget;

namespace talmer {

// Asked of a model's horizontal headerData: a QVariantList of values among which lies the widest
// one the column can show (for a count, its maximum; for names, the names there are), chosen
// cheaply by the model. The values are shown as the view shows its cells. A model that gives no
// answer has all its rows measured when they are no more than MaxLignesMesurees, and none when
// there are more.
inline constexpr int RoleValeursLarges = Qt::UserRole + 0x2A0;
inline constexpr int MaxLignesMesurees = 2000;

// The height of a grid row that shows one line of `police` whole (descenders and underscores
// included), with the 2 pixels a grid leaves above and below its text.
int HauteurLigne(const QFont &police);

// The width column `colonne` of a table or tree needs to show its title and its widest value.
int LargeurColonneVoulue(const QAbstractItemView &vue, int colonne);

// Sizes the rows and columns of a table (or of a tree that shows a table) from its font and its
// model, now and again whenever its font changes or its model is reset, re-ordered, given rows,
// columns or other titles: a table's rows at least `hauteurMinimale` high and as high as
// HauteurLigne; column c at least `largeurs`[c] wide (the designed width; 0 beyond the list) and
// as wide as LargeurColonneVoulue. Columns only grow afterwards: a column the user widened stays
// so. To be called once the view has its model.
void DimensionneGrille(QAbstractItemView *vue, std::vector<int> largeurs = {}, int hauteurMinimale = 0);

// The width a table needs to show all its columns without a horizontal scroll bar: its frame,
// its vertical header and a vertical scroll bar included.
int LargeurGrille(const QTableView &vue);

// A tree of captions (its header hidden): its column as wide as its widest caption, with a
// horizontal scroll bar when the view is narrower, so that no caption is cut.
void DimensionneArbre(QTreeView *vue);

// How wide a window must be for the window manager to show its whole title: the title as the
// title bar shows it (with the application's name after it), in the application's font made
// bold, and the room of the frame's icon and buttons.
int LargeurTitre(const QWidget &fenetre);
// Widens a window to LargeurTitre (within its screen), keeping its centre where it was.
void ElargitAuTitre(QWidget &fenetre);
// Installs, once for the program, what widens every dialog to its title as it is shown (message
// boxes excepted: they size themselves, title included).
void InstalleLargeurDialogues();

} // namespace talmer

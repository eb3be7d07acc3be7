// Sizes taken from the font's metrics, so that nothing a grid, a list or a dialog shows is cut:
// rows as high as a line of their font, columns as wide as their title and their widest value,
// dialogs as wide as their title. Every grid and list of the program goes through these.
#pragma once

#include <Qt>

#include <vector>

class QAbstractItemView;
class QFont;
class QHeaderView;
class QModelIndex;
class QString;
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

// Asked of a model's headerData: true when a column (horizontal, its section) or the row titles
// (vertical, section 0) hold free text, spellings, segments or names, that can be as long as a
// sentence. Such a column is as wide as its widest value only up to a third of its view, and not
// narrower than its designed width, unless it must be so for the columns of numbers beside it to
// show whole (PartageLargeurs; never narrower than its title, or than its designed width, its
// title then elided with its tool tip); a longer text is elided there, and the cell's tool tip
// gives it whole. Columns of numbers are always as wide as their widest value.
inline constexpr int RoleTexteLibre = Qt::UserRole + 0x2A1;

// A column of a view as its width is shared out: a column of numbers (or one the user sized) has
// its width; a column of free text the width it asks for and the least it may be given.
struct ColonneAPartager {
    int largeur = 0;
    bool texte = false;
    int plancher = 0;
};
// The widths of the columns, given in the view's order, in a view `place` pixels wide. When they
// all fit as they ask, they keep their widths. Otherwise the first columns that can fit with
// their texts at their floors are made to fit: their columns of free text give way, the widest
// first, each down to its floor, so that no number among them is cut by the view's edge. The
// columns after them keep their widths (the view scrolls to them); a view too narrow for even the
// first column keeps every width.
std::vector<int> PartageLargeurs(const std::vector<ColonneAPartager> &colonnes, int place);

// The height of a grid row that shows one line of `police` whole (descenders and underscores
// included), with the 2 pixels a grid leaves above and below its text.
int HauteurLigne(const QFont &police);

// The width column `colonne` of a table or tree needs to show its title and its widest value; for
// a column of free text (RoleTexteLibre), at most a third of the view's width, or its title's.
int LargeurColonneVoulue(const QAbstractItemView &vue, int colonne);

// The title of a section as its header shows it: whole when it fits the section's room, else
// elided ("…"); the headers of every view sized by DimensionneGrille draw it so.
QString TitreAffiche(const QHeaderView &entete, int section);

// The tool tip of a cell: the model's own (Qt::ToolTipRole) when it gives one, else the cell's
// whole text when the cell is too narrow for it (the view elides it), else nothing.
QString BulleCellule(const QAbstractItemView &vue, const QModelIndex &index);
// The tool tip of a column's title: the whole title when its section is narrower than the title
// needs (a column of free text in a view too narrow for its columns), else nothing.
QString BulleTitre(const QAbstractItemView &vue, int colonne);

// Sizes the rows and columns of a table (or of a tree that shows a table) from its font and its
// model, now and again whenever its font changes or its model is reset, re-ordered, given rows,
// columns or other titles: a table's rows at least `hauteurMinimale` high and as high as
// HauteurLigne; column c at least `largeurs`[c] wide (the designed width; 0 beyond the list) and
// as wide as LargeurColonneVoulue. Columns of numbers only grow afterwards: a column the user
// widened stays so. Columns of free text follow the view's width as it changes, until the user
// sizes them himself; row titles of free text (a table's vertical header) stop at a third of the
// view too. Titles too long for their section are elided (TitreAffiche). Every cell or title whose
// text is elided gets it whole as its tool tip (BulleCellule). To be called once the view has its
// model.
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

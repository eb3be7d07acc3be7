// Showing corpus text on screen: the display character set applied to widgets, and the
// conversions between the 8-bit texts of the engine and Qt's Unicode.
#pragma once

#include <QFont>
#include <QString>
#include <QStyledItemDelegate>

#include <string>
#include <string_view>

class QAbstractItemView;
class QLegend;
class QWidget;

namespace talmer {
class CodePage;
}

// The converter of the current display code page (rebuilt when the character set changes).
const talmer::CodePage &CodePageAffichage();

// 8-bit text of the display code page -> Unicode, for a widget.
QString EnUnicode(std::string_view octets);
// What the user typed -> bytes of the display code page, for the engine; '?' for a character
// the code page lacks (*complet false then).
std::string EnCodePage(const QString &texte, bool *complet = nullptr);
// Unicode -> bytes of the display code page for an HTML or XML page, with a numeric character
// reference for every character the code page lacks.
std::string EnCodePageHtml(const QString &texte);
// A plain Unicode text (a window's caption, a date) as element content of such a page: & < >
// escaped, then EnCodePageHtml.
std::string EnCodePageTexteHtml(const QString &texte);

// `base` with a family that covers the script of the display character set (kept when it does).
QFont PoliceAffichage(const QFont &base);
// Qt::RightToLeft for the right-to-left sets, else Qt::LeftToRight.
Qt::LayoutDirection DirectionAffichage();
// Alignment of a text column: right for the right-to-left sets, else left (vertically centred).
Qt::Alignment AlignementAffichage();

// Draws one column of a list with a fixed text alignment, whatever the model says.
class DelegueAlignement : public QStyledItemDelegate {
public:
    DelegueAlignement(Qt::Alignment alignement, QObject *parent) : QStyledItemDelegate(parent), alignement_(alignement) {}
    Qt::Alignment Alignement() const { return alignement_; }
    void FixeAlignement(Qt::Alignment a) { alignement_ = a; }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    Qt::Alignment alignement_;
};

// The display font on a list; when `colonne` is not -1, that column is right-justified for a
// right-to-left set and left-justified otherwise (through a delegate, so it holds for any model);
// the list is repainted.
void ApplyCharsetToListView(QAbstractItemView *liste, int colonne);
// The display font on an edit box (line edit, text edit, combo box...), and its text direction.
void ApplyCharsetToEdit(QWidget *edition);
// The display font on a chart legend.
void ApplyCharsetToLegend(QLegend *legende);
// The display font on a grid.
void ApplyCharsetToGrid(QAbstractItemView *grille);

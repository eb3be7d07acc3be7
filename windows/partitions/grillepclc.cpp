#include "windows/partitions/grillepclc.h"

#include "engine/partition.h"
#include "services/mesures.h"
#include "shell/dragobjects.h"
#include "windows/partitions/comptes_parties.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>

#include <algorithm>
#include <memory>

namespace {

// Every cell is drawn from the part flags: highlighted when the part is selected, the check
// mark in column 0 when it is checked, texts 2 pixels right and below the cell's corner.
class DessinPCLC : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selectionnee = index.data(ModelePCLC::RoleSelectionnee).toBool();
        const QPalette &palette = option.palette;
        painter->save();
        painter->setClipRect(option.rect);
        painter->fillRect(option.rect, selectionnee ? palette.highlight() : palette.base());
        if (index.column() == 0) {
            if (index.data(ModelePCLC::RoleCochee).toBool())
                painter->drawPixmap(option.rect.topLeft(), GrillePCLC::MarqueCochee());
        } else {
            painter->setFont(option.font);
            painter->setPen(selectionnee ? palette.highlightedText().color() : palette.text().color());
            const QRect texte = option.rect.adjusted(2, 2, 0, 0);
            // A name longer than its column (one that gave way to the numbers) is elided, as the
            // other views elide their free text; its tool tip gives it whole.
            painter->drawText(texte, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                            texte.width()));
        }
        painter->restore();
    }
};

} // namespace

GrillePCLC::GrillePCLC(ModelePCLC *modele, QWidget *parent) : QTableView(parent), modele_(modele)
{
    setObjectName(QStringLiteral("GrdPCLC"));
    setModel(modele);
    setItemDelegate(new DessinPCLC(this));
    // The part flags are the selection: the view keeps none of its own.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    talmer::DimensionneGrille(this, {ModelePCLC::Largeurs.begin(), ModelePCLC::Largeurs.end()}, 16);
    glisser_ = [this] {
        talmer::LanceGlisser(this, std::make_unique<talmer::TPartDragObject>(this, &modele_->PartitionComptee()));
    };
}

QPixmap GrillePCLC::MarqueCochee()
{
    static const QPixmap marque = [] {
        QPixmap p(16, 16);
        p.fill(Qt::transparent);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath trait;
        trait.moveTo(3, 8);
        trait.lineTo(6.5, 12);
        trait.lineTo(13, 3.5);
        painter.setPen(QPen(QColor(0, 128, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(trait);
        return p;
    }();
    return marque;
}

void GrillePCLC::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QModelIndex cellule = indexAt(event->position().toPoint());
    // A press outside the data rows follows nothing, so a later release cannot toggle a part
    // through a cell pressed long before.
    ligne_ = cellule.isValid() ? cellule.row() : -1;
    colonne_ = cellule.isValid() ? cellule.column() : -1;
    depart_ = event->position().toPoint();
    gauchePressee_ = event->button() == Qt::LeftButton;
    event->accept();
}

void GrillePCLC::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a press like the first.
    mousePressEvent(event);
}

void GrillePCLC::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint position = event->position().toPoint();
    if (!indexAt(position).isValid())
        return;
    // Moving with the left button held is the start of a drag, never a click.
    ligne_ = -1;
    colonne_ = -1;
    if (gauchePressee_ && (position - depart_).manhattanLength() >= SeuilGlisser) {
        gauchePressee_ = false;
        if (glisser_)
            glisser_();
    }
}

void GrillePCLC::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        gauchePressee_ = false;
    const QModelIndex cellule = indexAt(event->position().toPoint());
    if (!cellule.isValid() || (cellule.column() != colonne_ && cellule.row() != ligne_))
        return;
    if (BasculePartie(modele_->PartitionComptee(), cellule.row(), cellule.column())) {
        modele_->FlagsChanges();
        emit flagsChanges();
    }
    viewport()->update();
}

#include "shell/droptarget.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

TDropTarget::TDropTarget(QWidget *owner, QWidget *cible)
    : owner_(owner), cible_(cible)
{
    accepteursAvant_ = cible_->acceptDrops();
    cible_->setAcceptDrops(true);
    cible_->installEventFilter(this);
}

TDropTarget::~TDropTarget()
{
    if (cible_) {
        cible_->removeEventFilter(this);
        cible_->setAcceptDrops(accepteursAvant_);
    }
}

void TDropTarget::TexteDepose(const QString &)
{
}

namespace {
// Text from another program: a drag whose source is not a widget of this process.
bool TexteExterieur(const QDropEvent *e)
{
    return e->source() == nullptr && e->mimeData() && e->mimeData()->hasText();
}
} // namespace

bool TDropTarget::eventFilter(QObject *objet, QEvent *event)
{
    if (objet != cible_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *e = static_cast<QDragEnterEvent *>(event);
        if (e->source() != nullptr)
            return false;
        accepte_ = TexteExterieur(e);
        if (!accepte_)
            return false;
        // A copy, never a move: the other program keeps its text.
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
    }
    case QEvent::DragMove: {
        auto *e = static_cast<QDragMoveEvent *>(event);
        if (e->source() != nullptr || !accepte_)
            return false;
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
    }
    case QEvent::DragLeave:
        accepte_ = false;
        return false;
    case QEvent::Drop: {
        auto *e = static_cast<QDropEvent *>(event);
        if (e->source() != nullptr)
            return false;
        if (!TexteExterieur(e)) {
            e->setDropAction(Qt::IgnoreAction);
            e->ignore();
            return true;
        }
        TexteDepose(e->mimeData()->text());
        e->setDropAction(Qt::CopyAction);
        e->accept();
        accepte_ = false;
        return true;
    }
    default:
        return false;
    }
}

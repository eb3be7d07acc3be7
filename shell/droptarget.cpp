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
// Plain text among the offered formats (a list of files alone is not text, although Qt would
// give its addresses as text).
bool OffreDuTexte(const QMimeData *donnees)
{
    if (!donnees)
        return false;
    for (const QString &format : donnees->formats())
        if (format == QLatin1String("text/plain") || format.startsWith(QLatin1String("text/plain;")))
            return true;
    return false;
}

// Text from another program: a drag whose source is not a widget of this process.
bool TexteExterieur(const QDropEvent *e)
{
    return e->source() == nullptr && OffreDuTexte(e->mimeData());
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
        // Anything but text is left to the window itself (which refuses it by default).
        if (!TexteExterieur(e))
            return false;
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

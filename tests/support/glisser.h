// A drop on a widget as the toolkit delivers it, for the tests of what a window takes.
#pragma once

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace talmer::test {

// Drag-enter, drag-move, then drop of `donnees` on `cible` at `point`; true when the drop was
// taken. The enter and the drop count only when the widget accepts them; the move arrives
// accepted, as the toolkit sends it after an accepted enter, and counts unless the widget refuses
// it. Nothing follows a refusal.
inline bool Depose(QWidget &cible, const QMimeData &donnees, QPoint point)
{
    QDragEnterEvent entree(point, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    entree.ignore();
    QApplication::sendEvent(&cible, &entree);
    if (!entree.isAccepted())
        return false;
    QDragMoveEvent deplacement(point, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    deplacement.accept();
    QApplication::sendEvent(&cible, &deplacement);
    if (!deplacement.isAccepted())
        return false;
    QDropEvent depot(QPointF(point), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    depot.ignore();
    QApplication::sendEvent(&cible, &depot);
    return depot.isAccepted();
}

// The same at the widget's centre.
inline bool Depose(QWidget &cible, const QMimeData &donnees)
{
    return Depose(cible, donnees, cible.rect().center());
}

} // namespace talmer::test

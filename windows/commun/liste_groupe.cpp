#include "windows/commun/liste_groupe.h"

#include "shell/dragobjects.h"

#include <QHeaderView>

namespace talmer {

ListeGroupe::ListeGroupe(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    verticalHeader()->hide();
}

void ListeGroupe::startDrag(Qt::DropActions)
{
    if (!fabrique_)
        return;
    if (std::unique_ptr<TTgenDragObject> objet = fabrique_())
        LanceGlisser(this, std::move(objet));
}

} // namespace talmer

#include "shell/fennavig.h"

#include "shell/mesures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>

namespace {
QIcon IconeNavig(int image)
{
    QStyle *style = QApplication::style();
    return image == 2 ? style->standardIcon(QStyle::SP_DirIcon)
                      : style->standardIcon(QStyle::SP_FileIcon);
}
} // namespace

NoeudNavig::NoeudNavig(const QString &texte, int image) : QStandardItem(texte), image_(image)
{
    setEditable(false);
    setIcon(IconeNavig(image));
}

TFenNavig::TFenNavig(QWidget *parent) : QDockWidget(parent)
{
    setObjectName(QStringLiteral("FenNavig"));
    // The form's name is no caption for the user.
    setWindowTitle(QStringLiteral("Navigation"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    modele_ = new QStandardItemModel(this);
    treePages_ = new QTreeView(this);
    treePages_->setObjectName(QStringLiteral("TreePages"));
    treePages_->setModel(modele_);
    treePages_->setHeaderHidden(true);
    talmer::DimensionneArbre(treePages_);
    treePages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWidget(treePages_);

    connect(treePages_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &courant, const QModelIndex &) { TreePagesChange(courant); });
}

NoeudNavig *TFenNavig::AjouteNoeud(QStandardItem *parent, const QString &texte, int image,
                                   QWidget *fenetre)
{
    auto *noeud = new NoeudNavig(texte, image);
    noeud->FixeFenetre(fenetre);
    if (parent)
        parent->appendRow(noeud);
    else
        modele_->appendRow(noeud);
    return noeud;
}

QWidget *TFenNavig::FenetreDuNoeud(const QStandardItem *noeud)
{
    if (!noeud || noeud->type() != QStandardItem::UserType + 1)
        return nullptr;
    return static_cast<const NoeudNavig *>(noeud)->Fenetre();
}

NoeudNavig *TFenNavig::Noeud(const QModelIndex &index) const
{
    QStandardItem *item = modele_->itemFromIndex(index);
    if (!item || item->type() != QStandardItem::UserType + 1)
        return nullptr;
    return static_cast<NoeudNavig *>(item);
}

void TFenNavig::TreePagesChange(const QModelIndex &courant)
{
    if (QWidget *fenetre = FenetreDuNoeud(modele_->itemFromIndex(courant)))
        emit fenetreChoisie(fenetre);
}

void TFenNavig::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

#include "shell/fennavig.h"

#include "services/mesures.h"
#include "services/translation.h"

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

void TFenNavig::AjouteBrancheBase(const QString &chemin)
{
    NoeudNavig *racine = AjouteNoeud(nullptr, chemin, 1);
    AjouteNoeud(racine, QStringLiteral("Texte"), 1);
    AjouteNoeud(racine, QStringLiteral("Dictionnaire"), 1);
    AjouteNoeud(racine, Traduit("Cartes Sections"), 2);
    AjouteNoeud(racine, Traduit("Partitions"), 2);
    // The node texts of a base are its own words, translated like the rest of the window.
    racine->child(0)->setText(Traduit("Texte"));
    racine->child(1)->setText(Traduit("Dictionnaire"));
    noeudBase_ = racine->index();
    QPalette palette = treePages_->palette();
    palette.setColor(QPalette::Base, Qt::white);
    treePages_->setPalette(palette);
    treePages_->expandAll();
}

void TFenNavig::RetireBrancheBase()
{
    if (QStandardItem *racine = NoeudBase())
        modele_->removeRow(racine->row());
    noeudBase_ = QPersistentModelIndex();
}

QStandardItem *TFenNavig::NoeudBase() const
{
    return noeudBase_.isValid() ? modele_->itemFromIndex(noeudBase_) : nullptr;
}

// The fixed children of the base's node: "Texte", "Dictionnaire", "Cartes Sections", "Partitions".
QStandardItem *TFenNavig::EnfantDeLaBase(int rang) const
{
    QStandardItem *racine = NoeudBase();
    return racine ? racine->child(rang) : nullptr;
}

QStandardItem *TFenNavig::NoeudTexte() const
{
    return EnfantDeLaBase(0);
}

QStandardItem *TFenNavig::NoeudDictionnaire() const
{
    return EnfantDeLaBase(1);
}

QStandardItem *TFenNavig::NoeudCartesSections() const
{
    return EnfantDeLaBase(2);
}

QStandardItem *TFenNavig::NoeudPartitions() const
{
    return EnfantDeLaBase(3);
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

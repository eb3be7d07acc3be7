// The navigation window: a dockable tree whose nodes stand for the open base, its partitions and
// sectionings and their result windows. A node holds a guarded reference to its window, so a
// window that closes leaves a node that simply does nothing.
#pragma once

#include <QDockWidget>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStandardItem>

class QStandardItemModel;
class QTreeView;

// A node of the navigation tree with its optional window.
class NoeudNavig : public QStandardItem {
public:
    NoeudNavig(const QString &texte, int image);
    int type() const override { return QStandardItem::UserType + 1; }

    QWidget *Fenetre() const { return fenetre_.data(); }
    void FixeFenetre(QWidget *fenetre) { fenetre_ = fenetre; }
    // 1: a page (base, text, dictionary, result window); 2: a folder of pages.
    int Image() const { return image_; }

private:
    QPointer<QWidget> fenetre_;
    int image_;
};

class TFenNavig : public QDockWidget {
    Q_OBJECT
public:
    explicit TFenNavig(QWidget *parent = nullptr);

    QTreeView *TreePages() const { return treePages_; }
    QStandardItemModel *Modele() const { return modele_; }

    // Adds a node under `parent` (a top-level node when null), linked to `fenetre` when given.
    NoeudNavig *AjouteNoeud(QStandardItem *parent, const QString &texte, int image,
                            QWidget *fenetre = nullptr);
    // The window of a node (null when it has none or its window is gone).
    static QWidget *FenetreDuNoeud(const QStandardItem *noeud);
    NoeudNavig *Noeud(const QModelIndex &index) const;

    // The branch of the open base: its path, then "Texte", "Dictionnaire", "Cartes Sections" and
    // "Partitions"; the tree expanded on a white ground. One at a time: Retire takes it away.
    void AjouteBrancheBase(const QString &chemin);
    void RetireBrancheBase();
    // Nodes of the open base's branch (null while there is none).
    QStandardItem *NoeudBase() const;
    QStandardItem *NoeudTexte() const;
    QStandardItem *NoeudDictionnaire() const;
    QStandardItem *NoeudCartesSections() const;
    QStandardItem *NoeudPartitions() const;

signals:
    // The user selected a node that carries a live window.
    void fenetreChoisie(QWidget *fenetre);

protected:
    // The window never closes: when floating, its close box does nothing.
    void closeEvent(QCloseEvent *event) override;

private:
    void TreePagesChange(const QModelIndex &courant);
    QStandardItem *EnfantDeLaBase(int rang) const;

    QTreeView *treePages_;
    QStandardItemModel *modele_;
    QPersistentModelIndex noeudBase_;
};

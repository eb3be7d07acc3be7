// The side panel's "Rapport" page: the tree of the current report with its two buttons, and the
// commands on that report (a new report, saving it into a folder, opening the saved index, a
// note on a node by a right click, Delete on a node), the state pictures of the nodes, and the
// questions about unsaved work before the report is replaced or the program ends. It owns the
// current report (RapportCourant() while it lives).
#pragma once

#include <QWidget>

#include <memory>

class QAction;
class QStandardItem;
class QStandardItemModel;
class QTreeView;
class Rapport;
class charg1;

class PageRapport : public QWidget {
    Q_OBJECT
public:
    // `fenetre`: the window its dialogs belong to (the main window).
    explicit PageRapport(QWidget *fenetre, QWidget *parent = nullptr);
    ~PageRapport() override;

    // The current report: null while no base is open.
    Rapport *Courant() const { return rapport_.get(); }
    QTreeView *Arbre() const { return arbre_; }
    QStandardItemModel *Modele() const { return modele_; }
    // Places the buttons of `nouveau` and `enregistre` under the tree.
    void AjouteBoutons(QAction *nouveau, QAction *enregistre);

    // A new empty report on `base`, in place of the current one (nothing asked).
    void Nouveau(charg1 *base);
    // Drops the current report with its unsaved files: the base it describes is closing (the
    // user has been asked already).
    void Abandonne();
    // Asks about an unsaved report before it is replaced; false when the user cancelled or the
    // report could not be saved (it is then kept).
    bool AccepteRemplacement();
    // Asks about an unsaved report when the program ends; false when the program must stay.
    bool AccepteFermeture();

    // "Nouveau": a new report on the same base, once an unsaved one is saved or dropped.
    void NouveauRapport();
    // "Enregistrer": asks for a folder and writes the report there; false when nothing was
    // written.
    bool Enregistre();
    // "Editeur": the saved report's index in the desktop's browser.
    void OuvreEditeur();
    // A note on a node (the dialog); Delete on a node (the root stays, an item goes with its
    // children).
    void NoteSurNoeud(QStandardItem *noeud);
    void SupprimeNoeud(QStandardItem *noeud);

signals:
    // A report was made or dropped.
    void rapportChange();

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    // Writes the report into the program's "RAPPORT" folder (the user's documents when that one
    // cannot be written); false, with the reason in *erreur, when it failed.
    bool GenereParDefaut(QString *erreur);
    // The same, the user told why when it failed.
    bool SauveParDefaut();
    void MetAJourEtats();

    QWidget *fenetre_;
    QStandardItemModel *modele_ = nullptr;
    QTreeView *arbre_ = nullptr;
    charg1 *base_ = nullptr;
    std::unique_ptr<Rapport> rapport_;
};

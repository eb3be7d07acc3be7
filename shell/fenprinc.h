// The main window: button bar, menus, side panel (navigation tree, report tree and docked lists),
// the MDI area of the analysis windows, the sheets along its right edge and the status bar with
// its progress bar. It owns the open corpus base, the current report and the workspace registry.
#pragma once

#include "shell/panneaulateral.h"

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class ConfigurationT3;
class Corpus;
class NoeudNavig;
class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QStandardItem;
class QStandardItemModel;
class QTabBar;
class QToolBar;
class QToolButton;
class QTreeView;
class Rapport;
class SegRep;
class TDropTarget;
class TFenNavig;
class charg1;

// What the repeated-segment set-up dialog returns when confirmed.
struct ParametresSegmentsRepetes {
    std::set<std::int32_t> delimiteurs; // entity numbers of the checked delimiters
    std::int32_t editForme = 0;         // first value given to CalcSegRep
    std::int32_t freqMin = 2;           // minimum frequency of a segment
};

class TFenPrinc;

// The analysis windows the main window opens. Each command stays disabled until its window is
// provided here (the analysis windows install them at start-up).
struct FabriquesFenetres {
    // Opened when a base has been loaded: the dictionary (docks itself with AjoutePageLaterale)
    // and the reading view.
    std::function<void(TFenPrinc &, charg1 &)> dictionnaire;
    std::function<void(TFenPrinc &, charg1 &)> liseuse;
    // Buttons of the button bar.
    std::function<void(TFenPrinc &, charg1 &)> concordance;   // "Concordances et inventaires distributionnels"
    std::function<void(TFenPrinc &, charg1 &)> carteSections; // "Carte des sections" (modal section dialog)
    std::function<void(TFenPrinc &, charg1 &)> groupeFormes;  // "Groupe de formes"
    // "Partitions": runs the partition-choice dialog; true when it created a partition.
    std::function<bool(TFenPrinc &, charg1 &)> partitions;
    // "Segments Répétés": the set-up dialog (empty when cancelled) and the segment list window.
    std::function<bool(TFenPrinc &, charg1 &, ParametresSegmentsRepetes &)> prepareSegments;
    std::function<void(TFenPrinc &, SegRep &)> listeSegments;
};

// The file a text to segment is chosen with; empty when cancelled. By default a plain open dialog
// for .txt and .doc files; the corpus-open dialog (with corpus building) replaces it.
using ChoixTexte = std::function<QString(QWidget *parent)>;

class TFenPrinc : public QMainWindow {
    Q_OBJECT
public:
    explicit TFenPrinc(QWidget *parent = nullptr);
    ~TFenPrinc() override;

    // --- Opening a base ---------------------------------------------------------------------
    // Opens the base whose parameter file is given; the open one is replaced only on success.
    // False when nothing was opened (cancelled, or an error the user was told about).
    bool OuvreBase(const QString &cheminPar);
    // Checks the keys of a text, asks for the delimiters, segments it and opens the new base.
    bool SegmenteTexte(const QString &cheminTexte);
    // The command line's file (arguments after the program's name; the first is a whole path).
    void OuvreLigneDeCommande(const QStringList &arguments);

    charg1 *Base() const { return base_.get(); }
    Rapport *RapportCourant() const { return rapport_.get(); }
    Corpus &Registre() const { return *corpus_; }

    // --- Progress and status -----------------------------------------------------------------
    void AvanceProgression(int n);
    void FixeProgression(int position);
    void FixePas(int pas) { pas_ = pas; }
    int Pas() const { return pas_; }
    void AfficheStatut(const QString &texte);
    QProgressBar *Progression() const { return progression_; }
    QString TexteStatut() const;
    QString TexteCheminBase() const;

    // --- Windows, sheets, navigation ----------------------------------------------------------
    QMdiArea *ZoneMdi() const { return mdi_; }
    // Adds an analysis window to the MDI area (deleted when closed) and shows it, whole inside the
    // visible area.
    QMdiSubWindow *AjouteFenetre(QWidget *fenetre);
    // Docks a window into the side panel and brings it to the front (PanneauLateral::Ancre); a
    // window bound to the base is closed when the base is replaced. Returns its dock.
    QDockWidget *AjoutePageLaterale(QWidget *page, const QString &titre,
                                    GenrePage genre = GenrePage::Permanente, bool lieeALaBase = true);
    PanneauLateral *ListesGauche() const { return listesGauche_; }
    TFenNavig *FenNavig() const { return fenNavig_; }
    // Nodes of the open base's branch (null before a base is open).
    QStandardItem *NoeudBase() const;
    QStandardItem *EnfantDeLaBase(int rang) const;
    QStandardItem *NoeudTexte() const;
    QStandardItem *NoeudDictionnaire() const;
    QStandardItem *NoeudCartesSections() const;
    QStandardItem *NoeudPartitions() const;
    // MDI children from the front (the active one) to the back, those of the current sheet.
    std::vector<QMdiSubWindow *> EnfantsMdi() const;
    // Brings a window to the front, restoring it when minimised.
    void MontreFenetre(QWidget *fenetre);
    // The room of the MDI area that shows child windows without scrolling.
    QSize ZoneVisible() const;
    // Moves and shrinks a child window in its normal state as little as needed to show it whole.
    void GardeDansZoneMdi(QMdiSubWindow *fenetre);

    QTabBar *OngletsFeuilles() const { return ongletsFeuilles_; }
    int NbFeuilles() const;
    void NouvelleFeuille();
    // Moves the active window to the sheet at `index` (-1: a new sheet).
    void FeuilleMenuClick(int index);
    // Windows recorded in a sheet (live ones).
    std::vector<QMdiSubWindow *> FenetresDeFeuille(int index) const;

    // The client area left for child windows, recomputed when the main window is resized.
    int LargeurLibre() const { return largeurLibre_; }
    int HauteurLibre() const { return hauteurLibre_; }

    // --- Extension points ---------------------------------------------------------------------
    FabriquesFenetres &Fabriques() { return fabriques_; }
    // Enables each command whose window exists, once a base is open.
    void ActualiseCommandes();
    // Places the group container on the button bar (between "Principales caractéristiques
    // Lexicométriques" and "Déplacer vers une autre feuille"); the main window takes ownership.
    void InstalleConteneur(QWidget *conteneur);
    QWidget *Conteneur() const { return conteneur_; }
    void FixeChoixTexte(ChoixTexte choix) { choixTexte_ = std::move(choix); }

    // --- Commands (also run by the tests) -----------------------------------------------------
    void BtnOuvrirClick();
    void BtnCreerCorpClick();
    void BtnDocuClick();
    void BtnParagClick();
    void BtnSRClick();
    void BtnSelFormesClick();
    void BtnPartClick();
    void BtnAjouteRapClick();
    void BtnEditClick();
    void HelpBtnClick();
    void BtnFenPrecClick();
    void BtnFenSuivClick();
    void BtnOptionsClick();
    void BtnRetreciClick();
    void BtnNouvRapClick();
    void BtnSauvRapportClick();
    // Report notes: a right click released over a node of the report tree.
    void NoteSurNoeud(QStandardItem *noeud);
    // The Delete key on the report tree.
    void SupprimeNoeudRapport(QStandardItem *noeud);
    // The window list: items in the order they are shown, and the choice of one.
    QStringList ListeFenetres() const;
    void FenetreMenuClick(int index);
    void PCLCMenuClick(int index);

    QAction *Action(const char *nom) const;
    QTreeView *TreeViewRapport() const { return treeViewRapport_; }
    QStandardItemModel *ModeleRapport() const { return modeleRapport_; }
    QWidget *PanneauFond() const { return panneauFond_; }
    QToolBar *Panel1() const { return panel1_; }
    TDropTarget *CibleDepot() const { return cibleDepot_.get(); }

signals:
    // The open base is about to be closed (replaced by another, or the program ends): whatever
    // refers to it (groups, drag sources) lets it go now.
    void fermetureBase(charg1 *base);
    // A base has been opened.
    void baseOuverte(charg1 *base);
    // A new computation of the open base's repeated segments has been attached in place of
    // `anciens` (null at the first): segment numbers (Nbart+1+k) now name its segments.
    void segmentsRemplaces(charg1 *base, const SegRep *anciens, const SegRep &nouveaux);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void ConstruitMenus();
    void ConstruitBarreBoutons();
    void ConstruitPanneauLateral();
    void ConstruitBarreEtat();
    QAction *NouvelleAction(const char *nom, const char *texte, const char *bulle, int icone,
                            void (TFenPrinc::*commande)());

    bool OuvreBaseSansDemander(const QString &cheminPar);
    // A UTF-8 text: offers to convert it into a new file, which then replaces `chemin`. False
    // when the user cancelled or the conversion failed (the user was told).
    bool ProposeConversionUtf8(QString &chemin);
    // True, the user told, when the text holds no word form with these delimiters.
    bool RefuseTexteSansForme(const QString &chemin, const std::string &delimiteurs);
    // Asks about an unsaved report before it is replaced; false when the user cancelled or the
    // report could not be saved (the report is then kept).
    bool AccepteRemplacementRapport();
    // "Enregistrer": asks for a folder and writes the report there; false when nothing was
    // written.
    bool SauveRapport();
    // Writes the report into the program's "RAPPORT" folder (the user's documents when that one
    // cannot be written); false, with the reason in *erreur, when it failed.
    bool GenereRapportParDefaut(QString *erreur);
    // The same, the user told why when it failed.
    bool SauveRapportParDefaut();
    // Closes everything that refers to the open base, then frees it.
    void FermeBase();
    void NouveauRapport();
    void ConstruitBrancheBase(const QString &chemin);
    bool ChangeDossierCourant(const QString &dossier);
    void OngletsFeuillesChange(int index);
    void QuitteFeuille(int index);
    void EntreFeuille(int index);
    void PurgeFeuilles();
    void MenuFenetreAvantAffichage();
    void PmnListFenPopup();
    void PmnPCLCPopup();
    void BtnVaVersFeuilleClick();
    void BtnListFenClick();
    void BtnPCLCClick();
    void MosaiqueClick();
    void CascadeClick();
    void ReorganiserClick();
    void MetAJourEtatsRapport();

    // What the window owns, in the order it is built.
    std::unique_ptr<charg1> base_;
    std::unique_ptr<Rapport> rapport_;
    std::unique_ptr<Corpus> corpus_;
    std::vector<std::unique_ptr<SegRep>> segmentsBase_;
    int compteurFeuilles_ = 0;
    int pas_ = 1;
    int largeurLibre_ = 0;
    int hauteurLibre_ = 0;
    bool partitionCreee_ = false;

    FabriquesFenetres fabriques_;
    ChoixTexte choixTexte_;

    QToolBar *panel1_ = nullptr;
    QAction *emplacementConteneur_ = nullptr;
    QWidget *conteneur_ = nullptr;
    QWidget *panneauFond_ = nullptr;
    int largeurPanneau_ = 0; // the side panel's width when not collapsed
    PanneauLateral *listesGauche_ = nullptr;
    TFenNavig *fenNavig_ = nullptr;
    QWidget *pageRapport_ = nullptr;
    QTreeView *treeViewRapport_ = nullptr;
    QStandardItemModel *modeleRapport_ = nullptr;
    QWidget *panBtnRetreci_ = nullptr;
    QToolButton *btnRetreci_ = nullptr;
    QMdiArea *mdi_ = nullptr;
    QTabBar *ongletsFeuilles_ = nullptr;
    QWidget *colonneFeuilles_ = nullptr;
    QProgressBar *progression_ = nullptr;
    QWidget *panneauProgression_ = nullptr;
    QLabel *statut_ = nullptr;
    QLabel *cheminBase_ = nullptr;
    QMenu *menuFenetre_ = nullptr;
    QMenu *pmnListFen_ = nullptr;
    QMenu *pmnPCLC_ = nullptr;
    int nbActionsFixesFenetre_ = 0;

    QPersistentModelIndex noeudBase_;
    std::vector<QPointer<QWidget>> pagesBase_;

    struct InfoFiche {
        QPointer<QMdiSubWindow> fenetre;
        int top = 0, left = 0, width = 0, height = 0;
    };
    std::vector<std::vector<InfoFiche>> feuilles_;
    int feuilleCourante_ = -1;

    std::unique_ptr<TDropTarget> cibleDepot_;
};

// The main window of the run (null before it is created and after it is destroyed).
TFenPrinc *FenetrePrincipale();

// The message of a failed load: "Erreur " followed by the text of the loader's code.
QString MessageErreurChargement(int code);

// Progress callbacks given to the engine's long computations (their argument is ignored). The
// two steps also let the windows repaint and, in work that can be stopped (TravailLong), throw
// CalculInterrompu once the user has asked to stop: give them only to computations that let it
// through and keep their earlier state.
void PasProgression(std::int32_t);
void PasProgression2(std::int32_t);
void ResetProgress();
void AfficheStatut(const QString &texte);

// The main window: button bar, menus, side panel (navigation tree, report tree and docked lists),
// the MDI area of the analysis windows, the sheets along its right edge and the status bar with
// its progress bar. It owns the open corpus base, the current report and the workspace registry.
#pragma once

#include "shell/panneaulateral.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class BarreEtat;
class ConfigurationT3;
class Corpus;
class NoeudNavig;
class PageRapport;
class QAction;
class QDockWidget;
class QMdiSubWindow;
class QMenu;
class QStandardItem;
class QToolBar;
class QToolButton;
class SegRep;
class TDropTarget;
class TFenNavig;
class ZoneFenetres;
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
    Corpus &Registre() const { return *corpus_; }
    // The side panel's report page: the current report, its tree and commands.
    PageRapport &Rapports() const { return *rapports_; }

    // The status bar: progress, what runs, the open base's path.
    BarreEtat &Etat() const { return *etat_; }

    // --- Windows, sheets, navigation ----------------------------------------------------------
    // The room of the analysis windows: the MDI area, its sheets and the window list.
    ZoneFenetres &Zone() const { return *zone_; }
    // Docks a window into the side panel and brings it to the front (PanneauLateral::Ancre); a
    // window bound to the base is closed when the base is replaced. Returns its dock.
    QDockWidget *AjoutePageLaterale(QWidget *page, const QString &titre,
                                    GenrePage genre = GenrePage::Permanente, bool lieeALaBase = true);
    PanneauLateral *ListesGauche() const { return listesGauche_; }
    TFenNavig *FenNavig() const { return fenNavig_; }
    // Brings a window to the front: an MDI child (restored when minimised) or a side-panel page.
    void MontreFenetre(QWidget *fenetre);

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
    void HelpBtnClick();
    void BtnOptionsClick();
    void BtnRetreciClick();
    void PCLCMenuClick(int index);

    QAction *Action(const char *nom) const;
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

private:
    void ConstruitMenus();
    void ConstruitBarreBoutons();
    void ConstruitPanneauLateral();
    // An action of the window (Action(nom) finds it) that calls `commande` on `cible`.
    template <typename Cible, typename Commande>
    QAction *NouvelleAction(const char *nom, const char *texte, const char *bulle, int icone, Cible *cible,
                            Commande commande);

    bool OuvreBaseSansDemander(const QString &cheminPar);
    // A UTF-8 text: offers to convert it into a new file, which then replaces `chemin`. False
    // when the user cancelled or the conversion failed (the user was told).
    bool ProposeConversionUtf8(QString &chemin);
    // True, the user told, when the text holds no word form with these delimiters.
    bool RefuseTexteSansForme(const QString &chemin, const std::string &delimiteurs);
    // Closes everything that refers to the open base, then frees it.
    void FermeBase();
    bool ChangeDossierCourant(const QString &dossier);
    void MenuFenetreAvantAffichage();
    void PmnListFenPopup();
    void PmnPCLCPopup();
    void BtnVaVersFeuilleClick();
    void BtnListFenClick();
    void BtnPCLCClick();

    // What the window owns, in the order it is built.
    std::unique_ptr<charg1> base_;
    std::unique_ptr<Corpus> corpus_;
    std::vector<std::unique_ptr<SegRep>> segmentsBase_;
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
    ZoneFenetres *zone_ = nullptr;
    PageRapport *rapports_ = nullptr;
    TFenNavig *fenNavig_ = nullptr;
    QWidget *panBtnRetreci_ = nullptr;
    QToolButton *btnRetreci_ = nullptr;
    QMenu *menuFenetre_ = nullptr;
    QMenu *pmnListFen_ = nullptr;
    QMenu *pmnPCLC_ = nullptr;
    int nbActionsFixesFenetre_ = 0;

    std::vector<QPointer<QWidget>> pagesBase_;

    std::unique_ptr<BarreEtat> etat_;
    std::unique_ptr<TDropTarget> cibleDepot_;
};

// The main window of the run (null before it is created and after it is destroyed).
TFenPrinc *FenetrePrincipale();

// The message of a failed load: "Erreur " followed by the text of the loader's code.
QString MessageErreurChargement(int code);

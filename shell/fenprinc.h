// The main window: the menus, the button bar and the side panel (navigation tree, report page and
// docked lists), wired to the parts that do the work: the open base (OuvertureBase), the report
// page (PageRapport), the room of the analysis windows with its sheets (ZoneFenetres) and the
// status bar (BarreEtat). It also keeps the workspace registry of the open base.
#pragma once

#include "shell/ouverture_base.h"
#include "shell/panneaulateral.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class BarreEtat;
class Corpus;
class PageRapport;
class QAction;
class QDockWidget;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class SegRep;
class TDropTarget;
class TFenNavig;
class ZoneFenetres;
class charg1;

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
    // "Partitions": runs the partition-choice dialog; its creation flag (true enables "PCLC").
    std::function<bool(TFenPrinc &, charg1 &)> partitions;
    // "Segments Répétés": the set-up dialog (empty when cancelled) and the segment list window.
    std::function<bool(TFenPrinc &, charg1 &, ParametresSegmentsRepetes &)> prepareSegments;
    std::function<void(TFenPrinc &, SegRep &)> listeSegments;
};

class TFenPrinc : public QMainWindow {
    Q_OBJECT
public:
    explicit TFenPrinc(QWidget *parent = nullptr);
    ~TFenPrinc() override;

    // --- The parts ----------------------------------------------------------------------------
    // Opening, segmenting and closing the base.
    OuvertureBase &Ouverture() const { return *ouverture_; }
    // The side panel's report page: the current report, its tree and commands.
    PageRapport &Rapports() const { return *rapports_; }
    // The room of the analysis windows: the MDI area, its sheets and the window list.
    ZoneFenetres &Zone() const { return *zone_; }
    // The status bar: progress, what runs, the open base's path.
    BarreEtat &Etat() const { return *etat_; }

    // The open base (null while none is) and the partitions and sectionings made on it.
    charg1 *Base() const { return ouverture_->Base(); }
    Corpus &Registre() const { return *corpus_; }

    // --- The side panel -----------------------------------------------------------------------
    // Docks a window into the side panel and brings it to the front (PanneauLateral::Ancre); a
    // window bound to the base is closed when the base is replaced. Returns its dock.
    QDockWidget *AjoutePageLaterale(QWidget *page, const QString &titre,
                                    GenrePage genre = GenrePage::Permanente, bool lieeALaBase = true);
    PanneauLateral *ListesGauche() const { return listesGauche_; }
    TFenNavig *FenNavig() const { return fenNavig_; }
    // The side panel with its collapsing strip.
    QWidget *PanneauFond() const { return panneauFond_; }
    // Brings a window to the front: an MDI child (restored when minimised) or a side-panel page.
    void MontreFenetre(QWidget *fenetre);

    // The client area left for child windows, recomputed when the main window is resized and
    // when the user drags the side panel's edge.
    int LargeurLibre() const { return largeurLibre_; }
    int HauteurLibre() const { return hauteurLibre_; }

    // --- The commands and what plugs into them ------------------------------------------------
    // The window's command of that name (the menus' and the button bar's actions).
    QAction *Action(const char *nom) const;
    FabriquesFenetres &Fabriques() { return fabriques_; }
    // Enables each command whose window exists, once a base is open.
    void ActualiseCommandes();
    // Places the group container on the button bar (between "Principales caractéristiques
    // Lexicométriques" and "Déplacer vers une autre feuille"); the main window takes ownership.
    void InstalleConteneur(QWidget *conteneur);
    QWidget *Conteneur() const { return conteneur_; }
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
    void CalculeZoneLibre();
    // An action of the window (Action(nom) finds it) that calls `commande` on `cible`.
    template <typename Cible, typename Commande>
    QAction *NouvelleAction(const char *nom, const char *texte, const char *bulle, int icone, Cible *cible,
                            Commande commande);

    // The workspace of a base just loaded from `chemin`: registry, status, navigation branch, a
    // sheet, the dictionary, a new report, the reading view.
    void InstalleBase(charg1 *base, const QString &chemin);
    // Takes down everything that refers to the base about to be closed.
    void RetireBase(charg1 *ancienne);

    // Commands of the button bar and the menus.
    void BtnDocuClick();
    void BtnParagClick();
    void BtnSRClick();
    void BtnSelFormesClick();
    void BtnPartClick();
    void BtnPCLCClick();
    void PmnPCLCPopup();
    void PCLCMenuClick(int index);
    void BtnAjouteRapClick();
    void BtnVaVersFeuilleClick();
    void BtnListFenClick();
    void PmnListFenPopup();
    void MenuFenetreAvantAffichage();
    void HelpBtnClick();
    void BtnOptionsClick();
    void BtnRetreciClick();

    // The parts, in the order they are built (and destroyed the other way).
    std::unique_ptr<Corpus> corpus_;
    std::unique_ptr<BarreEtat> etat_;
    std::unique_ptr<OuvertureBase> ouverture_;
    std::unique_ptr<TDropTarget> cibleDepot_;
    ZoneFenetres *zone_ = nullptr;
    PageRapport *rapports_ = nullptr;

    int largeurLibre_ = 0;
    int hauteurLibre_ = 0;
    // Raised by the first partition choice that creates; it enables "PCLC" for the rest of the run.
    bool partitionCreee_ = false;
    FabriquesFenetres fabriques_;

    QToolBar *panel1_ = nullptr;
    QAction *emplacementConteneur_ = nullptr;
    QWidget *conteneur_ = nullptr;
    QSplitter *separateur_ = nullptr; // between the side panel and the windows' room
    QWidget *panneauFond_ = nullptr;
    int largeurPanneau_ = 0; // the side panel's width when not collapsed
    PanneauLateral *listesGauche_ = nullptr;
    TFenNavig *fenNavig_ = nullptr;
    QWidget *panBtnRetreci_ = nullptr;
    QToolButton *btnRetreci_ = nullptr;
    QMenu *menuFenetre_ = nullptr;
    QMenu *pmnListFen_ = nullptr;
    QMenu *pmnPCLC_ = nullptr;
    int nbActionsFixesFenetre_ = 0;

    std::vector<QPointer<QWidget>> pagesBase_;
};

// The main window of the run (null before it is created and after it is destroyed).
TFenPrinc *FenetrePrincipale();

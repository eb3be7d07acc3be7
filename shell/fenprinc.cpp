#include "shell/fenprinc.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "engine/segrep.h"
#include "services/affichage.h"
#include "services/aide.h"
#include "services/configuration.h"
#include "services/contributeur.h"
#include "services/corpus_registry.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/droptarget.h"
#include "shell/fennavig.h"
#include "shell/fenopt.h"
#include "shell/occupation.h"
#include "shell/ouverture_base.h"
#include "shell/page_rapport.h"
#include "shell/panneaulateral.h"
#include "shell/splash.h"
#include "shell/zone_fenetres.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
TFenPrinc *fenPrinc = nullptr;

constexpr int LargeurPanneauFond = 296;
constexpr int LargeurPanneauReduit = 15;
constexpr int LargeurBandeRetreci = 10;
// The narrowest the user may drag the side panel open (narrower, it is collapsed by its strip).
constexpr int LargeurPanneauMinimale = 120;

// The partitions and sectionings of a closed base, taken out of the registry.
void LibereEntreesPurgees(Corpus::EntreesPurgees &purgees)
{
    for (Partition *p : purgees.partitions)
        delete p;
    for (Section *s : purgees.sections)
        delete s;
}

// Translated text of the program's own.
QString T(const char *texte)
{
    return Traduit(texte);
}

} // namespace

TFenPrinc *FenetrePrincipale()
{
    return fenPrinc;
}

// ---------------------------------------------------------------------------------------------
// Construction

TFenPrinc::TFenPrinc(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FenPrinc"));
    setWindowTitle(QStringLiteral("Talmer3"));
    setWindowIcon(IconeProgramme());
    resize(1041, 741);
    talmer::InstalleLargeurDialogues();

    // The parts first: the menus and the button bar call them.
    ConstruitPanneauLateral();
    etat_ = std::make_unique<BarreEtat>(statusBar());
    ouverture_ = std::make_unique<OuvertureBase>(this, *etat_, [this] { return rapports_->AccepteRemplacement(); });
    connect(ouverture_.get(), &OuvertureBase::baseChargee, this, &TFenPrinc::InstalleBase);
    connect(ouverture_.get(), &OuvertureBase::fermetureBase, this, &TFenPrinc::RetireBase);
    connect(ouverture_.get(), &OuvertureBase::baseOuverte, this, &TFenPrinc::baseOuverte);
    connect(ouverture_.get(), &OuvertureBase::segmentsRemplaces, this, &TFenPrinc::segmentsRemplaces);
    ConstruitMenus();
    ConstruitBarreBoutons();

    corpus_ = std::make_unique<Corpus>();
    FixeCorpusProgramme(corpus_.get());

    // Text dropped from other programs on the button bar is taken (as a copy) and ignored.
    cibleDepot_ = std::make_unique<TDropTarget>(this, panel1_);

    fenPrinc = this;

    // The window's own texts, once; the HTML view's content is never translated.
    ExclutClasseDeTraduction("QTextBrowser");
    TraduitComposants(this);
    for (QAction *action : findChildren<QAction *>())
        if (!action->iconText().isEmpty() && action->property("texteIcone").isValid())
            action->setIconText(Traduit(action->property("texteIcone").toString()));
    ActualiseCommandes();
}

TFenPrinc::~TFenPrinc()
{
    // Nothing may refer to the base once it is gone: its windows go first.
    ouverture_->FermeBase();
    cibleDepot_.reset();
    FixeCorpusProgramme(nullptr);
    if (fenPrinc == this)
        fenPrinc = nullptr;
}

template <typename Cible, typename Commande>
QAction *TFenPrinc::NouvelleAction(const char *nom, const char *texte, const char *bulle, int icone, Cible *cible,
                                   Commande commande)
{
    auto *action = new QAction(QString::fromUtf8(texte), this);
    action->setObjectName(QString::fromUtf8(nom));
    if (bulle)
        action->setToolTip(QString::fromUtf8(bulle));
    if (icone >= 0)
        action->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icone)));
    connect(action, &QAction::triggered, cible, commande);
    return action;
}

namespace {
void TexteBouton(QAction *action, const char *texte)
{
    action->setIconText(QString::fromUtf8(texte));
    action->setProperty("texteIcone", QString::fromUtf8(texte));
}
} // namespace

void TFenPrinc::ConstruitMenus()
{
    // Actions shared by the menu and the button bar.
    QAction *ouvrir = NouvelleAction("BtnOuvrir", "&Ouvrir...", "Ouverture d'une base",
                                     QStyle::SP_DialogOpenButton, ouverture_.get(), &OuvertureBase::ChoisitEtOuvre);
    TexteBouton(ouvrir, "Ouvrir");
    QAction *parag = NouvelleAction("BtnParag", "Carte des &sections", "Carte des sections",
                                    QStyle::SP_FileDialogDetailedView, this, &TFenPrinc::BtnParagClick);
    TexteBouton(parag, "Sections");
    QAction *part = NouvelleAction("BtnPart", "&Partition", "Partitions", QStyle::SP_DirIcon,
                                   this, &TFenPrinc::BtnPartClick);
    part->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    TexteBouton(part, "Partitions");
    QAction *docu = NouvelleAction("BtnDocu", "&Concordance",
                                   "Concordances et inventaires distributionnels",
                                   QStyle::SP_FileDialogContentsView, this, &TFenPrinc::BtnDocuClick);
    TexteBouton(docu, "Concordances");

    QMenu *fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    QAction *nouveau = NouvelleAction("Nouveau1", "&Nouveau", nullptr, -1,
                                      ouverture_.get(), &OuvertureBase::ChoisitEtSegmente);
    fichier->addAction(nouveau);
    fichier->addAction(ouvrir);
    fichier->addSeparator();
    fichier->addAction(NouvelleAction("Quitter1", "&Quitter", nullptr, -1, this, &QWidget::close));

    QMenu *traitement = menuBar()->addMenu(QStringLiteral("&Traitement"));
    traitement->setObjectName(QStringLiteral("Traitement1"));
    traitement->addAction(parag);
    traitement->addAction(part);
    traitement->addAction(docu);

    menuFenetre_ = menuBar()->addMenu(QStringLiteral("Fe&nêtre"));
    menuFenetre_->setObjectName(QStringLiteral("Fenetre1"));
    menuFenetre_->addAction(NouvelleAction("Mosaique", "&Mosaïque", nullptr, -1,
                                           zone_, &ZoneFenetres::Mosaique));
    menuFenetre_->addAction(NouvelleAction("Cascade1", "&Cascade", nullptr, -1,
                                           zone_, &ZoneFenetres::Cascade));
    menuFenetre_->addAction(NouvelleAction("Rorganiser1", "&Réorganiser les icônes", nullptr, -1,
                                           zone_, &ZoneFenetres::Reorganise));
    nbActionsFixesFenetre_ = static_cast<int>(menuFenetre_->actions().size());
    connect(menuFenetre_, &QMenu::aboutToShow, this, &TFenPrinc::MenuFenetreAvantAffichage);
}

void TFenPrinc::ConstruitBarreBoutons()
{
    panel1_ = new QToolBar(QStringLiteral("Panel1"), this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setMovable(false);
    panel1_->setFloatable(false);
    panel1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    panel1_->setIconSize(QSize(20, 20));
    panel1_->setMinimumHeight(52);
    panel1_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, panel1_);

    auto ajoute = [this](QAction *action) {
        panel1_->addAction(action);
        if (QWidget *bouton = panel1_->widgetForAction(action))
            bouton->setObjectName(action->objectName());
    };
    auto nouveau = [&](const char *nom, const char *texte, const char *bulle, int icone, auto *cible,
                       auto commande) {
        QAction *action = NouvelleAction(nom, texte, bulle, icone, cible, commande);
        TexteBouton(action, texte);
        ajoute(action);
        return action;
    };

    nouveau("BtnSegment", "Segmenter", "Nouvelle base (segmentation)", QStyle::SP_FileIcon,
            ouverture_.get(), &OuvertureBase::ChoisitEtSegmente);
    ajoute(Action("BtnOuvrir"));
    ajoute(Action("BtnDocu"));
    ajoute(Action("BtnParag"));
    nouveau("BtnSR", "Segments", "Segments Répétés", QStyle::SP_FileDialogListView,
            this, &TFenPrinc::BtnSRClick);
    nouveau("BtnSelFormes", "Groupes", "Groupe de formes", QStyle::SP_FileDialogInfoView,
            this, &TFenPrinc::BtnSelFormesClick);
    ajoute(Action("BtnPart"));
    nouveau("BtnPCLC", "PCLC", "Principales caractéristiques Lexicométriques",
            QStyle::SP_FileDialogContentsView, this, &TFenPrinc::BtnPCLCClick);
    pmnPCLC_ = new QMenu(this);
    pmnPCLC_->setObjectName(QStringLiteral("PmnPCLC"));
    connect(pmnPCLC_, &QMenu::aboutToShow, this, &TFenPrinc::PmnPCLCPopup);
    // The group container takes its place here (InstalleConteneur).
    emplacementConteneur_ = panel1_->addSeparator();
    nouveau("BtnVaVersFeuille", "Déplacer", "Déplacer vers une autre feuille",
            QStyle::SP_ArrowRight, this, &TFenPrinc::BtnVaVersFeuilleClick);
    nouveau("BtnNvFeuille", "Feuille", "Créer une nouvelle feuille",
            QStyle::SP_FileDialogNewFolder, zone_, &ZoneFenetres::NouvelleFeuille);
    nouveau("BtnAjouteRap", "Rapport +", "Ajouter au rapport", QStyle::SP_DialogApplyButton,
            this, &TFenPrinc::BtnAjouteRapClick);
    nouveau("BtnEdit", "Editeur", "Editeur", QStyle::SP_FileLinkIcon, rapports_, &PageRapport::OuvreEditeur);
    nouveau("HelpBtn", "Aide", "Aide", QStyle::SP_DialogHelpButton, this, &TFenPrinc::HelpBtnClick);
    panel1_->addSeparator();
    nouveau("BtnFenPrec", "Précédente", "Fenêtre précédente", QStyle::SP_ArrowBack,
            zone_, &ZoneFenetres::Precedente);
    nouveau("BtnListFen", "Fenêtres", "Liste des fenêtres", QStyle::SP_TitleBarNormalButton,
            this, &TFenPrinc::BtnListFenClick);
    pmnListFen_ = new QMenu(this);
    pmnListFen_->setObjectName(QStringLiteral("PmnListFen"));
    connect(pmnListFen_, &QMenu::aboutToShow, this, &TFenPrinc::PmnListFenPopup);
    if (QWidget *liste = panel1_->widgetForAction(Action("BtnListFen"))) {
        // The window list is also the button's context menu.
        liste->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(liste, &QWidget::customContextMenuRequested, this,
                [this, liste](const QPoint &p) { pmnListFen_->popup(liste->mapToGlobal(p)); });
    }
    nouveau("BtnFenSuiv", "Suivante", "Fenêtre suivante", QStyle::SP_ArrowForward,
            zone_, &ZoneFenetres::Suivante);
    panel1_->addSeparator();
    nouveau("BtnOptions", "Options", "Options...", QStyle::SP_ComputerIcon,
            this, &TFenPrinc::BtnOptionsClick);
    nouveau("ExitBtn", "Quitter", "Quitter", QStyle::SP_DialogCloseButton, this, &QWidget::close);
}

void TFenPrinc::ConstruitPanneauLateral()
{
    // The side panel keeps its width whatever it holds (a list too wide for it scrolls); the user
    // changes it by dragging its edge.
    separateur_ = new QSplitter(Qt::Horizontal, this);
    separateur_->setObjectName(QStringLiteral("SeparateurPanneau"));
    separateur_->setChildrenCollapsible(false);

    panneauFond_ = new QWidget(separateur_);
    panneauFond_->setObjectName(QStringLiteral("PanneauFond"));
    largeurPanneau_ = LargeurPanneauFond;
    panneauFond_->setMinimumWidth(LargeurPanneauMinimale);
    auto *dispoFond = new QHBoxLayout(panneauFond_);
    dispoFond->setContentsMargins(0, 0, 0, 0);
    dispoFond->setSpacing(0);

    listesGauche_ = new PanneauLateral(panneauFond_);
    listesGauche_->setMinimumWidth(1);

    // "Navigation": the navigation window, docked at start.
    fenNavig_ = new TFenNavig(listesGauche_);
    listesGauche_->AjoutePagePropre(fenNavig_);
    connect(fenNavig_, &TFenNavig::fenetreChoisie, this, [this](QWidget *fenetre) {
        MontreFenetre(fenetre);
        zone_->Mosaique();
    });
    // Docking or undocking the navigation window rearranges the child windows.
    connect(fenNavig_, &QDockWidget::topLevelChanged, this, [this](bool) { zone_->Mosaique(); });

    // "Rapport": the report tree and its two buttons.
    rapports_ = new PageRapport(this);
    rapports_->AjouteBoutons(NouvelleAction("BtnNouvRap", "Nouveau", "Créer un nouveau rapport", -1, rapports_,
                                            &PageRapport::NouveauRapport),
                             NouvelleAction("BtnSauvRapport", "Enregistrer", "Enregistrer le rapport", -1,
                                            rapports_, &PageRapport::Enregistre));
    connect(rapports_, &PageRapport::rapportChange, this, &TFenPrinc::ActualiseCommandes);
    auto *dockRapport = new QDockWidget(QStringLiteral("Rapport"), listesGauche_);
    dockRapport->setObjectName(QStringLiteral("Rapport"));
    dockRapport->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dockRapport->setWidget(rapports_);
    listesGauche_->AjoutePagePropre(dockRapport);

    // The strip that collapses and restores the side panel: as wide as its button's caption
    // needs (a pixel on each side), so that the caption shows whole.
    panBtnRetreci_ = new QWidget(panneauFond_);
    panBtnRetreci_->setObjectName(QStringLiteral("PanBtnRetreci"));
    auto *dispoBande = new QVBoxLayout(panBtnRetreci_);
    dispoBande->setContentsMargins(0, 0, 0, 0);
    btnRetreci_ = new QToolButton(panBtnRetreci_);
    btnRetreci_->setDefaultAction(NouvelleAction("BtnRetreci", "|<", "Cacher / montrer le panneau de navigation", -1,
                                                 this, &TFenPrinc::BtnRetreciClick));
    btnRetreci_->setObjectName(QStringLiteral("BtnRetreci"));
    const int largeurBande =
        std::max(LargeurBandeRetreci, btnRetreci_->fontMetrics().horizontalAdvance(btnRetreci_->text()) + 2);
    panBtnRetreci_->setFixedWidth(largeurBande);
    btnRetreci_->setFixedWidth(largeurBande);
    btnRetreci_->setAutoRaise(true);
    dispoBande->addWidget(btnRetreci_);
    dispoBande->addStretch();

    dispoFond->addWidget(listesGauche_);
    dispoFond->addWidget(panBtnRetreci_);

    zone_ = new ZoneFenetres(separateur_);

    separateur_->addWidget(panneauFond_);
    separateur_->addWidget(zone_);
    separateur_->setStretchFactor(0, 0);
    separateur_->setStretchFactor(1, 1);
    separateur_->setSizes({largeurPanneau_, QWIDGETSIZE_MAX});
    // The panel has its width before the splitter lays it out, when shown: the free area is
    // reckoned with it from the first resize on.
    panneauFond_->resize(largeurPanneau_, panneauFond_->height());
    connect(separateur_, &QSplitter::splitterMoved, this, [this] {
        largeurPanneau_ = panneauFond_->width();
        CalculeZoneLibre();
    });
    setCentralWidget(separateur_);
}

QAction *TFenPrinc::Action(const char *nom) const
{
    return findChild<QAction *>(QString::fromUtf8(nom), Qt::FindDirectChildrenOnly);
}

void TFenPrinc::ActualiseCommandes()
{
    const bool ouverte = Base() != nullptr;
    auto active = [this](const char *nom, bool oui) {
        if (QAction *a = Action(nom))
            a->setEnabled(oui);
    };
    active("BtnDocu", ouverte && bool(fabriques_.concordance));
    active("BtnParag", ouverte && bool(fabriques_.carteSections));
    active("BtnSR", ouverte && bool(fabriques_.prepareSegments) && bool(fabriques_.listeSegments));
    active("BtnSelFormes", ouverte && bool(fabriques_.groupeFormes));
    active("BtnPart", ouverte && bool(fabriques_.partitions));
    active("BtnPCLC", ouverte && partitionCreee_);
    active("BtnNvFeuille", ouverte);
    active("BtnVaVersFeuille", ouverte);
    active("BtnAjouteRap", ouverte);
    active("BtnNouvRap", ouverte);
    active("BtnSauvRapport", ouverte && rapports_->Courant() != nullptr);
}

void TFenPrinc::InstalleConteneur(QWidget *conteneur)
{
    if (conteneur_) {
        for (QAction *a : panel1_->actions())
            if (panel1_->widgetForAction(a) == conteneur_) {
                panel1_->removeAction(a);
                break;
            }
        delete conteneur_;
    }
    conteneur_ = conteneur;
    if (conteneur_)
        panel1_->insertWidget(emplacementConteneur_, conteneur_);
}

// ---------------------------------------------------------------------------------------------
// The open base's workspace

void TFenPrinc::InstalleBase(charg1 *base, const QString &chemin)
{
    corpus_->AjouteBase(base);
    etat_->FixeCheminBase(chemin);
    ActualiseCommandes();

    fenNavig_->TreePages()->hide();
    fenNavig_->AjouteBrancheBase(chemin);
    zone_->NouvelleFeuille();
    RafraichitEcran();

    etat_->AfficheStatut(T("Affichage du dictionnaire"));
    if (fabriques_.dictionnaire)
        fabriques_.dictionnaire(*this, *base);
    etat_->AfficheStatut(QString());
    fenNavig_->TreePages()->show();

    rapports_->Nouveau(base);

    etat_->AfficheStatut(T("Affichage du texte"));
    if (fabriques_.liseuse)
        fabriques_.liseuse(*this, *base);
}

void TFenPrinc::RetireBase(charg1 *ancienne)
{
    emit fermetureBase(ancienne);

    // Every window of the old base goes, with the records that name it.
    zone_->FermeFenetres();
    for (QPointer<QWidget> &page : pagesBase_)
        if (page)
            listesGauche_->Ferme(page);
    pagesBase_.clear();

    // Its partitions and sectionings leave the registry and are freed.
    Corpus::EntreesPurgees purgees = corpus_->PurgeBase(ancienne);
    LibereEntreesPurgees(purgees);

    fenNavig_->RetireBrancheBase();

    // The report describes the old base; the user has been asked already.
    rapports_->Abandonne();
    // "PCLC" stays enabled: its menu lists the registry's partitions, and the old base's are gone
    // with it, so with the new base it lists only the new base's own (none until one is chosen).
}

// ---------------------------------------------------------------------------------------------
// Commands of the button bar

void TFenPrinc::BtnDocuClick()
{
    if (Base() && fabriques_.concordance)
        fabriques_.concordance(*this, *Base());
}

void TFenPrinc::BtnParagClick()
{
    if (Base() && fabriques_.carteSections)
        fabriques_.carteSections(*this, *Base());
}

void TFenPrinc::BtnSelFormesClick()
{
    if (Base() && fabriques_.groupeFormes)
        fabriques_.groupeFormes(*this, *Base());
}

void TFenPrinc::BtnPartClick()
{
    if (Base() && fabriques_.partitions && fabriques_.partitions(*this, *Base())) {
        partitionCreee_ = true;
        ActualiseCommandes();
    }
}

void TFenPrinc::BtnSRClick()
{
    charg1 *base = Base();
    if (!base || !fabriques_.prepareSegments || !fabriques_.listeSegments)
        return;
    ParametresSegmentsRepetes parametres;
    if (!fabriques_.prepareSegments(*this, *base, parametres))
        return;
    if (SegRep *segments = ouverture_->CalculeSegments(parametres))
        fabriques_.listeSegments(*this, *segments);
}

void TFenPrinc::BtnPCLCClick()
{
    // With no partition (none chosen yet on this base) there is nothing to list: an empty menu
    // would stay open unseen and swallow the popup of the next click.
    if (corpus_->NbPartitions() == 0)
        return;
    QWidget *bouton = panel1_->widgetForAction(Action("BtnPCLC"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(0, bouton->height())) : QCursor::pos();
    pmnPCLC_->popup(point);
}

void TFenPrinc::PmnPCLCPopup()
{
    pmnPCLC_->clear();
    for (int i = 0; i < corpus_->NbPartitions(); ++i) {
        InfoPartition *entree = corpus_->EntreePartition(i);
        const QString nom = (entree && entree->base == Base() && Base())
                                ? EnUnicode(Base()->RetourneGraphie(entree->cle, false))
                                : QString();
        QAction *action = pmnPCLC_->addAction(nom);
        connect(action, &QAction::triggered, this, [this, i] { PCLCMenuClick(i); });
    }
}

void TFenPrinc::PCLCMenuClick(int index)
{
    InfoPartition *entree = corpus_->EntreePartition(index);
    if (!entree || !entree->noeud.isValid())
        return;
    QStandardItem *graphiques = fenNavig_->Modele()->itemFromIndex(entree->noeud);
    QStandardItem *noeudPartition = graphiques ? graphiques->parent() : nullptr;
    if (!noeudPartition)
        return;
    for (int i = 0; i < noeudPartition->rowCount(); ++i) {
        QStandardItem *enfant = noeudPartition->child(i);
        if (enfant && enfant->text() == QStringLiteral("PCLC")) {
            if (QWidget *fenetre = TFenNavig::FenetreDuNoeud(enfant))
                MontreFenetre(fenetre);
            return;
        }
    }
}

void TFenPrinc::BtnAjouteRapClick()
{
    QMdiSubWindow *actif = zone_->Mdi()->currentSubWindow();
    if (!actif || actif->isHidden())
        return;
    // Handled once the click is over, like a posted message; the window may be gone by then.
    QPointer<QMdiSubWindow> cible(actif);
    QTimer::singleShot(0, this, [cible] {
        if (!cible)
            return;
        ContributeurRapport *contributeur = dynamic_cast<ContributeurRapport *>(cible.data());
        if (!contributeur)
            contributeur = dynamic_cast<ContributeurRapport *>(cible->widget());
        if (contributeur && ::RapportCourant())
            contributeur->AjouteAuRapport();
    });
}

void TFenPrinc::HelpBtnClick()
{
    OuvreAide(this);
}

void TFenPrinc::BtnOptionsClick()
{
    ConfigurationT3 *configuration = ConfigurationProgramme();
    if (!configuration)
        return;
    TFenOpt dialogue(*configuration, this);
    CentreSurEcran(&dialogue);
    LesDialogues().execute(dialogue);
}

void TFenPrinc::BtnRetreciClick()
{
    const bool replie = listesGauche_->isVisibleTo(panneauFond_);
    listesGauche_->setVisible(!replie);
    if (replie) {
        // The strip alone; the windows' area takes the room the panel leaves at once.
        const int reduit = std::max(LargeurPanneauReduit, panBtnRetreci_->width());
        panneauFond_->setFixedWidth(reduit);
        separateur_->setSizes({reduit, std::max(0, separateur_->width() - reduit)});
        return;
    }
    // Open again at the width it had, which the user may drag again.
    panneauFond_->setMinimumWidth(LargeurPanneauMinimale);
    panneauFond_->setMaximumWidth(QWIDGETSIZE_MAX);
    separateur_->setSizes({largeurPanneau_, std::max(0, separateur_->width() - largeurPanneau_)});
    panneauFond_->resize(largeurPanneau_, panneauFond_->height());
}

// ---------------------------------------------------------------------------------------------
// The side panel and the window commands

QDockWidget *TFenPrinc::AjoutePageLaterale(QWidget *page, const QString &titre, GenrePage genre,
                                           bool lieeALaBase)
{
    QDockWidget *dock = listesGauche_->Ancre(page, titre, genre);
    if (lieeALaBase)
        pagesBase_.emplace_back(page);
    return dock;
}

void TFenPrinc::MontreFenetre(QWidget *fenetre)
{
    if (!fenetre)
        return;
    // An MDI child, else a page of the side panel, docked or floating.
    if (!zone_->Montre(fenetre))
        listesGauche_->Montre(fenetre);
}

void TFenPrinc::PmnListFenPopup()
{
    zone_->RemplitListe(pmnListFen_);
}

void TFenPrinc::BtnListFenClick()
{
    QWidget *bouton = panel1_->widgetForAction(Action("BtnListFen"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(0, bouton->height())) : QCursor::pos();
    pmnListFen_->popup(point);
}

void TFenPrinc::MenuFenetreAvantAffichage()
{
    // The fixed commands, then the child windows of the current sheet.
    const QList<QAction *> actions = menuFenetre_->actions();
    for (int i = nbActionsFixesFenetre_; i < actions.size(); ++i) {
        menuFenetre_->removeAction(actions[i]);
        delete actions[i];
    }
    zone_->AjouteAuMenuFenetre(menuFenetre_);
}

void TFenPrinc::BtnVaVersFeuilleClick()
{
    QMenu menu(this);
    zone_->RemplitDeplacement(&menu);
    QWidget *bouton = panel1_->widgetForAction(Action("BtnVaVersFeuille"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(bouton->width(), 0)) : QCursor::pos();
    menu.exec(point);
}

// ---------------------------------------------------------------------------------------------
// Events

void TFenPrinc::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    CalculeZoneLibre();
}

void TFenPrinc::CalculeZoneLibre()
{
    largeurLibre_ = width() - panneauFond_->width() - separateur_->handleWidth() - zone_->LargeurOnglets();
    hauteurLibre_ = height() - (menuBar() ? menuBar()->height() : 0) - panel1_->height() -
                    statusBar()->height();
}

void TFenPrinc::closeEvent(QCloseEvent *event)
{
    // Work in progress finishes first, then the report is asked about.
    if (Occupation::EnCours() || !rapports_->AccepteFermeture()) {
        event->ignore();
        return;
    }
    event->accept();
}


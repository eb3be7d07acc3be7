#include "shell/fenprinc.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "engine/segmenteur.h"
#include "engine/segrep.h"
#include "engine/trace.h"
#include "engine/verifcles.h"
#include "shell/aide.h"
#include "shell/configuration.h"
#include "shell/contributeur.h"
#include "shell/corpus_registry.h"
#include "shell/dialogues.h"
#include "shell/disposition_mdi.h"
#include "shell/droptarget.h"
#include "shell/fenchoixdelimforme.h"
#include "shell/fenmemo.h"
#include "shell/fennavig.h"
#include "shell/fenopt.h"
#include "shell/mesures.h"
#include "shell/occupation.h"
#include "shell/panneaulateral.h"
#include "shell/parametres.h"
#include "shell/rapport.h"
#include "shell/splash.h"
#include "shell/textesource.h"
#include "shell/translation.h"
#include "shell/affichage.h"

#include "platform/qt/codepage.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
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

QByteArray CheminFichier(const QString &chemin)
{
    return QFile::encodeName(chemin);
}

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

// Where the user reads the trace file: in the text's folder, or where it went when that folder
// refused it.
QString ConsultezTrace()
{
    if (talmer::trace::DansDossierCourant())
        return T("Consultez atrace.txt");
    return T("Consultez %1").arg(QFile::decodeName(talmer::trace::Chemin().c_str()));
}
} // namespace

TFenPrinc *FenetrePrincipale()
{
    return fenPrinc;
}

QString MessageErreurChargement(int code)
{
    return Traduit("Erreur ") + Traduit(TexteErreurChargement(code));
}

// Each step also lets the windows repaint and stops the work when the user asked for it.
void PasProgression(std::int32_t)
{
    if (fenPrinc)
        fenPrinc->AvanceProgression(fenPrinc->Pas());
    else
        RafraichitEcranDeTempsEnTemps();
    InterromptSiDemande();
}

void PasProgression2(std::int32_t)
{
    if (fenPrinc)
        fenPrinc->AvanceProgression(2);
    else
        RafraichitEcranDeTempsEnTemps();
    InterromptSiDemande();
}

void ResetProgress()
{
    if (fenPrinc)
        fenPrinc->FixeProgression(0);
}

void AfficheStatut(const QString &texte)
{
    if (fenPrinc)
        fenPrinc->AfficheStatut(texte);
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

    ConstruitMenus();
    ConstruitBarreBoutons();
    ConstruitPanneauLateral();
    ConstruitBarreEtat();

    corpus_ = std::make_unique<Corpus>();
    FixeCorpusProgramme(corpus_.get());

    // Text dropped from other programs on the button bar is taken (as a copy) and ignored.
    cibleDepot_ = std::make_unique<TDropTarget>(this, panel1_);

    fenPrinc = this;
    choixTexte_ = [](QWidget *parent) { return LesDialogues().choisitTexte(parent); };

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
    FermeBase();
    cibleDepot_.reset();
    if (rapport_) {
        FixeRapportCourant(nullptr);
        rapport_.reset();
    }
    FixeCorpusProgramme(nullptr);
    if (fenPrinc == this)
        fenPrinc = nullptr;
}

QAction *TFenPrinc::NouvelleAction(const char *nom, const char *texte, const char *bulle, int icone,
                                   void (TFenPrinc::*commande)())
{
    auto *action = new QAction(QString::fromUtf8(texte), this);
    action->setObjectName(QString::fromUtf8(nom));
    if (bulle)
        action->setToolTip(QString::fromUtf8(bulle));
    if (icone >= 0)
        action->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icone)));
    if (commande)
        connect(action, &QAction::triggered, this, [this, commande] { (this->*commande)(); });
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
                                     QStyle::SP_DialogOpenButton, &TFenPrinc::BtnOuvrirClick);
    TexteBouton(ouvrir, "Ouvrir");
    QAction *parag = NouvelleAction("BtnParag", "Carte des &sections", "Carte des sections",
                                    QStyle::SP_FileDialogDetailedView, &TFenPrinc::BtnParagClick);
    TexteBouton(parag, "Sections");
    QAction *part = NouvelleAction("BtnPart", "&Partition", "Partitions", QStyle::SP_DirIcon,
                                   &TFenPrinc::BtnPartClick);
    part->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    TexteBouton(part, "Partitions");
    QAction *docu = NouvelleAction("BtnDocu", "&Concordance",
                                   "Concordances et inventaires distributionnels",
                                   QStyle::SP_FileDialogContentsView, &TFenPrinc::BtnDocuClick);
    TexteBouton(docu, "Concordances");

    QMenu *fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("Fichier1"));
    QAction *nouveau = NouvelleAction("Nouveau1", "&Nouveau", nullptr, -1,
                                      &TFenPrinc::BtnCreerCorpClick);
    fichier->addAction(nouveau);
    fichier->addAction(ouvrir);
    fichier->addSeparator();
    QAction *quitter = NouvelleAction("Quitter1", "&Quitter", nullptr, -1, nullptr);
    connect(quitter, &QAction::triggered, this, &QWidget::close);
    fichier->addAction(quitter);

    QMenu *traitement = menuBar()->addMenu(QStringLiteral("&Traitement"));
    traitement->setObjectName(QStringLiteral("Traitement1"));
    traitement->addAction(parag);
    traitement->addAction(part);
    traitement->addAction(docu);

    menuFenetre_ = menuBar()->addMenu(QStringLiteral("Fe&nêtre"));
    menuFenetre_->setObjectName(QStringLiteral("Fenetre1"));
    menuFenetre_->addAction(NouvelleAction("Mosaique", "&Mosaïque", nullptr, -1,
                                           &TFenPrinc::MosaiqueClick));
    menuFenetre_->addAction(NouvelleAction("Cascade1", "&Cascade", nullptr, -1,
                                           &TFenPrinc::CascadeClick));
    menuFenetre_->addAction(NouvelleAction("Rorganiser1", "&Réorganiser les icônes", nullptr, -1,
                                           &TFenPrinc::ReorganiserClick));
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
    auto nouveau = [&](const char *nom, const char *texte, const char *bulle, int icone,
                       void (TFenPrinc::*commande)()) {
        QAction *action = NouvelleAction(nom, texte, bulle, icone, commande);
        TexteBouton(action, texte);
        ajoute(action);
        return action;
    };

    nouveau("BtnSegment", "Segmenter", "Nouvelle base (segmentation)", QStyle::SP_FileIcon,
            &TFenPrinc::BtnCreerCorpClick);
    ajoute(Action("BtnOuvrir"));
    ajoute(Action("BtnDocu"));
    ajoute(Action("BtnParag"));
    nouveau("BtnSR", "Segments", "Segments Répétés", QStyle::SP_FileDialogListView,
            &TFenPrinc::BtnSRClick);
    nouveau("BtnSelFormes", "Groupes", "Groupe de formes", QStyle::SP_FileDialogInfoView,
            &TFenPrinc::BtnSelFormesClick);
    ajoute(Action("BtnPart"));
    nouveau("BtnPCLC", "PCLC", "Principales caractéristiques Lexicométriques",
            QStyle::SP_FileDialogContentsView, &TFenPrinc::BtnPCLCClick);
    pmnPCLC_ = new QMenu(this);
    pmnPCLC_->setObjectName(QStringLiteral("PmnPCLC"));
    connect(pmnPCLC_, &QMenu::aboutToShow, this, &TFenPrinc::PmnPCLCPopup);
    // The group container takes its place here (InstalleConteneur).
    emplacementConteneur_ = panel1_->addSeparator();
    nouveau("BtnVaVersFeuille", "Déplacer", "Déplacer vers une autre feuille",
            QStyle::SP_ArrowRight, &TFenPrinc::BtnVaVersFeuilleClick);
    nouveau("BtnNvFeuille", "Feuille", "Créer une nouvelle feuille",
            QStyle::SP_FileDialogNewFolder, &TFenPrinc::NouvelleFeuille);
    nouveau("BtnAjouteRap", "Rapport +", "Ajouter au rapport", QStyle::SP_DialogApplyButton,
            &TFenPrinc::BtnAjouteRapClick);
    nouveau("BtnEdit", "Editeur", "Editeur", QStyle::SP_FileLinkIcon, &TFenPrinc::BtnEditClick);
    nouveau("HelpBtn", "Aide", "Aide", QStyle::SP_DialogHelpButton, &TFenPrinc::HelpBtnClick);
    panel1_->addSeparator();
    nouveau("BtnFenPrec", "Précédente", "Fenêtre précédente", QStyle::SP_ArrowBack,
            &TFenPrinc::BtnFenPrecClick);
    nouveau("BtnListFen", "Fenêtres", "Liste des fenêtres", QStyle::SP_TitleBarNormalButton,
            &TFenPrinc::BtnListFenClick);
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
            &TFenPrinc::BtnFenSuivClick);
    panel1_->addSeparator();
    nouveau("BtnOptions", "Options", "Options...", QStyle::SP_ComputerIcon,
            &TFenPrinc::BtnOptionsClick);
    QAction *sortie = nouveau("ExitBtn", "Quitter", "Quitter", QStyle::SP_DialogCloseButton, nullptr);
    connect(sortie, &QAction::triggered, this, &QWidget::close);
}

void TFenPrinc::ConstruitPanneauLateral()
{
    auto *central = new QWidget(this);
    auto *disposition = new QHBoxLayout(central);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);

    panneauFond_ = new QWidget(central);
    panneauFond_->setObjectName(QStringLiteral("PanneauFond"));
    largeurPanneau_ = LargeurPanneauFond;
    panneauFond_->setFixedWidth(largeurPanneau_);
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
        MosaiqueClick();
    });
    // Docking or undocking the navigation window rearranges the child windows.
    connect(fenNavig_, &QDockWidget::topLevelChanged, this, [this](bool) { MosaiqueClick(); });

    // "Rapport": the report tree and its two buttons.
    pageRapport_ = new QWidget;
    pageRapport_->setObjectName(QStringLiteral("PageRapport"));
    auto *dispoRapport = new QVBoxLayout(pageRapport_);
    dispoRapport->setContentsMargins(2, 2, 2, 2);
    modeleRapport_ = new QStandardItemModel(this);
    treeViewRapport_ = new QTreeView(pageRapport_);
    treeViewRapport_->setObjectName(QStringLiteral("TreeViewRapport"));
    treeViewRapport_->setModel(modeleRapport_);
    treeViewRapport_->setHeaderHidden(true);
    talmer::DimensionneArbre(treeViewRapport_);
    treeViewRapport_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeViewRapport_->installEventFilter(this);
    treeViewRapport_->viewport()->installEventFilter(this);
    dispoRapport->addWidget(treeViewRapport_);
    connect(modeleRapport_, &QStandardItemModel::rowsInserted, this, [this] { MetAJourEtatsRapport(); });
    connect(modeleRapport_, &QStandardItemModel::dataChanged, this, [this] { MetAJourEtatsRapport(); });
    auto *boutonsRapport = new QHBoxLayout;
    auto *nouvRap = new QToolButton(pageRapport_);
    nouvRap->setDefaultAction(NouvelleAction("BtnNouvRap", "Nouveau", "Créer un nouveau rapport", -1,
                                             &TFenPrinc::BtnNouvRapClick));
    nouvRap->setObjectName(QStringLiteral("BtnNouvRap"));
    auto *sauvRap = new QToolButton(pageRapport_);
    sauvRap->setDefaultAction(NouvelleAction("BtnSauvRapport", "Enregistrer", "Enregistrer le rapport",
                                             -1, &TFenPrinc::BtnSauvRapportClick));
    sauvRap->setObjectName(QStringLiteral("BtnSauvRapport"));
    boutonsRapport->addWidget(nouvRap);
    boutonsRapport->addWidget(sauvRap);
    boutonsRapport->addStretch();
    dispoRapport->addLayout(boutonsRapport);
    auto *dockRapport = new QDockWidget(QStringLiteral("Rapport"), listesGauche_);
    dockRapport->setObjectName(QStringLiteral("Rapport"));
    dockRapport->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dockRapport->setWidget(pageRapport_);
    listesGauche_->AjoutePagePropre(dockRapport);

    // The strip that collapses and restores the side panel.
    panBtnRetreci_ = new QWidget(panneauFond_);
    panBtnRetreci_->setObjectName(QStringLiteral("PanBtnRetreci"));
    panBtnRetreci_->setFixedWidth(10);
    auto *dispoBande = new QVBoxLayout(panBtnRetreci_);
    dispoBande->setContentsMargins(0, 0, 0, 0);
    btnRetreci_ = new QToolButton(panBtnRetreci_);
    btnRetreci_->setObjectName(QStringLiteral("BtnRetreci"));
    btnRetreci_->setText(QStringLiteral("|<"));
    btnRetreci_->setToolTip(QStringLiteral("Cacher / montrer le panneau de navigation"));
    btnRetreci_->setFixedWidth(10);
    btnRetreci_->setAutoRaise(true);
    connect(btnRetreci_, &QToolButton::clicked, this, &TFenPrinc::BtnRetreciClick);
    dispoBande->addWidget(btnRetreci_);
    dispoBande->addStretch();

    dispoFond->addWidget(listesGauche_);
    dispoFond->addWidget(panBtnRetreci_);

    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("ZoneMdi"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // The sheets along the right edge.
    colonneFeuilles_ = new QWidget(central);
    colonneFeuilles_->setFixedWidth(25);
    auto *dispoFeuilles = new QVBoxLayout(colonneFeuilles_);
    dispoFeuilles->setContentsMargins(0, 0, 0, 0);
    ongletsFeuilles_ = new QTabBar(colonneFeuilles_);
    ongletsFeuilles_->setObjectName(QStringLiteral("OngletsFeuilles"));
    ongletsFeuilles_->setShape(QTabBar::RoundedEast);
    ongletsFeuilles_->setExpanding(false);
    ongletsFeuilles_->setUsesScrollButtons(true);
    ongletsFeuilles_->installEventFilter(this);
    connect(ongletsFeuilles_, &QTabBar::currentChanged, this, &TFenPrinc::OngletsFeuillesChange);
    dispoFeuilles->addWidget(ongletsFeuilles_);
    dispoFeuilles->addStretch();

    disposition->addWidget(panneauFond_);
    disposition->addWidget(mdi_, 1);
    disposition->addWidget(colonneFeuilles_);
    setCentralWidget(central);
}

void TFenPrinc::ConstruitBarreEtat()
{
    QStatusBar *barre = statusBar();
    barre->setObjectName(QStringLiteral("StatusBar1"));
    barre->setSizeGripEnabled(false);

    // Panel 0 is covered by the progress bar.
    panneauProgression_ = new QWidget(barre);
    panneauProgression_->setFixedWidth(200);
    auto *dispo = new QHBoxLayout(panneauProgression_);
    dispo->setContentsMargins(0, 0, 0, 0);
    progression_ = new QProgressBar(panneauProgression_);
    progression_->setObjectName(QStringLiteral("Progression"));
    progression_->setRange(0, 200);
    progression_->setValue(0);
    progression_->setTextVisible(false);
    dispo->addWidget(progression_);
    pas_ = 1;
    // Beside the bar while work that can be stopped runs.
    auto *annuler = new QToolButton(barre);
    annuler->setObjectName(QStringLiteral("BtnInterrompre"));
    annuler->setText(QStringLiteral("Annuler"));
    annuler->setToolTip(QStringLiteral("Interrompre le calcul (Échap)"));
    annuler->hide();
    FixeBoutonInterruption(annuler);

    statut_ = new QLabel(barre);
    statut_->setObjectName(QStringLiteral("Statut"));
    statut_->setMinimumWidth(175);
    statut_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    cheminBase_ = new QLabel(barre);
    cheminBase_->setObjectName(QStringLiteral("CheminBase"));
    cheminBase_->setMinimumWidth(50);
    cheminBase_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    barre->addWidget(panneauProgression_);
    barre->addWidget(annuler);
    barre->addWidget(statut_);
    barre->addWidget(cheminBase_, 1);
}

QAction *TFenPrinc::Action(const char *nom) const
{
    return findChild<QAction *>(QString::fromUtf8(nom), Qt::FindDirectChildrenOnly);
}

void TFenPrinc::ActualiseCommandes()
{
    const bool ouverte = base_ != nullptr;
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
    active("BtnSauvRapport", ouverte && rapport_ != nullptr);
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
// Progress and status

void TFenPrinc::AvanceProgression(int n)
{
    // Like the platform's stepping bar, it starts over from the beginning past its end.
    int position = progression_->value() + n;
    if (position > progression_->maximum())
        position = progression_->minimum() + (position - progression_->maximum()) - 1;
    progression_->setValue(std::max(position, progression_->minimum()));
    RafraichitEcranDeTempsEnTemps();
}

void TFenPrinc::FixeProgression(int position)
{
    progression_->setValue(std::clamp(position, progression_->minimum(), progression_->maximum()));
    RafraichitEcran();
}

void TFenPrinc::AfficheStatut(const QString &texte)
{
    statut_->setText(texte);
    RafraichitEcran();
}

QString TFenPrinc::TexteStatut() const
{
    return statut_->text();
}

QString TFenPrinc::TexteCheminBase() const
{
    return cheminBase_->text();
}

// ---------------------------------------------------------------------------------------------
// Opening and segmenting

bool TFenPrinc::ChangeDossierCourant(const QString &dossier)
{
    if (dossier.isEmpty() || QDir::setCurrent(dossier))
        return true;
    LesDialogues().message(this, QStringLiteral("Talmer3"),
                           T("Impossible de se placer dans le dossier « %1 ».").arg(dossier),
                           BoutonsMessage::Ok, IconeMessage::Exclamation);
    return false;
}

void TFenPrinc::BtnOuvrirClick()
{
    const QString chemin = LesDialogues().choisitFichierBase(this);
    if (chemin.isEmpty()) {
        AfficheStatut(QString());
        return;
    }
    OuvreBase(chemin);
}

void TFenPrinc::BtnCreerCorpClick()
{
    const QString chemin = choixTexte_ ? choixTexte_(this) : QString();
    if (chemin.isEmpty()) {
        AfficheStatut(QString());
        return;
    }
    SegmenteTexte(chemin);
}

bool TFenPrinc::OuvreBase(const QString &cheminPar)
{
    if (Occupation::EnCours())
        return false;
    if (!AccepteRemplacementRapport())
        return false;
    return OuvreBaseSansDemander(cheminPar);
}

bool TFenPrinc::OuvreBaseSansDemander(const QString &cheminPar)
{
    const QFileInfo info(cheminPar);
    const QString chemin = info.absoluteFilePath();
    // The other files of the base are read from the folder of its parameter file.
    if (!ChangeDossierCourant(info.absolutePath()))
        return false;

    // The new base is loaded beside the open one, which stays whole until the load succeeds.
    auto nouvelle = std::make_unique<charg1>();
    nouvelle->AttribGauge(PasProgression);
    int code;
    {
        Occupation occupation;
        AfficheStatut(T("Chargement des données"));
        code = nouvelle->ChargeBase(CheminFichier(chemin).constData());
        FixeProgression(0);
        pas_ = 1;
        AfficheStatut(QString());
    }
    if (code != ChargeReussie) {
        LesDialogues().message(this, chemin, MessageErreurChargement(code),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }

    Occupation occupation;
    FermeBase();
    base_ = std::move(nouvelle);

    corpus_->AjouteBase(base_.get());
    cheminBase_->setText(chemin);
    ActualiseCommandes();

    fenNavig_->TreePages()->hide();
    ConstruitBrancheBase(chemin);
    NouvelleFeuille();
    RafraichitEcran();

    AfficheStatut(T("Affichage du dictionnaire"));
    if (fabriques_.dictionnaire)
        fabriques_.dictionnaire(*this, *base_);
    AfficheStatut(QString());
    fenNavig_->TreePages()->show();

    NouveauRapport();

    AfficheStatut(T("Affichage du texte"));
    if (fabriques_.liseuse)
        fabriques_.liseuse(*this, *base_);
    AfficheStatut(T("Prêt"));
    emit baseOuverte(base_.get());
    return true;
}

bool TFenPrinc::ProposeConversionUtf8(QString &chemin)
{
    if (!talmer::EstTexteUtf8(chemin))
        return true;
    const talmer::CodePage &codePage = CodePageAffichage();
    const QString nom = QFileInfo(talmer::NomTexteConverti(chemin, codePage.Numero())).fileName();
    const ReponseMessage reponse = LesDialogues().message(
        this, QStringLiteral("Talmer3"),
        T("Le texte « %1 » est écrit en UTF-8, or les textes sont lus dans le jeu de caractères "
          "d'affichage (page de code %2) : ses caractères accentués seraient mal lus.\n"
          "Voulez-vous le convertir dans un nouveau fichier, « %3 », à côté de l'original ?")
            .arg(QFileInfo(chemin).fileName(), QString::fromStdString(codePage.Numero()), nom),
        BoutonsMessage::OuiNonAnnuler, IconeMessage::Exclamation);
    if (reponse == ReponseMessage::Non)
        return true;
    if (reponse != ReponseMessage::Oui) {
        AfficheStatut(QString());
        return false;
    }
    talmer::ResultatConversion resultat;
    {
        Occupation occupation;
        AfficheStatut(T("Conversion du texte"));
        resultat = talmer::ConvertitTexteUtf8(chemin, codePage);
        AfficheStatut(QString());
    }
    if (resultat.chemin.isEmpty()) {
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               T("Le texte n'a pas pu être converti.") + QStringLiteral("\n") + resultat.erreur,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    if (resultat.manquants > 0)
        LesDialogues().message(
            this, QStringLiteral("Talmer3"),
            T("Le texte converti est dans « %1 ».\n%2 caractère(s) que le jeu de caractères d'affichage "
              "ne peut pas représenter y sont remplacés par « ? ».")
                .arg(QFileInfo(resultat.chemin).fileName())
                .arg(resultat.manquants),
            BoutonsMessage::Ok, IconeMessage::Information);
    chemin = resultat.chemin;
    return true;
}

bool TFenPrinc::RefuseTexteSansForme(const QString &chemin, const std::string &delimiteurs)
{
    if (talmer::ChercheForme(chemin, delimiteurs) != talmer::FormesDuTexte::Aucune)
        return false;
    AfficheStatut(QString());
    LesDialogues().message(this, QStringLiteral("Talmer3"),
                           T("Le texte « %1 » ne contient aucune forme : il n'y a rien à segmenter.")
                               .arg(QFileInfo(chemin).fileName()),
                           BoutonsMessage::Ok, IconeMessage::Exclamation);
    return true;
}

bool TFenPrinc::SegmenteTexte(const QString &cheminTexte)
{
    if (Occupation::EnCours())
        return false;
    const QFileInfo info(cheminTexte);
    QString chemin = info.absoluteFilePath();
    // The segmenter writes the base and the trace file into the text's folder.
    if (!ChangeDossierCourant(info.absolutePath()))
        return false;
    // Refused before anything is written: the key check starts the trace file afresh and the
    // segmentation writes the base, either of which would destroy a text under such a name; a
    // FIFO would block the reading.
    auto refuse = [this](const QString &texte) {
        const EtatTexte etat = ExamineTexte(CheminFichier(texte).constData());
        if (etat == EtatTexte::Accepte)
            return false;
        AfficheStatut(QString());
        LesDialogues().message(this, texte, T(MessageTexte(etat)), BoutonsMessage::Ok, IconeMessage::Exclamation);
        return true;
    };
    if (refuse(chemin))
        return false;
    // A UTF-8 text would be read as garbage: the user may have it converted first (the copy
    // lies beside the user's text and is what gets segmented).
    const QString original = chemin;
    if (!ProposeConversionUtf8(chemin))
        return false;
    if (chemin != original && refuse(chemin))
        return false;
    // A text with nothing to segment is refused before anything is written (blanks, control
    // bytes and key markers only); with the delimiters known, again below.
    if (RefuseTexteSansForme(chemin, std::string()))
        return false;
    // Asked before the work starts, so that a cancel costs nothing.
    if (!AccepteRemplacementRapport())
        return false;

    std::int32_t fautes;
    {
        Occupation occupation;
        AfficheStatut(T("Vérification des clés"));
        fautes = VerifCles(CheminFichier(chemin).constData());
    }
    if (fautes < 0) {
        AfficheStatut(QString());
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               T("Le texte « %1 » ne peut pas être lu.").arg(chemin) +
                                   QStringLiteral("\n") + ConsultezTrace(),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    if (fautes > 0) {
        AfficheStatut(QString());
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               talmer::trace::DansDossierCourant()
                                   ? T("Problème dans les clefs.\nConsultez atrace.txt")
                                   : T("Problème dans les clefs.") + QStringLiteral("\n") + ConsultezTrace());
        return false;
    }

    TFenChoixDelimForme dialogue(this);
    dialogue.adjustSize();
    const QRect cadre = frameGeometry();
    dialogue.move(cadre.x() + cadre.width() / 2 - dialogue.width() / 2,
                  cadre.y() + cadre.height() / 2 - dialogue.height() / 2);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted) {
        AfficheStatut(QString());
        return false;
    }
    if (RefuseTexteSansForme(chemin, dialogue.Delimiteurs()))
        return false;

    ResultatSegm resultat;
    {
        Occupation occupation;
        AfficheStatut(T("Segmentation du texte"));
        ParametresSegm parametres;
        parametres.delimiteurs = dialogue.Delimiteurs();
        parametres.maxArt = MaxArt();
        parametres.progression = PasProgression;
        resultat = SegmPrinc(CheminFichier(chemin).constData(), parametres);
        FixeProgression(0);
        AfficheStatut(QString());
    }
    if (resultat != ResultatSegm::Reussie) {
        LesDialogues().message(this, chemin,
                               T(MessageSegmentation(resultat)) + QStringLiteral("\n") + ConsultezTrace(),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    // The base lies in the text's folder under the text's name without its last extension, also
    // when that name has no extension or dots in its folders.
    const QString nomBase = QFile::decodeName(NomBaseDeTexte(CheminFichier(chemin).toStdString()).c_str());
    return OuvreBaseSansDemander(QDir(info.absolutePath()).filePath(nomBase + QStringLiteral(".par")));
}

void TFenPrinc::OuvreLigneDeCommande(const QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return;
    // The platform has split the command line already: the first argument is the whole path.
    // It is made absolute before the current directory changes.
    const QFileInfo info(arguments.first());
    const QString chemin = info.absoluteFilePath();
    if (!ChangeDossierCourant(info.absolutePath()))
        return;
    // A parameter file that a killed segmentation had not yet put in place is put there first.
    const bool parametres = chemin.endsWith(QStringLiteral(".par"), Qt::CaseSensitive);
    if (parametres)
        talmer::fichiers::ReprendPublications();
    if (!QFileInfo::exists(chemin))
        return;
    if (parametres)
        OuvreBase(chemin);
    else
        SegmenteTexte(chemin);
}

void TFenPrinc::ConstruitBrancheBase(const QString &chemin)
{
    NoeudNavig *racine = fenNavig_->AjouteNoeud(nullptr, chemin, 1);
    fenNavig_->AjouteNoeud(racine, QStringLiteral("Texte"), 1);
    fenNavig_->AjouteNoeud(racine, QStringLiteral("Dictionnaire"), 1);
    fenNavig_->AjouteNoeud(racine, T("Cartes Sections"), 2);
    fenNavig_->AjouteNoeud(racine, T("Partitions"), 2);
    // The node texts of a base are its own words, translated like the rest of the window.
    racine->child(0)->setText(T("Texte"));
    racine->child(1)->setText(T("Dictionnaire"));
    noeudBase_ = racine->index();
    QPalette palette = fenNavig_->TreePages()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    fenNavig_->TreePages()->setPalette(palette);
    fenNavig_->TreePages()->expandAll();
}

QStandardItem *TFenPrinc::NoeudBase() const
{
    return noeudBase_.isValid() ? fenNavig_->Modele()->itemFromIndex(noeudBase_) : nullptr;
}

// The fixed children of the base's node: "Texte", "Dictionnaire", "Cartes Sections", "Partitions".
QStandardItem *TFenPrinc::EnfantDeLaBase(int rang) const
{
    QStandardItem *racine = NoeudBase();
    return racine ? racine->child(rang) : nullptr;
}

QStandardItem *TFenPrinc::NoeudTexte() const
{
    return EnfantDeLaBase(0);
}

QStandardItem *TFenPrinc::NoeudDictionnaire() const
{
    return EnfantDeLaBase(1);
}

QStandardItem *TFenPrinc::NoeudCartesSections() const
{
    return EnfantDeLaBase(2);
}

QStandardItem *TFenPrinc::NoeudPartitions() const
{
    return EnfantDeLaBase(3);
}

void TFenPrinc::FermeBase()
{
    if (!base_)
        return;
    charg1 *ancienne = base_.get();
    emit fermetureBase(ancienne);

    // Every window of the old base goes, with the records that name it.
    for (QMdiSubWindow *fenetre : mdi_->subWindowList())
        delete fenetre;
    for (QPointer<QWidget> &page : pagesBase_)
        if (page)
            listesGauche_->Ferme(page);
    pagesBase_.clear();
    PurgeFeuilles();

    // Its partitions and sectionings leave the registry and are freed.
    Corpus::EntreesPurgees purgees = corpus_->PurgeBase(ancienne);
    LibereEntreesPurgees(purgees);

    if (QStandardItem *racine = NoeudBase())
        fenNavig_->Modele()->removeRow(racine->row());
    noeudBase_ = QPersistentModelIndex();

    // The report describes the old base; the user has been asked already.
    if (rapport_) {
        FixeRapportCourant(nullptr);
        rapport_->Abandonne();
        rapport_.reset();
    }
    base_->AssigneSR(nullptr);
    segmentsBase_.clear();
    base_.reset();
    partitionCreee_ = false;
}

void TFenPrinc::NouveauRapport()
{
    if (rapport_) {
        FixeRapportCourant(nullptr);
        rapport_.reset();
    }
    Rapport::InitArbreRapport(modeleRapport_);
    rapport_ = std::make_unique<Rapport>(modeleRapport_, base_.get());
    FixeRapportCourant(rapport_.get());
    treeViewRapport_->expandAll();
    ActualiseCommandes();
}

// ---------------------------------------------------------------------------------------------
// The report

bool TFenPrinc::GenereRapportParDefaut(QString *erreur)
{
    if (!rapport_)
        return true;
    bool repli = false;
    const QString dossier = Rapport::DossierParDefaut(&repli);
    if (!rapport_->Genere(dossier, erreur))
        return false;
    if (repli)
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               T("Le dossier du programme n'est pas accessible en écriture : le rapport "
                                 "a été enregistré dans « %1 ».")
                                   .arg(rapport_->Destination()),
                               BoutonsMessage::Ok, IconeMessage::Information);
    return true;
}

bool TFenPrinc::SauveRapportParDefaut()
{
    QString erreur;
    if (GenereRapportParDefaut(&erreur))
        return true;
    LesDialogues().message(this, QStringLiteral("Talmer3"),
                           T("Le rapport n'a pas pu être enregistré.") + QStringLiteral("\n") + erreur,
                           BoutonsMessage::Ok, IconeMessage::Erreur);
    return false;
}

bool TFenPrinc::AccepteRemplacementRapport()
{
    if (!rapport_ || rapport_->EstSauve())
        return true;
    switch (LesDialogues().message(this, QStringLiteral("Talmer3"),
                                   T("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"),
                                   BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune)) {
    case ReponseMessage::Oui: return SauveRapportParDefaut();
    case ReponseMessage::Non: return true;
    default: return false;
    }
}

bool TFenPrinc::SauveRapport()
{
    if (!rapport_ || rapport_->NbElements() == 0)
        return false;
    const QString dossier = LesDialogues().choisitDossier(
        this, T("Répertoire de destination du rapport.\nUn Sous répertoire sera créé."));
    // A cancelled folder choice writes nothing.
    if (dossier.isEmpty())
        return false;
    QString erreur;
    if (!rapport_->Genere(dossier, &erreur)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               T("Le rapport n'a pas pu être enregistré.") + QStringLiteral("\n") + erreur,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    return true;
}

void TFenPrinc::BtnSauvRapportClick()
{
    SauveRapport();
}

void TFenPrinc::BtnNouvRapClick()
{
    if (!base_)
        return;
    if (rapport_ && !rapport_->EstSauve()) {
        switch (LesDialogues().message(this, T("Confirmation"),
                                       T("Voulez-vous enregistrer\nle rapport en cours?"),
                                       BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune)) {
        case ReponseMessage::Oui:
            // A report that was not written is kept.
            if (rapport_->NbElements() > 0 && !SauveRapport())
                return;
            break;
        case ReponseMessage::Non:
            rapport_->Abandonne();
            break;
        default:
            return;
        }
    }
    NouveauRapport();
}

void TFenPrinc::BtnEditClick()
{
    if (rapport_ && !rapport_->Destination().isEmpty()) {
        LesDialogues().ouvreDocument(rapport_->Destination() + QStringLiteral("index.htm"));
        return;
    }
    LesDialogues().message(this, QStringLiteral("Talmer3"), T("Aucun rapport sauvé pour le moment!"));
}

void TFenPrinc::NoteSurNoeud(QStandardItem *noeud)
{
    if (!noeud || !rapport_)
        return;
    TFenMemo dialogue(this);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return;
    rapport_->FixeMemo(MemoRapport(dialogue.TexteNote()), noeud);
    MetAJourEtatsRapport();
}

void TFenPrinc::SupprimeNoeudRapport(QStandardItem *noeud)
{
    // The root stays; an item node goes with its children.
    if (!noeud || (!noeud->parent() && noeud->row() == 0))
        return;
    if (QStandardItem *parent = noeud->parent())
        parent->removeRow(noeud->row());
    else
        modeleRapport_->removeRow(noeud->row());
}

void TFenPrinc::MetAJourEtatsRapport()
{
    // The state picture of each node: 1, or 2 once a note is attached.
    static const QIcon etat1 = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    static const QIcon etat2 = QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView);
    std::function<void(QStandardItem *)> parcours = [&](QStandardItem *item) {
        const int etat = item->data(Rapport::RoleEtat).toInt();
        const qint64 cle = etat == 2 ? 2 : 1;
        if (item->data(Qt::UserRole + 50).toLongLong() != cle) {
            item->setData(cle, Qt::UserRole + 50);
            item->setIcon(cle == 2 ? etat2 : etat1);
        }
        for (int i = 0; i < item->rowCount(); ++i)
            parcours(item->child(i));
    };
    for (int i = 0; i < modeleRapport_->rowCount(); ++i)
        parcours(modeleRapport_->item(i));
}

// ---------------------------------------------------------------------------------------------
// Commands of the button bar

void TFenPrinc::BtnDocuClick()
{
    if (base_ && fabriques_.concordance)
        fabriques_.concordance(*this, *base_);
}

void TFenPrinc::BtnParagClick()
{
    if (base_ && fabriques_.carteSections)
        fabriques_.carteSections(*this, *base_);
}

void TFenPrinc::BtnSelFormesClick()
{
    if (base_ && fabriques_.groupeFormes)
        fabriques_.groupeFormes(*this, *base_);
}

void TFenPrinc::BtnPartClick()
{
    if (base_ && fabriques_.partitions && fabriques_.partitions(*this, *base_)) {
        partitionCreee_ = true;
        ActualiseCommandes();
    }
}

void TFenPrinc::BtnSRClick()
{
    if (!base_ || !fabriques_.prepareSegments || !fabriques_.listeSegments)
        return;
    ParametresSegmentsRepetes parametres;
    if (!fabriques_.prepareSegments(*this, *base_, parametres))
        return;
    // The new computation rewrites the positions file: the lists made before read theirs from
    // memory from now on, so none of them is ever answered with the new file at its old offsets.
    for (const std::unique_ptr<SegRep> &ancien : segmentsBase_)
        ancien->GardePositionsEnMemoire();
    auto segments = std::make_unique<SegRep>(base_.get(), parametres.delimiteurs);
    bool fini;
    {
        TravailLong travail(T("Calcul des segments répétés"));
        segments->AttribGauge(PasProgression2);
        fini = travail.Execute([&] { segments->CalcSegRep(parametres.editForme, parametres.freqMin); });
    }
    pas_ = 2;
    // Stopped by the user: the segments attached before stay, with their files.
    if (!fini)
        return;
    if (segments->NbSegments() == 0) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), T("Aucun segment trouvé!"));
        return;
    }
    // Earlier computations stay alive for the segment lists made from them, until the base goes.
    const SegRep *anciens = base_->SegmentsAttaches();
    base_->AssigneSR(segments.get());
    SegRep &attache = *segments;
    segmentsBase_.push_back(std::move(segments));
    emit segmentsRemplaces(base_.get(), anciens, attache);
    fabriques_.listeSegments(*this, attache);
}

void TFenPrinc::BtnPCLCClick()
{
    QWidget *bouton = panel1_->widgetForAction(Action("BtnPCLC"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(0, bouton->height())) : QCursor::pos();
    pmnPCLC_->popup(point);
}

void TFenPrinc::PmnPCLCPopup()
{
    pmnPCLC_->clear();
    for (int i = 0; i < corpus_->NbPartitions(); ++i) {
        InfoPartition *entree = corpus_->EntreePartition(i);
        const QString nom = (entree && entree->base == base_.get() && base_)
                                ? EnUnicode(base_->RetourneGraphie(entree->cle, false))
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
    QMdiSubWindow *actif = mdi_->currentSubWindow();
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
    const bool replie = panneauFond_->width() > LargeurPanneauReduit;
    panneauFond_->setFixedWidth(replie ? LargeurPanneauReduit : largeurPanneau_);
    listesGauche_->setVisible(!replie);
}

// ---------------------------------------------------------------------------------------------
// Child windows

QMdiSubWindow *TFenPrinc::AjouteFenetre(QWidget *fenetre)
{
    QMdiSubWindow *sous = qobject_cast<QMdiSubWindow *>(fenetre);
    if (!sous)
        sous = mdi_->addSubWindow(fenetre);
    else
        mdi_->addSubWindow(sous);
    sous->setAttribute(Qt::WA_DeleteOnClose);
    // The program's icon, not the toolkit's, in the window's corner (and in the menu bar when
    // the window is maximised).
    sous->setWindowIcon(windowIcon());
    sous->show();
    // The area puts a new window beside the others, where it may not fit.
    GardeDansZoneMdi(sous);
    mdi_->setActiveSubWindow(sous);
    return sous;
}

QDockWidget *TFenPrinc::AjoutePageLaterale(QWidget *page, const QString &titre, GenrePage genre,
                                           bool lieeALaBase)
{
    QDockWidget *dock = listesGauche_->Ancre(page, titre, genre);
    if (lieeALaBase)
        pagesBase_.emplace_back(page);
    // The panel widens to the width its lists ask for (their columns whole), and stays so.
    const int voulue = (dock ? dock->sizeHint().width() : page->sizeHint().width()) + panBtnRetreci_->width() +
                       2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, listesGauche_) + 2;
    if (voulue > largeurPanneau_) {
        largeurPanneau_ = voulue;
        if (listesGauche_->isVisibleTo(panneauFond_))
            panneauFond_->setFixedWidth(largeurPanneau_);
    }
    return dock;
}

std::vector<QMdiSubWindow *> TFenPrinc::EnfantsMdi() const
{
    std::vector<QMdiSubWindow *> enfants;
    const QList<QMdiSubWindow *> pile = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = pile.rbegin(); it != pile.rend(); ++it)
        if (!(*it)->isHidden())
            enfants.push_back(*it);
    // The active window counts as the first, whatever its place in the pile.
    QMdiSubWindow *actif = mdi_->currentSubWindow();
    auto it = std::find(enfants.begin(), enfants.end(), actif);
    if (it != enfants.end() && it != enfants.begin())
        std::rotate(enfants.begin(), it, it + 1);
    return enfants;
}

void TFenPrinc::MontreFenetre(QWidget *fenetre)
{
    if (!fenetre)
        return;
    QMdiSubWindow *sous = qobject_cast<QMdiSubWindow *>(fenetre);
    for (QWidget *w = fenetre; !sous && w; w = w->parentWidget())
        sous = qobject_cast<QMdiSubWindow *>(w);
    if (sous && sous->mdiArea() == mdi_) {
        if (sous->isMinimized())
            sous->showNormal();
        mdi_->setActiveSubWindow(sous);
        sous->raise();
        return;
    }
    // A page of the side panel, docked or floating.
    listesGauche_->Montre(fenetre);
}

void TFenPrinc::BtnFenPrecClick()
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    if (enfants.empty())
        return;
    // The window at the back comes to the front: repeated, it walks backward through them all.
    MontreFenetre(enfants.back());
}

void TFenPrinc::BtnFenSuivClick()
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    if (enfants.size() < 2)
        return;
    // The active window goes to the back and the next one comes forward: repeated, it walks
    // forward through them all, and "Fenêtre précédente" undoes it.
    QMdiSubWindow *actif = enfants.front();
    MontreFenetre(enfants[1]);
    actif->lower();
}

QStringList TFenPrinc::ListeFenetres() const
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    QStringList items;
    const int n = static_cast<int>(enfants.size());
    for (int i = 1; i < n; ++i)
        items << QString::number(i) + QLatin1Char(' ') + enfants[static_cast<std::size_t>(i)]->windowTitle();
    if (n > 0)
        items << QString::number(n) + QLatin1Char(' ') + enfants.front()->windowTitle();
    return items;
}

void TFenPrinc::PmnListFenPopup()
{
    pmnListFen_->clear();
    const QStringList items = ListeFenetres();
    for (int i = 0; i < items.size(); ++i) {
        QAction *action = pmnListFen_->addAction(items[i]);
        connect(action, &QAction::triggered, this, [this, i] { FenetreMenuClick(i); });
    }
}

void TFenPrinc::BtnListFenClick()
{
    QWidget *bouton = panel1_->widgetForAction(Action("BtnListFen"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(0, bouton->height())) : QCursor::pos();
    pmnListFen_->popup(point);
}

void TFenPrinc::FenetreMenuClick(int index)
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    const int n = static_cast<int>(enfants.size());
    const int k = index + 1;
    if (k >= n || k < 1)
        return;
    QMdiSubWindow *choisie = enfants[static_cast<std::size_t>(k)];
    if (choisie->isMinimized()) {
        if (enfants.front()->isMaximized())
            choisie->showMaximized();
        else
            choisie->showNormal();
    }
    mdi_->setActiveSubWindow(choisie);
    choisie->raise();
}

void TFenPrinc::MenuFenetreAvantAffichage()
{
    // The fixed commands, then the child windows of the current sheet.
    const QList<QAction *> actions = menuFenetre_->actions();
    for (int i = nbActionsFixesFenetre_; i < actions.size(); ++i) {
        menuFenetre_->removeAction(actions[i]);
        delete actions[i];
    }
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    if (enfants.empty())
        return;
    menuFenetre_->addSeparator();
    const QList<QMdiSubWindow *> creation = mdi_->subWindowList(QMdiArea::CreationOrder);
    int numero = 0;
    for (QMdiSubWindow *fenetre : creation) {
        if (fenetre->isHidden())
            continue;
        ++numero;
        QAction *action = menuFenetre_->addAction(
            QStringLiteral("&%1 %2").arg(numero).arg(fenetre->windowTitle()));
        action->setCheckable(true);
        action->setChecked(fenetre == mdi_->currentSubWindow());
        QPointer<QMdiSubWindow> cible(fenetre);
        connect(action, &QAction::triggered, this, [this, cible] {
            if (cible)
                MontreFenetre(cible);
        });
    }
}

QSize TFenPrinc::ZoneVisible() const
{
    // The room of the area without its scroll bars: the windows placed inside it need none.
    return mdi_->contentsRect().size();
}

namespace {
QSize TailleMinimale(const QWidget *fenetre)
{
    return fenetre->minimumSize().expandedTo(fenetre->minimumSizeHint());
}
} // namespace

void TFenPrinc::GardeDansZoneMdi(QMdiSubWindow *fenetre)
{
    if (!fenetre || fenetre->isMaximized() || fenetre->isMinimized())
        return;
    fenetre->setGeometry(DansLaZone(fenetre->geometry(), TailleMinimale(fenetre), ZoneVisible()));
}

void TFenPrinc::MosaiqueClick()
{
    // The windows of the current sheet, the active one first (top left); minimised ones stay.
    std::vector<QMdiSubWindow *> fenetres;
    std::vector<QSize> minimums;
    for (QMdiSubWindow *fenetre : EnfantsMdi()) {
        if (fenetre->isMinimized())
            continue;
        if (fenetre->isMaximized())
            fenetre->showNormal();
        fenetres.push_back(fenetre);
        minimums.push_back(TailleMinimale(fenetre));
    }
    const std::vector<QRect> cadres = Mosaique(ZoneVisible(), minimums);
    for (std::size_t i = 0; i < fenetres.size() && i < cadres.size(); ++i)
        fenetres[i]->setGeometry(cadres[i]);
}

void TFenPrinc::CascadeClick()
{
    mdi_->cascadeSubWindows();
    // The toolkit's cascade runs off the area's right and bottom edges when windows are many or
    // large: each is brought back inside.
    for (QMdiSubWindow *fenetre : EnfantsMdi())
        GardeDansZoneMdi(fenetre);
}

void TFenPrinc::ReorganiserClick()
{
    // The minimised windows are lined up along the bottom of the area, left to right.
    int x = 0;
    int rangee = 0;
    const int largeurZone = mdi_->viewport()->width();
    const int hauteurZone = mdi_->viewport()->height();
    for (QMdiSubWindow *fenetre : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (fenetre->isHidden() || !fenetre->isMinimized())
            continue;
        const QSize taille = fenetre->size();
        if (x > 0 && x + taille.width() > largeurZone) {
            x = 0;
            ++rangee;
        }
        fenetre->move(x, hauteurZone - (rangee + 1) * taille.height());
        x += taille.width();
    }
}

// ---------------------------------------------------------------------------------------------
// Sheets

int TFenPrinc::NbFeuilles() const
{
    return ongletsFeuilles_->count();
}

void TFenPrinc::NouvelleFeuille()
{
    ++compteurFeuilles_;
    feuilles_.emplace_back();
    // The selected sheet stays (the very first one becomes selected by being the only one).
    const QSignalBlocker bloque(ongletsFeuilles_);
    ongletsFeuilles_->addTab(T("Feuille ") + QString::number(compteurFeuilles_));
    if (feuilleCourante_ < 0)
        feuilleCourante_ = ongletsFeuilles_->currentIndex();
}

void TFenPrinc::OngletsFeuillesChange(int index)
{
    if (feuilleCourante_ >= 0 && feuilleCourante_ != index)
        QuitteFeuille(feuilleCourante_);
    feuilleCourante_ = index;
    if (index >= 0)
        EntreFeuille(index);
}

void TFenPrinc::QuitteFeuille(int index)
{
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return;
    std::vector<InfoFiche> &liste = feuilles_[static_cast<std::size_t>(index)];
    liste.clear();
    for (QMdiSubWindow *fenetre : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        const bool visible = !fenetre->isHidden();
        fenetre->hide();
        if (visible) {
            const QRect g = fenetre->geometry();
            liste.push_back({fenetre, g.top(), g.left(), g.width(), g.height()});
        }
    }
}

void TFenPrinc::EntreFeuille(int index)
{
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return;
    std::vector<InfoFiche> &liste = feuilles_[static_cast<std::size_t>(index)];
    // A window closed meanwhile has left its record empty: it is dropped, never shown.
    std::erase_if(liste, [](const InfoFiche &f) { return f.fenetre.isNull(); });
    for (const InfoFiche &fiche : liste)
        fiche.fenetre->show();
    MosaiqueClick();
}

void TFenPrinc::PurgeFeuilles()
{
    for (std::vector<InfoFiche> &liste : feuilles_)
        std::erase_if(liste, [](const InfoFiche &f) { return f.fenetre.isNull(); });
}

std::vector<QMdiSubWindow *> TFenPrinc::FenetresDeFeuille(int index) const
{
    std::vector<QMdiSubWindow *> fenetres;
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return fenetres;
    for (const InfoFiche &fiche : feuilles_[static_cast<std::size_t>(index)])
        if (fiche.fenetre)
            fenetres.push_back(fiche.fenetre);
    return fenetres;
}

void TFenPrinc::BtnVaVersFeuilleClick()
{
    QMenu menu(this);
    QAction *nouvelle = menu.addAction(T("Nouvelle feuille"));
    connect(nouvelle, &QAction::triggered, this, [this] { FeuilleMenuClick(-1); });
    for (int i = 0; i < ongletsFeuilles_->count(); ++i) {
        if (i == ongletsFeuilles_->currentIndex())
            continue;
        QAction *action = menu.addAction(ongletsFeuilles_->tabText(i));
        connect(action, &QAction::triggered, this, [this, i] { FeuilleMenuClick(i); });
    }
    QWidget *bouton = panel1_->widgetForAction(Action("BtnVaVersFeuille"));
    const QPoint point = bouton ? bouton->mapToGlobal(QPoint(bouton->width(), 0)) : QCursor::pos();
    menu.exec(point);
}

void TFenPrinc::FeuilleMenuClick(int index)
{
    QMdiSubWindow *actif = mdi_->currentSubWindow();
    if (!actif || actif->isHidden())
        return;
    // "Nouvelle feuille" makes the sheet first, then moves the window there.
    if (index < 0) {
        NouvelleFeuille();
        index = ongletsFeuilles_->count() - 1;
    }
    if (index >= static_cast<int>(feuilles_.size()) || index == ongletsFeuilles_->currentIndex())
        return;
    const QRect g = actif->geometry();
    feuilles_[static_cast<std::size_t>(index)].push_back({actif, g.top(), g.left(), g.width(), g.height()});
    actif->hide();
}

// ---------------------------------------------------------------------------------------------
// Events

void TFenPrinc::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    largeurLibre_ = width() - panneauFond_->width() - colonneFeuilles_->width();
    hauteurLibre_ = height() - (menuBar() ? menuBar()->height() : 0) - panel1_->height() -
                    statusBar()->height();
}

bool TFenPrinc::eventFilter(QObject *objet, QEvent *event)
{
    if (objet == ongletsFeuilles_ && event->type() == QEvent::MouseButtonPress) {
        auto *souris = static_cast<QMouseEvent *>(event);
        if (souris->button() == Qt::RightButton) {
            const int onglet = ongletsFeuilles_->tabAt(souris->position().toPoint());
            if (onglet >= 0)
                LesDialogues().message(this, QStringLiteral("Talmer3"), ongletsFeuilles_->tabText(onglet));
            return true;
        }
    }
    if (objet == treeViewRapport_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto *souris = static_cast<QMouseEvent *>(event);
        if (souris->button() == Qt::RightButton) {
            const QModelIndex index = treeViewRapport_->indexAt(souris->position().toPoint());
            if (index.isValid())
                NoteSurNoeud(modeleRapport_->itemFromIndex(index));
            return true;
        }
    }
    if (objet == treeViewRapport_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        SupprimeNoeudRapport(modeleRapport_->itemFromIndex(treeViewRapport_->currentIndex()));
        return true;
    }
    return QMainWindow::eventFilter(objet, event);
}

void TFenPrinc::closeEvent(QCloseEvent *event)
{
    // Work in progress finishes first.
    if (Occupation::EnCours()) {
        event->ignore();
        return;
    }
    if (rapport_ && !rapport_->EstSauve()) {
        switch (LesDialogues().message(this, QStringLiteral("Talmer3"),
                                       T("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"),
                                       BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune)) {
        case ReponseMessage::Oui: {
            QString erreur;
            if (GenereRapportParDefaut(&erreur))
                break;
            // The user is told what failed and chooses: quit without the report, or stay.
            if (LesDialogues().message(this, QStringLiteral("Talmer3"),
                                       T("Le rapport n'a pas pu être enregistré.") + QStringLiteral("\n") +
                                           erreur + QStringLiteral("\n\n") +
                                           T("Quitter sans enregistrer le rapport ?"),
                                       BoutonsMessage::OuiNon, IconeMessage::Exclamation) != ReponseMessage::Oui) {
                event->ignore();
                return;
            }
            rapport_->Abandonne();
            break;
        }
        case ReponseMessage::Non:
            rapport_->Abandonne();
            break;
        default:
            event->ignore();
            return;
        }
    }
    event->accept();
}

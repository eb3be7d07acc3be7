#include "shell/fenprinc.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "engine/segmenteur.h"
#include "engine/segrep.h"
#include "engine/trace.h"
#include "engine/verifcles.h"
#include "services/affichage.h"
#include "services/aide.h"
#include "services/configuration.h"
#include "services/contributeur.h"
#include "services/corpus_registry.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/parametres.h"
#include "services/rapport.h"
#include "services/textesource.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/disposition_mdi.h"
#include "shell/droptarget.h"
#include "shell/fenchoixdelimforme.h"
#include "shell/fenmemo.h"
#include "shell/fennavig.h"
#include "shell/fenopt.h"
#include "shell/occupation.h"
#include "shell/page_rapport.h"
#include "shell/panneaulateral.h"
#include "shell/splash.h"
#include "shell/zone_fenetres.h"

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
    ConstruitMenus();
    ConstruitBarreBoutons();

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
                                     QStyle::SP_DialogOpenButton, this, &TFenPrinc::BtnOuvrirClick);
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
                                      this, &TFenPrinc::BtnCreerCorpClick);
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
            this, &TFenPrinc::BtnCreerCorpClick);
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

    zone_ = new ZoneFenetres(central);

    disposition->addWidget(panneauFond_);
    disposition->addWidget(zone_, 1);
    setCentralWidget(central);
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
        etat_->AfficheStatut(QString());
        return;
    }
    OuvreBase(chemin);
}

void TFenPrinc::BtnCreerCorpClick()
{
    const QString chemin = choixTexte_ ? choixTexte_(this) : QString();
    if (chemin.isEmpty()) {
        etat_->AfficheStatut(QString());
        return;
    }
    SegmenteTexte(chemin);
}

bool TFenPrinc::OuvreBase(const QString &cheminPar)
{
    if (Occupation::EnCours())
        return false;
    if (!rapports_->AccepteRemplacement())
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
        etat_->AfficheStatut(T("Chargement des données"));
        code = nouvelle->ChargeBase(CheminFichier(chemin).constData());
        etat_->FixeProgression(0);
        etat_->FixePas(1);
        etat_->AfficheStatut(QString());
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
    etat_->FixeCheminBase(chemin);
    ActualiseCommandes();

    fenNavig_->TreePages()->hide();
    fenNavig_->AjouteBrancheBase(chemin);
    zone_->NouvelleFeuille();
    RafraichitEcran();

    etat_->AfficheStatut(T("Affichage du dictionnaire"));
    if (fabriques_.dictionnaire)
        fabriques_.dictionnaire(*this, *base_);
    etat_->AfficheStatut(QString());
    fenNavig_->TreePages()->show();

    rapports_->Nouveau(base_.get());

    etat_->AfficheStatut(T("Affichage du texte"));
    if (fabriques_.liseuse)
        fabriques_.liseuse(*this, *base_);
    etat_->AfficheStatut(T("Prêt"));
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
        etat_->AfficheStatut(QString());
        return false;
    }
    talmer::ResultatConversion resultat;
    {
        Occupation occupation;
        etat_->AfficheStatut(T("Conversion du texte"));
        resultat = talmer::ConvertitTexteUtf8(chemin, codePage);
        etat_->AfficheStatut(QString());
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
    etat_->AfficheStatut(QString());
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
        etat_->AfficheStatut(QString());
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
    if (!rapports_->AccepteRemplacement())
        return false;

    std::int32_t fautes;
    {
        Occupation occupation;
        etat_->AfficheStatut(T("Vérification des clés"));
        fautes = VerifCles(CheminFichier(chemin).constData());
    }
    if (fautes < 0) {
        etat_->AfficheStatut(QString());
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               T("Le texte « %1 » ne peut pas être lu.").arg(chemin) +
                                   QStringLiteral("\n") + ConsultezTrace(),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    if (fautes > 0) {
        etat_->AfficheStatut(QString());
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
        etat_->AfficheStatut(QString());
        return false;
    }
    if (RefuseTexteSansForme(chemin, dialogue.Delimiteurs()))
        return false;

    ResultatSegm resultat;
    {
        Occupation occupation;
        etat_->AfficheStatut(T("Segmentation du texte"));
        ParametresSegm parametres;
        parametres.delimiteurs = dialogue.Delimiteurs();
        parametres.maxArt = MaxArt();
        parametres.progression = PasProgression;
        resultat = SegmPrinc(CheminFichier(chemin).constData(), parametres);
        etat_->FixeProgression(0);
        etat_->AfficheStatut(QString());
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

void TFenPrinc::FermeBase()
{
    if (!base_)
        return;
    charg1 *ancienne = base_.get();
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
    base_->AssigneSR(nullptr);
    segmentsBase_.clear();
    base_.reset();
    partitionCreee_ = false;
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
    etat_->FixePas(2);
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
    const bool replie = panneauFond_->width() > LargeurPanneauReduit;
    panneauFond_->setFixedWidth(replie ? LargeurPanneauReduit : largeurPanneau_);
    listesGauche_->setVisible(!replie);
}

// ---------------------------------------------------------------------------------------------
// Child windows

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

// ---------------------------------------------------------------------------------------------
// Sheets

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
    largeurLibre_ = width() - panneauFond_->width() - zone_->LargeurOnglets();
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


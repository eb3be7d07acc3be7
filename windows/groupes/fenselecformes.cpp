#include "windows/groupes/fenselecformes.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "shell/affichage.h"
#include "shell/configuration.h"
#include "shell/dialogues.h"
#include "shell/dragobjects.h"
#include "shell/droptarget.h"
#include "shell/mesures.h"
#include "shell/occupation.h"
#include "shell/translation.h"
#include "windows/groupes/modeleresultat.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace talmer {

namespace {

// The result list: a drag of selected rows carries them as a group of forms.
class VueResultat : public QTableView {
public:
    explicit VueResultat(std::function<void()> demarre, QWidget *parent)
        : QTableView(parent), demarre_(std::move(demarre))
    {
    }

protected:
    void startDrag(Qt::DropActions) override { demarre_(); }

private:
    std::function<void()> demarre_;
};

QColor versQColor(std::int32_t c)
{
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t depuisQColor(const QColor &c)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8)
                                     | (static_cast<std::uint32_t>(c.blue()) << 16));
}

// "1 élément", "3 éléments".
QString nombre(std::int32_t n, const char *singulier, const char *pluriel)
{
    return Traduit(n > 1 ? pluriel : singulier).arg(n);
}

} // namespace

TFenSelecFormes::TFenSelecFormes(charg1 *base, QWidget *parent)
    : QWidget(parent), resultat_(base), couleurPastille_(TTgenDragObject::SansCouleur)
{
    setObjectName(QStringLiteral("FenSelecFormes"));
    setWindowTitle(QStringLiteral("Groupes de formes"));

    GrpBoxOptions = new QGroupBox(this);
    GrpBoxOptions->setObjectName(QStringLiteral("GrpBoxOptions"));
    auto *grille = new QGridLayout(GrpBoxOptions);

    auto *lblNom = new QLabel(QStringLiteral("Nom du groupe :"), GrpBoxOptions);
    EdNomGrp = new QLineEdit(GrpBoxOptions);
    EdNomGrp->setObjectName(QStringLiteral("EdNomGrp"));
    lblNom->setBuddy(EdNomGrp);
    DragBtn = new QToolButton(GrpBoxOptions);
    DragBtn->setObjectName(QStringLiteral("DragBtn"));
    DragBtn->setText(QStringLiteral("\u2630"));
    DragBtn->setToolTip(QStringLiteral("Glisser le groupe"));
    ShPastille = new QLabel(GrpBoxOptions);
    ShPastille->setObjectName(QStringLiteral("ShPastille"));
    ShPastille->setFixedSize(22, 22);
    ShPastille->setFrameShape(QFrame::Box);
    ShPastille->setAutoFillBackground(true);
    ShPastille->setToolTip(QStringLiteral("Couleur du groupe"));

    auto *lblMotif = new QLabel(QStringLiteral("Le motif :"), GrpBoxOptions);
    EdMotif = new QLineEdit(GrpBoxOptions);
    EdMotif->setObjectName(QStringLiteral("EdMotif"));
    lblMotif->setBuddy(EdMotif);
    LstTypeReq = new QComboBox(GrpBoxOptions);
    LstTypeReq->setObjectName(QStringLiteral("LstTypeReq"));
    LstTypeReq->addItems({QStringLiteral("est exactement ce que je recherche"),
                          QStringLiteral("est le début de ce que je recherche"),
                          QStringLiteral("est la fin de ce que je recherche"),
                          QStringLiteral("est contenu dans ce que je recherche"),
                          QStringLiteral("est une expression rationnelle")});
    ChkAjout = new QCheckBox(QStringLiteral("Ajouter"), GrpBoxOptions);
    ChkAjout->setObjectName(QStringLiteral("ChkAjout"));
    ChkAjout->setChecked(true);

    BtnRech = new QPushButton(QStringLiteral("&Rechercher"), GrpBoxOptions);
    BtnRech->setObjectName(QStringLiteral("BtnRech"));
    BtnSuppr = new QPushButton(QStringLiteral("&Supprimer"), GrpBoxOptions);
    BtnSuppr->setObjectName(QStringLiteral("BtnSuppr"));
    BtnEnr = new QPushButton(QStringLiteral("&Enregistrer"), GrpBoxOptions);
    BtnEnr->setObjectName(QStringLiteral("BtnEnr"));
    BtnLoad = new QPushButton(QStringLiteral("&Charger"), GrpBoxOptions);
    BtnLoad->setObjectName(QStringLiteral("BtnLoad"));

    grille->addWidget(lblNom, 0, 0);
    grille->addWidget(EdNomGrp, 0, 1);
    auto *ligneNom = new QHBoxLayout;
    ligneNom->addWidget(DragBtn);
    ligneNom->addWidget(ShPastille);
    ligneNom->addStretch();
    grille->addLayout(ligneNom, 0, 2);
    grille->addWidget(lblMotif, 1, 0);
    grille->addWidget(EdMotif, 1, 1);
    grille->addWidget(ChkAjout, 1, 2);
    grille->addWidget(LstTypeReq, 2, 1);
    auto *boutons = new QHBoxLayout;
    for (QPushButton *b : {BtnRech, BtnSuppr, BtnEnr, BtnLoad})
        boutons->addWidget(b);
    grille->addLayout(boutons, 3, 0, 1, 3);

    modele_ = new ModeleResultat(resultat_, this);
    ListResu = new VueResultat([this] { DemarreGlisserListe(); }, this);
    ListResu->setObjectName(QStringLiteral("ListResu"));
    ListResu->setModel(modele_);
    ListResu->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListResu->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListResu->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListResu->setShowGrid(true);
    ListResu->setDragEnabled(true);
    ListResu->setDragDropMode(QAbstractItemView::DragOnly);
    ListResu->verticalHeader()->hide();
    ListResu->horizontalHeader()->setStretchLastSection(false);
    DimensionneGrille(ListResu, {175, 65});

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(GrpBoxOptions);
    disposition->addWidget(ListResu, 1);
    disposition->addWidget(StatusBar);

    TraduitComposants(this);
    ApplyCharsetToListView(ListResu, -1);
    ApplyCharsetToEdit(EdMotif);
    ApplyCharsetToEdit(EdNomGrp);
    FixeCouleurPastille(couleurPastille_);
    LstTypeReq->setCurrentIndex(0);
    // The pattern is what the user types first.
    setFocusProxy(EdMotif);

    // Text dragged from other programs is taken (and ignored) by the list; groups of forms are
    // taken by the list and the two fields, nothing else.
    cibleDepot_ = std::make_unique<TDropTarget>(this, ListResu->viewport());
    for (QWidget *w : {static_cast<QWidget *>(ListResu->viewport()), static_cast<QWidget *>(EdNomGrp),
                       static_cast<QWidget *>(EdMotif)}) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
    ListResu->installEventFilter(this);
    DragBtn->installEventFilter(this);
    ShPastille->installEventFilter(this);

    connect(BtnRech, &QPushButton::clicked, this, &TFenSelecFormes::Recherche);
    connect(EdMotif, &QLineEdit::returnPressed, this, &TFenSelecFormes::Recherche);
    connect(LstTypeReq, &QComboBox::currentIndexChanged, this, [this](int) { Recherche(); });
    connect(BtnSuppr, &QPushButton::clicked, this, &TFenSelecFormes::BtnSupprClick);
    connect(BtnEnr, &QPushButton::clicked, this, &TFenSelecFormes::BtnEnrClick);
    connect(BtnLoad, &QPushButton::clicked, this, &TFenSelecFormes::BtnLoadClick);
}

TFenSelecFormes::~TFenSelecFormes()
{
    // The targets go before the widgets they filter.
    cibleDepot_.reset();
}

QString TFenSelecFormes::TexteStatut() const
{
    return StatusBar->currentMessage();
}

void TFenSelecFormes::Signale(const QString &message)
{
    if (message.isEmpty())
        StatusBar->clearMessage();
    else
        StatusBar->showMessage(message);
}

void TFenSelecFormes::Actualise()
{
    modele_->Actualise();
}

std::string TFenSelecFormes::NomDuGroupe() const
{
    return EnCodePage(EdNomGrp->text().trimmed());
}

void TFenSelecFormes::Recherche()
{
    const QString texte = EdMotif->text().trimmed();
    if (texte.isEmpty())
        return;
    bool complet = true;
    const std::string motif = EnCodePage(texte, &complet);
    if (!complet) {
        // A character the code page lacks can be in no spelling; searching for the '?' that
        // stands for it would find something else.
        Signale(Traduit("Le motif contient un caractère que le jeu de caractères d'affichage ne connaît pas."));
        return;
    }
    Occupation occupation;
    if (EdNomGrp->text().trimmed().isEmpty())
        EdNomGrp->setText(texte + QLatin1Char('+'));
    // Without "Ajouter" the search replaces the result, but only once its pattern has compiled.
    const auto type = static_cast<TypeRequete>(std::clamp(LstTypeReq->currentIndex(), 0, 4));
    const BilanRecherche bilan =
        resultat_.Recherche(motif, type, JeuDAffichage().GetCodePage(), ChkAjout->isChecked());
    Actualise();
    if (!bilan.motifValide) {
        Signale(Traduit("Expression rationnelle incorrecte : %1 (position %2).")
                    .arg(QString::fromStdString(bilan.erreurMotif))
                    .arg(bilan.positionErreur));
    } else if (bilan.echecs > 0) {
        Signale(nombre(bilan.echecs, "%1 texte n'a pas pu être examiné et n'est pas retenu : %2.",
                       "%1 textes n'ont pas pu être examinés et ne sont pas retenus : %2.")
                    .arg(QString::fromStdString(bilan.messageEchec)));
    } else {
        Signale(QString());
    }
}

void TFenSelecFormes::SupprimeSelection()
{
    const QModelIndexList lignes = ListResu->selectionModel()->selectedRows();
    if (lignes.isEmpty())
        return;
    Occupation occupation;
    std::vector<int> numeros;
    numeros.reserve(static_cast<std::size_t>(lignes.size()));
    for (const QModelIndex &i : lignes)
        numeros.push_back(i.row());
    resultat_.SupprimeLignes(numeros);
    Actualise();
}

void TFenSelecFormes::VideResultat()
{
    resultat_.Vide();
    Actualise();
}

void TFenSelecFormes::BtnSupprClick()
{
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier)
        VideResultat();
    else
        SupprimeSelection();
}

void TFenSelecFormes::BtnEnrClick()
{
    const QString chemin = ChoisitFichierEnregistrement();
    if (chemin.isEmpty())
        return;
    const BilanSauvegarde bilan = resultat_.SauveListe(chemin);
    if (!bilan.ecrit)
        Signale(bilan.erreur);
    else if (bilan.segmentsOmis > 0)
        Signale(nombre(bilan.segmentsOmis,
                       "Liste enregistrée sans %1 segment répété : il n'est plus calculé sur la base.",
                       "Liste enregistrée sans %1 segments répétés : ils ne sont plus calculés sur la base."));
    else
        Signale(Traduit("Liste enregistrée."));
}

void TFenSelecFormes::BtnLoadClick()
{
    const QString chemin = ChoisitFichierChargement();
    if (chemin.isEmpty())
        return;
    BilanChargement bilan;
    {
        Occupation occupation;
        bilan = resultat_.ChargeListe(chemin);
        Actualise();
    }
    if (!bilan.lu)
        Signale(bilan.erreur);
    else if (bilan.inconnues > 0)
        Signale(nombre(bilan.inconnues, "%1 ligne de la liste ne désigne rien dans la base.",
                       "%1 lignes de la liste ne désignent rien dans la base."));
    else
        Signale(QString());
}

void TFenSelecFormes::DeposeForme(std::string_view graphie)
{
    if (!resultat_.Base())
        return;
    const std::int32_t n = EntiteDeGraphie(*resultat_.Base(), graphie);
    if (n < 0)
        return;
    resultat_.AjouteResultat(n);
    Actualise();
}

void TFenSelecFormes::SegmentsRemplaces(const SegRep *anciens, const SegRep &nouveaux)
{
    const BilanRenumerotation bilan = resultat_.RemplaceSegments(
        anciens ? CorrespondanceSegments(anciens->Segments(), nouveaux.Segments()) : std::vector<std::int32_t>());
    if (bilan.renumerotes == 0 && bilan.retires == 0)
        return;
    Actualise();
    Signale(Traduit("Segments répétés recalculés : dans la liste, %1 segment(s) renuméroté(s), %2 segment(s) "
                    "retiré(s) car absent(s) du nouveau calcul.")
                .arg(bilan.renumerotes)
                .arg(bilan.retires));
}

std::unique_ptr<TTgenDragObject> TFenSelecFormes::GroupeDeLaSelection() const
{
    QModelIndexList lignes = ListResu->selectionModel()->selectedRows();
    if (lignes.isEmpty())
        return nullptr;
    std::sort(lignes.begin(), lignes.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    auto objet = std::make_unique<TTgenDragObject>(ListResu, resultat_.Base(), NomDuGroupe(), 0,
                                                   static_cast<std::int32_t>(lignes.size()));
    for (int i = 0; i < lignes.size(); ++i)
        objet->Entites()[static_cast<std::size_t>(i)] = resultat_.Entites()[static_cast<std::size_t>(lignes[i].row())];
    return objet;
}

std::unique_ptr<TTgenDragObject> TFenSelecFormes::GroupeComplet() const
{
    if (resultat_.Taille() == 0)
        return nullptr;
    auto objet = std::make_unique<TTgenDragObject>(DragBtn, resultat_.Base(), NomDuGroupe(), couleurPastille_,
                                                   resultat_.Taille());
    objet->Entites() = resultat_.Entites();
    return objet;
}

void TFenSelecFormes::DemarreGlisserListe()
{
    if (auto objet = GroupeDeLaSelection())
        LanceGlisser(ListResu, std::move(objet));
}

void TFenSelecFormes::FixeCouleurPastille(std::int32_t couleur)
{
    couleurPastille_ = couleur;
    QPalette p = ShPastille->palette();
    p.setColor(QPalette::Window, versQColor(couleur));
    ShPastille->setPalette(p);
}

QString TFenSelecFormes::ChoisitFichierEnregistrement()
{
    QFileDialog dialogue(this);
    dialogue.setObjectName(QStringLiteral("SaveDlgLst"));
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setNameFilter(Traduit("Listes") + QStringLiteral(" (*.lst)"));
    dialogue.setDefaultSuffix(QStringLiteral("lst"));
    if (LesDialogues().execute(dialogue) != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return QString();
    return dialogue.selectedFiles().constFirst();
}

QString TFenSelecFormes::ChoisitFichierChargement()
{
    QFileDialog dialogue(this, Traduit("Ouverture d'une liste"));
    dialogue.setObjectName(QStringLiteral("OpenDlgLst"));
    dialogue.setAcceptMode(QFileDialog::AcceptOpen);
    dialogue.setFileMode(QFileDialog::ExistingFile);
    dialogue.setNameFilter(Traduit("Listes") + QStringLiteral(" (*.lst)"));
    dialogue.setDefaultSuffix(QStringLiteral("lst"));
    if (LesDialogues().execute(dialogue) != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return QString();
    return dialogue.selectedFiles().constFirst();
}

std::optional<QColor> TFenSelecFormes::ChoisitCouleur(const QColor &initiale)
{
    QColorDialog dialogue(initiale, this);
    dialogue.setObjectName(QStringLiteral("ColorDlg"));
    if (LesDialogues().execute(dialogue) != QDialog::Accepted || !dialogue.currentColor().isValid())
        return std::nullopt;
    return dialogue.currentColor();
}

bool TFenSelecFormes::TraiteGlisser(QObject *objet, QEvent *event)
{
    auto *e = static_cast<QDropEvent *>(event);
    const bool surListe = objet == ListResu->viewport();
    // The list takes no group from itself: it would add nothing and blacken the chip.
    TTgenDragObject *groupe = GroupeAcceptable(e->mimeData(), resultat_.Base(), surListe ? ListResu : nullptr);
    if (!groupe) {
        if (surListe)
            return false; // text from another program goes to the drop target
        e->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        e->acceptProposedAction();
        return true;
    }
    e->acceptProposedAction();
    if (surListe) {
        Occupation occupation;
        resultat_.AjouteResultats(groupe->Entites());
        FixeCouleurPastille(groupe->Couleur());
        Actualise();
    } else {
        static_cast<QLineEdit *>(objet)->setText(EnUnicode(TexteDuGroupe(*resultat_.Base(), groupe->Entites())));
    }
    return true;
}

bool TFenSelecFormes::eventFilter(QObject *objet, QEvent *event)
{
    const QEvent::Type t = event->type();
    if ((t == QEvent::DragEnter || t == QEvent::DragMove || t == QEvent::Drop)
        && (objet == ListResu->viewport() || objet == EdNomGrp || objet == EdMotif))
        return TraiteGlisser(objet, event);

    if (objet == ListResu && t == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        SupprimeSelection();
        return true;
    }

    // The button also receives polish, paint, hover and key events: only its mouse events start a
    // drag, and only they are read as mouse events.
    const bool souris = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseMove;
    if (objet == DragBtn && souris) {
        auto *m = static_cast<QMouseEvent *>(event);
        if (t == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) {
            glisserArme_ = true;
            departGlisser_ = m->position().toPoint();
        } else if (t == QEvent::MouseButtonRelease) {
            glisserArme_ = false;
        } else if (t == QEvent::MouseMove && glisserArme_ && (m->buttons() & Qt::LeftButton)
                   && (m->position().toPoint() - departGlisser_).manhattanLength() >= QApplication::startDragDistance()) {
            glisserArme_ = false;
            if (auto groupe = GroupeComplet())
                LanceGlisser(DragBtn, std::move(groupe));
            DragBtn->setDown(false);
            return true;
        }
        return false;
    }

    if (objet == ShPastille) {
        if (t == QEvent::MouseButtonPress) {
            pastilleArmee_ = true;
            return true;
        }
        if (t == QEvent::MouseButtonRelease) {
            const bool armee = pastilleArmee_;
            pastilleArmee_ = false;
            if (armee)
                if (const std::optional<QColor> c = ChoisitCouleur(versQColor(couleurPastille_)))
                    FixeCouleurPastille(depuisQColor(*c));
            return true;
        }
    }
    return QWidget::eventFilter(objet, event);
}

} // namespace talmer

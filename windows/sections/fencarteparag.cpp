#include "windows/sections/fencarteparag.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "engine/tgen.h"
#include "platform/qt/ecriture_sure.h"
#include "services/affichage.h"
#include "services/corpus_registry.h"
#include "services/dialogues.h"
#include "services/jeu_affichage.h"
#include "services/parametres.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/barre_etat.h"
#include "shell/dragobjects.h"
#include "shell/droptarget.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "windows/commun/choixcouleur.h"
#include "windows/commun/vuehtml.h"
#include "windows/sections/coloration.h"
#include "windows/sections/dialogues_carte.h"
#include "windows/sections/pages_sections.h"
#include "windows/sections/selection_fichier.h"
#include "windows/sections/specifs_sections.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace talmer {

namespace {

// The largest picture height a JPEG file can hold, as the report's encoder is set up.
constexpr int HauteurJpegMax = 65500;

// What makes a map shorter, for the map too tall for its picture: smaller boxes (while they can
// be), no partition (its headings take rows of their own), fewer sections.
const char *ConseilCarteTropHaute(bool boitesReductibles, bool avecPartition)
{
    if (boitesReductibles && avecPartition)
        return "Réduisez la taille des boîtes, retirez la partition ou choisissez moins de délimiteurs.";
    if (boitesReductibles)
        return "Réduisez la taille des boîtes ou choisissez moins de délimiteurs.";
    if (avecPartition)
        return "Retirez la partition ou choisissez moins de délimiteurs.";
    return "Choisissez moins de délimiteurs.";
}

QToolButton *Bouton(QWidget *parent, const QString &texte, const QString &bulle)
{
    auto *b = new QToolButton(parent);
    b->setText(texte);
    b->setToolTip(bulle);
    b->setAutoRaise(false);
    return b;
}

void ColorePastille(QFrame *f, const QColor &couleur)
{
    QPalette p = f->palette();
    p.setColor(QPalette::Window, couleur);
    f->setPalette(p);
}

QColor CouleurDeRepos()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

// ------------------------------------------------------------------------------------------------

SurfaceCarte::SurfaceCarte(TFenCarteParag *carte) : QWidget(carte), carte_(carte)
{
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void SurfaceCarte::paintEvent(QPaintEvent *event)
{
    QPainter peintre(this);
    DessineCarte(peintre, carte_->Disposition(), carte_->Donnees(), carte_->Etiquettes(), event->rect());
}

void SurfaceCarte::mousePressEvent(QMouseEvent *event)
{
    carte_->Presse(event->position().toPoint(), event->modifiers());
}

void SurfaceCarte::dragEnterEvent(QDragEnterEvent *event)
{
    if (carte_->AccepteDepot(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SurfaceCarte::dragMoveEvent(QDragMoveEvent *event)
{
    if (carte_->AccepteDepot(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SurfaceCarte::dropEvent(QDropEvent *event)
{
    if (!carte_->AccepteDepot(event->mimeData())) {
        event->ignore();
        return;
    }
    carte_->Depose(event->mimeData(), event->modifiers());
    event->acceptProposedAction();
}

void ComboParties::showPopup()
{
    if (avantOuverture)
        avantOuverture();
    QComboBox::showPopup();
}

OuvreSpecifsSections &FabriqueSpecifsSections()
{
    static OuvreSpecifsSections fabrique;
    return fabrique;
}

// ------------------------------------------------------------------------------------------------

TFenCarteParag::TFenCarteParag(TFenPrinc *fenPrinc, Section &section, charg1 &base, QWidget *parent)
    : QWidget(parent), fenPrinc_(fenPrinc), section_(section), base_(base), page_(QStringLiteral("t3sec"))
{
    setWindowTitle(Traduit("Visualisation des sections"));
    donnees_.Dimensionne(section_.NbSections());
    ConstruitInterface();
    ChargeParts();
    comboGrp_->setCurrentIndex(0);
    AjusteTaille();
    ActualiseBoutons();
    resize(788, 390);
    cibleDepot_ = std::make_unique<TDropTarget>(this, this);
}

TFenCarteParag::~TFenCarteParag()
{
    cibleDepot_.reset();
}

std::int32_t TFenCarteParag::NbSections() const
{
    return section_.NbSections();
}

void TFenCarteParag::ConstruitInterface()
{
    auto *colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(0);

    auto *panneauHaut = new QWidget(this);
    panneauHaut->setFixedHeight(40);
    auto *haut = new QHBoxLayout(panneauHaut);
    haut->setContentsMargins(4, 2, 4, 2);
    trackBar1_ = new QSlider(Qt::Horizontal, panneauHaut);
    trackBar1_->setRange(TailleBoiteMin, TailleBoiteMax);
    trackBar1_->setValue(TailleBoiteInitiale);
    trackBar1_->setMaximumWidth(120);
    lbTailleBoite_ = new QLabel(QString::number(TailleBoiteInitiale), panneauHaut);
    QFont gras = lbTailleBoite_->font();
    gras.setBold(true);
    lbTailleBoite_->setFont(gras);
    lbTailleBoite_->setMinimumWidth(20);
    comboGrp_ = new ComboParties(panneauHaut);
    comboGrp_->avantOuverture = [this] { ChargeParts(); };
    btnCol_ = Bouton(panneauHaut, QStringLiteral("..."), Traduit("Réglages"));
    chkSeuil_ = new QCheckBox(Traduit("seuillage"), panneauHaut);
    shTgen1_ = new QFrame(panneauHaut);
    shTgenSup_ = new QFrame(panneauHaut);
    for (QFrame *f : {shTgen1_, shTgenSup_}) {
        f->setFrameShape(QFrame::Box);
        f->setFixedSize(16, 16);
        f->setAutoFillBackground(true);
        ColorePastille(f, CouleurDeRepos());
    }
    lbTgen1_ = new QLabel(panneauHaut);
    lbTgenSup_ = new QLabel(panneauHaut);
    spfButton_ = Bouton(panneauHaut, Traduit("Spécifs"), Traduit("Spécifs"));
    btnSpfSectTgen_ = Bouton(panneauHaut, QStringLiteral("S+"), Traduit("Spécifs des sections des groupes"));
    btnChargeSelection_ = Bouton(panneauHaut, QStringLiteral("<<"), Traduit("Charger une sélection de section"));
    btnSauveSelection_ = Bouton(panneauHaut, QStringLiteral(">>"), Traduit("Sauver les sections sélectionnées"));
    haut->addWidget(trackBar1_);
    haut->addWidget(lbTailleBoite_);
    haut->addWidget(new QLabel(Traduit("Partition :"), panneauHaut));
    haut->addWidget(comboGrp_);
    haut->addWidget(btnCol_);
    haut->addWidget(chkSeuil_);
    haut->addWidget(shTgen1_);
    haut->addWidget(lbTgen1_);
    haut->addWidget(shTgenSup_);
    haut->addWidget(lbTgenSup_);
    haut->addStretch(1);
    haut->addWidget(spfButton_);
    haut->addWidget(btnSpfSectTgen_);
    haut->addWidget(btnChargeSelection_);
    haut->addWidget(btnSauveSelection_);
    colonne->addWidget(panneauHaut);

    auto *separateur = new QSplitter(Qt::Vertical, this);
    defilement_ = new QScrollArea(separateur);
    defilement_->setBackgroundRole(QPalette::Base);
    surface_ = new SurfaceCarte(this);
    defilement_->setWidget(surface_);
    separateur->addWidget(defilement_);

    auto *panTexte = new QWidget(separateur);
    auto *bas = new QHBoxLayout(panTexte);
    bas->setContentsMargins(0, 0, 0, 0);
    auto *panNav = new QWidget(panTexte);
    auto *nav = new QVBoxLayout(panNav);
    auto *groupeSection = new QGroupBox(Traduit("Section : "), panNav);
    auto *ligneSection = new QHBoxLayout(groupeSection);
    btnSecPrec_ = Bouton(groupeSection, QStringLiteral("<"), Traduit("Section précédente"));
    btnSecSuiv_ = Bouton(groupeSection, QStringLiteral(">"), Traduit("Section suivante"));
    ligneSection->addWidget(btnSecPrec_);
    ligneSection->addWidget(btnSecSuiv_);
    auto *groupeOcc = new QGroupBox(Traduit("Occurrence :"), panNav);
    auto *ligneOcc = new QHBoxLayout(groupeOcc);
    btnOccPrec_ = Bouton(groupeOcc, QStringLiteral("<"), Traduit("Occurrence précédente"));
    btnOccSuiv_ = Bouton(groupeOcc, QStringLiteral(">"), Traduit("Occurrence suivante"));
    ligneOcc->addWidget(btnOccPrec_);
    ligneOcc->addWidget(btnOccSuiv_);
    btnAjouteRap_ = Bouton(panNav, Traduit("&Rapport"), Traduit("Ajouter au rapport"));
    btnEffacer_ = Bouton(panNav, Traduit("Effacer"), Traduit("Réinitialiser"));
    nav->addWidget(groupeSection);
    nav->addWidget(groupeOcc);
    nav->addWidget(btnAjouteRap_);
    nav->addWidget(btnEffacer_);
    nav->addStretch(1);
    texte_ = new VueHtml(panTexte);
    bas->addWidget(panNav);
    bas->addWidget(texte_, 1);
    separateur->addWidget(panTexte);
    separateur->setStretchFactor(0, 1);
    separateur->setSizes({243, 147});
    colonne->addWidget(separateur, 1);

    connect(trackBar1_, &QSlider::valueChanged, this, &TFenCarteParag::FixeTaille);
    connect(comboGrp_, &QComboBox::activated, this, &TFenCarteParag::ComboGrpChange);
    connect(chkSeuil_, &QCheckBox::toggled, this, &TFenCarteParag::FixeSeuillage);
    connect(btnCol_, &QToolButton::clicked, this, &TFenCarteParag::BtnColClick);
    connect(spfButton_, &QToolButton::clicked, this, &TFenCarteParag::SpfButtonClick);
    connect(btnSpfSectTgen_, &QToolButton::clicked, this, &TFenCarteParag::BtnSpfSectTgenClick);
    connect(btnChargeSelection_, &QToolButton::clicked, this, &TFenCarteParag::BtnChargeSelectionClick);
    connect(btnSauveSelection_, &QToolButton::clicked, this, &TFenCarteParag::BtnSauveSelectionClick);
    connect(btnSecPrec_, &QToolButton::clicked, this, &TFenCarteParag::BtnSecPrecClick);
    connect(btnSecSuiv_, &QToolButton::clicked, this, &TFenCarteParag::BtnSecSuivClick);
    connect(btnOccPrec_, &QToolButton::clicked, this, &TFenCarteParag::BtnOccPrecClick);
    connect(btnOccSuiv_, &QToolButton::clicked, this, &TFenCarteParag::BtnOccSuivClick);
    connect(btnAjouteRap_, &QToolButton::clicked, this, &TFenCarteParag::BtnAjouteRapClick);
    connect(btnEffacer_, &QToolButton::clicked, this, &TFenCarteParag::BtnEffacerClick);
    TraduitComposants(this);
}

void TFenCarteParag::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (auto *sous = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sous->showMinimized();
    else
        showMinimized();
}

// --- Layout ---------------------------------------------------------------------------------------

void TFenCarteParag::AjusteTaille()
{
    disposition_ = Dispose(NbSections(), taille_, partition_ ? &indexZones_ : nullptr);
    surface_->resize(disposition_.largeur, disposition_.hauteur);
    surface_->update();
}

void TFenCarteParag::FixeTaille(int taille)
{
    taille_ = std::clamp(taille, TailleBoiteMin, TailleBoiteMax);
    if (trackBar1_->value() != taille_)
        trackBar1_->setValue(taille_);
    lbTailleBoite_->setText(QString::number(taille_));
    AjusteTaille();
}

void TFenCarteParag::FixeSeuillage(bool actif)
{
    donnees_.seuillage = actif;
    if (chkSeuil_->isChecked() != actif)
        chkSeuil_->setChecked(actif);
    surface_->update();
}

void TFenCarteParag::ChargeParts()
{
    const QSignalBlocker bloque(comboGrp_);
    const int courant = comboGrp_->currentIndex();
    comboGrp_->clear();
    comboGrp_->addItem(Traduit("<Aucune>"));
    if (fenPrinc_) {
        const Corpus &registre = fenPrinc_->Registre();
        for (int k = 0; k < registre.NbPartitions(); ++k) {
            const InfoPartition *e = registre.EntreePartition(k);
            if (e && e->partition)
                comboGrp_->addItem(EnUnicode(e->partition->NomPartition()));
        }
    }
    comboGrp_->setCurrentIndex(std::clamp(courant, 0, comboGrp_->count() - 1));
}

void TFenCarteParag::ComboGrpChange(int index)
{
    Partition *p = nullptr;
    if (index >= 1 && fenPrinc_)
        if (const InfoPartition *e = fenPrinc_->Registre().EntreePartition(index - 1))
            p = e->partition;
    ChoisitPartition(p);
}

void TFenCarteParag::ChoisitPartition(Partition *partition)
{
    // A partition of another base has no zones in this text.
    if (partition && partition->Base() != &base_)
        partition = nullptr;
    partition_ = partition;
    indexZones_.clear();
    etiquettes_ = {};
    if (partition_) {
        // The map's own indexes: the partition is shared with other windows and maps.
        indexZones_ = IndexZonesCarte(partition_->Zones(), section_.Debuts(), NbSections());
        etiquettes_.cle = EnUnicode(partition_->NomPartition());
        for (std::int32_t z = 0; z < partition_->NbZones(); ++z)
            etiquettes_.parties.push_back(EnUnicode(partition_->NomPartie(partition_->ZoneNo(z).Partie)));
    }
    AjusteTaille();
}

// --- Groups ---------------------------------------------------------------------------------------

void TFenCarteParag::AppliqueTgen(std::unique_ptr<Tgen> groupe)
{
    groupe_ = std::move(groupe);
    touchees_.clear();
    if (!groupe_) {
        std::fill(donnees_.touche.begin(), donnees_.touche.end(), 0);
        std::fill(donnees_.specif.begin(), donnees_.specif.end(), 0);
        donnees_.groupe = false;
        ActualiseBoutons();
        surface_->update();
        return;
    }
    {
        Occupation occupation;
        ColorationSections c = ColoreSections(section_, *groupe_, base_.Nbocc());
        donnees_.touche = std::move(c.touche);
        donnees_.specif = std::move(c.specif);
    }
    for (std::int32_t s = 0; s < NbSections(); ++s)
        if (donnees_.touche[static_cast<std::size_t>(s)])
            touchees_.push_back(s);
    donnees_.groupe = true;
    donnees_.couleurGroupe = groupe_->Couleur();
    donnees_.teintes = TeintesDe(groupe_->Couleur());
    surface_->update();
    ActualiseBoutons();
    const QString nom = EnUnicode(groupe_->Nom());
    lbTgen1_->setText(nom);
    lbTgen1_->setToolTip(nom);
    ColorePastille(shTgen1_, CouleurDeValeur(groupe_->Couleur()));
    AfficheSection(donnees_.courante);
}

void TFenCarteParag::AppliqueTgenSup(std::unique_ptr<Tgen> groupe)
{
    groupeSup_ = std::move(groupe);
    if (groupeSup_) {
        donnees_.toucheSup = MarqueSections(section_, *groupeSup_);
        donnees_.groupeSup = true;
        donnees_.couleurSup = groupeSup_->Couleur();
        const QString nom = EnUnicode(groupeSup_->Nom());
        lbTgenSup_->setText(nom);
        lbTgenSup_->setToolTip(nom);
        ColorePastille(shTgenSup_, CouleurDeValeur(groupeSup_->Couleur()));
    } else {
        std::fill(donnees_.toucheSup.begin(), donnees_.toucheSup.end(), 0);
        donnees_.groupeSup = false;
    }
    surface_->update();
}

void TFenCarteParag::DeposeForme(std::string_view graphie)
{
    const std::int32_t entite = EntiteDeGraphie(base_, graphie);
    if (entite < 0)
        return;
    AppliqueTgen(std::make_unique<Tgen>(&base_, &entite, 1, nullptr));
}

bool TFenCarteParag::AccepteDepot(const QMimeData *donnees) const
{
    return GroupeAcceptable(donnees, &base_) != nullptr;
}

void TFenCarteParag::Depose(const QMimeData *donnees, Qt::KeyboardModifiers modificateurs)
{
    TTgenDragObject *objet = GroupeAcceptable(donnees, &base_);
    if (!objet)
        return;
    Occupation occupation;
    std::unique_ptr<Tgen> groupe = objet->ConstruitGroupe(&base_, false);
    if (modificateurs & Qt::ControlModifier)
        AppliqueTgenSup(std::move(groupe));
    else
        AppliqueTgen(std::move(groupe));
}

// --- Selection and browsing --------------------------------------------------------------------------

void TFenCarteParag::Presse(QPoint point, Qt::KeyboardModifiers modificateurs)
{
    const std::int32_t i = SectionAuPoint(disposition_, point.x(), point.y());
    if (i < 0)
        return;
    std::vector<char> &sel = donnees_.selection;
    if (modificateurs & Qt::ShiftModifier) {
        const std::int32_t c = donnees_.courante;
        if (c < 0 || c == i)
            return;
        const std::int32_t pas = i < c ? 1 : -1;
        for (std::int32_t s = i; s != c; s += pas)
            sel[static_cast<std::size_t>(s)] = 1;
    } else if (modificateurs & Qt::ControlModifier) {
        sel[static_cast<std::size_t>(i)] = !sel[static_cast<std::size_t>(i)];
    } else {
        std::fill(sel.begin(), sel.end(), 0);
        sel[static_cast<std::size_t>(i)] = 1;
    }
    ChangeCourante(i);
}

void TFenCarteParag::ChangeCourante(std::int32_t i)
{
    donnees_.courante = i;
    ActualiseBoutons();
    surface_->update();
    if (i >= 0) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (k < disposition_.x.size())
            defilement_->ensureVisible(disposition_.x[k] + taille_ / 2, disposition_.y[k] + taille_ / 2, taille_ * 2,
                                       taille_ * 2);
    }
    AfficheSection(i);
}

std::int32_t TFenCarteParag::TouchePrecedente() const
{
    const auto it = std::lower_bound(touchees_.begin(), touchees_.end(), donnees_.courante);
    return it == touchees_.begin() ? -1 : *(it - 1);
}

std::int32_t TFenCarteParag::ToucheSuivante() const
{
    const auto it = std::upper_bound(touchees_.begin(), touchees_.end(), donnees_.courante);
    return it == touchees_.end() ? -1 : *it;
}

void TFenCarteParag::ActualiseBoutons()
{
    // The four buttons follow the current section: each is enabled exactly when it has
    // somewhere to go.
    const std::int32_t c = donnees_.courante;
    btnSecPrec_->setEnabled(c > 0);
    btnSecSuiv_->setEnabled(c < NbSections() - 1);
    btnOccPrec_->setEnabled(groupe_ && c > 0 && TouchePrecedente() >= 0);
    btnOccSuiv_->setEnabled(groupe_ && ToucheSuivante() >= 0);
}

void TFenCarteParag::BtnSecSuivClick()
{
    if (donnees_.courante >= NbSections() - 1)
        return;
    ChangeCourante(donnees_.courante + 1);
}

void TFenCarteParag::BtnSecPrecClick()
{
    if (donnees_.courante <= 0)
        return;
    ChangeCourante(donnees_.courante - 1);
}

void TFenCarteParag::BtnOccPrecClick()
{
    if (!groupe_)
        return;
    const std::int32_t k = donnees_.courante > 0 ? TouchePrecedente() : -1;
    if (k < 0) {
        btnOccPrec_->setEnabled(false);
        QApplication::beep();
        return;
    }
    ChangeCourante(k);
}

void TFenCarteParag::BtnOccSuivClick()
{
    if (!groupe_)
        return;
    const std::int32_t k = ToucheSuivante();
    if (k < 0) {
        btnOccSuiv_->setEnabled(false);
        QApplication::beep();
        return;
    }
    ChangeCourante(k);
}

void TFenCarteParag::BtnEffacerClick()
{
    std::fill(donnees_.selection.begin(), donnees_.selection.end(), 0);
    std::fill(donnees_.touche.begin(), donnees_.touche.end(), 0);
    std::fill(donnees_.toucheSup.begin(), donnees_.toucheSup.end(), 0);
    touchees_.clear();
    {
        const QSignalBlocker bloque(comboGrp_);
        comboGrp_->setCurrentIndex(0);
    }
    lbTgen1_->clear();
    lbTgenSup_->clear();
    ColorePastille(shTgen1_, CouleurDeRepos());
    ColorePastille(shTgenSup_, CouleurDeRepos());
    ActualiseBoutons();
    surface_->update();
    AfficheSection(donnees_.courante);
}

void TFenCarteParag::BtnColClick()
{
    if (!groupe_)
        return;
    TFenParamCarte &popup = ParamCarte();
    popup.FixeCouleur(groupe_->Couleur());
    popup.move(btnCol_->mapToGlobal(QPoint(0, btnCol_->height())));
    if (LesDialogues().execute(popup) != QDialog::Accepted)
        return;
    donnees_.teintes = {popup.Couleur(1), popup.Couleur(2), popup.Couleur(3)};
    donnees_.seuilHaut = popup.SeuilsLus().haut;
    donnees_.seuilBas = popup.SeuilsLus().bas;
    surface_->update();
}

// --- Text pane and report -------------------------------------------------------------------------

void TFenCarteParag::AfficheSection(std::int32_t i)
{
    if (i < 0 || i >= NbSections() || !page_.Valide())
        return;
    const ConfigurationDeFonte jeu = JeuDAffichage();
    const std::string page =
        PageSection(base_, section_, groupe_.get(), i, false, 12, jeu.GetHtmlCharset(), jeu.GetDirection());
    talmer::EchecEcriture echec;
    if (!talmer::EcritFichierSur(page_.Chemin(), QByteArray(page.data(), static_cast<qsizetype>(page.size())), &echec)) {
        LesDialogues().message(this, windowTitle(), MessageEcriture(echec), BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    texte_->Affiche(page_.Chemin());
}

void TFenCarteParag::BtnAjouteRapClick()
{
    const std::int32_t i = donnees_.courante;
    Rapport *rapport = RapportCourant();
    if (i < 0 || !rapport)
        return;
    const std::string page = PageSection(base_, section_, groupe_.get(), i, true, -2, rapport->Charset(),
                                         rapport->Direction());
    const QString nom = NomPageSection(EnUnicode(base_.NomBase()), section_.Delimiteurs(), vue_, i);
    QString erreur;
    if (!EcritFichierTexte(rapport->DossierTemporaire() + nom + QStringLiteral(".html"), page, &erreur)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(QStringLiteral("Section n&deg;") + QString::number(i), nom, QStringLiteral(" "),
                           GenreElement::Page);
}

QImage TFenCarteParag::ImageCarte() const
{
    QImage image(disposition_.largeur, disposition_.hauteur, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    DessineCarte(peintre, disposition_, donnees_, Etiquettes(), image.rect());
    return image;
}

void TFenCarteParag::AjouteAuRapport()
{
    if (disposition_.hauteur > HauteurJpegMax) {
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               Traduit("La carte mesure %1 pixels de haut ; une image JPEG n'en admet que %2.")
                                       .arg(disposition_.hauteur)
                                       .arg(HauteurJpegMax) +
                                   QLatin1Char(' ') +
                                   Traduit(ConseilCarteTropHaute(taille_ > TailleBoiteMin, partition_ != nullptr)),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return;
    }
    Rapport *rapport = RapportCourant();
    if (!rapport)
        return;
    const int compteur = compteurImages_ + 1;
    const QDateTime maintenant = QDateTime::currentDateTime();
    const QString nom = NomImageCarte(EnUnicode(base_.NomBase()), section_.Delimiteurs(), vue_, compteur);
    QString erreur;
    if (!SauveBitmapJpeg(ImageCarte(), rapport->DossierTemporaire() + nom, 30, &erreur)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    compteurImages_ = compteur;
    const QString caption =
        EchappeTexte(windowTitle()) + QStringLiteral("(") + QString::number(compteur) + QStringLiteral(")");
    const QString date = QLocale::system().toString(maintenant.date(), QLocale::LongFormat) + QStringLiteral(" - ") +
                         maintenant.toString(QStringLiteral("HH:mm"));
    const QString bloc =
        BlocImageCarte(caption, groupe_ ? EnUnicode(groupe_->Nom()) : QString(),
                       groupeSup_ ? EnUnicode(groupeSup_->Nom()) : QString(), EnUnicode(base_.NomBase()), date,
                       partition_ ? EnUnicode(partition_->NomPartition()) : QString());
    rapport->AjouteElement(caption, nom, bloc, GenreElement::Image);
}

// --- Saved selections -------------------------------------------------------------------------------

void TFenCarteParag::BtnSauveSelectionClick()
{
    QString erreur;
    if (!EcritFichierTexte(FichierSelection(), ExporteSelection(donnees_.touche), &erreur))
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
}

void TFenCarteParag::BtnChargeSelectionClick()
{
    TfrmChoixSeclectionSection dialogue(this);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return;
    ChargeSelection(dialogue.GetSelection());
}

bool TFenCarteParag::ChargeSelection(const std::vector<int> &decalages)
{
    QFile fichier(FichierSelection());
    QString erreur;
    SelectionImportee lue;
    if (!fichier.open(QIODevice::ReadOnly)) {
        erreur = Traduit("Impossible de lire le fichier %1 : %2").arg(FichierSelection(), fichier.errorString());
    } else {
        const QByteArray octets = fichier.readAll();
        lue = ImporteSelection(std::string_view(octets.constData(), static_cast<std::size_t>(octets.size())),
                               NbSections(), decalages);
        erreur = lue.erreur;
    }
    if (!lue.valide) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    donnees_.selection = std::move(lue.selection);
    // A file of another map is taken as far as both go; the status says so (and a file of this
    // map clears an earlier warning).
    AfficheStatut(lue.avertissement);
    QString erreurTrace;
    if (!EcritFichierTexte(FichierControle(), lue.trace, &erreurTrace))
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreurTrace, BoutonsMessage::Ok, IconeMessage::Erreur);
    donnees_.courante = -1;
    ActualiseBoutons();
    surface_->update();
    return true;
}

// --- Sectional specificities ---------------------------------------------------------------------

void TFenCarteParag::LanceSpecifs(const std::vector<char> &cible)
{
    TFenParamSpecSect dialogue(base_.Fmax(), this);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return;
    ParametresSpecifsSections p;
    p.seuilPourcent = dialogue.CSpinEdit1()->value();
    p.freqMin = dialogue.CSpinEdit2()->value();
    p.etiquettes = NbEtiquettes();
    SpecifsSections r;
    {
        TravailLong travail(Traduit("Calcul des spécificités…"));
        // Stopped by the user: the lists made before stay as they are.
        if (!travail.Execute([&] { r = CalculeSpecifsSections(base_, section_, cible, p, PasProgression); }))
            return;
    }
    Occupation occupation;
    if (r.t == 0 || !FabriqueSpecifsSections())
        return;
    FabriqueSpecifsSections()(fenPrinc_, base_, std::move(r.lignes), r.nbSections);
}

void TFenCarteParag::SpfButtonClick()
{
    LanceSpecifs(donnees_.selection);
}

void TFenCarteParag::BtnSpfSectTgenClick()
{
    std::vector<char> cible(donnees_.touche.size(), 0);
    for (std::size_t s = 0; s < cible.size(); ++s)
        cible[s] = donnees_.touche[s] || (s < donnees_.toucheSup.size() && donnees_.toucheSup[s]);
    LanceSpecifs(cible);
}

} // namespace talmer

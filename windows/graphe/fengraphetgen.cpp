#include "windows/graphe/fengraphetgen.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "services/affichage.h"
#include "services/corpus_registry.h"
#include "services/dialogues.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/dragobjects.h"
#include "shell/droptarget.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "windows/graphe/series_graphe.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/partitions/ouverture.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLegend>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

// A colour value 0x00BBGGRR.
QColor CouleurGroupe(std::int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QToolButton *Bouton(QWidget *parent, const char *nom, const QString &texte)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(texte);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TFenGrapheTgen::TFenGrapheTgen(TFenPrinc *fenPrinc, Partition &partition, QWidget *parent)
    : QWidget(parent), fenPrinc_(fenPrinc), partition_(partition)
{
    setObjectName(QStringLiteral("TFenGrapheTgen"));
    ConstruitGraphe();
    ConstruitBarre();
    TraduitComposants(this);
    setWindowTitle(Traduit("Graphique de ventilation pour la partition : ") + EnUnicode(partition_.NomPartition()));
    relatif_ = rBtnRel_->isChecked();
    ApplyCharsetToLegend(graphe_->legend());
    setAcceptDrops(true);
    cibleDepot_ = std::make_unique<TDropTarget>(this, this);
    FixeTailleMinimale();
}

void TFenGrapheTgen::FixeTailleMinimale()
{
    // The left axis stands its title upright, and shortens it when the plot area is lower than the
    // title is long; its tick labels and the parts' names go when the chart is lower still. The
    // chart keeps room for the longest of its titles, with its margins, its (hidden) title and the
    // lines of the parts' labels around the plot area.
    const QFontMetrics titre(axeValeurs_->titleFont());
    int plusLong = titre.horizontalAdvance(axeValeurs_->titleText());
    for (const char *texte : {"Fréquences relatives (X 10 000)", "Fréquences absolues", "Spécificités"})
        plusLong = std::max(plusLong, titre.horizontalAdvance(Traduit(texte)));
    const QMargins marges = graphe_->margins();
    const int ligne = QFontMetrics(axeParties_->labelsFont()).lineSpacing();
    vue_->setMinimumHeight(plusLong + marges.top() + marges.bottom() + QFontMetrics(graphe_->titleFont()).lineSpacing() +
                           5 * ligne);
}

TFenGrapheTgen::~TFenGrapheTgen()
{
    // The series refer to nothing of the groups, but go first all the same.
    cibleDepot_.reset();
}

void TFenGrapheTgen::ConstruitGraphe()
{
    graphe_ = new QChart;
    graphe_->setTitle(QStringLiteral("Ventilation"));
    graphe_->setTitleBrush(Qt::transparent);
    graphe_->setBackgroundBrush(CouleurGroupe(13631229));
    graphe_->setPlotAreaBackgroundBrush(Qt::white);
    graphe_->setPlotAreaBackgroundVisible(true);
    graphe_->legend()->setVisible(true);
    graphe_->legend()->setAlignment(Qt::AlignRight);

    axeParties_ = new QBarCategoryAxis(graphe_);
    QStringList noms;
    for (std::int32_t k = 0; k < partition_.NbParties(); ++k)
        noms << EnUnicode(partition_.NomPartie(k));
    axeParties_->append(noms);
    graphe_->addAxis(axeParties_, Qt::AlignBottom);
    axeValeurs_ = new QValueAxis(graphe_);
    axeValeurs_->setTitleText(QStringLiteral("Fréquences relatives ( x 10 000 )"));
    QFont titre(QStringLiteral("Verdana"));
    titre.setItalic(true);
    titre.setPixelSize(12);
    axeValeurs_->setTitleFont(titre);
    axeValeurs_->setTitleBrush(Qt::black);
    // Whole values print as integers, and the ticks of a small range keep their decimals.
    axeValeurs_->setLabelFormat(QStringLiteral("%.10g"));
    axeValeurs_->setRange(0, 1);
    graphe_->addAxis(axeValeurs_, Qt::AlignLeft);
    premiere_ = 0;
    derniere_ = partition_.NbParties() - 1;

    vue_ = new QChartView(graphe_, this);
    vue_->setObjectName(QStringLiteral("Graphe"));
    vue_->setRenderHint(QPainter::Antialiasing);
    // Drops go to the window.
    vue_->setAcceptDrops(false);
}

void TFenGrapheTgen::ConstruitBarre()
{
    auto *barre = new QWidget(this);
    barre->setObjectName(QStringLiteral("Panel1"));
    auto *ligne = new QHBoxLayout(barre);
    ligne->setContentsMargins(2, 0, 2, 0);
    ligne->setSpacing(4);

    btnPCLC_ = Bouton(barre, "BtnPCLC", QStringLiteral("Stat"));
    QFont gras = btnPCLC_->font();
    gras.setBold(true);
    btnPCLC_->setFont(gras);
    btnAffFrq_ = Bouton(barre, "BtnAffFrq", QStringLiteral("Fréquences"));
    btnAffSpf_ = Bouton(barre, "BtnAffSpf", QStringLiteral("Spécificités"));
    for (QToolButton *b : {btnAffFrq_, btnAffSpf_})
        b->setCheckable(true);
    auto *vues = new QButtonGroup(this);
    vues->setExclusive(true);
    vues->addButton(btnAffFrq_);
    vues->addButton(btnAffSpf_);
    btnAffFrq_->setChecked(true);
    rBtnRel_ = new QRadioButton(QStringLiteral("&relatives"), barre);
    rBtnRel_->setObjectName(QStringLiteral("RBtnRel"));
    rBtnAbs_ = new QRadioButton(QStringLiteral("&absolues"), barre);
    rBtnAbs_->setObjectName(QStringLiteral("RBtnAbs"));
    rBtnRel_->setChecked(true);
    btnZoom_ = Bouton(barre, "BtnZoom", QStringLiteral("Zoom +"));
    btnUnZoom_ = Bouton(barre, "BtnUnZoom", QStringLiteral("Zoom -"));
    btnLeft_ = Bouton(barre, "BtnLeft", QString());
    btnLeft_->setArrowType(Qt::LeftArrow);
    btnLeft_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnRight_ = Bouton(barre, "BtnRight", QString());
    btnRight_->setArrowType(Qt::RightArrow);
    btnRight_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnClear_ = Bouton(barre, "BtnClear", QStringLiteral("E&ffacer"));
    btnClear_->setToolTip(QStringLiteral("Effacer le graphique"));

    ligne->addWidget(btnPCLC_);
    ligne->addWidget(btnAffFrq_);
    ligne->addWidget(rBtnRel_);
    ligne->addWidget(rBtnAbs_);
    ligne->addWidget(btnAffSpf_);
    ligne->addWidget(btnZoom_);
    ligne->addWidget(btnUnZoom_);
    ligne->addWidget(btnLeft_);
    ligne->addWidget(btnRight_);
    ligne->addWidget(btnClear_);
    ligne->addStretch(1);

    auto *colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(0);
    colonne->addWidget(vue_, 1);
    colonne->addWidget(barre);

    connect(btnPCLC_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnPCLCClick);
    connect(btnAffFrq_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnFrqSpfClick);
    connect(btnAffSpf_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnFrqSpfClick);
    connect(rBtnRel_, &QRadioButton::clicked, this, &TFenGrapheTgen::BtnFreqClick);
    connect(rBtnAbs_, &QRadioButton::clicked, this, &TFenGrapheTgen::BtnFreqClick);
    connect(btnZoom_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnZoomClick);
    connect(btnUnZoom_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnUnZoomClick);
    connect(btnLeft_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnLeftClick);
    connect(btnRight_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnRightClick);
    connect(btnClear_, &QToolButton::clicked, this, &TFenGrapheTgen::BtnClearClick);
}

bool TFenGrapheTgen::VueFrequences() const
{
    return btnAffFrq_->isChecked();
}

// ---------------------------------------------------------------------------------------------
// Series

bool TFenGrapheTgen::CouleurLibre(QColor couleur) const
{
    for (QAbstractSeries *s : graphe_->series()) {
        if (auto *xy = qobject_cast<QXYSeries *>(s); xy && xy->color() == couleur)
            return false;
        if (auto *barres = qobject_cast<QBarSeries *>(s))
            for (QBarSet *b : barres->barSets())
                if (b->color() == couleur)
                    return false;
    }
    return true;
}

bool TFenGrapheTgen::AjouteGroupe(std::unique_ptr<Tgen> groupe)
{
    if (!groupe || groupe->Base() != partition_.Base())
        return false;
    groupes_.push_back(std::move(groupe));
    if (VueFrequences())
        AjouteFrequences(*groupes_.back());
    else
        AjouteSpecificites(*groupes_.back());
    return true;
}

void TFenGrapheTgen::AjouteFrequences(const Tgen &groupe)
{
    const QColor propre = CouleurGroupe(groupe.Couleur());
    const bool garde = groupe.Couleur() != 0 && CouleurLibre(propre);
    auto *serie = new QLineSeries;
    serie->setName(EnUnicode(groupe.Nom()));
    const std::vector<std::int64_t> valeurs = talmer::SerieFrequences(partition_, groupe, relatif_);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(valeurs.size()));
    double plusGrand = 0;
    for (std::size_t j = 0; j < valeurs.size(); ++j) {
        points.append(QPointF(static_cast<double>(j), static_cast<double>(valeurs[j])));
        plusGrand = std::max(plusGrand, static_cast<double>(valeurs[j]));
    }
    serie->replace(points);
    graphe_->addSeries(serie);
    serie->attachAxis(axeParties_);
    serie->attachAxis(axeValeurs_);
    QPen pen = serie->pen();
    pen.setWidth(2);
    if (garde)
        pen.setColor(propre);
    if (pen.color() == QColor(Qt::white))
        pen.setColor(Qt::black);
    serie->setPen(pen);
    // The lower end stays at 0, the upper one follows the highest curve.
    if (plusGrand > axeValeurs_->max() || graphe_->series().size() == 1) {
        axeValeurs_->setRange(0, std::max(plusGrand, 1.0));
        axeValeurs_->applyNiceNumbers();
        axeValeurs_->setMin(0);
    }
}

void TFenGrapheTgen::AjouteSpecificites(const Tgen &groupe)
{
    const QColor propre = CouleurGroupe(groupe.Couleur());
    const bool garde = groupe.Couleur() != 0 && CouleurLibre(propre);
    if (!barres_) {
        barres_ = new QBarSeries;
        graphe_->addSeries(barres_);
        barres_->attachAxis(axeParties_);
        barres_->attachAxis(axeValeurs_);
        barres_->setLabelsVisible(false);
    }
    auto *barre = new QBarSet(EnUnicode(groupe.Nom()));
    for (std::int32_t c : talmer::SerieSpecificites(partition_, groupe, &plusBas_, &plusHaut_))
        barre->append(c);
    barres_->append(barre);
    if (garde)
        barre->setColor(propre);
    if (barre->color() == QColor(Qt::white))
        barre->setColor(Qt::black);
    barre->setBorderColor(barre->color());
    BornesSpecificites();
}

void TFenGrapheTgen::BornesSpecificites()
{
    axeValeurs_->setRange(plusBas_ - 1, plusHaut_ + 1);
    // Coefficients are whole numbers: ticks at whole steps from 0, about ten of them at most.
    const int etendue = plusHaut_ - plusBas_ + 2;
    int pas = 1;
    for (int facteur : {2, 5, 10, 20, 50})
        if (etendue / pas > 10)
            pas = facteur;
    axeValeurs_->setTickType(QValueAxis::TicksDynamic);
    axeValeurs_->setTickAnchor(0);
    axeValeurs_->setTickInterval(pas);
}

void TFenGrapheTgen::EffaceSeries()
{
    graphe_->removeAllSeries();
    barres_ = nullptr;
    plusBas_ = 0;
    plusHaut_ = 0;
}

void TFenGrapheTgen::Efface()
{
    EffaceSeries();
    groupes_.clear();
}

void TFenGrapheTgen::AfficheFrequences()
{
    axeValeurs_->setTitleText(relatif_ ? Traduit("Fréquences relatives (X 10 000)") : Traduit("Fréquences absolues"));
    axeValeurs_->setTickType(QValueAxis::TicksFixed);
    axeValeurs_->setRange(0, 1);
    for (const auto &g : groupes_)
        AjouteFrequences(*g);
}

void TFenGrapheTgen::AfficheSpecificites()
{
    axeValeurs_->setTitleText(Traduit("Spécificités"));
    BornesSpecificites();
    for (const auto &g : groupes_)
        AjouteSpecificites(*g);
}

void TFenGrapheTgen::BtnFrqSpfClick()
{
    EffaceSeries();
    if (VueFrequences())
        AfficheFrequences();
    else
        AfficheSpecificites();
}

void TFenGrapheTgen::BtnFreqClick()
{
    relatif_ = rBtnRel_->isChecked();
    btnAffFrq_->setChecked(true);
    EffaceSeries();
    AfficheFrequences();
}

// ---------------------------------------------------------------------------------------------
// Zoom and scrolling

void TFenGrapheTgen::MontreParties(int premiere, int derniere)
{
    if (partition_.NbParties() <= 0)
        return;
    premiere_ = premiere;
    derniere_ = derniere;
    axeParties_->setRange(axeParties_->at(premiere_), axeParties_->at(derniere_));
}

void TFenGrapheTgen::ZoomChange(bool zoome)
{
    btnLeft_->setEnabled(zoome);
    btnRight_->setEnabled(zoome);
}

void TFenGrapheTgen::BtnZoomClick()
{
    const int n = derniere_ - premiere_ + 1;
    if (n <= 0)
        return;
    // The middle half of what is shown: a quarter off each side.
    const int quart = n / 4;
    MontreParties(premiere_ + quart, derniere_ - quart);
    ZoomChange(true);
}

void TFenGrapheTgen::BtnUnZoomClick()
{
    MontreParties(0, partition_.NbParties() - 1);
    ZoomChange(false);
}

void TFenGrapheTgen::BtnLeftClick()
{
    const int decalage = std::min(5, premiere_);
    if (decalage > 0)
        MontreParties(premiere_ - decalage, derniere_ - decalage);
}

void TFenGrapheTgen::BtnRightClick()
{
    const int decalage = std::min(5, partition_.NbParties() - 1 - derniere_);
    if (decalage > 0)
        MontreParties(premiere_ + decalage, derniere_ + decalage);
}

// ---------------------------------------------------------------------------------------------
// "Stat", drops, report

void TFenGrapheTgen::BtnPCLCClick()
{
    if (!fenPrinc_)
        return;
    Corpus &registre = fenPrinc_->Registre();
    const InfoPartition *entree = registre.EntreePartition(registre.IndexPartition(&partition_));
    TFenStatPart *statistiques = entree ? talmer::FenetreStatistiques(*fenPrinc_, *entree) : nullptr;
    if (!statistiques)
        return;
    if (auto *sous = qobject_cast<QMdiSubWindow *>(statistiques->parentWidget()))
        sous->showNormal();
    fenPrinc_->MontreFenetre(statistiques);
}

void TFenGrapheTgen::dragEnterEvent(QDragEnterEvent *event)
{
    if (talmer::GroupeAcceptable(event->mimeData(), partition_.Base()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenGrapheTgen::dragMoveEvent(QDragMoveEvent *event)
{
    if (talmer::GroupeAcceptable(event->mimeData(), partition_.Base()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenGrapheTgen::dropEvent(QDropEvent *event)
{
    // Only a group of the partition's own base: its numbers mean nothing in another.
    talmer::TTgenDragObject *objet = talmer::GroupeAcceptable(event->mimeData(), partition_.Base());
    if (!objet) {
        event->ignore();
        return;
    }
    Occupation occupation;
    AjouteGroupe(objet->ConstruitGroupe(partition_.Base(), true));
    event->acceptProposedAction();
}

void TFenGrapheTgen::DeposeForme(std::string_view graphie)
{
    const std::int32_t entite = talmer::EntiteDeGraphie(*partition_.Base(), graphie);
    if (entite < 0)
        return;
    AjouteGroupe(std::make_unique<Tgen>(partition_.Base(), &entite, 1, nullptr));
}

void TFenGrapheTgen::AjouteAuRapport()
{
    Rapport *rapport = ::RapportCourant();
    if (!rapport)
        return;
    const int n = talmer::ProchainNumeroImageGraphe();
    const QString fichier = talmer::NomImageGraphe(partition_.NomPartition(), n);
    QString erreur;
    if (!rapport->DossierTemporaireValide()
        || !SauveBitmapJpeg(vue_->grab().toImage(), rapport->DossierTemporaire() + fichier, 30, &erreur)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"),
                               erreur.isEmpty() ? Traduit("Le dossier temporaire du rapport est inaccessible.") : erreur,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(talmer::LegendeImageGraphe(windowTitle(), n + 1), fichier, QStringLiteral(" "),
                           GenreElement::Image);
}

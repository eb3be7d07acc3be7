#include "windows/afc/fengrapheafc.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/fenprinc.h"
#include "tools/ta3afc/resultats.h"
#include "windows/afc/fabriques_afc.h"
#include "windows/afc/fenparamafc.h"
#include "windows/commun/choixcouleur.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QRubberBand>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace talmer {

FabriquesAFC &FabriquesPlanAFC()
{
    static FabriquesAFC fabriques;
    return fabriques;
}

namespace {

enum Page { PageHisto = 0, PageFacteurs = 1, PagePlan = 2 };

// The sixteen basic colours, 0x00BBGGRR.
constexpr std::int32_t CouleursDeBase[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};
constexpr int ColonnesGrille = 2;
constexpr int LignesGrille = 8;

} // namespace

GrilleCouleurs::GrilleCouleurs(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("GrilleCoul"));
    setMinimumSize(ColonnesGrille * 16, LignesGrille * 12);
}

void GrilleCouleurs::FixeIndexPremierPlan(int index)
{
    if (index < 0 || index >= 16)
        return;
    index_ = index;
    update();
    emit changee();
}

std::int32_t GrilleCouleurs::Couleur(int index) { return CouleursDeBase[index & 15]; }

std::int32_t GrilleCouleurs::CouleurPremierPlan() const { return Couleur(index_); }

void GrilleCouleurs::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int l = width() / ColonnesGrille, h = height() / LignesGrille;
    for (int i = 0; i < 16; ++i) {
        const QRect r((i % ColonnesGrille) * l, (i / ColonnesGrille) * h, l - 1, h - 1);
        p.fillRect(r, CouleurDeValeur(CouleursDeBase[i]));
        p.setPen(i == index_ ? QPen(Qt::white, 1, Qt::DotLine) : QPen(Qt::gray));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (i == index_) {
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(1, 1, -2, -2));
        }
    }
}

void GrilleCouleurs::mousePressEvent(QMouseEvent *event)
{
    const int l = std::max(1, width() / ColonnesGrille), h = std::max(1, height() / LignesGrille);
    const int c = event->position().toPoint().x() / l, r = event->position().toPoint().y() / h;
    if (c >= 0 && c < ColonnesGrille && r >= 0 && r < LignesGrille)
        FixeIndexPremierPlan(r * ColonnesGrille + c);
}

int ModeleFacteurs::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : fenetre_.Points().nbPoints;
}

int ModeleFacteurs::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3 + 3 * fenetre_.Points().nbFacteurs;
}

QVariant ModeleFacteurs::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return CelluleFacteurs(fenetre_.Points(), index.row(), index.column(),
                               index.column() == 0 ? fenetre_.Etiquette(index.row()) : QString());
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeleFacteurs::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == RoleTexteLibre)
        return section == 0;
    if (orientation == Qt::Horizontal && role == RoleValeursLarges) {
        // The labels; in a column of numbers, its lowest and its highest (the widest texts).
        const ListePoints &points = fenetre_.Points();
        QVariantList valeurs;
        if (section == 0) {
            for (std::int32_t k = 0; k < points.nbPoints; ++k)
                valeurs.push_back(fenetre_.Etiquette(k));
            return valeurs;
        }
        const std::vector<double> *colonne = section == 1   ? &points.masse
                                             : section == 2 ? &points.distance
                                             : section - 3 < static_cast<int>(points.colonnes.size())
                                                 ? &points.colonnes[static_cast<std::size_t>(section - 3)]
                                                 : nullptr;
        if (colonne == nullptr || colonne->empty())
            return valeurs;
        const auto [mini, maxi] = std::minmax_element(colonne->begin(), colonne->end());
        for (auto it : {mini, maxi})
            valeurs.push_back(CelluleFacteurs(points, static_cast<std::int32_t>(it - colonne->begin()), section, QString()));
        return valeurs;
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const QStringList entetes = EntetesFacteurs(fenetre_.Points().nbFacteurs);
    return section >= 0 && section < entetes.size() ? QVariant(entetes[section]) : QVariant();
}

void ModeleFacteurs::Rafraichit()
{
    beginResetModel();
    endResetModel();
}

SurfaceAFC::SurfaceAFC(TFenGrapheAFC &fenetre, QWidget *parent) : QWidget(parent), fenetre_(fenetre)
{
    setObjectName(QStringLiteral("Surface"));
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceAFC::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    fenetre_.Peint(p, size());
}

void SurfaceAFC::mousePressEvent(QMouseEvent *event) { fenetre_.SurfaceMouseDown(event->position().toPoint()); }

void SurfaceAFC::mouseMoveEvent(QMouseEvent *event)
{
    fenetre_.SurfaceMouseMove(event->position().toPoint(), event->buttons());
}

void SurfaceAFC::mouseReleaseEvent(QMouseEvent *event)
{
    fenetre_.SurfaceMouseUp(event->position().toPoint(), event->button(), event->modifiers());
}

} // namespace talmer

using namespace talmer;

namespace {

QToolButton *Bouton(QWidget *parent, const char *nom, const char *texte, const char *bulle = nullptr)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setText(QString::fromUtf8(texte));
    if (bulle)
        b->setToolTip(QString::fromUtf8(bulle));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

} // namespace

TFenGrapheAFC *TFenGrapheAFC::Ouvre(Partition &partition, QString *raison)
{
    std::string texteFacteurs, texteVp, pourquoi;
    if (!talmer::afc::LitResultats(texteFacteurs, texteVp, pourquoi)) {
        if (raison)
            *raison = QString::fromUtf8(pourquoi);
        return nullptr;
    }
    std::optional<ListePoints> points = LitFacteurs(texteFacteurs, partition.NbParties());
    std::optional<std::vector<double>> valeurs = LitValeursPropres(texteVp);
    if (!points || !valeurs)
        return nullptr;
    return new TFenGrapheAFC(partition, std::move(*points), std::move(*valeurs));
}

TFenGrapheAFC::TFenGrapheAFC(Partition &partition, ListePoints points, std::vector<double> valeursPropres,
                             QWidget *parent)
    : QWidget(parent), partition_(partition), points_(std::move(points)), valeursPropres_(std::move(valeursPropres))
{
    setObjectName(QStringLiteral("FenGrapheAFC"));
    setAttribute(Qt::WA_DeleteOnClose);
    x_ = points_.colonnes.size() > 0 ? points_.colonnes[0] : std::vector<double>();
    y_ = points_.colonnes.size() > 1 ? points_.colonnes[1] : std::vector<double>();
    cadre_ = CadrePlan::DesColonnes(x_, y_, 0.02);

    // The pages.
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    grapheHisto_ = new QChart;
    grapheHisto_->setTitle(QStringLiteral("Histogramme des valeurs propres"));
    grapheHisto_->setTitleBrush(QBrush(Qt::blue));
    grapheHisto_->legend()->setVisible(false);
    QLinearGradient degrade(0, 0, 0, 1);
    degrade.setCoordinateMode(QGradient::ObjectBoundingMode);
    degrade.setColorAt(0, Qt::white);
    degrade.setColorAt(1, QColor(0xD8, 0xD8, 0xE8));
    grapheHisto_->setBackgroundBrush(degrade);
    auto *pageHisto = new QWidget(pages_);
    vueHisto_ = new QChartView(grapheHisto_, pageHisto);
    vueHisto_->setObjectName(QStringLiteral("GrapheHisto"));
    vueHisto_->setRenderHint(QPainter::Antialiasing);
    vueHisto_->viewport()->installEventFilter(this);
    // Beside the chart, not on it: the report's picture is the chart alone.
    defilHisto_ = new QScrollBar(Qt::Vertical, pageHisto);
    defilHisto_->setObjectName(QStringLiteral("DefilHisto"));
    defilHisto_->hide();
    connect(defilHisto_, &QScrollBar::valueChanged, this, &TFenGrapheAFC::MontreHistogramme);
    auto *histo = new QHBoxLayout(pageHisto);
    histo->setContentsMargins(0, 0, 0, 0);
    histo->setSpacing(0);
    histo->addWidget(vueHisto_, 1);
    histo->addWidget(defilHisto_);
    pages_->addWidget(pageHisto);

    lvFact_ = new QTableView(pages_);
    lvFact_->setObjectName(QStringLiteral("LVFact"));
    lvFact_->setShowGrid(true);
    lvFact_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFact_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFact_->verticalHeader()->hide();
    modele_ = new ModeleFacteurs(*this);
    modele_->setParent(this);
    lvFact_->setModel(modele_);
    DimensionneGrille(lvFact_);
    ApplyCharsetToGrid(lvFact_);
    pages_->addWidget(lvFact_);

    auto *pagePlan = new QWidget(pages_);
    auto *panSup = new QWidget(pagePlan);
    panSup->setObjectName(QStringLiteral("PanSup"));
    auto *barre = new QHBoxLayout(panSup);
    barre->setContentsMargins(4, 2, 4, 2);
    cbAxeX_ = new QComboBox(panSup);
    cbAxeX_->setObjectName(QStringLiteral("cbAxeX"));
    cbAxeX_->setToolTip(QStringLiteral("Facteur affecté à l'axe X"));
    cbAxeY_ = new QComboBox(panSup);
    cbAxeY_->setObjectName(QStringLiteral("cbAxeY"));
    cbAxeY_->setToolTip(QStringLiteral("Facteur affecté à l'axe Y"));
    for (std::int32_t f = 1; f <= points_.nbFacteurs; ++f) {
        cbAxeX_->addItem(QString::number(f));
        cbAxeY_->addItem(QString::number(f));
    }
    cbAxeX_->setCurrentIndex(0);
    cbAxeY_->setCurrentIndex(1);
    barre->addWidget(new QLabel(QStringLiteral("Axe horizontal :"), panSup));
    barre->addWidget(cbAxeX_);
    barre->addSpacing(16);
    barre->addWidget(new QLabel(QStringLiteral("Axe vertical :"), panSup));
    barre->addWidget(cbAxeY_);
    barre->addStretch();
    surface_ = new SurfaceAFC(*this, pagePlan);
    bande_ = new QRubberBand(QRubberBand::Rectangle, surface_);
    statusBarGraph_ = new QStatusBar(pagePlan);
    statusBarGraph_->setObjectName(QStringLiteral("StatusBarGraph"));
    statusBarGraph_->setSizeGripEnabled(false);
    auto *plan = new QVBoxLayout(pagePlan);
    plan->setContentsMargins(0, 0, 0, 0);
    plan->setSpacing(0);
    plan->addWidget(panSup);
    plan->addWidget(surface_, 1);
    plan->addWidget(statusBarGraph_);
    pages_->addWidget(pagePlan);

    // The right panel.
    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedWidth(110);
    auto *colonne = new QVBoxLayout(panel1);
    colonne->setContentsMargins(4, 4, 4, 4);
    grilleCoul_ = new GrilleCouleurs(panel1);
    colonne->addWidget(grilleCoul_);
    btnPinceau_ = Bouton(panel1, "BtnPinceau", "Pinceau", "Coloriage");
    btnSelec_ = Bouton(panel1, "BtnSelec", "Sélection", "Sélection");
    auto *modes = new QButtonGroup(this);
    for (QToolButton *b : {btnPinceau_, btnSelec_}) {
        b->setCheckable(true);
        modes->addButton(b);
        colonne->addWidget(b);
    }
    btnSelec_->setChecked(true);
    spfButton_ = Bouton(panel1, "SpfButton", "Spécifs");
    btnAFC_ = Bouton(panel1, "BtnAFC", "AFC");
    speedButton5_ = Bouton(panel1, "SpeedButton5", "CAH");
    btnSpEvol_ = Bouton(panel1, "BtnSpEvol", "Sp ch ev",
                        "Calcul des spécificités évolutives et chronologiques pour la partition");
    colonne->addSpacing(8);
    for (QToolButton *b : {spfButton_, btnAFC_, speedButton5_, btnSpEvol_})
        colonne->addWidget(b);
    speedButton1_ = Bouton(panel1, "SpeedButton1", "VP");
    speedButton2_ = Bouton(panel1, "SpeedButton2", "Facteurs");
    speedButton3_ = Bouton(panel1, "SpeedButton3", "Graphiques");
    auto *vues = new QButtonGroup(this);
    colonne->addSpacing(8);
    for (QToolButton *b : {speedButton1_, speedButton2_, speedButton3_}) {
        b->setCheckable(true);
        vues->addButton(b);
        colonne->addWidget(b);
    }
    speedButton3_->setChecked(true);
    rbNom_ = new QRadioButton(QStringLiteral("Nom"), panel1);
    rbNom_->setObjectName(QStringLiteral("RBNom"));
    radioButton1_ = new QRadioButton(QStringLiteral("Id"), panel1);
    radioButton1_->setObjectName(QStringLiteral("RadioButton1"));
    rbNom_->setChecked(true);
    colonne->addSpacing(8);
    colonne->addWidget(rbNom_);
    colonne->addWidget(radioButton1_);
    colonne->addStretch();

    // No minimum of its own: the layout's, which holds every control of the panel and of the
    // plane's bar without one covering another, is well above 100 x 120 pixels.
    auto *disposition = new QHBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(pages_, 1);
    disposition->addWidget(panel1);

    connect(cbAxeX_, &QComboBox::activated, this, [this] { cbAxeChange(cbAxeX_); });
    connect(cbAxeY_, &QComboBox::activated, this, [this] { cbAxeChange(cbAxeY_); });
    connect(btnPinceau_, &QToolButton::toggled, this,
            [this](bool bas) { surface_->setCursor(bas ? Qt::PointingHandCursor : Qt::CrossCursor); });
    connect(grilleCoul_, &GrilleCouleurs::changee, this, &TFenGrapheAFC::GrilleCoulChange);
    connect(rbNom_, &QRadioButton::toggled, this, &TFenGrapheAFC::RBNomIdClick);
    connect(speedButton1_, &QToolButton::clicked, this, [this] { pages_->setCurrentIndex(PageHisto); });
    connect(speedButton2_, &QToolButton::clicked, this, [this] {
        pages_->setCurrentIndex(PageFacteurs);
        modele_->Rafraichit();
    });
    connect(speedButton3_, &QToolButton::clicked, this, [this] { pages_->setCurrentIndex(PagePlan); });
    connect(spfButton_, &QToolButton::clicked, this, &TFenGrapheAFC::SpfButtonClick);
    connect(btnAFC_, &QToolButton::clicked, this, &TFenGrapheAFC::SpeedButton5Click);
    connect(speedButton5_, &QToolButton::clicked, this, &TFenGrapheAFC::SpeedButton5Click);
    connect(btnSpEvol_, &QToolButton::clicked, this, &TFenGrapheAFC::BtnSpEvolClick);

    // FormCreate.
    TraduitComposants(this);
    setWindowTitle(Traduit("Analyse factorielle des correspondances") + QStringLiteral(" - ") +
                   EnUnicode(partition_.NomPartition()));
    pages_->setCurrentIndex(PagePlan);
    ChargeValeursPropres();
    PrepareTableFacteurs();
    ActualiseBoutons();
}

QWidget *TFenGrapheAFC::Surface() const { return surface_; }

QString TFenGrapheAFC::Etiquette(std::int32_t k) const { return EnUnicode(TexteEtiquette(partition_, k, noms_)); }

void TFenGrapheAFC::ActualiseBoutons()
{
    const FabriquesAFC &fabriques = FabriquesPlanAFC();
    spfButton_->setEnabled(static_cast<bool>(fabriques.specificites));
    btnSpEvol_->setEnabled(static_cast<bool>(fabriques.specificitesEvolutives));
}

void TFenGrapheAFC::ChargeValeursPropres()
{
    grapheHisto_->removeAllSeries();
    for (QAbstractAxis *axe : grapheHisto_->axes())
        grapheHisto_->removeAxis(axe);
    auto *serie = new QHorizontalBarSeries;
    barresHisto_ = new QBarSet(QString());
    barresHisto_->setColor(CouleurDeValeur(0x4B73F7));
    double maxi = 0;
    for (double v : valeursPropres_)
        maxi = std::max(maxi, v);
    // The values stand beyond the bars, on the chart's light background: written in black (the
    // theme would write them in white, for inside the bars).
    barresHisto_->setLabelColor(Qt::black);
    serie->append(barresHisto_);
    serie->setLabelsVisible(true);
    serie->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    grapheHisto_->addSeries(serie);
    axeHisto_ = new QBarCategoryAxis;
    auto *axeValeurs = new QValueAxis;
    axeValeurs->setRange(0, maxi > 0 ? maxi * 1.15 : 1);
    grapheHisto_->addAxis(axeHisto_, Qt::AlignLeft);
    grapheHisto_->addAxis(axeValeurs, Qt::AlignBottom);
    serie->attachAxis(axeHisto_);
    serie->attachAxis(axeValeurs);
    montrees_ = {};
    MontreHistogramme(0);
    // Hundreds of eigenvalues would leave each bar a pixel or two, without a readable label or
    // value: the chart holds as many as keep their height, and the scroll bar brings the others.
    // (The series holds only those: a category axis narrowed to a range mixes up the values
    // written beside the bars.)
    connect(grapheHisto_, &QChart::plotAreaChanged, this, &TFenGrapheAFC::CadreHistogramme, Qt::UniqueConnection);
}

void TFenGrapheAFC::CadreHistogramme(const QRectF &zone)
{
    const auto *serie = qobject_cast<const QAbstractBarSeries *>(grapheHisto_->series().value(0));
    if (!serie || !barresHisto_ || !axeHisto_)
        return;
    const int n = static_cast<int>(valeursPropres_.size());
    // A line of the labels, and a pixel on each side for the bar's outline, which the theme draws
    // in the wall's colour.
    const int hauteur = std::max(QFontMetrics(axeHisto_->labelsFont()).lineSpacing(),
                                 QFontMetrics(barresHisto_->labelFont()).lineSpacing()) + 2;
    const int visibles = BarresVisibles(zone.height(), n, hauteur, serie->barWidth());
    {
        QSignalBlocker bloque(defilHisto_);
        defilHisto_->setRange(0, n - visibles);
        defilHisto_->setPageStep(visibles);
    }
    defilHisto_->setVisible(visibles < n);
    MontreHistogramme(defilHisto_->value());
}

void TFenGrapheAFC::MontreHistogramme(int decalage)
{
    const int n = static_cast<int>(valeursPropres_.size());
    // Until the chart is laid out, every value.
    const int visibles = defilHisto_->isHidden() ? n : defilHisto_->pageStep();
    const FenetreValeurs fenetre = FenetreHistogramme(n, visibles, decalage);
    if (fenetre.premier == montrees_.premier && fenetre.nombre == montrees_.nombre)
        return;
    montrees_ = fenetre;
    QList<qreal> valeurs;
    QStringList libelles;
    // From the last value to the first, so that the first (labelled "2" for the whole list)
    // stands at the top.
    for (int i = fenetre.premier + fenetre.nombre; i-- > fenetre.premier;) {
        valeurs << valeursPropres_[static_cast<std::size_t>(i)];
        libelles << QString::number(i + 2);
    }
    barresHisto_->remove(0, barresHisto_->count());
    barresHisto_->append(valeurs);
    axeHisto_->setCategories(libelles);
}

void TFenGrapheAFC::PrepareTableFacteurs()
{
    modele_->Rafraichit();
    lvFact_->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TFenGrapheAFC::Peint(QPainter &p, const QSize &taille)
{
    const int l = taille.width(), h = taille.height();
    p.fillRect(QRect(QPoint(0, 0), taille), QColor(255, 255, 225));
    p.setPen(QPen(QColor(0, 128, 0), 2));
    const int x0 = cadre_.EcranX(0, l), y0 = cadre_.EcranY(0, h);
    // The vertical axis, with the graduations of the horizontal values along y = 0.
    p.drawLine(x0, 0, x0, h);
    for (const Graduation &g : Graduations(cadre_.xmin, cadre_.xmax)) {
        const int c = cadre_.EcranX(g.valeur, l);
        p.drawLine(c, g.longue ? y0 - 3 : y0, c, y0 + 3);
    }
    p.drawLine(0, y0, l, y0);
    for (const Graduation &g : Graduations(cadre_.ymin, cadre_.ymax)) {
        const int r = cadre_.EcranY(g.valeur, h);
        p.drawLine(g.longue ? x0 - 3 : x0, r, x0 + 3, r);
    }

    const QFont police = PoliceAffichage(font());
    p.setFont(police);
    const QFontMetrics mesures(police);
    boites_.clear();
    const std::size_t n = std::min(x_.size(), y_.size());
    for (std::size_t k = 0; k < n; ++k) {
        const auto i = static_cast<std::int32_t>(k);
        const QString texte = Etiquette(i);
        const QSize cadre(mesures.horizontalAdvance(texte) + 7, mesures.height() + 7);
        boites_.push_back(BoiteEtiquette(QPoint(cadre_.EcranX(x_[k], l), cadre_.EcranY(y_[k], h)), cadre, taille));
    }
    for (std::size_t k = 0; k < boites_.size(); ++k) {
        const auto i = static_cast<std::int32_t>(k);
        const QRect &boite = boites_[k];
        p.save();
        p.setClipRect(boite);
        if (partition_.EstCochee(i)) {
            p.fillRect(boite, CouleurDeValeur(partition_.Couleur(i)));
        } else {
            p.fillRect(boite, Qt::white);
            p.fillRect(boite, QBrush(QColor(0xFF, 0x66, 0x66), Qt::FDiagPattern));
        }
        if (partition_.EstSelectionnee(i))
            p.setPen(QPen(QColor(0, 0, 255), 3));
        else
            p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(boite.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(boite.x() + 3, boite.y() + 3 + mesures.ascent(), Etiquette(i));
        p.restore();
    }
}

void TFenGrapheAFC::SurfaceMouseDown(const QPoint &p)
{
    ancre_ = coin_ = p;
    bande_->setGeometry(QRect(p, QSize()));
    bande_->show();
}

void TFenGrapheAFC::SurfaceMouseMove(const QPoint &p, Qt::MouseButtons boutons)
{
    if (boutons & (Qt::LeftButton | Qt::RightButton)) {
        coin_ = p;
        bande_->setGeometry(RectangleOrdonne(ancre_, coin_));
        bande_->show();
        return;
    }
    std::vector<QString> etiquettes;
    etiquettes.reserve(boites_.size());
    for (std::size_t k = 0; k < boites_.size(); ++k)
        etiquettes.push_back(Etiquette(static_cast<std::int32_t>(k)));
    statusBarGraph_->showMessage(
        TexteStatut(boites_, etiquettes, x_, y_, cbAxeX_->currentIndex(), cbAxeY_->currentIndex(), p));
}

void TFenGrapheAFC::SurfaceMouseUp(const QPoint &p, Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs)
{
    bande_->hide();
    const QRect rectangle = RectangleOrdonne(ancre_, p);
    if (btnPinceau_->isChecked())
        ColorieRect(partition_, boites_, rectangle, grilleCoul_->CouleurPremierPlan());
    else if (bouton != Qt::LeftButton)
        BasculeActifsRect(partition_, boites_, rectangle);
    else
        SelectionneRect(partition_, boites_, rectangle, modificateurs & Qt::ControlModifier);
    surface_->update();
}

void TFenGrapheAFC::cbAxeChange(QComboBox *liste)
{
    const bool vertical = liste == cbAxeY_;
    int &propre = vertical ? facteurY_ : facteurX_;
    const int autre = vertical ? facteurX_ : facteurY_;
    const int choix = liste->currentIndex();
    if (choix < 0 || choix == autre) {
        QSignalBlocker bloque(liste);
        liste->setCurrentIndex(propre);
    } else {
        propre = choix;
    }
    // The range becomes the column's plain extent, even when the choice was refused.
    if (vertical) {
        y_ = points_.colonnes[static_cast<std::size_t>(facteurY_)];
        cadre_.FixeY(y_);
    } else {
        x_ = points_.colonnes[static_cast<std::size_t>(facteurX_)];
        cadre_.FixeX(x_);
    }
    surface_->update();
}

void TFenGrapheAFC::GrilleCoulChange()
{
    if (btnSelec_->isChecked())
        SelectionneCouleur(partition_, points_.nbPoints, grilleCoul_->CouleurPremierPlan());
    surface_->update();
}

void TFenGrapheAFC::RBNomIdClick()
{
    noms_ = rbNom_->isChecked();
    if (pages_->currentIndex() == PagePlan)
        surface_->update();
    else if (pages_->currentIndex() == PageFacteurs)
        modele_->Rafraichit();
}

void TFenGrapheAFC::SpfButtonClick()
{
    if (const auto &f = FabriquesPlanAFC().specificites)
        f(partition_, this);
    surface_->update();
}

void TFenGrapheAFC::SpeedButton5Click()
{
    TFenParamAFC dialogue(partition_, qobject_cast<TFenPrinc *>(window()), this);
    dialogue.FixeTag(1);
    LesDialogues().execute(dialogue);
    dialogue.AmenePlanDevant();
}

void TFenGrapheAFC::BtnSpEvolClick()
{
    bool aucune = true;
    for (std::int32_t k = 0; k < partition_.NbParties(); ++k)
        if (partition_.EstSelectionnee(k))
            aucune = false;
    if (aucune) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), Traduit("Aucune partie n'est sélectionnée"),
                               BoutonsMessage::Ok, IconeMessage::Information);
        return;
    }
    if (const auto &f = FabriquesPlanAFC().specificitesEvolutives)
        f(partition_, this);
}

void TFenGrapheAFC::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    surface_->update();
}

bool TFenGrapheAFC::eventFilter(QObject *objet, QEvent *event)
{
    // The wheel over the histogram moves its bars.
    if (objet == vueHisto_->viewport() && event->type() == QEvent::Wheel && !defilHisto_->isHidden()) {
        QCoreApplication::sendEvent(defilHisto_, event);
        return true;
    }
    return QWidget::eventFilter(objet, event);
}

QImage TFenGrapheAFC::ImagePlan() const { return surface_->grab().toImage(); }

QImage TFenGrapheAFC::ImageHistogramme() const { return vueHisto_->grab().toImage(); }

void TFenGrapheAFC::AjouteAuRapport()
{
    if (pages_->currentIndex() == PagePlan)
        ExporteGraphe();
    else if (pages_->currentIndex() == PageHisto)
        ExporteHistogramme();
}

namespace {

void AjouteImage(QWidget *fenetre, const QImage &image, const QString &prefixe, const QString &legende,
                 const QString &bloc, const std::string &cle, int n)
{
    Rapport *rapport = ::RapportCourant();
    if (!rapport)
        return;
    const QString fichier =
        prefixe + QString::fromLatin1(NomDeFichierSur(cle)) + QString::number(n) + QStringLiteral(".jpg");
    QString erreur;
    if (!rapport->DossierTemporaireValide() ||
        !SauveBitmapJpeg(image, rapport->DossierTemporaire() + fichier, 30, &erreur)) {
        LesDialogues().message(fenetre, QStringLiteral("Talmer3"),
                               erreur.isEmpty() ? Traduit("Le dossier temporaire du rapport est inaccessible.") : erreur,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(EchappeTexte(legende) + QStringLiteral("(") + QString::number(n) + QStringLiteral(")"),
                           fichier, bloc, GenreElement::Image);
}

} // namespace

void TFenGrapheAFC::ExporteGraphe()
{
    const int n = ProchainNumeroImageAFC();
    const charg1 *base = partition_.Base();
    const QString bloc = BlocRapportAFC(windowTitle(), base ? base->NomBase() : "", QDateTime::currentDateTime(),
                                        partition_.NomPartition(), points_.nbPoints);
    AjouteImage(this, ImagePlan(), QStringLiteral("img-afc-"), windowTitle(), bloc, partition_.NomPartition(), n);
}

void TFenGrapheAFC::ExporteHistogramme()
{
    const int n = ProchainNumeroImageAFC();
    const charg1 *base = partition_.Base();
    QString bloc = BlocRapportAFC(QStringLiteral("Histogramme des valeurs propres"), base ? base->NomBase() : "",
                                  QDateTime::currentDateTime(), partition_.NomPartition(), points_.nbPoints);
    AjouteImage(this, ImageHistogramme(), QStringLiteral("img-afc-vp-"),
                QStringLiteral("AFC - Histogramme des Valeurs Propres "), bloc, partition_.NomPartition(), n);
}

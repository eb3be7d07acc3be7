#include "windows/courbes/fencourbes.h"

#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/commun/choixcouleur.h"
#include "windows/commun/textes_longs.h"

#include <QAbstractAxis>
#include <QChart>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace talmer {

VueGraphe::VueGraphe(QChart *chart, QWidget *parent) : QChartView(chart, parent)
{
    setAcceptDrops(true);
    setRenderHint(QPainter::Antialiasing);
}

void VueGraphe::dragEnterEvent(QDragEnterEvent *event)
{
    if (accepte && accepte(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void VueGraphe::dragMoveEvent(QDragMoveEvent *event)
{
    if (accepte && accepte(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void VueGraphe::dragLeaveEvent(QDragLeaveEvent *event) { event->accept(); }

void VueGraphe::dropEvent(QDropEvent *event)
{
    if (!accepte || !accepte(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (depose)
        depose(event->mimeData());
}

std::pair<double, double> PlageLog(double mini, double maxi)
{
    mini = std::max(1.0, mini);
    maxi = std::max(mini, maxi);
    if (maxi <= mini)
        maxi = mini * 10;
    return {mini, maxi};
}

namespace {

// Below this height the chart gives up its margins' room to the axes' labels and titles, and
// below the minimum it would elide them to "…".
constexpr int HauteurMargesPleines = 300;
constexpr int HauteurMinimaleGraphe = 196;
constexpr char TitreNaturel[] = "talmerTitre";
constexpr char TailleNaturelle[] = "talmerTailleTitre";
constexpr int TailleMinimaleTitre = 7;
constexpr int MargeTitre = 6;
constexpr char NomCourbe[] = "talmerNomComplet";

void AjusteTitreVertical(QAbstractAxis &axe, int place)
{
    if (place <= 0)
        return;
    QFont police = axe.titleFont();
    if (!axe.property(TitreNaturel).isValid()) {
        axe.setProperty(TitreNaturel, axe.titleText());
        axe.setProperty(TailleNaturelle, police.pointSizeF());
    }
    const QString texte = axe.property(TitreNaturel).toString();
    if (texte.isEmpty())
        return;
    // The chart lays the title out as rich text, with margins of its own and fractional
    // advances: a title measured as just fitting would still be elided there.
    const TitreAjuste titre = AjusteTitre(police, axe.property(TailleNaturelle).toDouble(), texte,
                                          place - MargeTitre, TailleMinimaleTitre);
    const QString html = titre.lignes.size() > 1 ? titre.lignes.join(QStringLiteral("<br>")) : texte;
    if (axe.titleText() != html)
        axe.setTitleText(html);
    if (titre.taille != static_cast<int>(police.pointSizeF())) {
        police.setPointSize(titre.taille);
        axe.setTitleFont(police);
    }
}

} // namespace

TitreAjuste AjusteTitre(QFont police, double tailleNaturelle, const QString &texte, int place, int minimum)
{
    // Two lines cut at the blank nearest the middle.
    QStringList deux = {texte};
    int meilleur = -1;
    for (int i = 0; i < texte.size(); ++i)
        if (texte[i] == QLatin1Char(' ') && (meilleur < 0 || std::abs(i - texte.size() / 2) < std::abs(meilleur - texte.size() / 2)))
            meilleur = i;
    if (meilleur > 0)
        deux = {texte.left(meilleur).toHtmlEscaped(), texte.mid(meilleur + 1).toHtmlEscaped()};
    const auto largeur = [&](const QStringList &lignes, int taille) {
        police.setPointSize(taille);
        const QFontMetrics mesure(police);
        int l = 0;
        for (const QString &ligne : lignes)
            l = std::max(l, mesure.horizontalAdvance(QTextDocumentFragment::fromHtml(ligne).toPlainText()));
        return l;
    };
    const int naturelle = std::max(minimum, static_cast<int>(tailleNaturelle));
    if (largeur({texte}, naturelle) <= place)
        return {{texte}, naturelle};
    int taille = naturelle;
    while (taille > minimum && largeur(deux, taille) > place)
        --taille;
    return {deux, taille};
}

FenCourbes::FenCourbes(const QColor &fond, QWidget *parent) : QWidget(parent)
{
    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignTop);
    chart_->legend()->setVisible(true);
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    ApplyCharsetToLegend(chart_->legend());
    // A vertical axis's title longer than the plot is tall is elided by the chart ("Nombre de
    // …" in a window of half the screen's height): its font shrinks until the title fits, and
    // grows back with the window.
    connect(chart_, &QChart::plotAreaChanged, this, [this](const QRectF &zone) {
        for (QAbstractAxis *axe : chart_->axes(Qt::Vertical))
            AjusteTitreVertical(*axe, static_cast<int>(zone.height()));
    });
    // A curve's title may name thousands of parts: the legend shows it elided to the chart's
    // width, never whole (laid out whole, such a line takes seconds and gigabytes).
    connect(chart_, &QChart::geometryChanged, this, &FenCourbes::EludeLegende);
    margesPleines_ = chart_->margins();
    connect(chart_, &QChart::geometryChanged, this, [this] {
        const QMargins marges = chart_->size().height() < HauteurMargesPleines
                                    ? QMargins(margesPleines_.left() / 2, 4, margesPleines_.right() / 2, 4)
                                    : margesPleines_;
        if (chart_->margins() != marges)
            chart_->setMargins(marges);
    });
    vue_ = new VueGraphe(chart_, this);
    vue_->setObjectName(QStringLiteral("Graphe"));
    // Below this the chart elides its axes' labels and titles to "…": a tile or a window made
    // smaller stops here, and the window's area scrolls or tiles around it.
    vue_->setMinimumSize(HauteurMinimaleGraphe * 3 / 2, HauteurMinimaleGraphe);
    vue_->accepte = [this](const QMimeData *d) { return Accepte(d); };
    vue_->depose = [this](const QMimeData *d) { Depose(d); };

    panBas_ = new QWidget(this);
    panBas_->setObjectName(QStringLiteral("PanBas"));
    panBas_->setFixedHeight(32);
    panBas_->setAutoFillBackground(true);
    auto *boutons = new QHBoxLayout(panBas_);
    boutons->setContentsMargins(4, 2, 4, 2);
    btnColorGraphe_ = new QPushButton(QStringLiteral("Couleur du graphique"), panBas_);
    btnColorGraphe_->setObjectName(QStringLiteral("BtnColorGraphe"));
    btnEffacer_ = new QPushButton(QStringLiteral("Effacer"), panBas_);
    btnEffacer_->setObjectName(QStringLiteral("BtnEffacer"));
    boutons->addWidget(btnColorGraphe_);
    boutons->addWidget(btnEffacer_);
    boutons->addStretch();

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(vue_, 1);
    disposition->addWidget(panBas_);

    connect(btnColorGraphe_, &QPushButton::clicked, this, &FenCourbes::BtnColorGrapheClick);
    connect(btnEffacer_, &QPushButton::clicked, this, &FenCourbes::BtnEffacerClick);
    AppliqueCouleur(fond);
}

FenCourbes::~FenCourbes() = default;

QList<QLineSeries *> FenCourbes::Series() const
{
    QList<QLineSeries *> series;
    for (QAbstractSeries *s : chart_->series())
        if (auto *ligne = qobject_cast<QLineSeries *>(s))
            series.push_back(ligne);
    return series;
}

QString FenCourbes::NomComplet(const QLineSeries *serie)
{
    return serie ? serie->property(NomCourbe).toString() : QString();
}

void FenCourbes::EludeLegende()
{
    const QFont police = chart_->legend()->font();
    // The legend runs along the top of the chart: its width less the margins and the marker.
    // Until the view is laid out, the chart has not the size it will show: the screen's width
    // bounds it then.
    double place = chart_->size().width();
    if (!vue_->testAttribute(Qt::WA_Resized) || place <= 0)
        if (const QScreen *ecran = vue_->screen())
            place = ecran->availableGeometry().width();
    const int largeur = static_cast<int>(place) - chart_->margins().left() - chart_->margins().right() -
                        2 * QFontMetrics(police).height();
    for (QLineSeries *serie : Series()) {
        const QString nom = TexteElude(NomComplet(serie), police, largeur);
        if (serie->name() != nom)
            serie->setName(nom);
    }
}

void FenCourbes::FixeLargeurMinimale()
{
    // The bottom axis's title whole, beside the side axis's labels and title.
    int largeur = HauteurMinimaleGraphe * 3 / 2;
    for (QAbstractAxis *axe : chart_->axes(Qt::Horizontal))
        largeur = std::max(largeur, QFontMetrics(axe->titleFont()).horizontalAdvance(axe->titleText()) + 110);
    vue_->setMinimumWidth(largeur);
}

void FenCourbes::AppliqueCouleur(const QColor &couleur)
{
    chart_->setBackgroundBrush(couleur);
    QPalette palette = panBas_->palette();
    palette.setColor(QPalette::Window, couleur);
    panBas_->setPalette(palette);
}

void FenCourbes::BtnColorGrapheClick()
{
    if (const std::optional<QColor> c = ChoisitCouleur(this, chart_->backgroundBrush().color()))
        AppliqueCouleur(*c);
}

void FenCourbes::BtnEffacerClick()
{
    chart_->removeAllSeries();
    AjusteAxes();
}

QLineSeries *FenCourbes::AjouteSerie(const Courbe &courbe, bool logX)
{
    auto *serie = new QLineSeries(this);
    serie->setProperty(NomCourbe, courbe.titreDuProgramme ? Traduit(courbe.titre.c_str()) : EnUnicode(courbe.titre));
    const std::vector<PointCourbe> points = Eclaircit(courbe.points, ColonnesAffichees, logX);
    QList<QPointF> liste;
    liste.reserve(static_cast<qsizetype>(points.size()));
    for (const PointCourbe &p : points)
        liste.push_back(QPointF(p.x, p.y));
    serie->replace(liste);
    chart_->addSeries(serie);
    EludeLegende();
    // The whole title in the legend entry's tooltip.
    for (QLegendMarker *marque : chart_->legend()->markers(serie))
        connect(marque, &QLegendMarker::hovered, this, [this, serie](bool dessus) {
            if (dessus)
                QToolTip::showText(QCursor::pos(), TexteInfobulle(NomComplet(serie)), vue_);
            else
                QToolTip::hideText();
        });
    // The chart gives each new series a colour of its theme; white would not show on the wall.
    QPen stylo = serie->pen();
    if (serie->color() == QColor(Qt::white))
        stylo.setColor(Qt::black);
    stylo.setWidth(2);
    serie->setPen(stylo);
    return serie;
}

void FenCourbes::AjouteAuRapport()
{
    Rapport *rapport = RapportCourant();
    if (!rapport)
        return;
    int &compteur = CompteurImages();
    const int n = compteur++;
    const QString fichier = PrefixeImage() + QString::number(n) + QStringLiteral(".jpg");
    const QImage image = vue_->grab().toImage();
    QString erreur;
    if (!SauveBitmapJpeg(image, rapport->DossierTemporaire() + fichier, 30, &erreur)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(EchappeTexte(windowTitle()) + QStringLiteral(" (") + QString::number(n + 1) +
                               QStringLiteral(")"),
                           fichier, QStringLiteral(" "), GenreElement::Image);
}

void FenCourbes::Place(TFenPrinc &fen, QMdiSubWindow *sous)
{
    if (!sous)
        return;
    const int largeur = fen.LargeurLibre() - 16;
    const int hauteur = fen.HauteurLibre() / 2 - 4;
    if (largeur <= 0 || hauteur <= 0)
        return;
    // A window opened while another is maximised opens maximised too; it is placed in its normal
    // state, so that it keeps this place when the others are restored.
    if (sous->isMaximized() || sous->isMinimized())
        sous->showNormal();
    sous->setGeometry(0, hauteur - 12, largeur, hauteur);
    fen.Zone().FixeTailleConcue(sous, sous->size());
    // The free width counts the area's whole client width; its scroll bar and the sheet tabs
    // take some of it.
    fen.Zone().GardeDansZoneMdi(sous);
}

} // namespace talmer

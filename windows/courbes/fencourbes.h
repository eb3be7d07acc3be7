// What the Zipf and growth windows share: a chart above a bottom panel with "Couleur du
// graphique" and "Effacer", curves added by drops, and a picture of the chart for the report.
#pragma once

#include "services/contributeur.h"
#include "windows/courbes/points_courbes.h"

#include <QChartView>
#include <QFont>
#include <QMargins>
#include <QStringList>
#include <QWidget>

#include <functional>

class QChart;
class QLineSeries;
class QMdiSubWindow;
class QMimeData;
class QPushButton;
class TFenPrinc;

namespace talmer {

// The chart's view, which takes drops through the two functions its window gives it.
class VueGraphe : public QChartView {
    Q_OBJECT
public:
    VueGraphe(QChart *chart, QWidget *parent);

    std::function<bool(const QMimeData *)> accepte;
    std::function<void(const QMimeData *)> depose;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

// How a title is set beside a plot `place` pixels tall: on one line at its natural point size
// when it fits; otherwise on two lines cut at the blank nearest its middle (HTML-escaped pieces,
// to be joined by <br>), at the largest point size from the natural one down to `minimum` at which
// they fit (`minimum` when none does).
struct TitreAjuste {
    QStringList lignes;
    int taille = 0;
};
TitreAjuste AjusteTitre(QFont police, double tailleNaturelle, const QString &texte, int place, int minimum);

class FenCourbes : public QWidget, public ContributeurRapport {
    Q_OBJECT
public:
    // Curves of this many points or more are thinned to this many columns before they are drawn.
    static constexpr int ColonnesAffichees = 2048;

    ~FenCourbes() override;

    QChart *Graphe() const { return chart_; }
    VueGraphe *Vue() const { return vue_; }
    QWidget *PanBas() const { return panBas_; }
    QPushButton *BtnColorGraphe() const { return btnColorGraphe_; }
    QPushButton *BtnEffacer() const { return btnEffacer_; }
    // The curves drawn, in the order they were added.
    QList<QLineSeries *> Series() const;
    // A curve's whole title (the names of its parts); the series' own name, which the legend
    // shows, is that title elided to the chart's width.
    static QString NomComplet(const QLineSeries *serie);

    // "Couleur du graphique": the panel and the chart take the colour the user chooses.
    void BtnColorGrapheClick();
    // "Effacer": removes every curve.
    void BtnEffacerClick();

    // Saves a picture of the chart into the report's temporary folder as <prefix><n>.jpg (n a
    // counter of the window kind, from 0) and adds it, captioned with the window's caption and
    // " (n + 1)".
    void AjouteAuRapport() override;

    // Places the window in the main window's free area: the whole width less 16, half the height
    // less 4, at the left edge, its top its own height less 12; that size is its designed size.
    static void Place(TFenPrinc &fen, QMdiSubWindow *sous);

protected:
    FenCourbes(const QColor &fond, QWidget *parent);

    // Adds a curve as a line series of pen width 2, thinned when long; returns it (already in the
    // chart, not yet attached to the axes).
    QLineSeries *AjouteSerie(const Courbe &courbe, bool logX);
    // Sets the axes for the curves drawn; called after each change of the curves.
    virtual void AjusteAxes() = 0;
    virtual bool Accepte(const QMimeData *donnees) const = 0;
    virtual void Depose(const QMimeData *donnees) = 0;
    virtual QString PrefixeImage() const = 0;
    virtual int &CompteurImages() const = 0;
    // Once the axes are set: the chart is never narrower than its bottom axis's title needs.
    void FixeLargeurMinimale();

private:
    void AppliqueCouleur(const QColor &couleur);
    // Gives each curve's legend entry its title elided to the chart's width.
    void EludeLegende();

    QChart *chart_ = nullptr;
    QMargins margesPleines_;  // the chart's own margins, kept while it is tall enough
    VueGraphe *vue_ = nullptr;
    QWidget *panBas_ = nullptr;
    QPushButton *btnColorGraphe_ = nullptr;
    QPushButton *btnEffacer_ = nullptr;
};

// A log axis cannot run from a value to itself: the range [mini, maxi] widened to a decade
// above when they are equal (and starting at 1 at least).
std::pair<double, double> PlageLog(double mini, double maxi);

} // namespace talmer

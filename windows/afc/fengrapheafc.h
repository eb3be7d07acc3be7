// The factor plane of one correspondence analysis of a partition: the histogram of eigenvalues,
// the table of factors and the plane where each part is a framed label at its coordinates on two
// chosen factors. On the plane the user selects parts, switches them between active and
// supplementary and colours them: these marks are the partition's own.
#pragma once

#include "services/contributeur.h"
#include "windows/afc/plan_afc.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <cstdint>
#include <vector>

class Partition;
class QBarCategoryAxis;
class QBarSet;
class QButtonGroup;
class QChart;
class QChartView;
class QComboBox;
class QRadioButton;
class QRubberBand;
class QScrollBar;
class QStackedWidget;
class QStatusBar;
class QTableView;
class QToolButton;
class TFenGrapheAFC;

namespace talmer {

// The 2 x 8 grid of the sixteen basic colours; a click chooses the foreground colour.
class GrilleCouleurs : public QWidget {
    Q_OBJECT
public:
    explicit GrilleCouleurs(QWidget *parent);
    int IndexPremierPlan() const { return index_; }
    void FixeIndexPremierPlan(int index);
    // 0x00BBGGRR value of the foreground colour.
    std::int32_t CouleurPremierPlan() const;
    static std::int32_t Couleur(int index);
    QSize sizeHint() const override { return {128, 32}; }
signals:
    void changee();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int index_ = 12;
};

// The table of factors, one row per part.
class ModeleFacteurs : public QAbstractTableModel {
public:
    explicit ModeleFacteurs(const TFenGrapheAFC &fenetre) : fenetre_(fenetre) {}
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Rafraichit();

private:
    const TFenGrapheAFC &fenetre_;
};

// The drawing surface; its window draws it and takes its mouse events.
class SurfaceAFC : public QWidget {
    Q_OBJECT
public:
    SurfaceAFC(TFenGrapheAFC &fenetre, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TFenGrapheAFC &fenetre_;
};

} // namespace talmer

class TFenGrapheAFC : public QWidget, public ContributeurRapport {
    Q_OBJECT
public:
    // The partition is not owned; the points are the checked content of "facteurs.txt", the
    // eigenvalues that of "vp.txt".
    TFenGrapheAFC(Partition &partition, talmer::ListePoints points, std::vector<double> valeursPropres,
                  QWidget *parent = nullptr);
    // Reads and checks both result files of the current directory; null when either is missing or
    // wrong, or their publication did not end (*raison, when given, says why it could not read).
    static TFenGrapheAFC *Ouvre(Partition &partition, QString *raison = nullptr);

    Partition &PartitionPortee() const { return partition_; }
    const talmer::ListePoints &Points() const { return points_; }
    const std::vector<double> &X() const { return x_; }
    const std::vector<double> &Y() const { return y_; }
    const talmer::CadrePlan &Cadre() const { return cadre_; }
    bool Noms() const { return noms_; }
    QString Etiquette(std::int32_t k) const;
    // The label boxes of the last painting, one per row.
    const std::vector<QRect> &Boites() const { return boites_; }

    QWidget *Surface() const;
    QStatusBar *StatusBarGraph() const { return statusBarGraph_; }
    QComboBox *CbAxeX() const { return cbAxeX_; }
    QComboBox *CbAxeY() const { return cbAxeY_; }
    QStackedWidget *PageControl1() const { return pages_; }
    QChart *GrapheHisto() const { return grapheHisto_; }
    QChartView *VueHisto() const { return vueHisto_; }
    // Moves the histogram's bars when they do not all fit; hidden when they do.
    QScrollBar *DefilHisto() const { return defilHisto_; }
    QTableView *LVFact() const { return lvFact_; }
    talmer::GrilleCouleurs *GrilleCoul() const { return grilleCoul_; }
    QToolButton *BtnPinceau() const { return btnPinceau_; }
    QToolButton *BtnSelec() const { return btnSelec_; }
    QToolButton *SpfButton() const { return spfButton_; }
    QToolButton *BtnAFC() const { return btnAFC_; }
    QToolButton *SpeedButton5() const { return speedButton5_; }
    QToolButton *BtnSpEvol() const { return btnSpEvol_; }
    QToolButton *SpeedButton1() const { return speedButton1_; }
    QToolButton *SpeedButton2() const { return speedButton2_; }
    QToolButton *SpeedButton3() const { return speedButton3_; }
    QRadioButton *RBNom() const { return rbNom_; }
    QRadioButton *RadioButton1() const { return radioButton1_; }

    // Draws the plane on a surface of the given size and keeps the label boxes.
    void Peint(QPainter &peintre, const QSize &taille);
    // The mouse on the surface.
    void SurfaceMouseDown(const QPoint &p);
    void SurfaceMouseMove(const QPoint &p, Qt::MouseButtons boutons);
    void SurfaceMouseUp(const QPoint &p, Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs);
    void cbAxeChange(QComboBox *liste);
    void GrilleCoulChange();
    void RBNomIdClick();
    void SpfButtonClick();
    void SpeedButton5Click();
    void BtnSpEvolClick();
    // Enables the buttons whose dialogs are installed.
    void ActualiseBoutons();

    void AjouteAuRapport() override;
    // The pictures of the plane and of the histogram, as they go into the report.
    QImage ImagePlan() const;
    QImage ImageHistogramme() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void ChargeValeursPropres();
    // As many bars as the plot area holds at their readable height, the scroll bar sized to
    // the others.
    void CadreHistogramme(const QRectF &zone);
    // The bars from `decalage` values below the first eigenvalue.
    void MontreHistogramme(int decalage);
    void PrepareTableFacteurs();
    void ExporteGraphe();
    void ExporteHistogramme();

    Partition &partition_;
    talmer::ListePoints points_;
    std::vector<double> valeursPropres_;
    std::vector<double> x_, y_;
    talmer::CadrePlan cadre_;
    int facteurX_ = 0;
    int facteurY_ = 1;
    bool noms_ = true;
    std::vector<QRect> boites_;
    QPoint ancre_, coin_;

    talmer::SurfaceAFC *surface_ = nullptr;
    QRubberBand *bande_ = nullptr;
    QStatusBar *statusBarGraph_ = nullptr;
    QComboBox *cbAxeX_ = nullptr;
    QComboBox *cbAxeY_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QChart *grapheHisto_ = nullptr;
    QChartView *vueHisto_ = nullptr;
    QScrollBar *defilHisto_ = nullptr;
    QBarCategoryAxis *axeHisto_ = nullptr;
    QBarSet *barresHisto_ = nullptr;
    talmer::FenetreValeurs montrees_;
    QTableView *lvFact_ = nullptr;
    talmer::ModeleFacteurs *modele_ = nullptr;
    talmer::GrilleCouleurs *grilleCoul_ = nullptr;
    QToolButton *btnPinceau_ = nullptr;
    QToolButton *btnSelec_ = nullptr;
    QToolButton *spfButton_ = nullptr;
    QToolButton *btnAFC_ = nullptr;
    QToolButton *speedButton5_ = nullptr;
    QToolButton *btnSpEvol_ = nullptr;
    QToolButton *speedButton1_ = nullptr;
    QToolButton *speedButton2_ = nullptr;
    QToolButton *speedButton3_ = nullptr;
    QRadioButton *rbNom_ = nullptr;
    QRadioButton *radioButton1_ = nullptr;
};

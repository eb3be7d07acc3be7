// The distribution graph of a partition: user-made groups of forms (dropped, or handed as a
// spelling) drawn over the parts, as curves of their frequency (per 10 000 occurrences of the
// part, or absolute) or as bars of their specificity coefficient.
#pragma once

#include "services/contributeur.h"
#include "shell/deposeforme.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class Partition;
class QAbstractButton;
class QBarCategoryAxis;
class QBarSeries;
class QChart;
class QChartView;
class QRadioButton;
class QToolButton;
class QValueAxis;
class TDropTarget;
class TFenPrinc;
class Tgen;

class TFenGrapheTgen : public QWidget, public ContributeurRapport, public talmer::RecepteurForme {
    Q_OBJECT
public:
    // The partition is not owned (the workspace registry owns it). fenPrinc: the main window,
    // through which "Stat" finds the partition's statistics window (may be null).
    TFenGrapheTgen(TFenPrinc *fenPrinc, Partition &partition, QWidget *parent = nullptr);
    ~TFenGrapheTgen() override;

    Partition &PartitionGraphe() const { return partition_; }
    QChart *Graphe() const { return graphe_; }
    QChartView *Vue() const { return vue_; }
    QBarCategoryAxis *AxeParties() const { return axeParties_; }
    QValueAxis *AxeValeurs() const { return axeValeurs_; }

    // The groups drawn, in the order they came; the window owns them.
    const std::vector<std::unique_ptr<Tgen>> &Groupes() const { return groupes_; }
    bool Relatif() const { return relatif_; }
    // Lowest and highest coefficient met by the specificity series since the last clearing.
    std::int32_t PlusBas() const { return plusBas_; }
    std::int32_t PlusHaut() const { return plusHaut_; }
    // True while the frequency view is chosen (else the specificity view).
    bool VueFrequences() const;

    // Appends the group and adds its series in the current view. A group of another base than
    // the partition's is refused (false).
    bool AjouteGroupe(std::unique_ptr<Tgen> groupe);
    void AjouteFrequences(const Tgen &groupe);
    void AjouteSpecificites(const Tgen &groupe);
    // Removes every series (the groups stay).
    void EffaceSeries();
    // Removes every series and every group.
    void Efface();
    void AfficheFrequences();
    void AfficheSpecificites();

    // Buttons of the bottom bar.
    void BtnPCLCClick();
    void BtnFreqClick();
    void BtnFrqSpfClick();
    void BtnClearClick() { Efface(); }
    // "Zoom +": the middle half of the parts shown; "Zoom -": every part again.
    void BtnZoomClick();
    void BtnUnZoomClick();
    // The arrows: the parts shown move by 5, never past the first or the last part.
    void BtnLeftClick();
    void BtnRightClick();
    // The first and last part shown (indexes).
    int PremierePartieVue() const { return premiere_; }
    int DernierePartieVue() const { return derniere_; }

    QToolButton *BtnPCLC() const { return btnPCLC_; }
    QToolButton *BtnAffFrq() const { return btnAffFrq_; }
    QToolButton *BtnAffSpf() const { return btnAffSpf_; }
    QRadioButton *RBtnRel() const { return rBtnRel_; }
    QRadioButton *RBtnAbs() const { return rBtnAbs_; }
    QToolButton *BtnZoom() const { return btnZoom_; }
    QToolButton *BtnUnZoom() const { return btnUnZoom_; }
    QToolButton *BtnLeft() const { return btnLeft_; }
    QToolButton *BtnRight() const { return btnRight_; }
    QToolButton *BtnClear() const { return btnClear_; }

    // A form handed by its spelling becomes a one-form group.
    void DeposeForme(std::string_view graphie) override;
    // A JPEG picture of the chart in the current report.
    void AjouteAuRapport() override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void ConstruitGraphe();
    void ConstruitBarre();
    // A minimum height at which the chart's axes stay legible, their titles whole.
    void FixeTailleMinimale();
    // The colour a new series takes: the group's when it has one that no series shows yet.
    bool CouleurLibre(QColor couleur) const;
    // The left axis of the specificity view: from the lowest coefficient - 1 to the highest + 1.
    void BornesSpecificites();
    void MontreParties(int premiere, int derniere);
    void ZoomChange(bool zoome);

    TFenPrinc *fenPrinc_;
    Partition &partition_;
    std::vector<std::unique_ptr<Tgen>> groupes_;
    bool relatif_ = true;
    std::int32_t plusBas_ = 0;
    std::int32_t plusHaut_ = 0;
    int premiere_ = 0;
    int derniere_ = -1;

    QChart *graphe_ = nullptr;
    QChartView *vue_ = nullptr;
    QBarCategoryAxis *axeParties_ = nullptr;
    QValueAxis *axeValeurs_ = nullptr;
    QBarSeries *barres_ = nullptr;

    QToolButton *btnPCLC_ = nullptr;
    QToolButton *btnAffFrq_ = nullptr;
    QToolButton *btnAffSpf_ = nullptr;
    QRadioButton *rBtnRel_ = nullptr;
    QRadioButton *rBtnAbs_ = nullptr;
    QToolButton *btnZoom_ = nullptr;
    QToolButton *btnUnZoom_ = nullptr;
    QToolButton *btnLeft_ = nullptr;
    QToolButton *btnRight_ = nullptr;
    QToolButton *btnClear_ = nullptr;

    std::unique_ptr<TDropTarget> cibleDepot_;
};

// The window of one partition: the counts of its parts, the part flags that every specificity
// computation, the correspondence analysis and the curves read, and the buttons that start those
// analyses. The specificity family adds its views and actions through ExtensionStatistiques().
#pragma once

#include "shell/contributeur.h"
#include "windows/partitions/extensions_statpart.h"

#include <QPointer>
#include <QWidget>

class GrillePCLC;
class ModelePCLC;
class Partition;
class QPlainTextEdit;
class QProcess;
class QTabWidget;
class QToolButton;
class TFenPrinc;
class charg1;

class TFenStatPart : public QWidget, public ContributeurRapport {
    Q_OBJECT
public:
    // Name of the external clustering program, looked up beside the program then on PATH.
    static constexpr const char *ProgrammeCAH = "ta3cah";

    // The partition is not owned (the workspace registry owns it). fenPrinc: the main window the
    // other analyses open in (may be null: those buttons then do nothing).
    TFenStatPart(TFenPrinc *fenPrinc, Partition &partition, QWidget *parent = nullptr);
    ~TFenStatPart() override;

    Partition &PartitionStat() const { return partition_; }
    charg1 &Base() const;
    TFenPrinc *FenPrinc() const { return fenPrinc_; }

    // --- Pages ------------------------------------------------------------------------------
    // The page control: page 0 "Princ. Caract. Lexicométriques", 1 "TFG / Spécificités par
    // partie", 2 "Spécificités Chronologiques". Pages 1 and 2 are hidden until shown here, and
    // stay once shown. Each page has a vertical box layout, empty on pages 1 and 2.
    QTabWidget *PCStat() const { return pcStat_; }
    QWidget *TabPCLC() const { return tabPCLC_; }
    QWidget *TabTFG() const { return tabTFG_; }
    QWidget *TabSC() const { return tabSC_; }
    void MontreTabTFG(bool active = true);
    void MontreTabSC(bool active = true);
    bool TabTFGVisible() const;
    bool TabSCVisible() const;

    QPlainTextEdit *MemoResum() const { return memoResum_; }
    GrillePCLC *GrdPCLC() const { return grdPCLC_; }
    ModelePCLC *ModeleComptes() const { return modele_; }
    // Redraws the counts after the part flags changed elsewhere.
    void RafraichitComptes();

    // --- Tool panel ---------------------------------------------------------------------------
    QToolButton *BtnSpecif() const { return btnSpecif_; }
    QToolButton *BtnSpEvol() const { return btnSpEvol_; }
    QToolButton *BtnAFC() const { return btnAFC_; }
    QToolButton *SpeedButton5() const { return btnCAH_; }
    QToolButton *BtnZipf() const { return btnZipf_; }
    QToolButton *BtnAcroiVoc() const { return btnAcroiVoc_; }
    QToolButton *BtnSpTot() const { return btnSpTot_; }

    // The specificity family's actions; each button is enabled while its action is set.
    const talmer::ActionsStatPart &Actions() const { return actions_; }
    void FixeActions(talmer::ActionsStatPart actions);
    // Enables the buttons whose analysis exists (the factories of FabriquesStatistiques() and the
    // actions above); the clustering button is enabled unless the program runs.
    void ActualiseBoutons();

    void BtnSpecifClick();
    void BtnSpEvolClick();
    void BtnSpTotClick();
    void BtnAFCClick();
    void BtnZipfClick();
    void BtnAcroiVocClick();
    // "CAH": starts the clustering program and returns at once; the window keeps the hourglass
    // and the button stays disabled until the program ends. A program that cannot be found or
    // started is reported in French.
    void SpeedButton5Click();
    // True while the clustering program started from this window runs.
    bool CAHEnCours() const;
    // The clustering program to start: beside the program, else on PATH; empty when none.
    static QString CheminProgrammeCAH();

    // "Ajouter au rapport": the pages of the window, through the specificity family's action.
    void AjouteAuRapport() override;

signals:
    // The clustering program started from this window has ended (or could not start).
    void finCAH();

private:
    // The memo's tab stops and height for its font and its counts.
    void AjusteMemo();
    void ConstruitPages();
    void ConstruitPanneauOutils();
    void FinCAH();

    TFenPrinc *fenPrinc_;
    Partition &partition_;
    talmer::ActionsStatPart actions_;

    QTabWidget *pcStat_ = nullptr;
    QWidget *tabPCLC_ = nullptr;
    QWidget *tabTFG_ = nullptr;
    QWidget *tabSC_ = nullptr;
    QPlainTextEdit *memoResum_ = nullptr;
    ModelePCLC *modele_ = nullptr;
    GrillePCLC *grdPCLC_ = nullptr;

    QToolButton *btnSpecif_ = nullptr;
    QToolButton *btnSpEvol_ = nullptr;
    QToolButton *btnAFC_ = nullptr;
    QToolButton *btnCAH_ = nullptr;
    QToolButton *btnZipf_ = nullptr;
    QToolButton *btnAcroiVoc_ = nullptr;
    QToolButton *btnSpTot_ = nullptr;

    QPointer<QProcess> cah_;
};

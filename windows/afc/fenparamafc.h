// The set-up dialog of the correspondence analysis: the dimensions of the table and the minimum
// frequency of the forms kept. OK writes "coran.don" in the current directory, runs the analysis
// program ta3afc (beside the workbench's own program) and opens the factor plane on its results.
#pragma once

#include "windows/afc/donnees_afc.h"
#include "windows/afc/fengrapheafc.h"

#include "engine/progression.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <optional>

class Partition;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TFenPrinc;
class TravailLong;

class TFenParamAFC : public QDialog {
    Q_OBJECT
public:
    // The partition is not owned. With a main window the plane opens there; without one it is
    // kept as a top-level window (PlanOuvert()).
    TFenParamAFC(Partition &partition, TFenPrinc *fenPrinc, QWidget *parent = nullptr);

    // 0: every part is active; 1: the checked parts are active, the others supplementary.
    int Tag() const { return tag_; }
    void FixeTag(int tag) { tag_ = tag; }

    QLineEdit *EdTitre() const { return edTitre_; }
    QLineEdit *EdNI() const { return edNI_; }
    QLineEdit *EdNJ() const { return edNJ_; }
    QLineEdit *EdNF() const { return edNF_; }
    QLineEdit *EdNI2() const { return edNI2_; }
    QLineEdit *EdNJ2() const { return edNJ2_; }
    QSpinBox *CSpinEdit1() const { return cSpinEdit1_; }
    QPushButton *BitBtn1() const { return bitBtn1_; }
    QPushButton *BitBtn2() const { return bitBtn2_; }

    // NI becomes the number of forms that reach the spin's value.
    void CSpinEdit1Change();
    // Checks the dimensions and writes "coran.don" in the current directory; false (nothing
    // written) when they are not valid or the file cannot be written, the latter with the file
    // and its reason in ErreurEcriture(). The callback, when given, is called about a hundred
    // times per phase of the writing; what it throws goes through, nothing written.
    bool EcritDonnees(FnProgression pas = nullptr);
    // Why the last EcritDonnees could not write the file, in French; empty when it did, or when
    // the dimensions were not valid.
    const QString &ErreurEcriture() const { return erreurEcriture_; }
    // OK: writes the table, runs the analysis and opens the plane, or says what went wrong. The
    // user may stop the writing or the analysis (the dialog then closes, and the files of the
    // last analysis stay as they were).
    void BitBtn1Click();

    // The plane opened by the last run (null when none opened, or it has been closed since).
    TFenGrapheAFC *PlanOuvert() const { return plan_; }
    // Once the dialog has closed: brings the plane it opened in the main window to the front.
    // Closing gives the focus back to the window that opened the dialog, which would otherwise
    // come over the new plane.
    void AmenePlanDevant() const;

    // The analysis program run by OK (tests put another one; empty restores ta3afc beside the
    // running program).
    static void FixeProgramme(const QString &chemin);
    static QString Programme();

private:
    void FormCreate();
    // The dimensions typed, when valid.
    std::optional<talmer::DimensionsAFC> Dimensions() const;
    // Runs the program in the current directory, keeping the windows painted and the status bar
    // on what it says of its progress; empty on success, else the reason. When the user stops the work, the program is ended and `interrompue` set.
    QString ExecuteAnalyse(TravailLong &travail, bool &interrompue);

    Partition &partition_;
    TFenPrinc *fenPrinc_;
    int tag_ = 0;
    QLineEdit *edTitre_ = nullptr;
    QLineEdit *edNI_ = nullptr;
    QLineEdit *edNJ_ = nullptr;
    QLineEdit *edNF_ = nullptr;
    QLineEdit *edNI2_ = nullptr;
    QLineEdit *edNJ2_ = nullptr;
    QSpinBox *cSpinEdit1_ = nullptr;
    QPushButton *bitBtn1_ = nullptr;
    QPushButton *bitBtn2_ = nullptr;
    QPointer<TFenGrapheAFC> plan_;
    QString erreurEcriture_;
};

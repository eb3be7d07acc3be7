// The set-up dialog of the repeated-segment computation: the sequence delimiters (punctuation),
// the key types (shown only) and the minimum frequency of a segment.
#pragma once

#include <QDialog>

#include <cstdint>
#include <set>

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QSpinBox;
class charg1;

class TFenPrepSR : public QDialog {
    Q_OBJECT
public:
    TFenPrepSR(charg1 &base, QWidget *parent = nullptr);

    // What the computation receives once the dialog is confirmed.
    std::set<std::int32_t> Delimiteurs() const;
    std::int32_t ValeurEditForme() const;
    std::int32_t ValeurEditSR() const;
    // False when no segment can repeat in this base (OK is then disabled).
    bool CalculPossible() const { return possible_; }

    QListWidget *ListDelims() const { return listDelims_; }
    QListWidget *ListCles() const { return listCles_; }
    QSpinBox *EditSR() const { return editSR_; }
    QSpinBox *EditForme() const { return editForme_; }
    QLabel *Avertissement() const { return avertissement_; }
    QDialogButtonBox *Boutons() const { return boutons_; }

private:
    void FormCreate(charg1 &base);

    QListWidget *listDelims_ = nullptr;
    QListWidget *listCles_ = nullptr;
    QSpinBox *editSR_ = nullptr;
    QSpinBox *editForme_ = nullptr;
    QLabel *avertissement_ = nullptr;
    QDialogButtonBox *boutons_ = nullptr;
    bool possible_ = true;
};

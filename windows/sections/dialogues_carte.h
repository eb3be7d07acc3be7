// The small dialogs of the section map: the settings popup "Réglages" (one for the whole run),
// the choice of offsets when a saved selection is loaded, and the parameters of the sectional
// specificities.
#pragma once

#include <QDialog>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QSpinBox;

namespace talmer {

// Two thresholds typed as texts, both checked before either is used; nothing when either is not
// an integer.
struct Seuils {
    std::int32_t haut = 5;
    std::int32_t bas = 2;
};
std::optional<Seuils> LitSeuils(const QString &haut, const QString &bas);

class TFenParamCarte : public QDialog {
    Q_OBJECT
public:
    explicit TFenParamCarte(QWidget *parent = nullptr);

    // The colour shown as the group's (0x00BBGGRR); the three swatches take it and its shades.
    void FixeCouleur(std::int32_t couleur);
    std::int32_t Couleur(int k) const; // swatch k = 1, 2, 3

    QLineEdit *Edit1() const { return edit1_; } // high threshold ("5" at first)
    QLineEdit *Edit2() const { return edit2_; } // low threshold ("2" at first)

    // OK: both thresholds are read first; a text that is no integer is reported and the popup
    // stays open.
    void accept() override;
    const Seuils &SeuilsLus() const { return seuils_; }

private:
    QFrame *shape1_ = nullptr;
    QFrame *nuances_[3] = {nullptr, nullptr, nullptr};
    QLineEdit *edit1_ = nullptr;
    QLineEdit *edit2_ = nullptr;
    std::int32_t couleurs_[3] = {0, 0, 0};
    Seuils seuils_;
};

// The popup of the run (created at start-up; made on first use when it was not).
TFenParamCarte &ParamCarte();
void CreeParamCarte(QWidget *parent);

class TfrmChoixSeclectionSection : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChoixSeclectionSection(QWidget *parent = nullptr);

    // The boxes for the offsets -3 to +3, in order.
    QCheckBox *Case(int decalage) const { return cases_[static_cast<std::size_t>(decalage + 3)]; }
    // The checked offsets, ascending (filled by OK).
    std::vector<int> GetSelection() const { return choisis_; }
    void BtnOKClick();

private:
    std::vector<QCheckBox *> cases_;
    std::map<QString, int> decalages_; // box name -> offset
    std::vector<int> choisis_;
};

class TFenParamSpecSect : public QDialog {
    Q_OBJECT
public:
    // fmax: the base's highest frequency, the minimum frequency's upper bound.
    TFenParamSpecSect(std::int32_t fmax, QWidget *parent = nullptr);
    QSpinBox *CSpinEdit1() const { return spin1_; } // threshold percent, 0..100, 5
    QSpinBox *CSpinEdit2() const { return spin2_; } // minimum frequency, 1..fmax, 2

private:
    QSpinBox *spin1_ = nullptr;
    QSpinBox *spin2_ = nullptr;
};

} // namespace talmer

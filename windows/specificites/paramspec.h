// The three dialogs that ask for the parameters of a specificity computation on a partition (the
// probability threshold in percent and the minimum frequency), and the runs they start: the
// specificities of the selected parts against the checked parts, the evolutive specificities,
// and (returned to the caller) the specificities per part.
#pragma once

#include "windows/specificites/fenspecgrp.h"

#include "engine/progression.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PrimSpec;
class Partition;
class QCheckBox;
class QSpinBox;
class QVBoxLayout;

namespace talmer {


// The names of the checked parts and of the selected parts, each followed by ", "; and the
// names one by one.
struct ListesParties {
    std::string reference;
    std::string selection;
    std::vector<std::string> nomsReference;
    std::vector<std::string> nomsSelection;
};
ListesParties ListesDesParties(const Partition &partition);

// The hint of a list's two labels: "Corpus de référence : ", the checked parts, "Parties
// sélectionnées : ", the selected parts, each on lines of their own. It stays within a screen as
// a curve's legend tooltip does (at most 30 lines of at most 100 characters), a list too long
// for it ending with how many names it leaves out.
QString BulleLibellesSpec(const QStringList &reference, const QStringList &selection);

// The first part both checked and selected, -1 when none.
std::int32_t PremiereCible(const Partition &partition);

// Specificities of the selected parts against the checked parts, with the partition's
// parameters. With no selected part the target is empty: no term departs from chance and the
// list is empty.
std::unique_ptr<PrimSpec> CalculeSpecGroupe(Partition &partition, std::int32_t diviseur, FnProgression pas);

// Evolutive specificities: the first part i both checked and selected, alone, against the checked
// parts up to and including i. Every flag is put back afterwards, also when the computation
// fails. Null (nothing computed) when there is no such part; *partie receives i.
std::unique_ptr<PrimSpec> CalculeSpecEvolutive(Partition &partition, FnProgression pas, std::int32_t *partie);

// The message shown when a run has no target part.
QString MessageSansCible();

// The layout the three dialogs share: threshold on the left, minimum frequency on the right.
class DialogueParamSpec : public QDialog {
    Q_OBJECT
public:
    QSpinBox *SpinSeuil() const { return seuil_; }
    QSpinBox *SpinFreqMin() const { return freqMin_; }

protected:
    DialogueParamSpec(QWidget *owner, const char *nomSeuil, const char *nomFreqMin);
    // Adds the OK and Cancel buttons (after any other control): OK runs Ok(), Cancel rejects.
    void AjouteBoutons(const char *nomOk, const char *nomAnnuler);
    virtual void Ok() { accept(); }
    QVBoxLayout *corps_ = nullptr;

private:
    QSpinBox *seuil_ = nullptr;
    QSpinBox *freqMin_ = nullptr;
};

// "Paramétrage du calcul des spécificités": the specificities of the selected parts.
class TFenParamSpec : public DialogueParamSpec {
    Q_OBJECT
public:
    TFenParamSpec(QWidget *owner, Partition *partition);
    // OK: stores the parameters, computes and opens the list.
    void BtnOKClick();
    // The list the last OK opened (null when none).
    TFenSpecGrp *Liste() const { return liste_; }

protected:
    void Ok() override { BtnOKClick(); }

private:
    Partition *partition_;
    QPointer<TFenSpecGrp> liste_;
};

// "Paramètrage des calculs des spécificités diachroniques": evolutive specificities, and the
// choice of the chronological ones (computed by the caller).
class TFenParamSpecDiac : public DialogueParamSpec {
    Q_OBJECT
public:
    TFenParamSpecDiac(QWidget *owner, Partition *partition);
    void BitBtnOKClick();
    QCheckBox *ChkSpEvl() const { return chkSpEvl_; }
    QCheckBox *ChkSpChr() const { return chkSpChr_; }
    TFenSpecGrp *Liste() const { return liste_; }

protected:
    void Ok() override { BitBtnOKClick(); }

private:
    Partition *partition_;
    QCheckBox *chkSpEvl_ = nullptr;
    QCheckBox *chkSpChr_ = nullptr;
    QPointer<TFenSpecGrp> liste_;
};

// "Paramètres" of the specificities per part; its caller loads and reads it.
class TFenParamSpecTot : public DialogueParamSpec {
    Q_OBJECT
public:
    explicit TFenParamSpecTot(QWidget *owner);
    QSpinBox *CSSeuil() const { return SpinSeuil(); }
    QSpinBox *CSFreqMin() const { return SpinFreqMin(); }
    QCheckBox *ChkCorpRef() const { return chkCorpRef_; }

private:
    QCheckBox *chkCorpRef_ = nullptr;
};

} // namespace talmer

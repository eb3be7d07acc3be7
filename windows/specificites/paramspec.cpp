#include "windows/specificites/paramspec.h"

#include "windows/commun/textes_longs.h"
#include "windows/specificites/drapeaux.h"
#include "windows/specificites/fenspecgrp.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspec.h"

#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/parametres.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/occupation.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>
#include <exception>
#include <functional>

namespace talmer {

// --- Runs ---------------------------------------------------------------------------------------

ListesParties ListesDesParties(const Partition &partition)
{
    ListesParties l;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k) {
        if (partition.EstCochee(k)) {
            l.reference += std::string(partition.NomPartie(k)) + ", ";
            l.nomsReference.emplace_back(partition.NomPartie(k));
        }
        if (partition.EstSelectionnee(k)) {
            l.selection += std::string(partition.NomPartie(k)) + ", ";
            l.nomsSelection.emplace_back(partition.NomPartie(k));
        }
    }
    return l;
}

QString BulleLibellesSpec(const QStringList &reference, const QStringList &selection)
{
    constexpr int Colonnes = 100, Lignes = 30;
    // The two titles take a line each; the selected parts at most half of the rest, the checked
    // parts what the selected ones leave.
    const int lignesListes = Lignes - 2;
    const QString selectionnees = NomsInfobulle(selection, Colonnes, lignesListes / 2);
    const int lignesSelection = static_cast<int>(selectionnees.count(QLatin1Char('\n'))) + 1;
    return Traduit("Corpus de référence : ") + QStringLiteral("\n") +
           NomsInfobulle(reference, Colonnes, lignesListes - lignesSelection) + QStringLiteral("\n") +
           Traduit("Parties sélectionnées : ") + QStringLiteral("\n") + selectionnees;
}

std::int32_t PremiereCible(const Partition &partition)
{
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        if (partition.EstCochee(k) && partition.EstSelectionnee(k))
            return k;
    return -1;
}

std::unique_ptr<PrimSpec> CalculeSpecGroupe(Partition &partition, std::int32_t diviseur, FnProgression pas)
{
    auto calcul = std::make_unique<PrimSpec>(&partition, diviseur);
    calcul->SetProgression(pas);
    calcul->Calcule();
    return calcul;
}

std::unique_ptr<PrimSpec> CalculeSpecEvolutive(Partition &partition, FnProgression pas, std::int32_t *partie)
{
    const std::int32_t i = PremiereCible(partition);
    if (partie)
        *partie = i;
    if (i < 0)
        return nullptr;
    GardeDrapeaux garde(partition);
    // The reference stops at part i, and the target is part i alone: a part out of the
    // reference must not count in the target's size either.
    for (std::int32_t k = 0; k < partition.NbParties(); ++k) {
        if (k > i)
            partition.Coche(k, false);
        if (k != i)
            partition.Selectionne(k, false);
    }
    auto calcul = std::make_unique<PrimSpec>(&partition, 1);
    calcul->SetProgression(pas);
    calcul->Calcule();
    return calcul;
}

QString MessageSansCible()
{
    return Traduit("Aucune partie n'est à la fois cochée et sélectionnée : il n'y a rien à calculer.");
}

namespace {

// Runs a specificity computation with the bar stepping by 1 from 0; false, the user told why
// when it failed, when no list came out (stopped by the user, or failed).
bool CalculeAvecProgression(QWidget *parent, const QString &statut, const std::function<void()> &calcul)
{
    if (BarreEtat *f = BarreEtatProgramme())
        f->FixePas(1);
    QString echec;
    bool fini = false;
    {
        TravailLong travail(statut);
        try {
            fini = travail.Execute(calcul);
        } catch (const std::exception &e) {
            echec = QString::fromLocal8Bit(e.what());
        }
    }
    if (!echec.isEmpty()) {
        LesDialogues().message(parent, QStringLiteral("Talmer3"), Traduit("Le calcul des spécificités a échoué : %1").arg(echec),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    return fini;
}


} // namespace

// --- Shared layout ------------------------------------------------------------------------------

DialogueParamSpec::DialogueParamSpec(QWidget *owner, const char *nomSeuil, const char *nomFreqMin)
    : QDialog(owner)
{
    auto *grille = new QGridLayout;
    auto *lbSeuil = new QLabel(QStringLiteral("Seuil de probabilité :"), this);
    lbSeuil->setToolTip(QStringLiteral("Probabilité, en pourcentage, au-dessous de laquelle l'écart "
                                       "d'une fréquence est tenu pour spécifique"));
    auto *lbFreq = new QLabel(QStringLiteral("Fréquence minimale :"), this);
    lbFreq->setToolTip(QStringLiteral("Fréquence totale au-dessous de laquelle un terme n'est pas examiné"));
    seuil_ = new QSpinBox(this);
    seuil_->setObjectName(QString::fromLatin1(nomSeuil));
    seuil_->setRange(0, 100);
    freqMin_ = new QSpinBox(this);
    freqMin_->setObjectName(QString::fromLatin1(nomFreqMin));
    freqMin_->setRange(1, INT_MAX);
    grille->addWidget(lbSeuil, 0, 0);
    grille->addWidget(lbFreq, 0, 1);
    grille->addWidget(seuil_, 1, 0);
    grille->addWidget(freqMin_, 1, 1);
    corps_ = new QVBoxLayout(this);
    corps_->addLayout(grille);
}

void DialogueParamSpec::AjouteBoutons(const char *nomOk, const char *nomAnnuler)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QString::fromLatin1(nomOk));
    ok->setDefault(true);
    auto *annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QString::fromLatin1(nomAnnuler));
    auto *boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(ok);
    boutons->addWidget(annuler);
    corps_->addLayout(boutons);
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
}

// --- Group specificities ------------------------------------------------------------------------

TFenParamSpec::TFenParamSpec(QWidget *owner, Partition *partition)
    : DialogueParamSpec(owner, "CSpinEdit1", "CSpinEdit2"), partition_(partition)
{
    setObjectName(QStringLiteral("FenParamSpec"));
    setWindowTitle(QStringLiteral("Paramétrage du calcul des spécificités"));
    AjouteBoutons("BtnOK", "BtnCancel");
    SpinSeuil()->setValue(5);
    const charg1 *base = partition_ ? partition_->Base() : nullptr;
    SpinFreqMin()->setRange(1, base ? base->Fmax() : 1);
    SpinFreqMin()->setValue(10);
    TraduitComposants(this);
}

void TFenParamSpec::BtnOKClick()
{
    if (partition_ == nullptr)
        return reject();
    const ListesParties listes = ListesDesParties(*partition_);
    partition_->FixeSeuil(SpinSeuil()->value());
    partition_->FixeFreqMin(SpinFreqMin()->value());
    hide();
    std::unique_ptr<PrimSpec> calcul;
    if (!CalculeAvecProgression(parentWidget(), Traduit("Calcul des spécificités…"), [&] {
            calcul = CalculeSpecGroupe(*partition_, NbEtiquettes(), PasProgression);
        }))
        return reject();
    {
        Occupation occupation;
        auto *liste = new TFenSpecGrp(nullptr, std::move(calcul));
        const QString corpRef = Traduit("Corpus de référence : ");
        const QString parties = Traduit("Parties sélectionnées : ");
        const QString reference = EnUnicode(listes.reference), selection = EnUnicode(listes.selection);
        liste->FixeLibelles(corpRef + reference, parties + selection);
        QStringList nomsReference, nomsSelection;
        for (const std::string &nom : listes.nomsReference)
            nomsReference.push_back(EnUnicode(nom));
        for (const std::string &nom : listes.nomsSelection)
            nomsSelection.push_back(EnUnicode(nom));
        liste->FixeBulleLibelles(BulleLibellesSpec(nomsReference, nomsSelection));
        liste_ = liste;
        liste->Affiche();
    }
    accept();
}

// --- Evolutive specificities --------------------------------------------------------------------

TFenParamSpecDiac::TFenParamSpecDiac(QWidget *owner, Partition *partition)
    : DialogueParamSpec(owner, "CSpinEdit1", "CSpinEdit2"), partition_(partition)
{
    setObjectName(QStringLiteral("FenParamSpecDiac"));
    setWindowTitle(QStringLiteral("Paramètrage des calculs des spécificités diachroniques"));
    chkSpEvl_ = new QCheckBox(QStringLiteral("Calculer les accroissements spécifiques"), this);
    chkSpEvl_->setObjectName(QStringLiteral("ChkSpEvl"));
    chkSpEvl_->setChecked(true);
    chkSpChr_ = new QCheckBox(QStringLiteral("Calculer les spécificités chronologiques"), this);
    chkSpChr_->setObjectName(QStringLiteral("ChkSpChr"));
    chkSpChr_->setChecked(true);
    corps_->addWidget(chkSpEvl_);
    corps_->addWidget(chkSpChr_);
    AjouteBoutons("BitBtnOK", "BitBtnCancel");
    SpinSeuil()->setValue(5);
    const charg1 *base = partition_ ? partition_->Base() : nullptr;
    SpinFreqMin()->setRange(1, base ? base->Fmax() : 1);
    SpinFreqMin()->setValue(10);
    TraduitComposants(this);
}

void TFenParamSpecDiac::BitBtnOKClick()
{
    if (partition_ == nullptr || !chkSpEvl_->isChecked())
        return accept();
    partition_->FixeSeuil(SpinSeuil()->value());
    partition_->FixeFreqMin(SpinFreqMin()->value());
    if (PremiereCible(*partition_) < 0) {
        LesDialogues().message(this, windowTitle(), MessageSansCible(), BoutonsMessage::Ok, IconeMessage::Exclamation);
        // The chronological specificities need no target part: they may still be computed.
        return chkSpChr_->isChecked() ? accept() : reject();
    }
    // Out of the way of the main window's cancel button while the work runs.
    hide();
    std::int32_t partie = -1;
    std::unique_ptr<PrimSpec> calcul;
    // Stopped by the user: the chronological run that would follow does not start either.
    if (!CalculeAvecProgression(parentWidget(), Traduit("Calcul des spécificités évolutives…"), [&] {
            calcul = CalculeSpecEvolutive(*partition_, PasProgression, &partie);
        }))
        return reject();
    {
        Occupation occupation;
        auto *liste = new TFenSpecGrp(nullptr, std::move(calcul));
        liste->FixeLibelles(Traduit("Partie : ") + EnUnicode(partition_->NomPartie(partie)), QString());
        liste->setWindowTitle(Traduit("Spécifs évolutives - ") + EnUnicode(partition_->NomPartition()));
        liste_ = liste;
        liste->Affiche();
    }
    accept();
}

// --- Specificities per part ---------------------------------------------------------------------

TFenParamSpecTot::TFenParamSpecTot(QWidget *owner) : DialogueParamSpec(owner, "CSSeuil", "CSFreqMin")
{
    setObjectName(QStringLiteral("FenParamSpecTot"));
    setWindowTitle(QStringLiteral("Paramètres"));
    chkCorpRef_ = new QCheckBox(QStringLiteral("Resteindre le corpus aux parties cochées"), this);
    chkCorpRef_->setObjectName(QStringLiteral("ChkCorpRef"));
    corps_->addWidget(chkCorpRef_);
    AjouteBoutons("BitBtn1", "BitBtn2");
}

} // namespace talmer

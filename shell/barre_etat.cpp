#include "shell/barre_etat.h"

#include "services/translation.h"
#include "shell/occupation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>

namespace {
BarreEtat *barreProgramme = nullptr;
}

BarreEtat::BarreEtat(QStatusBar *barre)
{
    barre->setObjectName(QStringLiteral("StatusBar1"));
    barre->setSizeGripEnabled(false);

    // Panel 0 is covered by the progress bar.
    auto *panneauProgression = new QWidget(barre);
    panneauProgression->setFixedWidth(200);
    auto *dispo = new QHBoxLayout(panneauProgression);
    dispo->setContentsMargins(0, 0, 0, 0);
    progression_ = new QProgressBar(panneauProgression);
    progression_->setObjectName(QStringLiteral("Progression"));
    progression_->setRange(0, 200);
    progression_->setValue(0);
    progression_->setTextVisible(false);
    dispo->addWidget(progression_);
    // Beside the bar while work that can be stopped runs.
    auto *annuler = new QToolButton(barre);
    annuler->setObjectName(QStringLiteral("BtnInterrompre"));
    annuler->setText(QStringLiteral("Annuler"));
    annuler->setToolTip(QStringLiteral("Interrompre le calcul (Échap)"));
    annuler->hide();
    FixeBoutonInterruption(annuler);

    statut_ = new QLabel(barre);
    statut_->setObjectName(QStringLiteral("Statut"));
    statut_->setMinimumWidth(175);
    statut_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    cheminBase_ = new QLabel(barre);
    cheminBase_->setObjectName(QStringLiteral("CheminBase"));
    cheminBase_->setMinimumWidth(50);
    cheminBase_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    barre->addWidget(panneauProgression);
    barre->addWidget(annuler);
    barre->addWidget(statut_);
    barre->addWidget(cheminBase_, 1);
    barreProgramme = this;
}

BarreEtat::~BarreEtat()
{
    if (barreProgramme == this)
        barreProgramme = nullptr;
}

void BarreEtat::AvanceProgression(int n)
{
    // Like the platform's stepping bar, it starts over from the beginning past its end.
    int position = progression_->value() + n;
    if (position > progression_->maximum())
        position = progression_->minimum() + (position - progression_->maximum()) - 1;
    progression_->setValue(std::max(position, progression_->minimum()));
    RafraichitEcranDeTempsEnTemps();
}

void BarreEtat::FixeProgression(int position)
{
    progression_->setValue(std::clamp(position, progression_->minimum(), progression_->maximum()));
    RafraichitEcran();
}

void BarreEtat::AfficheStatut(const QString &texte)
{
    interruption_ = false;
    statut_->setText(texte);
    RafraichitEcran();
}

void BarreEtat::AfficheInterruption()
{
    AfficheStatut(Traduit("Calcul interrompu"));
    interruption_ = true;
}

void BarreEtat::EffaceInterruption()
{
    if (!interruption_)
        return;
    interruption_ = false;
    statut_->clear();
    // Painted now: the work that starts may not let the windows repaint before its end.
    statut_->repaint();
}

QString BarreEtat::TexteStatut() const
{
    return statut_->text();
}

void BarreEtat::FixeCheminBase(const QString &chemin)
{
    cheminBase_->setText(chemin);
}

QString BarreEtat::TexteCheminBase() const
{
    return cheminBase_->text();
}

BarreEtat *BarreEtatProgramme()
{
    return barreProgramme;
}

// Each step also lets the windows repaint and stops the work when the user asked for it.
void PasProgression(std::int32_t)
{
    if (barreProgramme)
        barreProgramme->AvanceProgression(barreProgramme->Pas());
    else
        RafraichitEcranDeTempsEnTemps();
    InterromptSiDemande();
}

void PasProgression2(std::int32_t)
{
    if (barreProgramme)
        barreProgramme->AvanceProgression(2);
    else
        RafraichitEcranDeTempsEnTemps();
    InterromptSiDemande();
}

void ResetProgress()
{
    if (barreProgramme)
        barreProgramme->FixeProgression(0);
}

void AfficheStatut(const QString &texte)
{
    if (barreProgramme)
        barreProgramme->AfficheStatut(texte);
}

void AfficheInterruption()
{
    if (barreProgramme)
        barreProgramme->AfficheInterruption();
}

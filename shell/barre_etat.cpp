#include "shell/barre_etat.h"

#include "services/translation.h"
#include "shell/occupation.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>

namespace {
BarreEtat *barreProgramme = nullptr;

// The style animates a busy bar and, once it is not busy and shows nothing, never paints it again
// in a way that would end that animation: it is stopped here.
void ArreteAnimations(QProgressBar *barre)
{
    for (QAbstractAnimation *animation : barre->findChildren<QAbstractAnimation *>())
        animation->stop();
}
} // namespace

// Clears the notice of stopped work at the user's next command: the first press of a mouse
// button or of a key that reaches a window once the work is over. Presses on the status bar
// itself (on the place of the cancel button, now hidden) and Escape are the stop gesture made
// once more, too late, and leave the notice.
class BarreEtat::FinNotice : public QObject {
public:
    explicit FinNotice(BarreEtat &barre) : barre_(barre) {}

    bool eventFilter(QObject *objet, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress: {
            // Where the press is, not who gets it: a press the status bar ignores goes on to
            // the main window.
            if (!objet->isWidgetType())
                break;
            const QPoint point = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            QWidget *barre = barre_.barre_;
            const bool surBarre = barre->isVisible() && barre->rect().contains(barre->mapFromGlobal(point)) &&
                                  static_cast<QWidget *>(objet)->window() == barre->window();
            if (!surBarre)
                Termine();
            break;
        }
        case QEvent::KeyPress: {
            const int touche = static_cast<QKeyEvent *>(event)->key();
            if (objet->isWidgetType() && touche != Qt::Key_Escape && touche != Qt::Key_Shift &&
                touche != Qt::Key_Control && touche != Qt::Key_Alt && touche != Qt::Key_Meta &&
                touche != Qt::Key_AltGr)
                Termine();
            break;
        }
        default:
            break;
        }
        return false;
    }
    // Watching starts, or stops.
    void Surveille(bool oui)
    {
        if (oui)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

private:
    // Not while long work runs: its own input is dropped before it reaches a window.
    void Termine()
    {
        if (!Occupation::EnCours())
            barre_.EffaceInterruption();
    }

    BarreEtat &barre_;
};

BarreEtat::BarreEtat(QStatusBar *barre)
{
    barre_ = barre;
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
    finNotice_ = new FinNotice(*this);
    barreProgramme = this;
}

BarreEtat::~BarreEtat()
{
    finNotice_->Surveille(false);
    delete finNotice_;
    if (barreProgramme == this)
        barreProgramme = nullptr;
}

void BarreEtat::AvanceProgression(int n)
{
    QuitteActivite();
    pasVu_ = true;
    dernierPas_.start();
    // Like the platform's stepping bar, it starts over from the beginning past its end.
    int position = progression_->value() + n;
    if (position > progression_->maximum())
        position = progression_->minimum() + (position - progression_->maximum()) - 1;
    progression_->setValue(std::max(position, progression_->minimum()));
    RafraichitEcranDeTempsEnTemps();
}

void BarreEtat::FixeProgression(int position)
{
    QuitteActivite();
    if (position != progression_->minimum())
        pasVu_ = true;
    dernierPas_.start();
    progression_->setValue(std::clamp(position, progression_->minimum(), progression_->maximum()));
    RafraichitEcran();
}

void BarreEtat::FixeEtendue(int minimum, int maximum)
{
    QuitteActivite();
    progression_->setRange(minimum, maximum);
}

void BarreEtat::AfficheStatut(const QString &texte)
{
    if (interruption_) {
        interruption_ = false;
        finNotice_->Surveille(false);
    }
    statut_->setText(texte);
    RafraichitEcran();
}

void BarreEtat::AfficheInterruption()
{
    AfficheStatut(Traduit("Calcul interrompu"));
    interruption_ = true;
    finNotice_->Surveille(true);
}

void BarreEtat::EffaceInterruption()
{
    if (!interruption_)
        return;
    interruption_ = false;
    finNotice_->Surveille(false);
    statut_->clear();
    // Painted now: the work that starts may not let the windows repaint before its end.
    statut_->repaint();
}

void BarreEtat::FixeIndetermine(bool indetermine)
{
    QuitteActivite();
    indetermine_ = indetermine;
    if (indetermine) {
        progression_->setRange(0, 0);
        return;
    }
    if (progression_->minimum() == 0 && progression_->maximum() == 0)
        progression_->setRange(0, 200);
    ArreteAnimations(progression_);
}

void BarreEtat::DebutTravail()
{
    if (travaux_++ == 0) {
        pasVu_ = false;
        dernierPas_.start();
    }
}

void BarreEtat::FinTravail()
{
    if (travaux_ > 0 && --travaux_ == 0)
        QuitteActivite();
}

void BarreEtat::Surveille()
{
    if (travaux_ == 0 || indetermine_ || activite_ || !dernierPas_.isValid())
        return;
    if (dernierPas_.elapsed() < (pasVu_ ? 1000 : 500))
        return;
    activite_ = true;
    activiteMinimum_ = progression_->minimum();
    activiteMaximum_ = progression_->maximum();
    activiteValeur_ = progression_->value();
    progression_->setRange(0, 0);
}

void BarreEtat::QuitteActivite()
{
    if (!activite_)
        return;
    activite_ = false;
    progression_->setRange(activiteMinimum_, activiteMaximum_);
    progression_->setValue(activiteValeur_);
    ArreteAnimations(progression_);
}

void BarreEtat::RepeintMaintenant()
{
    // Shown or resized panels wait for their layout in the queue of events.
    QCoreApplication::sendPostedEvents(barre_, QEvent::LayoutRequest);
    if (QLayout *dispo = barre_->layout())
        dispo->activate();
    barre_->repaint();
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

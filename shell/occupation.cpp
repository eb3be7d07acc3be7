#include "shell/occupation.h"

#include "engine/progression.h"
#include "shell/barre_etat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <QWindow>

namespace {

int niveauOccupation = 0;
// Long work that can be stopped, nested; the user's request holds for all of it.
int niveauInterruptible = 0;
bool arretDemande = false;
bool repeintEnCours = false;
QPointer<QAbstractButton> boutonInterruption;

QElapsedTimer &DernierRepeint()
{
    static QElapsedTimer horloge;
    return horloge;
}

void DemandeArret()
{
    if (niveauInterruptible == 0 || arretDemande)
        return;
    arretDemande = true;
    // The button shows that the request is taken; the work stops at its next step.
    if (boutonInterruption)
        boutonInterruption->setEnabled(false);
}

// A press on the cancel button: on the button itself, or on its window at the button's place.
bool SurBouton(QObject *objet, const QMouseEvent *souris)
{
    QAbstractButton *bouton = boutonInterruption;
    if (!bouton || !bouton->isVisible() || !bouton->isEnabled() || souris->button() != Qt::LeftButton)
        return false;
    QWidget *fenetre = bouton->window();
    const bool memeFenetre = objet == bouton || objet == fenetre->windowHandle() ||
                             (objet->isWidgetType() && static_cast<QWidget *>(objet)->window() == fenetre);
    if (!memeFenetre)
        return false;
    const QPoint point = souris->globalPosition().toPoint();
    return bouton->rect().contains(bouton->mapFromGlobal(point));
}

// The input that arrives while long work repaints its windows is dropped, so that nothing the
// user clicked or typed runs under the work or after it; only the stop gesture is read.
class FiltreSaisie : public QObject {
public:
    bool eventFilter(QObject *objet, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                DemandeArret();
            // A shortcut overridden here is not triggered either.
            event->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (SurBouton(objet, static_cast<QMouseEvent *>(event)))
                DemandeArret();
            return true;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
            return true;
        case QEvent::Close:
            // A window the user closes through the window manager stays while the work runs.
            return event->spontaneous();
        default:
            return false;
        }
    }
};

// The engine's watch during long work: the windows repaint now and then, and work that can be
// stopped stops there once the user has asked.
void VeilleOccupation(bool maintenant)
{
    if (niveauOccupation == 0)
        return;
    if (maintenant) {
        InterromptSiDemandeMaintenant();
        return;
    }
    RafraichitEcranDeTempsEnTemps();
    InterromptSiDemande();
}

} // namespace

Occupation::Occupation()
{
    // New work: the notice of the work stopped before no longer applies.
    if (niveauOccupation == 0) {
        if (BarreEtat *barre = BarreEtatProgramme())
            barre->EffaceInterruption();
        FixeVeille(VeilleOccupation);
    }
    ++niveauOccupation;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

Occupation::~Occupation()
{
    QApplication::restoreOverrideCursor();
    --niveauOccupation;
}

bool Occupation::EnCours()
{
    return niveauOccupation > 0;
}

void RafraichitEcran()
{
    if (repeintEnCours)
        return;
    repeintEnCours = true;
    if (BarreEtat *barre = BarreEtatProgramme())
        barre->Surveille();
    if (niveauOccupation > 0) {
        FiltreSaisie filtre;
        qApp->installEventFilter(&filtre);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        qApp->removeEventFilter(&filtre);
    } else {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repeintEnCours = false;
    DernierRepeint().start();
}

void RafraichitEcranDeTempsEnTemps()
{
    const QElapsedTimer &horloge = DernierRepeint();
    if (!horloge.isValid() || horloge.elapsed() >= 50)
        RafraichitEcran();
}

void InterromptSiDemande()
{
    if (niveauInterruptible > 0 && arretDemande && !repeintEnCours)
        throw CalculInterrompu{};
}

void InterromptSiDemandeMaintenant()
{
    if (niveauInterruptible == 0)
        return;
    RafraichitEcran();
    InterromptSiDemande();
}

void FixeBoutonInterruption(QAbstractButton *bouton)
{
    boutonInterruption = bouton;
}

TravailLong::TravailLong(const QString &statut, bool interruptible) : interruptible_(interruptible)
{
    if (interruptible_ && niveauInterruptible++ == 0) {
        arretDemande = false;
        if (boutonInterruption) {
            boutonInterruption->setEnabled(true);
            boutonInterruption->show();
        }
    }
    if (BarreEtat *f = BarreEtatProgramme()) {
        minimum_ = f->Progression()->minimum();
        maximum_ = f->Progression()->maximum();
        f->DebutTravail();
        f->FixeProgression(0);
        f->AfficheStatut(statut);
        // Whole before the work starts: its first step may be a while coming.
        f->RepeintMaintenant();
    } else {
        RafraichitEcran();
    }
}

TravailLong::~TravailLong()
{
    // The last repaint also drops what the user typed or clicked while the last steps ran.
    if (BarreEtat *f = BarreEtatProgramme()) {
        // Out of its busy look, which would go on animating once the work is over.
        f->FixeIndetermine(false);
        f->FixeEtendue(minimum_, maximum_);
        f->FixeProgression(0);
        f->FinTravail();
        if (interrompu_)
            f->AfficheInterruption();
        else
            f->AfficheStatut(resultat_);
    } else {
        RafraichitEcran();
    }
    if (interruptible_ && --niveauInterruptible == 0) {
        arretDemande = false;
        if (boutonInterruption)
            boutonInterruption->hide();
    }
}

bool TravailLong::Execute(const std::function<void()> &calcul, Fin fin)
{
    try {
        calcul();
        // A request made since the last step is still taken: the work is over, but its result
        // is not kept yet.
        if (interruptible_ && fin == Fin::Verifiee)
            InterromptSiDemandeMaintenant();
    } catch (const CalculInterrompu &) {
        Interrompu();
        return false;
    }
    return true;
}

bool TravailLong::InterruptionDemandee() const
{
    return niveauInterruptible > 0 && arretDemande;
}

void TravailLong::Interrompu()
{
    interrompu_ = true;
}

void TravailLong::FixeIndetermine()
{
    if (BarreEtat *f = BarreEtatProgramme())
        f->FixeIndetermine(true);
}

// Long work runs on the interface thread: while it lasts the cursor is the hourglass, and the
// windows are repainted whenever the work reports progress. The user's input is dropped while
// the work lets the windows repaint, except the gesture that asks to stop work that can be
// stopped: Escape, or a press on the cancel button beside the progress bar.
#pragma once

#include <QString>

#include <functional>

class QAbstractButton;

// Hourglass cursor for the life of the object; nests.
class Occupation {
public:
    Occupation();
    ~Occupation();
    Occupation(const Occupation &) = delete;
    Occupation &operator=(const Occupation &) = delete;

    // True while some long work runs.
    static bool EnCours();
};

// Lets the windows repaint (and the window system's own requests through), never the user's
// input, so that the program does not look frozen during long work. During long work (an
// Occupation), the input that waits is dropped, all but the gesture that stops the work.
void RafraichitEcran();
// The same at most every 50 ms: what each progress step calls, so that stepping costs nothing.
void RafraichitEcranDeTempsEnTemps();

// Throws CalculInterrompu (engine/progression.h) when the user has asked to stop the work that
// runs and that work can be stopped. The progress callbacks given to the engine call it after
// their step; it never throws from inside the repainting (a callback reached from there).
void InterromptSiDemande();
// The same once the windows have repainted, so that a request the user has just made is taken:
// what work that can be stopped calls just before it keeps its result (a request made after it
// comes too late).
void InterromptSiDemandeMaintenant();

// The button that stops long work (the main window's, beside its progress bar); shown while
// work that can be stopped runs. Null: none.
void FixeBoutonInterruption(QAbstractButton *bouton);

// A long computation: the hourglass, a status text that says what runs, the progress bar from
// 0 and, when the work can be stopped, the cancel button. At its end the bar is back to 0 with
// the range it had, the button hidden, and the status text the result given (empty by default),
// or "Calcul interrompu" when the user stopped it, until the next work starts.
class TravailLong {
public:
    explicit TravailLong(const QString &statut, bool interruptible = true);
    ~TravailLong();
    TravailLong(const TravailLong &) = delete;
    TravailLong &operator=(const TravailLong &) = delete;

    // How the end of a computation is taken: a stop asked after its last step still discards
    // its result (Verifiee), or the result is kept once the computation has returned (Gardee:
    // for work that has put its result in place itself).
    enum class Fin { Verifiee, Gardee };
    // Runs the computation; false when the user stopped it (CalculInterrompu was thrown, and
    // caught here), also, with Fin::Verifiee, when the request came after the computation's last
    // step: the caller then keeps nothing of it. Any other exception goes through.
    bool Execute(const std::function<void()> &calcul, Fin fin = Fin::Verifiee);
    // True once the user has asked to stop: for waits that do not go through a progress
    // callback.
    bool InterruptionDemandee() const;
    // Marks the work as stopped by the user.
    void Interrompu();
    // The status text shown once the work has ended (unless it was stopped).
    void FixeResultat(const QString &texte) { resultat_ = texte; }
    // The progress bar shows activity without a measure (the work cannot tell how far it is).
    void FixeIndetermine();

private:
    Occupation occupation_;
    bool interruptible_;
    QString resultat_;
    bool interrompu_ = false;
    int minimum_ = 0;
    int maximum_ = 0;
};

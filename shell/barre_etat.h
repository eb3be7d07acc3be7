// The main window's status bar: the progress bar that long work steps (with the button beside it
// that stops the work that can be stopped), the text that says what runs, and the open base's
// path. The engine's long computations step it through the progress callbacks below.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdint>

class QLabel;
class QProgressBar;
class QStatusBar;

class BarreEtat {
public:
    // Builds its panels into `barre` (the main window's) and becomes the program's status bar.
    explicit BarreEtat(QStatusBar *barre);
    ~BarreEtat();
    BarreEtat(const BarreEtat &) = delete;
    BarreEtat &operator=(const BarreEtat &) = delete;

    // Steps the bar by n; past its end it starts over from the beginning.
    void AvanceProgression(int n);
    // Puts the bar at `position` (within its range).
    void FixeProgression(int position);
    // The bar's range, for the work that steps it.
    void FixeEtendue(int minimum, int maximum);
    // The step of PasProgression (1 at start).
    void FixePas(int pas) { pas_ = pas; }
    int Pas() const { return pas_; }
    QProgressBar *Progression() const { return progression_; }

    // What runs, or the result of what ran.
    void AfficheStatut(const QString &texte);
    QString TexteStatut() const;
    // "Calcul interrompu": the work the user stopped. The notice stays until the user's next
    // command (a click or a key anywhere but on the status bar, Escape aside, which the user may
    // still be pressing to stop that work) or other work starts (EffaceInterruption, when the
    // hourglass comes up for it).
    void AfficheInterruption();
    void EffaceInterruption();
    // The bar shows activity without a measure (true), or its measure again (false): out of its
    // busy look, nothing animates it any more.
    void FixeIndetermine(bool indetermine);
    // Long work with the bar starts, or ends (they nest). While it runs, a bar that no step has
    // moved for a while (half a second from the start, a second after a step) shows activity
    // until the next step, so that it never looks frozen (Surveille, at each repaint).
    void DebutTravail();
    void FinTravail();
    void Surveille();
    // Lays out and paints the status bar at once, whatever the events waiting.
    void RepeintMaintenant();
    // The parameter file of the open base.
    void FixeCheminBase(const QString &chemin);
    QString TexteCheminBase() const;

private:
    class FinNotice;

    QStatusBar *barre_ = nullptr;
    QProgressBar *progression_ = nullptr;
    QLabel *statut_ = nullptr;
    QLabel *cheminBase_ = nullptr;
    int pas_ = 1;
    bool interruption_ = false;  // the status text is the notice of stopped work
    bool indetermine_ = false;   // the work itself shows the bar busy
    int travaux_ = 0;            // long work under way
    QElapsedTimer dernierPas_;   // since the last step, or the start of the work
    bool pasVu_ = false;         // a step has come since the work started
    bool activite_ = false;      // the bar shows activity, waiting for a step
    int activiteMinimum_ = 0, activiteMaximum_ = 0, activiteValeur_ = 0;  // the bar before that
    void QuitteActivite();
    FinNotice *finNotice_ = nullptr;  // watches for the command that clears the notice
};

// The status bar of the run (null before the main window has built it and after it is gone).
BarreEtat *BarreEtatProgramme();

// Progress callbacks given to the engine's long computations (their argument is ignored). The
// two steps also let the windows repaint and, in work that can be stopped (TravailLong), throw
// CalculInterrompu once the user has asked to stop: give them only to computations that let it
// through and keep their earlier state.
void PasProgression(std::int32_t);
void PasProgression2(std::int32_t);
void ResetProgress();
void AfficheStatut(const QString &texte);
// The notice of stopped work in the program's status bar.
void AfficheInterruption();

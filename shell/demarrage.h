// Start-up and shut-down of the program, and the application object that reports the exceptions
// no window handled.
#pragma once

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>

class ConfigurationT3;
class TFenPrinc;
class TSplashScreen;

// The text shown for an exception: its message, " classname" and the class of the object that
// was handling the event.
QString TexteException(const QString &message, const QObject *emetteur);
// Shows an exception in an error box with one OK button.
void GereException(const QObject *emetteur, const QString &message);
// Runs `traitement` (the delivery of an event to `receveur`); an exception it throws is shown
// and the program goes on. Returns what `traitement` returned, or false after an exception.
bool NotifieProtege(QObject *receveur, const std::function<bool()> &traitement);

// The application object of the program.
class ApplicationTalmer : public QApplication {
public:
    ApplicationTalmer(int &argc, char **argv);
    bool notify(QObject *receveur, QEvent *event) override;
};

// Gives every hint the same hide pause (4000 ms) unless a widget set its own.
class DelaiBulles : public QObject {
public:
    static constexpr int Duree = 4000;
    explicit DelaiBulles(QObject *parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;
};

// A termination request (SIGTERM, or Ctrl+C in the terminal) closes the main window the ordinary
// way, so that the report is offered for saving and the temporary files go. A request that comes
// before the main window exists or while work runs (a base being opened) is kept and carried out
// as soon as the window can close; a dialog waiting for an answer is cancelled first.
class FermetureSurSignal : public QObject {
public:
    explicit FermetureSurSignal(QObject *parent = nullptr);
    ~FermetureSurSignal() override;

    // True while a request waits for the window to be able to close.
    bool EnAttente() const;

private:
    void Tente();

    class QSocketNotifier *notification_ = nullptr;
    class QTimer *attente_ = nullptr;
};

struct OptionsDemarrage {
    // How long the splash screen stays at least, in milliseconds (held by a timer: the program
    // keeps painting and answering the window system meanwhile).
    int dureeSplash = 3000;
    // Told each step of the start-up as it is done (tests follow the order through it).
    std::function<void(const char *etape)> journal;
    // Run once the main window exists, before the command line's file is opened: where the
    // group container, the corpus-open dialog and the analysis windows are installed.
    std::function<void(TFenPrinc &)> installe;
};

class Demarrage {
public:
    explicit Demarrage(OptionsDemarrage options = {});
    ~Demarrage();
    Demarrage(const Demarrage &) = delete;
    Demarrage &operator=(const Demarrage &) = delete;

    // Every step up to the message loop: configuration, maximum number of articles, splash
    // screen held for its time, application title, main window, hint pause, splash screen
    // deleted; the command line's file is opened as soon as the loop runs, with the main window
    // on screen. `arguments`: the command line after the program's name.
    TFenPrinc *Prepare(const QStringList &arguments);
    // The message loop, until the main window has closed.
    int Execute();
    // After the loop: the main window (when still there) and the configuration are deleted.
    void Termine();

    TFenPrinc *FenPrinc() const { return fenPrinc_; }
    ConfigurationT3 *Configuration() const { return configuration_.get(); }

private:
    void Note(const char *etape) const;

    OptionsDemarrage options_;
    QStringList arguments_;
    std::unique_ptr<ConfigurationT3> configuration_;
    QPointer<TFenPrinc> fenPrinc_;
    QPointer<TSplashScreen> splash_;
    DelaiBulles *delaiBulles_ = nullptr;
    QObject *colonnesFichiers_ = nullptr;
};

// The whole program: start-up, loop, shut-down. Returns the process's exit code.
int LanceTalmer(ApplicationTalmer &application, const OptionsDemarrage &options);

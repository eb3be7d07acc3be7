#include "shell/demarrage.h"

#include "engine/progression.h"

#include "services/configuration.h"
#include "services/dialogues.h"
#include "services/parametres.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "shell/splash.h"

#include <QDialog>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

QString TexteException(const QString &message, const QObject *emetteur)
{
    const char *classe = emetteur ? emetteur->metaObject()->className() : "";
    return message + QStringLiteral(" classname") + QString::fromLatin1(classe);
}

void GereException(const QObject *emetteur, const QString &message)
{
    QWidget *parent = QApplication::activeWindow();
    LesDialogues().message(parent, QStringLiteral("Talmer3"), TexteException(message, emetteur),
                           BoutonsMessage::Ok, IconeMessage::Erreur);
}

bool NotifieProtege(QObject *receveur, const std::function<bool()> &traitement)
{
    try {
        return traitement();
    } catch (const CalculInterrompu &) {
        // Work the user stopped where no window expected it: nothing to report.
        AfficheInterruption();
    } catch (const std::bad_alloc &) {
        GereException(receveur, Traduit("Mémoire insuffisante"));
    } catch (const std::exception &e) {
        GereException(receveur, QString::fromUtf8(e.what()));
    } catch (...) {
        GereException(receveur, Traduit("Exception inconnue"));
    }
    return false;
}

ApplicationTalmer::ApplicationTalmer(int &argc, char **argv) : QApplication(argc, argv)
{
    // Names the user's configuration folder, whatever the program file is called.
    QApplication::setApplicationName(QStringLiteral("Talmer3"));
}

bool ApplicationTalmer::notify(QObject *receveur, QEvent *event)
{
    return NotifieProtege(receveur, [&] { return QApplication::notify(receveur, event); });
}

bool DelaiBulles::eventFilter(QObject *objet, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && objet->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(objet);
        if (widget->toolTipDuration() < 0)
            widget->setToolTipDuration(Duree);
    }
    return false;
}

Demarrage::Demarrage(OptionsDemarrage options) : options_(std::move(options))
{
}

Demarrage::~Demarrage()
{
    Termine();
}

void Demarrage::Note(const char *etape) const
{
    if (options_.journal)
        options_.journal(etape);
}

TFenPrinc *Demarrage::Prepare(const QStringList &arguments)
{
    // The command line is kept as the platform gave it.
    arguments_ = arguments;
    Note("ligne de commande gardee");

    configuration_ = std::make_unique<ConfigurationT3>();
    FixeConfigurationProgramme(configuration_.get());
    Note("configuration");
    FixeMaxArt(configuration_->GetNumart());
    Note("nombre maximum d'articles");

    InitialiseTraduction();
    splash_ = new TSplashScreen;
    // Closing the splash screen early must not end the program.
    splash_->setAttribute(Qt::WA_QuitOnClose, false);
    splash_->show();
    splash_->repaint();
    Note("ecran d'accueil");
    {
        // Held by a timer: the screen stays painted and the program answers meanwhile.
        QEventLoop attente;
        QTimer::singleShot(options_.dureeSplash, &attente, &QEventLoop::quit);
        attente.exec();
    }
    Note("fin de l'attente");

    // The title is the application's name. No display name is set: Qt would append it to every
    // window's title ("Talmer3 - [Lectorium] — Talmer3").
    QApplication::setApplicationName(QStringLiteral("Talmer3"));
    QApplication::setWindowIcon(IconeProgramme());
    Note("titre");

    fenPrinc_ = new TFenPrinc;
    fenPrinc_->setAttribute(Qt::WA_DeleteOnClose);
    if (options_.installe)
        options_.installe(*fenPrinc_);
    fenPrinc_->showMaximized();
    Note("fenetre principale");

    delaiBulles_ = new DelaiBulles(qApp);
    qApp->installEventFilter(delaiBulles_);
    colonnesFichiers_ = new ColonnesDialoguesFichier(qApp);
    qApp->installEventFilter(colonnesFichiers_);
    Note("pause des bulles");

    delete splash_.data();
    Note("fin de l'ecran d'accueil");

    // The file of the command line is opened once the loop runs, the main window on screen, so
    // that its progress and its dialogs are seen.
    QPointer<TFenPrinc> fenetre = fenPrinc_;
    const QStringList args = arguments_;
    QTimer::singleShot(0, fenPrinc_, [this, fenetre, args] {
        if (!fenetre)
            return;
        Note("ouverture du fichier de la ligne de commande");
        fenetre->Ouverture().OuvreLigneDeCommande(args);
    });
    return fenPrinc_;
}

int Demarrage::Execute()
{
    if (!fenPrinc_)
        return 0;
    return QApplication::exec();
}

void Demarrage::Termine()
{
    delete fenPrinc_.data();
    delete splash_.data();
    if (delaiBulles_) {
        qApp->removeEventFilter(delaiBulles_);
        delete delaiBulles_;
        delaiBulles_ = nullptr;
    }
    if (colonnesFichiers_) {
        qApp->removeEventFilter(colonnesFichiers_);
        delete colonnesFichiers_;
        colonnesFichiers_ = nullptr;
    }
    if (configuration_) {
        // Nothing is written here: the options dialog alone saves the settings.
        FixeConfigurationProgramme(nullptr);
        configuration_.reset();
        Note("configuration liberee");
    }
}

namespace {
int tubeSignaux[2] = {-1, -1};

void SurSignalDeFin(int)
{
    const char octet = 1;
    [[maybe_unused]] const ssize_t ecrit = ::write(tubeSignaux[1], &octet, 1);
}
} // namespace

FermetureSurSignal::FermetureSurSignal(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, tubeSignaux) != 0)
        return;
    attente_ = new QTimer(this);
    attente_->setInterval(100);
    connect(attente_, &QTimer::timeout, this, &FermetureSurSignal::Tente);
    notification_ = new QSocketNotifier(tubeSignaux[0], QSocketNotifier::Read, this);
    connect(notification_, &QSocketNotifier::activated, this, [this] {
        char octet;
        [[maybe_unused]] const ssize_t lu = ::read(tubeSignaux[0], &octet, 1);
        attente_->start();
        Tente();
    });
    struct sigaction action = {};
    action.sa_handler = SurSignalDeFin;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool FermetureSurSignal::EnAttente() const
{
    return attente_ && attente_->isActive();
}

void FermetureSurSignal::Tente()
{
    // Work in progress finishes first; the start-up goes on until the main window is there.
    if (Occupation::EnCours())
        return;
    if (auto *dialogue = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
        dialogue->reject();
        return;
    }
    TFenPrinc *fenetre = FenetrePrincipale();
    if (!fenetre)
        return;
    attente_->stop();
    // The main window closes as when its close box is used (the report prompt included).
    fenetre->close();
}

FermetureSurSignal::~FermetureSurSignal()
{
    if (!notification_)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    ::close(tubeSignaux[0]);
    ::close(tubeSignaux[1]);
    tubeSignaux[0] = tubeSignaux[1] = -1;
}

int LanceTalmer(ApplicationTalmer &application, const OptionsDemarrage &options)
{
    FermetureSurSignal fermeture;
    Demarrage demarrage(options);
    QStringList arguments = application.arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    demarrage.Prepare(arguments);
    try {
        demarrage.Execute();
    } catch (const std::exception &e) {
        GereException(nullptr, QString::fromUtf8(e.what()));
    }
    demarrage.Termine();
    return 0;
}

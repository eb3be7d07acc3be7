#include "services/lanceur.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>
#include <utility>

void LanceDocument(const QString &lanceur, const QString &chemin, std::function<void(bool)> resultat,
                   int surveillanceMs)
{
    const QString programme = QStandardPaths::findExecutable(lanceur);
    if (programme.isEmpty()) {
        resultat(false);
        return;
    }
    // No parent: a parent would kill the launcher (and with it, may be, the browser it waits for)
    // when it goes. The process deletes itself once it has ended.
    auto *processus = new QProcess;
    processus->setProgram(programme);
    processus->setArguments({chemin});
    processus->setStandardInputFile(QProcess::nullDevice());
    processus->setProcessChannelMode(QProcess::ForwardedChannels);

    // The first of the end, the failure to start and the end of the watch answers.
    auto enAttente = std::make_shared<std::function<void(bool)>>(std::move(resultat));
    const auto repond = [enAttente](bool ouvert) {
        if (!*enAttente)
            return;
        const std::function<void(bool)> f = std::exchange(*enAttente, nullptr);
        f(ouvert);
    };
    QObject::connect(processus, &QProcess::finished, processus,
                     [processus, repond](int code, QProcess::ExitStatus etat) {
                         processus->deleteLater();
                         repond(etat == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(processus, &QProcess::errorOccurred, processus, [processus, repond](QProcess::ProcessError erreur) {
        if (erreur != QProcess::FailedToStart)
            return; // a crash ends the process too, and is answered then
        processus->deleteLater();
        repond(false);
    });
    QTimer::singleShot(surveillanceMs, processus, [repond] { repond(true); });
    processus->start();
}

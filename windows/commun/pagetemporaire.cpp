#include "windows/commun/pagetemporaire.h"

#include "platform/qt/ecriture_sure.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <unistd.h>

namespace talmer {

QString PageTemporaire::DossierTemporaire()
{
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty() && QFileInfo(temp).isDir())
        return QDir::fromNativeSeparators(QDir(temp).absolutePath());
    return QDir::fromNativeSeparators(QDir::tempPath());
}

PageTemporaire::PageTemporaire(const QString &prefixe, const QString &suffixe)
{
    const QString dossier = DossierTemporaire();
    QByteArray modele = QFile::encodeName(dossier + QLatin1Char('/') + prefixe + QStringLiteral("XXXXXX") + suffixe);
    const QByteArray fin = QFile::encodeName(suffixe);
    // Made exclusively; we delete it ourselves with the page.
    const int fd = ::mkstemps(modele.data(), static_cast<int>(fin.size()));
    if (fd < 0) {
        erreur_ = Traduit("Impossible de créer la page temporaire dans %1 : %2")
                      .arg(dossier, RaisonEcriture(EchecEcriture{dossier, errno}));
        return;
    }
    ::close(fd);
    chemin_ = QDir::fromNativeSeparators(QFileInfo(QFile::decodeName(modele)).absoluteFilePath());
}

PageTemporaire::~PageTemporaire()
{
    if (!chemin_.isEmpty())
        QFile::remove(chemin_);
}

QString PageTemporaire::Adresse() const
{
    return QStringLiteral("file://") + chemin_;
}

} // namespace talmer

#include "windows/commun/pagetemporaire.h"

#include "services/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

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
    QTemporaryFile fichier(DossierTemporaire() + QLatin1Char('/') + prefixe
                           + QStringLiteral("XXXXXX") + suffixe);
    // The file outlives the QTemporaryFile object: we delete it ourselves with the page.
    fichier.setAutoRemove(false);
    if (!fichier.open()) {
        erreur_ = Traduit("Impossible de créer la page temporaire dans %1 : %2")
                      .arg(DossierTemporaire(), fichier.errorString());
        return;
    }
    chemin_ = QDir::fromNativeSeparators(QFileInfo(fichier.fileName()).absoluteFilePath());
    fichier.close();
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

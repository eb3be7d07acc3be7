#include "platform/qt/ecriture_sure.h"

#include <QSaveFile>

namespace talmer {

bool EcritFichierSur(const QString &chemin, const std::function<bool(QIODevice &)> &ecrit, QString *raison)
{
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly)) {
        if (raison)
            *raison = fichier.errorString();
        return false;
    }
    if (!ecrit(fichier) || fichier.error() != QFileDevice::NoError) {
        if (raison && fichier.error() != QFileDevice::NoError)
            *raison = fichier.errorString();
        fichier.cancelWriting();
        return false;
    }
    if (!fichier.commit()) {
        if (raison)
            *raison = fichier.errorString();
        return false;
    }
    return true;
}

bool EcritFichierSur(const QString &chemin, const QByteArray &contenu, QString *raison)
{
    return EcritFichierSur(
        chemin, [&](QIODevice &f) { return f.write(contenu) == contenu.size(); }, raison);
}

} // namespace talmer

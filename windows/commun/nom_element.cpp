#include "windows/commun/nom_element.h"

#include "services/rapport.h"

#include <QFileInfo>
#include <QSet>

namespace talmer {

QString NomElementLibre(const Rapport &rapport, const QString &prefixe)
{
    const QStringList liste = rapport.FichiersElements();
    const QSet<QString> utilises(liste.begin(), liste.end());
    const QString dossier = rapport.DossierTemporaire();
    for (int n = 0;; ++n) {
        const QString nom = prefixe + QString::number(n);
        if (!utilises.contains(nom) && !QFileInfo::exists(dossier + nom + QStringLiteral(".html"))
            && !QFileInfo::exists(dossier + nom + QStringLiteral(".xml")))
            return nom;
    }
}

} // namespace talmer

#include "windows/partitions/comptes_parties.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/mesures.h"
#include "services/translation.h"

#include <algorithm>

QString TexteResume(const charg1 &base)
{
    return Traduit("Nombre d'occurrences:") + QLatin1Char('\t') + QString::number(base.Nbocc())
           + QLatin1Char('\t') + Traduit("Nombre de formes:") + QStringLiteral("\t\t")
           + QString::number(base.Nbform()) + QLatin1Char('\n') + Traduit("Nombre d'hapax:")
           + QStringLiteral("\t\t") + QString::number(base.Nhap()) + QLatin1Char('\t')
           + Traduit("Fréquence maximale:") + QLatin1Char('\t') + QString::number(base.Fmax());
}

bool BasculePartie(Partition &partition, std::int32_t partie, int colonne)
{
    if (partie < 0 || partie >= partition.NbParties() || colonne < 0)
        return false;
    if (colonne == 0) {
        partition.Coche(partie, !partition.EstCochee(partie));
        return true;
    }
    if (!partition.EstCochee(partie))
        return false;
    partition.Selectionne(partie, !partition.EstSelectionnee(partie));
    return true;
}

ModelePCLC::ModelePCLC(Partition &partition, QObject *parent) : QAbstractTableModel(parent), partition_(partition) {}

int ModelePCLC::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : partition_.NbParties();
}

int ModelePCLC::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant ModelePCLC::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= partition_.NbParties())
        return {};
    const std::int32_t p = index.row();
    if (role == RoleCochee)
        return partition_.EstCochee(p);
    if (role == RoleSelectionnee)
        return partition_.EstSelectionnee(p);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 1:
        return QString::number(p + 1);
    case 2:
        return EnUnicode(partition_.NomPartie(p));
    case 3:
        return QString::number(partition_.NbOccPartie(p));
    case 4:
        return QString::number(partition_.NbFormesPartie(p));
    case 5:
        return QString::number(partition_.NbHapaxPartie(p));
    case 6:
        return QString::number(partition_.FmaxPartie(p));
    case 7:
        // A part without forms has no form of highest frequency.
        return partition_.FmaxPartie(p) > 0
                   ? EnUnicode(partition_.Base()->RetourneGraphie(partition_.FormeFmaxPartie(p), false))
                   : QString();
    default:
        return {};
    }
}

QVariant ModelePCLC::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == talmer::RoleTexteLibre)
        return section == 2 || section == 7; // the part names and the forms
    if (orientation == Qt::Horizontal && role == talmer::RoleValeursLarges)
        return ValeursLarges(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titres[NbColonnes] = {"", "Num", "Partie", "Occurences", "Formes", "Hapax", "Fmax", "Forme"};
    if (section <= 0 || section >= NbColonnes)
        return QString();
    return Traduit(titres[section]);
}

QVariant ModelePCLC::ValeursLarges(int section) const
{
    QVariantList valeurs;
    const std::int32_t n = partition_.NbParties();
    if (section == 1) {
        valeurs.push_back(QString::number(n));
    } else if (section == 2 || section == 7) {
        // The names, and the forms of highest frequency: one per part.
        for (std::int32_t p = 0; p < n; ++p)
            valeurs.push_back(data(index(p, section)));
    } else if (section >= 3 && section <= 6) {
        std::int32_t plusHaut = 0;
        for (std::int32_t p = 0; p < n; ++p) {
            const std::int32_t v = section == 3   ? partition_.NbOccPartie(p)
                                   : section == 4 ? partition_.NbFormesPartie(p)
                                   : section == 5 ? partition_.NbHapaxPartie(p)
                                                  : partition_.FmaxPartie(p);
            plusHaut = std::max(plusHaut, v);
        }
        valeurs.push_back(QString::number(plusHaut));
    }
    return valeurs;
}

void ModelePCLC::FlagsChanges()
{
    if (partition_.NbParties() > 0)
        emit dataChanged(index(0, 0), index(partition_.NbParties() - 1, NbColonnes - 1));
}

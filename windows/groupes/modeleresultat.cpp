#include "windows/groupes/modeleresultat.h"

#include "services/affichage.h"
#include "services/mesures.h"
#include "services/translation.h"
#include "windows/groupes/resultatgroupe.h"

#include <algorithm>

namespace talmer {

ModeleResultat::ModeleResultat(const ResultatGroupe &resultat, QObject *parent)
    : QAbstractTableModel(parent), resultat_(resultat)
{
}

int ModeleResultat::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : resultat_.Taille();
}

int ModeleResultat::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ModeleResultat::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= resultat_.Taille())
        return {};
    const int ligne = index.row();
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return EnUnicode(resultat_.Graphie(ligne));
        if (const std::int32_t f = resultat_.Frequence(ligne); f >= 0)
            return QString::number(f);
        return QString();
    case Qt::TextAlignmentRole:
        if (index.column() == 1)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case RoleEntite:
        return resultat_.Entites()[static_cast<std::size_t>(ligne)];
    default:
        return {};
    }
}

QVariant ModeleResultat::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == RoleTexteLibre)
        return section == 0;
    if (orientation == Qt::Horizontal && role == RoleValeursLarges && section == 1) {
        std::int32_t plusHaute = -1;
        for (std::int32_t ligne = 0; ligne < resultat_.Taille(); ++ligne)
            plusHaute = std::max(plusHaute, resultat_.Frequence(ligne));
        return plusHaute >= 0 ? QVariantList{QString::number(plusHaute)} : QVariantList{};
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? Traduit("Forme") : Traduit("Fréquence");
}

Qt::ItemFlags ModeleResultat::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void ModeleResultat::Actualise()
{
    beginResetModel();
    endResetModel();
}

} // namespace talmer

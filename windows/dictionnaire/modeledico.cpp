#include "windows/dictionnaire/modeledico.h"

#include "engine/charg1.h"
#include "services/affichage.h"
#include "services/mesures.h"
#include "services/translation.h"

#include <algorithm>

namespace talmer {

ModeleDictionnaire::ModeleDictionnaire(const charg1 &base, QObject *parent)
    : QAbstractTableModel(parent), base_(base), ordre_(base)
{
}

int ModeleDictionnaire::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ordre_.NbLignes();
}

int ModeleDictionnaire::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ModeleDictionnaire::data(const QModelIndex &index, int role) const
{
    const std::int32_t entite = ordre_.Entite(index.row());
    if (!index.isValid() || entite < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return EnUnicode(base_.RetourneGraphie(entite, true));
        return QString::number(base_.RetourneFrq(entite));
    case Qt::TextAlignmentRole:
        if (index.column() == 1)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case RoleEntite:
        return entite;
    default:
        return {};
    }
}

QVariant ModeleDictionnaire::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == RoleTexteLibre)
        return section == 0;
    if (orientation == Qt::Horizontal && role == RoleValeursLarges && section == 1) {
        // The highest frequency: the first form's, or a punctuation mark's.
        std::int32_t plusHaute = base_.Nbform() > 0 ? base_.RetourneFrq(0) : 0;
        for (std::int32_t p = 0; p < base_.Nbartponct(); ++p)
            plusHaute = std::max(plusHaute, base_.RetourneFrq(base_.Nbform() + p));
        return QVariantList{QString::number(plusHaute)};
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return ordre_.Alphabetique() ? Traduit("Formes (ordre lexicographique)")
                                     : Traduit("Formes (ordre lexicométrique)");
    if (section == 1)
        return Traduit("Fréquence");
    return {};
}

Qt::ItemFlags ModeleDictionnaire::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void ModeleDictionnaire::FixeAlphabetique(bool alphabetique)
{
    beginResetModel();
    ordre_.FixeAlphabetique(alphabetique);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

} // namespace talmer

#include "windows/segments/modele_segments.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "services/affichage.h"
#include "services/mesures.h"

#include <algorithm>

#include <numeric>

namespace talmer {

ModeleSegments::ModeleSegments(SegRep *segments, QObject *parent)
    : QAbstractTableModel(parent), segments_(segments)
{
    ordre_.resize(segments_ ? segments_->Segments().size() : 0);
    std::iota(ordre_.begin(), ordre_.end(), 0);
}

int ModeleSegments::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ordre_.size());
}

int ModeleSegments::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 3; }

std::int32_t ModeleSegments::SegmentDeLigne(int r) const
{
    if (r < 0 || r >= static_cast<int>(ordre_.size()))
        return -1;
    return ordre_[static_cast<std::size_t>(r)];
}

std::int32_t ModeleSegments::EntiteDeSegment(std::int32_t s) const
{
    const charg1 *base = segments_ ? segments_->Base() : nullptr;
    return base ? base->Nbart() + 1 + s : -1;
}

QVariant ModeleSegments::data(const QModelIndex &index, int role) const
{
    const std::int32_t s = SegmentDeLigne(index.row());
    if (!index.isValid() || s < 0 || s >= segments_->NbSegments())
        return {};
    const Segment &seg = segments_->Segments()[static_cast<std::size_t>(s)];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0:
            return QString::number(seg.Formes.size());
        case 1:
            return EnUnicode(TexteSegment(seg, segments_->Base()));
        default:
            return QString::number(seg.Frq);
        }
    case Qt::TextAlignmentRole:
        if (index.column() != 1)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case RoleEntite:
        return EntiteDeSegment(s);
    default:
        return {};
    }
}

QVariant ModeleSegments::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == RoleTexteLibre)
        return section == 1;
    if (orientation == Qt::Horizontal && role == RoleValeursLarges && section != 1 && segments_) {
        // The longest segment and the highest frequency.
        std::size_t longueur = 0;
        std::int32_t frequence = 0;
        for (const Segment &seg : segments_->Segments()) {
            longueur = std::max(longueur, seg.Formes.size());
            frequence = std::max(frequence, seg.Frq);
        }
        return QVariantList{section == 0 ? QString::number(longueur) : QString::number(frequence)};
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return QStringLiteral("Lg");
    case 1:
        return QStringLiteral("Segment");
    default:
        return QStringLiteral("Frq");
    }
}

Qt::ItemFlags ModeleSegments::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void ModeleSegments::TrieColonne(int colonne)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList avant = persistentIndexList();
    std::vector<std::int32_t> segmentsAvant;
    segmentsAvant.reserve(static_cast<std::size_t>(avant.size()));
    for (const QModelIndex &i : avant)
        segmentsAvant.push_back(SegmentDeLigne(i.row()));
    TrieOrdre(ordre_, segments_->Segments(), segments_->Base(), OrdreDeColonne(colonne));
    // The selection follows its segments to their new rows.
    if (!avant.isEmpty()) {
        std::vector<int> ligneDe(ordre_.size(), -1);
        for (std::size_t r = 0; r < ordre_.size(); ++r)
            if (ordre_[r] >= 0 && static_cast<std::size_t>(ordre_[r]) < ligneDe.size())
                ligneDe[static_cast<std::size_t>(ordre_[r])] = static_cast<int>(r);
        QModelIndexList apres;
        for (qsizetype k = 0; k < avant.size(); ++k) {
            const std::int32_t s = segmentsAvant[static_cast<std::size_t>(k)];
            const int r = s >= 0 && static_cast<std::size_t>(s) < ligneDe.size() ? ligneDe[static_cast<std::size_t>(s)] : -1;
            apres.push_back(r >= 0 ? index(r, avant[k].column()) : QModelIndex());
        }
        changePersistentIndexList(avant, apres);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace talmer

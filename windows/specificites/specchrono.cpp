#include "windows/specificites/specchrono.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"

#include "services/affichage.h"
#include "services/mesures.h"

#include <QColor>

#include <algorithm>

namespace talmer {

int NouveauCodeTriSC(int colonne, int codeCourant)
{
    // Per column: the first order, and the one a further click gives.
    static constexpr int premier[5] = {0, 2, 6, 9, 4};
    static constexpr int second[5] = {1, 3, 7, 8, 5};
    if (colonne < 0 || colonne > 4)
        return -1;
    return codeCourant == premier[colonne] ? second[colonne] : premier[colonne];
}

ModeleSC::ModeleSC(Partition *partition, QObject *parent) : QAbstractTableModel(parent), partition_(partition)
{
}

void ModeleSC::FixeResultat(PrimSpecChr *resultat)
{
    beginResetModel();
    resultat_ = resultat;
    endResetModel();
}

int ModeleSC::ClicEntete(int colonne)
{
    const int code = NouveauCodeTriSC(colonne, code_);
    if (code < 0)
        return -1;
    code_ = code;
    if (resultat_ != nullptr) {
        emit layoutAboutToBeChanged();
        resultat_->Trie(code);
        emit layoutChanged();
    }
    return code;
}

int ModeleSC::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || resultat_ == nullptr ? 0 : resultat_->NbLignes();
}

int ModeleSC::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant ModeleSC::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || resultat_ == nullptr || index.row() >= resultat_->NbLignes())
        return {};
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 0 ? QColor(192, 220, 192) : QColor(Qt::white);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignementAffichage());
    if (role != Qt::DisplayRole)
        return {};
    const StructSpecChr &l = resultat_->Ligne(index.row());
    const charg1 *base = partition_ ? partition_->Base() : nullptr;
    switch (index.column()) {
    case 0:
        return base ? EnUnicode(base->RetourneGraphie(l.Entite, false)) : QString();
    case 1:
        return QString::number(base ? base->RetourneFrq(l.Entite) : 0);
    case 2:
        return QString::number(l.f);
    case 3:
        return QString::number(l.Coef);
    case 4:
        return TexteParties(EnUnicode(partition_->NomPartie(l.Premiere)),
                            l.Derniere != l.Premiere ? EnUnicode(partition_->NomPartie(l.Derniere)) : QString());
    default:
        return {};
    }
}

QVariant ModeleSC::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == RoleTexteLibre && orientation == Qt::Horizontal)
        return section == 0 || section == 4; // the terms, and the runs of part names
    if (role == RoleValeursLarges && orientation == Qt::Horizontal)
        return ValeursLarges(section);
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char *const entetes[5] = {"Formes/SR", "F", "f", "coeff", "Partie(s)"};
    return section >= 0 && section < 5 ? QString::fromUtf8(entetes[section]) : QVariant();
}

} // namespace talmer

namespace talmer {

QVariant ModeleSC::ValeursLarges(int section) const
{
    if (section == 0)
        return {}; // spellings: measured by the view when the rows are few
    QVariantList valeurs;
    if (section == 4) {
        // The widest run joins the widest name to itself.
        for (std::int32_t p = 0; partition_ && p < partition_->NbParties(); ++p) {
            const QString nom = EnUnicode(partition_->NomPartie(p));
            valeurs.push_back(TexteParties(nom, nom));
        }
        return valeurs;
    }
    const charg1 *base = partition_ ? partition_->Base() : nullptr;
    if (resultat_ == nullptr || resultat_->NbLignes() == 0)
        return valeurs;
    std::int32_t mini = 0, maxi = 0;
    for (std::int32_t r = 0; r < resultat_->NbLignes(); ++r) {
        const StructSpecChr &l = resultat_->Ligne(r);
        const std::int32_t v = section == 1 ? (base ? base->RetourneFrq(l.Entite) : 0) : section == 2 ? l.f : l.Coef;
        mini = r == 0 ? v : std::min(mini, v);
        maxi = r == 0 ? v : std::max(maxi, v);
    }
    valeurs << QString::number(mini) << QString::number(maxi);
    return valeurs;
}

QString TexteParties(const QString &premiere, const QString &derniere)
{
    return derniere.isEmpty() ? premiere : premiere + QStringLiteral(" - ") + derniere;
}

} // namespace talmer

#include "windows/specificites/tfg.h"

#include "windows/specificites/drapeaux.h"
#include "windows/specificites/textes_coef.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include "services/affichage.h"
#include "services/mesures.h"


#include <algorithm>

namespace talmer {

// --- Sort state ---------------------------------------------------------------------------------

OrdreTFG EtatTriTFG::ClicEntete(int c, bool modeFrq)
{
    if (c < 0)
        return OrdreTFG::Aucun;
    if (c == 0) {
        if (etat_ != 0) {
            etat_ = 0;
            return OrdreTFG::AlphaCroissant;
        }
        etat_ = 1;
        return OrdreTFG::AlphaDecroissant;
    }
    // A new part column starts from its highest value.
    if (c != colonne_ + 1)
        etat_ = modeFrq ? 2 : 5;
    colonne_ = c - 1;
    return TriePartie(modeFrq);
}

OrdreTFG EtatTriTFG::TriePartie(bool modeFrq)
{
    if (colonne_ == -1)
        return OrdreTFG::Aucun;
    if (modeFrq) {
        if (etat_ == 3) {
            etat_ = 2;
            return OrdreTFG::FrqCroissante;
        }
        etat_ = 3;
        return OrdreTFG::FrqDecroissante;
    }
    if (etat_ == 5) {
        etat_ = 4;
        return OrdreTFG::CoefDecroissant;
    }
    etat_ = 5;
    return OrdreTFG::CoefCroissant;
}

OrdreTFG EtatTriTFG::ChoisitFrequence()
{
    if (etat_ == 2 || etat_ == 3 || colonne_ == -1)
        return OrdreTFG::Aucun;
    etat_ = 2;
    return TriePartie(true);
}

OrdreTFG EtatTriTFG::ChoisitSpecificite()
{
    if (etat_ == 4 || etat_ == 5 || colonne_ == -1)
        return OrdreTFG::Aucun;
    etat_ = 5;
    return TriePartie(false);
}

void EtatTriTFG::NouveauCalcul(int nbPartiesCalculees)
{
    if (colonne_ >= nbPartiesCalculees)
        colonne_ = -1;
}

// --- Orders -------------------------------------------------------------------------------------

namespace {

// The alphabetical indexes of an entity's words: one for an entity of the dictionary, one per
// form for a segment, and a flag telling a segment.
struct MotsAlpha {
    std::int32_t unique = -1;
    const std::vector<std::int32_t> *formes = nullptr;

    std::size_t Taille() const { return formes ? formes->size() : 1; }
};

MotsAlpha motsDe(const charg1 &base, std::int32_t e)
{
    MotsAlpha m;
    const SegRep *sr = base.SegmentsAttaches();
    if (e > base.Nbart() && sr != nullptr) {
        const std::int32_t k = e - base.Nbart() - 1;
        if (k < sr->NbSegments()) {
            m.formes = &sr->Segments()[static_cast<std::size_t>(k)].Formes;
            return m;
        }
    }
    m.unique = base.Lexg(e);
    return m;
}

} // namespace

int ComparAlphaTFG(const charg1 &base, std::int32_t a, std::int32_t b)
{
    const MotsAlpha ma = motsDe(base, a);
    const MotsAlpha mb = motsDe(base, b);
    const std::size_t na = ma.Taille(), nb = mb.Taille();
    const std::size_t n = std::min(na, nb);
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t la = ma.formes ? base.Lexg((*ma.formes)[i]) : ma.unique;
        const std::int32_t lb = mb.formes ? base.Lexg((*mb.formes)[i]) : mb.unique;
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    return 0;
}

void TrieLignesTFG(std::vector<std::int32_t> &lignes, OrdreTFG ordre, const charg1 &base,
                   const FrequencesParties &frequences, const CalcSpecTot *calcul, int partieCalculee)
{
    switch (ordre) {
    case OrdreTFG::Aucun:
        return;
    case OrdreTFG::AlphaCroissant:
        std::sort(lignes.begin(), lignes.end(),
                  [&base](std::int32_t a, std::int32_t b) { return ComparAlphaTFG(base, a, b) < 0; });
        return;
    case OrdreTFG::AlphaDecroissant:
        std::sort(lignes.begin(), lignes.end(),
                  [&base](std::int32_t a, std::int32_t b) { return ComparAlphaTFG(base, a, b) > 0; });
        return;
    default:
        break;
    }
    // Keys read once per row, then sorted with the rows.
    std::int32_t partie = -1;
    if (calcul != nullptr && partieCalculee >= 0 &&
        partieCalculee < static_cast<int>(calcul->IndicesParties().size()))
        partie = calcul->IndicesParties()[static_cast<std::size_t>(partieCalculee)];
    if (partie < 0)
        return;
    std::vector<std::pair<std::int32_t, std::int32_t>> cles;
    cles.reserve(lignes.size());
    const bool frq = ordre == OrdreTFG::FrqCroissante || ordre == OrdreTFG::FrqDecroissante;
    for (std::int32_t e : lignes)
        cles.emplace_back(frq ? frequences.Frq(e, partie) : calcul->RetourneSpec(e, partieCalculee), e);
    auto fin = cles.end();
    if (!frq) // rows without a coefficient go last, whichever way
        fin = std::partition(cles.begin(), cles.end(), [](const auto &c) { return c.first != 0; });
    const bool croissant = ordre == OrdreTFG::FrqCroissante || ordre == OrdreTFG::CoefCroissant;
    if (croissant)
        std::sort(cles.begin(), fin, [](const auto &x, const auto &y) { return x.first < y.first; });
    else
        std::sort(cles.begin(), fin, [](const auto &x, const auto &y) { return x.first > y.first; });
    for (std::size_t i = 0; i < cles.size(); ++i)
        lignes[i] = cles[i].second;
}

// --- Run ----------------------------------------------------------------------------------------

std::int32_t NbPartiesACalculer(const Partition &partition, bool restreindre)
{
    if (!restreindre)
        return partition.NbParties();
    std::int32_t n = 0;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        if (partition.EstCochee(k))
            ++n;
    return n;
}

std::unique_ptr<CalcSpecTot> CalculeSpecTot(Partition &partition, bool restreindre, FnProgression pas)
{
    if (NbPartiesACalculer(partition, restreindre) == 0)
        return nullptr;
    GardeDrapeaux garde(partition);
    if (!restreindre)
        for (std::int32_t k = 0; k < partition.NbParties(); ++k)
            partition.Coche(k, true);
    return std::make_unique<CalcSpecTot>(&partition, false, false, pas, nullptr);
}

// --- Model --------------------------------------------------------------------------------------

ModeleTFG::ModeleTFG(Partition *partition, QObject *parent)
    : QAbstractTableModel(parent), partition_(partition), frequences_(partition)
{
}

ModeleTFG::~ModeleTFG() = default;

void ModeleTFG::FixeCalcul(const CalcSpecTot *calcul)
{
    beginResetModel();
    calcul_ = calcul;
    // A new computation may follow a new set of repeated segments: entity numbers beyond the
    // dictionary may name other segments now.
    frequences_.Oublie();
    endResetModel();
}

void ModeleTFG::RemplitLignes()
{
    std::vector<std::int32_t> lignes;
    const charg1 *base = partition_ ? partition_->Base() : nullptr;
    if (base != nullptr) {
        for (std::int32_t e = 0; e < base->Nbform(); ++e)
            lignes.push_back(e);
        if (base->SegmentsAttaches() != nullptr)
            for (std::int32_t e = base->Nbart() + 1; e <= base->NbTotEntites(); ++e)
                lignes.push_back(e);
    }
    FixeLignes(std::move(lignes));
}

void ModeleTFG::FixeLignes(std::vector<std::int32_t> lignes)
{
    beginResetModel();
    lignes_ = std::move(lignes);
    endResetModel();
}

void ModeleTFG::Trie(OrdreTFG ordre, int partie)
{
    if (ordre == OrdreTFG::Aucun || partition_ == nullptr || partition_->Base() == nullptr)
        return;
    emit layoutAboutToBeChanged();
    TrieLignesTFG(lignes_, ordre, *partition_->Base(), frequences_, calcul_, partie);
    emit layoutChanged();
}

std::int32_t ModeleTFG::PartieDeColonne(int k) const
{
    if (calcul_ == nullptr || k < 0 || k >= static_cast<int>(calcul_->IndicesParties().size()))
        return -1;
    return calcul_->IndicesParties()[static_cast<std::size_t>(k)];
}

int ModeleTFG::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lignes_.size());
}

int ModeleTFG::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return calcul_ ? calcul_->NbPartiesCalculees() : 0;
}

QVariant ModeleTFG::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(lignes_.size()) || partition_ == nullptr)
        return {};
    const std::int32_t e = lignes_[static_cast<std::size_t>(index.row())];
    const int k = index.column();
    switch (role) {
    case RoleEntite:
        return e;
    case Qt::DisplayRole:
        return QString::number(frequences_.Frq(e, PartieDeColonne(k)));
    case RoleCoef:
        return QString::fromLatin1(TexteCoefTableau(calcul_->RetourneSpec(e, k)).c_str());
    case RoleCouleurCoef:
        return calcul_->RetourneSpec(e, k) > 0 ? QColor(255, 0, 0) : QColor(0, 0, 255);
    case Qt::BackgroundRole:
        // Grid row r = index + 1 (under the header): odd rows are green.
        return index.row() % 2 == 0 ? QColor(192, 220, 192) : QColor(Qt::white);
    default:
        return {};
    }
}

QVariant ModeleTFG::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == RoleTexteLibre)
        return orientation == Qt::Vertical; // the spellings of the forms and segments
    if (role == RoleValeursLarges && orientation == Qt::Horizontal) {
        // A cell holds a frequency, at most the part's highest, and a coefficient.
        const std::int32_t partie = PartieDeColonne(section);
        if (partie < 0 || partition_ == nullptr)
            return QVariantList{};
        const QString frequence = QString::number(partition_->FmaxPartie(partie)) + QLatin1Char(' ');
        QVariantList valeurs;
        for (std::int32_t coef : {51, 50, -50})
            valeurs.push_back(frequence + QString::fromLatin1(TexteCoefTableau(coef).c_str()));
        return valeurs;
    }
    if (role != Qt::DisplayRole || partition_ == nullptr)
        return {};
    if (orientation == Qt::Vertical) {
        // The spellings stay in view while the parts scroll by.
        if (section < 0 || section >= static_cast<int>(lignes_.size()) || partition_->Base() == nullptr)
            return {};
        return EnUnicode(partition_->Base()->RetourneGraphie(lignes_[static_cast<std::size_t>(section)], false));
    }
    const std::int32_t partie = PartieDeColonne(section);
    return partie >= 0 ? EnUnicode(partition_->NomPartie(partie)) : QString();
}

} // namespace talmer

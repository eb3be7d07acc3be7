#include "windows/groupes/resultatgroupe.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "platform/core/motif.h"
#include "platform/qt/ecriture_sure.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "windows/commun/recherche_entites.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace talmer {

namespace {

// The attached segment an entity number names, or null.
const Segment *segmentDe(const charg1 &base, std::int32_t n)
{
    if (n <= base.Nbart())
        return nullptr;
    const std::int64_t k = std::int64_t{n} - base.Nbart() - 1;
    if (k >= NbSegmentsAttaches(base))
        return nullptr;
    return &base.SegmentsAttaches()->Segments()[static_cast<std::size_t>(k)];
}

std::string_view vue(const char *g)
{
    return g ? std::string_view(g, std::strlen(g)) : std::string_view();
}

} // namespace

ResultatGroupe::ResultatGroupe(charg1 *base) : base_(base) {}

bool ResultatGroupe::AjouteResultat(std::int32_t n)
{
    if (!presents_.insert(n).second)
        return false;
    entites_.push_back(n);
    return true;
}

std::int32_t ResultatGroupe::AjouteResultats(const std::vector<std::int32_t> &entites)
{
    std::int32_t ajoutes = 0;
    presents_.reserve(presents_.size() + entites.size());
    for (std::int32_t n : entites)
        ajoutes += AjouteResultat(n) ? 1 : 0;
    return ajoutes;
}

void ResultatGroupe::Vide()
{
    entites_.clear();
    presents_.clear();
}

void ResultatGroupe::SupprimeLignes(const std::vector<int> &lignes)
{
    std::vector<char> ote(entites_.size(), 0);
    for (int l : lignes)
        if (l >= 0 && static_cast<std::size_t>(l) < entites_.size())
            ote[static_cast<std::size_t>(l)] = 1;
    std::vector<std::int32_t> gardes;
    gardes.reserve(entites_.size());
    for (std::size_t i = 0; i < entites_.size(); ++i) {
        if (ote[i])
            presents_.erase(entites_[i]);
        else
            gardes.push_back(entites_[i]);
    }
    entites_ = std::move(gardes);
}

BilanRenumerotation ResultatGroupe::RemplaceSegments(const std::vector<std::int32_t> &correspondance)
{
    if (!base_)
        return {};
    const BilanRenumerotation bilan = RenumeroteSegments(entites_, base_->Nbart(), correspondance);
    presents_ = std::unordered_set<std::int32_t>(entites_.begin(), entites_.end());
    return bilan;
}

BilanRecherche ResultatGroupe::Recherche(std::string_view motif, TypeRequete type, const std::string &codePage,
                                         bool ajoute)
{
    BilanRecherche bilan;
    if (!base_ || motif.empty())
        return bilan;
    std::vector<std::int32_t> trouves;
    if (type == TypeRequete::Exacte) {
        // Byte comparison among forms and punctuation (the lowest entity of that spelling).
        const std::string texte(motif);
        const std::int32_t n = texte.find('\0') == std::string::npos ? base_->LocFormDic(texte.c_str(), true) : -1;
        if (n >= 0)
            trouves.push_back(n);
    } else {
        const ExpressionDeRequete e = ExpressionDe(motif, type);
        platform::Motif expression(e.texte, codePage);
        if (!expression.Valide()) {
            // Nothing is searched, and nothing of the result is lost, even when it was to be
            // replaced.
            bilan.motifValide = false;
            bilan.erreurMotif = expression.MessageErreur();
            bilan.positionErreur = std::min(expression.PositionErreur() - std::min(expression.PositionErreur(), e.avant),
                                            motif.size());
            return bilan;
        }
        Correspondances c = EntitesCorrespondantes(*base_, expression);
        trouves = std::move(c.entites);
        bilan.echecs = c.echecs;
        bilan.messageEchec = std::move(c.messageEchec);
    }
    if (!ajoute)
        Vide();
    bilan.trouves = static_cast<std::int32_t>(trouves.size());
    bilan.ajoutes = AjouteResultats(trouves);
    return bilan;
}

ExpressionDeRequete ExpressionDe(std::string_view motif, TypeRequete type)
{
    const std::string p(motif);
    switch (type) {
    case TypeRequete::Debut:
        return {"^" + p + ".*", 1};
    case TypeRequete::Fin:
        return {".*" + p + "$", 2};
    case TypeRequete::Contenu:
        return {".*" + p + ".*", 2};
    case TypeRequete::Exacte:
    case TypeRequete::Expression:
        break;
    }
    return {p, 0};
}

std::string ResultatGroupe::Graphie(int ligne) const
{
    if (!base_ || ligne < 0 || static_cast<std::size_t>(ligne) >= entites_.size())
        return {};
    const std::int32_t n = entites_[static_cast<std::size_t>(ligne)];
    if (n >= 0 && n < base_->Nbart())
        return std::string(vue(base_->RetourneGraphie(n, false)));
    if (segmentDe(*base_, n))
        return std::string(vue(base_->RetourneGraphie(n, false)));
    return {};
}

std::int32_t ResultatGroupe::Frequence(int ligne) const
{
    if (!base_ || ligne < 0 || static_cast<std::size_t>(ligne) >= entites_.size())
        return -1;
    const std::int32_t n = entites_[static_cast<std::size_t>(ligne)];
    if (n >= 0 && n < base_->Nbart())
        return base_->RetourneFrq(n);
    if (const Segment *s = segmentDe(*base_, n))
        return s->Frq;
    return -1;
}

BilanSauvegarde ResultatGroupe::SauveListe(const QString &chemin) const
{
    BilanSauvegarde bilan;
    std::string contenu;
    if (base_) {
        for (std::int32_t n : entites_) {
            if (n >= 0 && n < base_->Nbart()) {
                contenu += vue(base_->RetourneGraphie(n, false));
            } else if (segmentDe(*base_, n)) {
                contenu += base_->SegmentsAttaches()->RetourneGraphie(n - base_->Nbart() - 1);
            } else {
                ++bilan.segmentsOmis;
                continue;
            }
            contenu += "\r\n";
            ++bilan.lignes;
        }
    }
    EchecEcriture echec;
    if (!EcritFichierSur(chemin, QByteArray(contenu.data(), static_cast<qsizetype>(contenu.size())), &echec)) {
        bilan.erreur = MessageEcriture(echec);
        return bilan;
    }
    bilan.ecrit = true;
    return bilan;
}

BilanChargement ResultatGroupe::ChargeListe(const QString &chemin)
{
    BilanChargement bilan;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        bilan.erreur = Traduit("Le fichier «\u00A0%1\u00A0» ne peut pas être ouvert : %2.")
            .arg(chemin, fichier.errorString());
        return bilan;
    }
    const QByteArray octets = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError) {
        bilan.erreur = Traduit("Le fichier «\u00A0%1\u00A0» n'a pas pu être lu : %2.")
            .arg(chemin, fichier.errorString());
        return bilan;
    }
    bilan.lu = true;
    if (!base_)
        return bilan;

    // Every spelling of the base once, the lowest entity first, so that each line is one lookup.
    const std::int32_t finPonct = std::min(base_->Nbart(), base_->Nbform() + base_->Nbartponct());
    std::unordered_map<std::string_view, std::int32_t> formes, cles;
    formes.reserve(static_cast<std::size_t>(std::max(finPonct, 0)));
    for (std::int32_t e = 0; e < finPonct; ++e)
        formes.emplace(vue(base_->RetourneGraphie(e, false)), e);
    for (std::int32_t e = finPonct; e < base_->Nbart(); ++e)
        cles.emplace(vue(base_->RetourneGraphie(e, false)), e);
    std::unordered_map<std::string, std::int32_t> segments;
    const std::int32_t nbSeg = NbSegmentsAttaches(*base_);
    for (std::int32_t k = 0; k < nbSeg; ++k)
        segments.emplace(base_->SegmentsAttaches()->RetourneGraphie(k), base_->Nbart() + 1 + k);

    const std::string_view texte(octets.constData(), static_cast<std::size_t>(octets.size()));
    std::size_t debut = 0;
    while (debut < texte.size()) {
        std::size_t fin = texte.find('\n', debut);
        const std::size_t suivant = fin == std::string_view::npos ? texte.size() : fin + 1;
        if (fin == std::string_view::npos)
            fin = texte.size();
        std::string_view ligne = texte.substr(debut, fin - debut);
        if (!ligne.empty() && ligne.back() == '\r')
            ligne.remove_suffix(1);
        debut = suivant;
        if (ligne.empty())
            continue;
        ++bilan.lignes;
        std::int32_t n = -1;
        if (auto it = formes.find(ligne); it != formes.end())
            n = it->second;
        else if (auto is = segments.find(std::string(ligne)); is != segments.end())
            n = is->second;
        else if (auto ic = cles.find(ligne); ic != cles.end())
            n = ic->second;
        if (n < 0)
            ++bilan.inconnues;
        else if (AjouteResultat(n))
            ++bilan.ajoutes;
    }
    return bilan;
}

std::string TexteDuGroupe(const charg1 &base, const std::vector<std::int32_t> &entites)
{
    if (entites.empty())
        return {};
    return std::string(vue(base.RetourneGraphie(entites.front(), false)));
}

} // namespace talmer

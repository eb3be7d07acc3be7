#include "windows/afc/donnees_afc.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <system_error>

#include <unistd.h>

namespace talmer {

namespace {

constexpr std::size_t LargeurLabel = 20;

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

// Appends `texte` right-aligned in `largeur` characters (longer texts stand whole).
void AjouteADroite(std::string &sortie, std::string_view texte, std::size_t largeur)
{
    if (texte.size() < largeur)
        sortie.append(largeur - texte.size(), ' ');
    sortie.append(texte);
}

void AjouteEntier(std::string &sortie, std::int64_t valeur, std::size_t largeur)
{
    char tampon[24];
    const auto r = std::to_chars(tampon, tampon + sizeof tampon, valeur);
    AjouteADroite(sortie, std::string_view(tampon, static_cast<std::size_t>(r.ptr - tampon)), largeur);
}

void AjouteLigne(std::string &sortie, const LigneAFC &ligne)
{
    // The row number stands in 5 characters and is always followed by one blank, so a longer
    // number is still read up to its blank.
    AjouteEntier(sortie, ligne.numero, 5);
    sortie += ' ';
    const std::string_view graphie = std::string_view(ligne.graphie).substr(0, LargeurLabel);
    sortie.append(graphie);
    sortie.append(LargeurLabel - graphie.size(), ' ');
    bool large = false;
    for (std::int32_t n : ligne.comptes)
        if (n > 99999 || n < -9999)
            large = true;
    for (std::int32_t n : ligne.comptes) {
        if (large)
            sortie += ' ';
        AjouteEntier(sortie, n, 5);
    }
    sortie += "\r\n";
}

} // namespace

std::optional<std::int32_t> EntierSaisi(std::string_view texte)
{
    while (!texte.empty() && EstBlanc(texte.front()))
        texte.remove_prefix(1);
    while (!texte.empty() && EstBlanc(texte.back()))
        texte.remove_suffix(1);
    if (!texte.empty() && texte.front() == '+')
        texte.remove_prefix(1);
    if (texte.empty())
        return std::nullopt;
    std::int32_t valeur = 0;
    const auto r = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    if (r.ec != std::errc() || r.ptr != texte.data() + texte.size())
        return std::nullopt;
    return valeur;
}

std::optional<DimensionsAFC> ValideDimensions(std::string_view ni, std::string_view nj, std::string_view nf,
                                              std::int32_t formesRetenues, std::int32_t nbParties)
{
    const std::optional<std::int32_t> vi = EntierSaisi(ni), vj = EntierSaisi(nj), vf = EntierSaisi(nf);
    if (!vi || !vj || !vf)
        return std::nullopt;
    if (!(1 < *vf && *vf < *vi && *vf < *vj))
        return std::nullopt;
    if (*vj != nbParties || *vi > formesRetenues)
        return std::nullopt;
    return DimensionsAFC{*vi, *vj, *vf};
}

std::int32_t FormesRetenues(const Partition &partition, std::int32_t freqMin)
{
    const charg1 *base = partition.Base();
    if (!base)
        return 0;
    std::int32_t n = 0;
    for (std::int32_t f = 0; f < base->Nbform(); ++f)
        if (base->RetourneFrq(f) >= freqMin)
            ++n;
    return n;
}

DonneesAFC RassembleDonnees(const Partition &partition, const std::string &titre, const DimensionsAFC &dimensions,
                            std::int32_t freqMin, bool seulementCochees, FnProgression pas)
{
    DonneesAFC donnees;
    donnees.titre = titre;
    donnees.dimensions = dimensions;
    const std::int32_t nbParties = partition.NbParties();
    for (std::int32_t k = 0; k < nbParties; ++k)
        donnees.drapeaux.push_back(!seulementCochees || partition.EstCochee(k) ? 1 : 2);
    const charg1 *base = partition.Base();
    if (!base)
        return donnees;
    const auto &table = partition.Table();
    const std::int32_t ni = std::min(dimensions.ni, base->Nbform());
    donnees.formes.resize(static_cast<std::size_t>(std::max(ni, 0)));
    PasCentiemes progressionFormes(pas, ni);
    for (std::int32_t f = 0; f < ni; ++f) {
        LigneAFC &ligne = donnees.formes[static_cast<std::size_t>(f)];
        ligne.numero = f;
        ligne.graphie = base->RetourneGraphie(f, true);
        const auto debut = table.begin() + static_cast<std::ptrdiff_t>(f) * nbParties;
        ligne.comptes.assign(debut, debut + nbParties);
        progressionFormes.Avance();
    }
    if (const SegRep *segments = base->SegmentsAttaches()) {
        PasCentiemes progressionSegments(pas, segments->NbSegments(), 1);
        for (std::int32_t k = 0; k < segments->NbSegments(); ++k) {
            progressionSegments.Avance();
            const std::int32_t entite = base->Nbart() + 1 + k;
            // The frequency compared with the threshold is the sum of the counts the row shows,
            // so that the row always adds up to the frequency that selected it.
            std::vector<std::int32_t> comptes = partition.FrqParPartie(entite);
            std::int64_t total = 0;
            for (std::int32_t n : comptes)
                total += n;
            if (total < freqMin)
                continue;
            comptes.resize(static_cast<std::size_t>(nbParties), 0);
            donnees.segments.push_back({entite, base->RetourneGraphie(entite, false), std::move(comptes)});
        }
    }
    return donnees;
}

std::string TexteCoranDon(const DonneesAFC &donnees, FnProgression pas)
{
    const std::size_t nbParties = donnees.drapeaux.size();
    std::string sortie;
    sortie.reserve((donnees.formes.size() + donnees.segments.size() + 8) * (30 + 6 * nbParties) + 4 * nbParties);
    sortie += donnees.titre;
    sortie += "\r\n";

    const std::string ni = std::to_string(donnees.dimensions.ni);
    const std::string nj = std::to_string(donnees.dimensions.nj);
    AjouteADroite(sortie, ni, 4);
    // NJ's field would start with its own digit: a blank keeps the two numbers apart.
    if (nj.size() >= 4)
        sortie += ' ';
    AjouteADroite(sortie, nj, 4);
    sortie += "   5   1   0\r\n";

    for (std::size_t k = 0; k < nbParties; ++k)
        AjouteEntier(sortie, static_cast<std::int64_t>(k), 4);
    sortie += "\r\n";
    for (char d : donnees.drapeaux)
        sortie += d == 2 ? '2' : '1';
    sortie += "\r\n";
    sortie += "(6x,5A4," + std::to_string(nbParties) + "F5.0)\r\n";

    PasCentiemes progression(pas, static_cast<std::int32_t>(donnees.formes.size() + donnees.segments.size()));
    for (const LigneAFC &ligne : donnees.formes) {
        AjouteLigne(sortie, ligne);
        progression.Avance();
    }

    AjouteEntier(sortie, donnees.dimensions.nf, 4);
    sortie += "   0   0   4 150   0   0\r\n";

    for (const LigneAFC &ligne : donnees.segments) {
        AjouteLigne(sortie, ligne);
        progression.Avance();
    }
    return sortie;
}

bool EcritFichier(const std::string &chemin, const std::string &texte)
{
    const std::string temporaire = chemin + ".tmp";
    std::FILE *f = std::fopen(temporaire.c_str(), "wb");
    if (!f)
        return false;
    const bool ecrit = std::fwrite(texte.data(), 1, texte.size(), f) == texte.size();
    const bool ferme = std::fclose(f) == 0;
    if (!ecrit || !ferme || std::rename(temporaire.c_str(), chemin.c_str()) != 0) {
        std::remove(temporaire.c_str());
        return false;
    }
    return true;
}

} // namespace talmer

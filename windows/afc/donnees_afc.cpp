#include "windows/afc/donnees_afc.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"
#include "platform/qt/ecriture_sure.h"

#include <QFile>
#include <QIODevice>
#include <QString>

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

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

std::optional<AvancementAFC> LitAvancementAFC(std::string_view ligne)
{
    while (!ligne.empty() && (ligne.back() == '\n' || ligne.back() == '\r'))
        ligne.remove_suffix(1);
    if (ligne == "calcul")
        return AvancementAFC{true, 100};
    constexpr std::string_view Lecture = "lecture ";
    if (!ligne.starts_with(Lecture))
        return std::nullopt;
    ligne.remove_prefix(Lecture.size());
    std::int32_t pourcent = 0;
    const auto r = std::from_chars(ligne.data(), ligne.data() + ligne.size(), pourcent);
    if (r.ec != std::errc() || r.ptr != ligne.data() + ligne.size() || pourcent < 0 || pourcent > 100)
        return std::nullopt;
    return AvancementAFC{false, pourcent};
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

namespace {

// What "coran.don" holds apart from its rows: the title, the dimensions and the part flags.
DonneesAFC EnteteDonnees(const Partition &partition, const std::string &titre, const DimensionsAFC &dimensions,
                         bool seulementCochees)
{
    DonneesAFC donnees;
    donnees.titre = titre;
    donnees.dimensions = dimensions;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        donnees.drapeaux.push_back(!seulementCochees || partition.EstCochee(k) ? 1 : 2);
    return donnees;
}

// The form rows there are: NI, or fewer when the dictionary holds fewer forms.
std::int32_t NbLignesFormes(const charg1 &base, const DimensionsAFC &dimensions)
{
    return std::max(std::min(dimensions.ni, base.Nbform()), 0);
}

LigneAFC LigneForme(const Partition &partition, const charg1 &base, std::int32_t forme)
{
    return LigneAFC{forme, base.RetourneGraphie(forme, true), partition.Table().LigneDense(forme)};
}

// The row of repeated segment k, unless its frequency is below freqMin.
std::optional<LigneAFC> LigneSegment(const Partition &partition, const charg1 &base, std::int32_t k,
                                     std::int32_t freqMin)
{
    const std::int32_t entite = base.Nbart() + 1 + k;
    // The frequency compared with the threshold is the sum of the counts the row shows, so that
    // the row always adds up to the frequency that selected it.
    std::vector<std::int32_t> comptes = partition.FrqParPartie(entite);
    std::int64_t total = 0;
    for (std::int32_t n : comptes)
        total += n;
    if (total < freqMin)
        return std::nullopt;
    comptes.resize(static_cast<std::size_t>(partition.NbParties()), 0);
    return LigneAFC{entite, base.RetourneGraphie(entite, false), std::move(comptes)};
}

std::int32_t NbSegments(const charg1 &base)
{
    const SegRep *segments = base.SegmentsAttaches();
    return segments != nullptr ? segments->NbSegments() : 0;
}

} // namespace

DonneesAFC RassembleDonnees(const Partition &partition, const std::string &titre, const DimensionsAFC &dimensions,
                            std::int32_t freqMin, bool seulementCochees)
{
    DonneesAFC donnees = EnteteDonnees(partition, titre, dimensions, seulementCochees);
    const charg1 *base = partition.Base();
    if (!base)
        return donnees;
    const std::int32_t ni = NbLignesFormes(*base, dimensions);
    donnees.formes.reserve(static_cast<std::size_t>(ni));
    for (std::int32_t f = 0; f < ni; ++f)
        donnees.formes.push_back(LigneForme(partition, *base, f));
    for (std::int32_t k = 0; k < NbSegments(*base); ++k)
        if (std::optional<LigneAFC> ligne = LigneSegment(partition, *base, k, freqMin))
            donnees.segments.push_back(std::move(*ligne));
    return donnees;
}

namespace {

// Lines 1 to 5: the title, the dimensions, the parts and their flags, the layout of the rows.
void AjouteDebut(std::string &sortie, const DonneesAFC &donnees)
{
    const std::size_t nbParties = donnees.drapeaux.size();
    // The title is one line, whatever was pasted into its field.
    for (char c : donnees.titre)
        sortie += c == '\r' || c == '\n' ? ' ' : c;
    sortie += "\r\n";

    const std::string ni = std::to_string(donnees.dimensions.ni);
    const std::string nj = std::to_string(donnees.dimensions.nj);
    AjouteADroite(sortie, ni, 4);
    // NJ's field would start with its own digit: a blank keeps the two numbers apart.
    if (nj.size() >= 4)
        sortie += ' ';
    AjouteADroite(sortie, nj, 4);
    sortie += "   5   1   0\r\n";

    // The part indexes in fields of 4 characters; from 1,000 parts on an index fills its field,
    // and a blank keeps it apart from the one before.
    for (std::size_t k = 0; k < nbParties; ++k) {
        if (k >= 1000)
            sortie += ' ';
        AjouteEntier(sortie, static_cast<std::int64_t>(k), 4);
    }
    sortie += "\r\n";
    for (char d : donnees.drapeaux)
        sortie += d == 2 ? '2' : '1';
    sortie += "\r\n";
    sortie += "(6x,5A4," + std::to_string(nbParties) + "F5.0)\r\n";
}

// The control line between the form rows and the segment rows.
void AjouteControle(std::string &sortie, const DonneesAFC &donnees)
{
    AjouteEntier(sortie, donnees.dimensions.nf, 4);
    sortie += "   0   0   4 150   0   0\r\n";
}

} // namespace

std::string TexteCoranDon(const DonneesAFC &donnees)
{
    const std::size_t nbParties = donnees.drapeaux.size();
    std::string sortie;
    sortie.reserve((donnees.formes.size() + donnees.segments.size() + 8) * (30 + 6 * nbParties) + 4 * nbParties);
    AjouteDebut(sortie, donnees);
    for (const LigneAFC &ligne : donnees.formes)
        AjouteLigne(sortie, ligne);
    AjouteControle(sortie, donnees);
    for (const LigneAFC &ligne : donnees.segments)
        AjouteLigne(sortie, ligne);
    return sortie;
}

bool EcritCoranDon(const std::string &chemin, const Partition &partition, const std::string &titre,
                   const DimensionsAFC &dimensions, std::int32_t freqMin, bool seulementCochees, FnProgression pas,
                   EchecEcriture *echec)
{
    const DonneesAFC entete = EnteteDonnees(partition, titre, dimensions, seulementCochees);
    const charg1 *base = partition.Base();
    return EcritFichierSur(QFile::decodeName(QByteArray::fromStdString(chemin)), [&](QIODevice &fichier) {
        // The text goes out whenever a megabyte of it is ready.
        constexpr std::size_t Morceau = std::size_t{1} << 20;
        std::string tampon;
        tampon.reserve(2 * Morceau);
        auto vide = [&](bool toujours) {
            if (tampon.empty() || (!toujours && tampon.size() < Morceau))
                return true;
            const bool ecrit = fichier.write(tampon.data(), static_cast<qint64>(tampon.size())) ==
                               static_cast<qint64>(tampon.size());
            tampon.clear();
            return ecrit;
        };
        AjouteDebut(tampon, entete);
        const std::int32_t ni = base != nullptr ? NbLignesFormes(*base, dimensions) : 0;
        PasCentiemes progressionFormes(pas, ni, 0);
        for (std::int32_t f = 0; f < ni; ++f) {
            AjouteLigne(tampon, LigneForme(partition, *base, f));
            if (!vide(false))
                return false;
            progressionFormes.Avance();
        }
        AjouteControle(tampon, entete);
        const std::int32_t nbSegments = base != nullptr ? NbSegments(*base) : 0;
        PasCentiemes progressionSegments(pas, nbSegments, 1);
        for (std::int32_t k = 0; k < nbSegments; ++k) {
            if (const std::optional<LigneAFC> ligne = LigneSegment(partition, *base, k, freqMin))
                AjouteLigne(tampon, *ligne);
            if (!vide(false))
                return false;
            progressionSegments.Avance();
        }
        return vide(true);
    }, echec);
}

} // namespace talmer

#include "tools/ta3afc/afc.h"

#include "tools/ta3afc/decomposition.h"

#include "platform/core/champs.h"

#include <Eigen/Dense>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <system_error>

namespace talmer::afc {

namespace {

constexpr std::size_t LargeurLibelle = 20;
constexpr std::size_t LargeurEffectif = 5;

std::vector<std::string_view> Lignes(std::string_view texte)
{
    std::vector<std::string_view> lignes;
    while (!texte.empty()) {
        const std::size_t fin = texte.find('\n');
        std::string_view ligne = texte.substr(0, fin);
        // A stray carriage return before the line end is part of the line end.
        while (!ligne.empty() && ligne.back() == '\r')
            ligne.remove_suffix(1);
        lignes.push_back(ligne);
        if (fin == std::string_view::npos)
            break;
        texte.remove_prefix(fin + 1);
    }
    // Trailing empty lines carry nothing.
    while (!lignes.empty() && lignes.back().find_first_not_of(" \t") == std::string_view::npos)
        lignes.pop_back();
    return lignes;
}

std::vector<std::string_view> Champs(std::string_view ligne)
{
    return ChampsSepares(ligne);
}

template <typename T> bool Entier(std::string_view texte, T &valeur)
{
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    return erreur == std::errc() && fin == texte.data() + texte.size();
}

// A row: its number up to its blank, one blank, a 20-byte label, then one count per part. The
// counts stand in fixed fields of 5 characters; a row holding a count too wide for them has every
// count written after at least one blank, and is read field by field.
std::string LitRangee(std::string_view ligne, std::int32_t nbParties, std::string &libelle,
                      std::int64_t *effectifs)
{
    std::size_t i = 0;
    while (i < ligne.size() && ligne[i] == ' ')
        ++i;
    const std::size_t debutNumero = i;
    while (i < ligne.size() && ligne[i] >= '0' && ligne[i] <= '9')
        ++i;
    if (i == debutNumero || i >= ligne.size() || ligne[i] != ' ')
        return "numéro de ligne illisible";
    ++i;
    if (ligne.size() - i < LargeurLibelle)
        return "ligne trop courte";
    libelle.assign(ligne.substr(i, LargeurLibelle));
    std::string_view reste = ligne.substr(i + LargeurLibelle);
    const auto parties = static_cast<std::size_t>(nbParties);
    if (reste.size() == parties * LargeurEffectif) {
        for (std::size_t j = 0; j < parties; ++j) {
            std::string_view champ = reste.substr(j * LargeurEffectif, LargeurEffectif);
            champ.remove_prefix(std::min(champ.find_first_not_of(' '), champ.size()));
            if (!Entier(champ, effectifs[j]) || effectifs[j] < 0)
                return "effectif illisible";
        }
        return {};
    }
    const auto champs = Champs(reste);
    if (champs.size() != parties || reste.empty() || reste.front() != ' ')
        return "nombre d'effectifs différent du nombre de parties";
    for (std::size_t j = 0; j < parties; ++j)
        if (!Entier(champs[j], effectifs[j]) || effectifs[j] < 0)
            return "effectif illisible";
    return {};
}

std::string Ligne(std::size_t numero, const std::string &raison)
{
    return "ligne " + std::to_string(numero) + " de coran.don : " + raison;
}

// Line 3: one label per part. Fixed fields of 4 characters while the labels fit them (and in the
// layout of earlier versions, where labels of 4 characters ran together); a label too wide for
// its field comes after a blank, and the line is read as blank-separated fields.
bool LitLibellesParties(std::string_view ligne, std::size_t parties, std::vector<std::string> &libelles)
{
    libelles.clear();
    constexpr std::size_t Largeur = 4;
    if (ligne.size() == parties * Largeur) {
        for (std::size_t j = 0; j < parties; ++j) {
            const auto champs = Champs(ligne.substr(j * Largeur, Largeur));
            if (champs.size() != 1)
                break;
            libelles.emplace_back(champs[0]);
        }
        if (libelles.size() == parties)
            return true;
        libelles.clear();
    }
    for (std::string_view champ : Champs(ligne))
        libelles.emplace_back(champ);
    return libelles.size() == parties;
}

// The control line: NF then 0 0 4 150 0 0.
bool EstLigneDeControle(std::string_view ligne)
{
    static constexpr std::string_view Suite[] = {"0", "0", "4", "150", "0", "0"};
    const auto champs = Champs(ligne);
    std::int32_t nf = 0;
    if (champs.size() != 1 + std::size(Suite) || !Entier(champs[0], nf))
        return false;
    return std::equal(std::begin(Suite), std::end(Suite), champs.begin() + 1);
}

std::string SansBlancsFinals(std::string_view texte)
{
    while (!texte.empty() && (texte.back() == ' ' || texte.back() == '\t'))
        texte.remove_suffix(1);
    return std::string(texte);
}

// A number in fixed notation, with '.' whatever the locale.
void AjouteFixe(std::string &texte, double valeur, int decimales)
{
    char nombre[400];
    const auto r = std::to_chars(nombre, nombre + sizeof nombre, valeur, std::chars_format::fixed, decimales);
    texte.append(nombre, r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - nombre) : 0);
}

} // namespace

std::string LitCoranDon(std::string_view texte, TableAfc &table)
{
    table = TableAfc{};
    const auto lignes = Lignes(texte);
    if (lignes.size() < 6)
        return "coran.don est incomplet";
    table.titre.assign(lignes[0]);

    const auto dimensions = Champs(lignes[1]);
    if (dimensions.size() < 2 || !Entier(dimensions[0], table.ni) || !Entier(dimensions[1], table.nj))
        return Ligne(2, "NI et NJ illisibles");
    if (table.ni < 1)
        return Ligne(2, "aucune ligne de formes");

    std::string_view drapeaux = lignes[3];
    while (!drapeaux.empty() && (drapeaux.back() == ' ' || drapeaux.back() == '\t' || drapeaux.back() == '\r'))
        drapeaux.remove_suffix(1);
    if (drapeaux.empty())
        return Ligne(4, "aucune partie");
    for (char c : drapeaux) {
        if (c != '1' && c != '2')
            return Ligne(4, "indicateur de partie autre que 1 ou 2");
        table.drapeaux.push_back(c);
    }
    const std::int32_t parties = table.NbParties();
    if (table.nj != parties)
        return Ligne(2, "NJ vaut " + std::to_string(table.nj) + " mais la ligne 4 donne " + std::to_string(parties) +
                            " parties");
    if (!LitLibellesParties(lignes[2], static_cast<std::size_t>(parties), table.parties))
        return Ligne(3, "le nombre d'index de parties n'est pas celui des parties de la ligne 4 (" +
                            std::to_string(parties) + ")");
    if (lignes[4] != "(6x,5A4," + std::to_string(parties) + "F5.0)")
        return Ligne(5, "format des lignes inattendu");

    // The form rows, the control line, then the segment rows.
    const std::size_t premiere = 5;
    const std::size_t attendue = premiere + static_cast<std::size_t>(table.ni);
    if (attendue >= lignes.size() || !EstLigneDeControle(lignes[attendue])) {
        std::size_t controle = premiere;
        while (controle < lignes.size() && !EstLigneDeControle(lignes[controle]))
            ++controle;
        if (controle < lignes.size())
            return Ligne(2, "NI vaut " + std::to_string(table.ni) + " mais le fichier a " +
                                std::to_string(controle - premiere) +
                                " lignes de formes (la ligne de contrôle est la ligne " + std::to_string(controle + 1) +
                                ")");
        if (attendue >= lignes.size())
            return Ligne(2, "NI vaut " + std::to_string(table.ni) + " mais le fichier n'a que " +
                                std::to_string(lignes.size() - premiere) +
                                " lignes après la ligne 5, et pas de ligne de contrôle");
    }
    table.libelles.resize(static_cast<std::size_t>(table.ni));
    table.effectifs.resize(static_cast<std::size_t>(table.ni) * static_cast<std::size_t>(parties));
    for (std::int32_t i = 0; i < table.ni; ++i) {
        const std::size_t n = premiere + static_cast<std::size_t>(i);
        const std::string raison = LitRangee(lignes[n], parties, table.libelles[static_cast<std::size_t>(i)],
                                             table.effectifs.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(parties));
        if (!raison.empty())
            return Ligne(n + 1, raison);
    }
    const std::size_t controle = premiere + static_cast<std::size_t>(table.ni);
    const auto champsControle = Champs(lignes[controle]);
    if (champsControle.empty() || !Entier(champsControle[0], table.nf))
        return Ligne(controle + 1, "NF illisible");

    std::vector<std::int64_t> effectifsSegment(static_cast<std::size_t>(parties));
    std::string libelle;
    for (std::size_t n = controle + 1; n < lignes.size(); ++n) {
        const std::string raison = LitRangee(lignes[n], parties, libelle, effectifsSegment.data());
        if (!raison.empty())
            return Ligne(n + 1, raison);
        ++table.nbSegments;
    }
    return {};
}

std::string Analyse(const TableAfc &table, ResultatAfc &resultat)
{
    resultat = ResultatAfc{};
    const auto nbLignes = static_cast<Eigen::Index>(table.ni);
    const auto nbParties = static_cast<Eigen::Index>(table.NbParties());
    auto effectif = [&](Eigen::Index i, Eigen::Index j) {
        return static_cast<double>(table.effectifs[static_cast<std::size_t>(i * nbParties + j)]);
    };

    std::vector<Eigen::Index> actives, supplementaires;
    for (Eigen::Index j = 0; j < nbParties; ++j)
        (table.drapeaux[static_cast<std::size_t>(j)] == '1' ? actives : supplementaires).push_back(j);
    if (actives.size() < 2)
        return "il faut au moins deux parties actives";

    // Totals. A form absent from every part cannot be analysed; one absent only from the active
    // parts weighs nothing in the analysis and is left out of it.
    Eigen::VectorXd totalLigne = Eigen::VectorXd::Zero(nbLignes);
    Eigen::VectorXd totalColonne = Eigen::VectorXd::Zero(nbParties);
    double total = 0;
    for (Eigen::Index i = 0; i < nbLignes; ++i) {
        double toutes = 0;
        for (Eigen::Index j = 0; j < nbParties; ++j)
            toutes += effectif(i, j);
        if (toutes == 0)
            return Ligne(static_cast<std::size_t>(i) + 6, "la forme «\u00A0" +
                                                              SansBlancsFinals(table.libelles[static_cast<std::size_t>(i)]) +
                                                              "\u00A0» n'a aucune occurrence");
        for (Eigen::Index j : actives)
            totalLigne(i) += effectif(i, j);
        total += totalLigne(i);
    }
    std::vector<Eigen::Index> lignes;
    for (Eigen::Index i = 0; i < nbLignes; ++i)
        if (totalLigne(i) > 0)
            lignes.push_back(i);
    // The table is walked row after row; each sum still adds its terms in row order.
    for (Eigen::Index i : lignes)
        for (Eigen::Index j = 0; j < nbParties; ++j)
            totalColonne(j) += effectif(i, j);
    for (Eigen::Index j = 0; j < nbParties; ++j) {
        if (totalColonne(j) == 0)
            return Ligne(3, "la partie «\u00A0" + table.parties[static_cast<std::size_t>(j)] + "\u00A0» (colonne " +
                                std::to_string(j + 1) + ") n'a aucune occurrence dans les lignes analysées");
    }

    // Standardised residuals of the active table, rows x active parts, kept as sparse as it is.
    const auto nI = static_cast<Eigen::Index>(lignes.size());
    const auto nJ = static_cast<Eigen::Index>(actives.size());
    Eigen::VectorXd r(nI), c(nJ);
    for (Eigen::Index a = 0; a < nI; ++a)
        r(a) = totalLigne(lignes[static_cast<std::size_t>(a)]) / total;
    for (Eigen::Index b = 0; b < nJ; ++b)
        c(b) = totalColonne(actives[static_cast<std::size_t>(b)]) / total;
    Residus s;
    s.a = r.cwiseSqrt();
    s.b = c.cwiseSqrt();
    s.x.resize(nI, nJ);
    {
        std::vector<Eigen::Index> parLigne(static_cast<std::size_t>(nI), 0);
        for (Eigen::Index a = 0; a < nI; ++a)
            for (Eigen::Index j : actives)
                parLigne[static_cast<std::size_t>(a)] += effectif(lignes[static_cast<std::size_t>(a)], j) != 0;
        s.x.reserve(parLigne);
        for (Eigen::Index a = 0; a < nI; ++a)
            for (Eigen::Index b = 0; b < nJ; ++b) {
                const double n = effectif(lignes[static_cast<std::size_t>(a)], actives[static_cast<std::size_t>(b)]);
                if (n != 0)
                    s.x.insert(a, b) = n / total / (s.a(a) * s.b(b));
            }
        s.x.makeCompressed();
    }

    Decomposition decomposition = Decompose(s, std::max(table.nf, 0));
    if (!decomposition.reussie)
        return "la décomposition n'a pas abouti";
    std::vector<double> &valeurs = decomposition.valeurs;
    std::vector<Eigen::VectorXd> &vecteurs = decomposition.vecteurs;
    const auto nbFacteurs = static_cast<std::int32_t>(vecteurs.size());
    if (nbFacteurs < 2)
        return "moins de deux facteurs";
    resultat.valeursPropres = valeurs;
    resultat.nbFacteurs = nbFacteurs;

    // Signs: on each axis the active part farthest from the origin lies on the positive side.
    for (std::int32_t k = 0; k < nbFacteurs; ++k) {
        Eigen::VectorXd &v = vecteurs[static_cast<std::size_t>(k)];
        Eigen::Index plusLoin = 0;
        double plusGrand = -1;
        for (Eigen::Index b = 0; b < nJ; ++b) {
            const double g = std::abs(v(b)) / std::sqrt(c(b));
            if (g > plusGrand * (1 + 1e-9)) {
                plusGrand = g;
                plusLoin = b;
            }
        }
        if (v(plusLoin) < 0)
            v = -v;
    }

    resultat.points.resize(static_cast<std::size_t>(nbParties));
    for (auto &point : resultat.points) {
        point.coordonnees.assign(static_cast<std::size_t>(nbFacteurs), 0.0);
        point.contributions.assign(static_cast<std::size_t>(nbFacteurs), 0.0);
        point.cosinus2.assign(static_cast<std::size_t>(nbFacteurs), 0.0);
    }
    // Squared distances of the parts' profiles to the centroid.
    Eigen::VectorXd distance = Eigen::VectorXd::Zero(nbParties);
    for (Eigen::Index a = 0; a < nI; ++a)
        for (Eigen::Index j = 0; j < nbParties; ++j) {
            const double q = effectif(lignes[static_cast<std::size_t>(a)], j) / totalColonne(j) - r(a);
            distance(j) += q * q / r(a);
        }
    for (Eigen::Index b = 0; b < nJ; ++b) {
        PointAfc &point = resultat.points[static_cast<std::size_t>(actives[static_cast<std::size_t>(b)])];
        point.actif = true;
        point.masse = c(b);
        point.distance = distance(actives[static_cast<std::size_t>(b)]);
        for (std::int32_t k = 0; k < nbFacteurs; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            const double g = vecteurs[kk](b) * std::sqrt(valeurs[kk] / c(b));
            point.coordonnees[kk] = g;
            point.contributions[kk] = c(b) * g * g / valeurs[kk];
            point.cosinus2[kk] = point.distance > 0 ? g * g / point.distance : 0;
        }
    }
    if (!supplementaires.empty()) {
        // Transition formula: a supplementary part sits at the barycentre of the rows' principal
        // coordinates weighted by its profile, divided by the axis's singular value.
        Eigen::MatrixXd f(nI, nbFacteurs);
        for (std::int32_t k = 0; k < nbFacteurs; ++k) {
            const Eigen::VectorXd u = s.Produit(vecteurs[static_cast<std::size_t>(k)]);
            for (Eigen::Index a = 0; a < nI; ++a)
                f(a, k) = u(a) / std::sqrt(r(a));
        }
        const auto nS = static_cast<Eigen::Index>(supplementaires.size());
        Eigen::MatrixXd barycentres = Eigen::MatrixXd::Zero(nbFacteurs, nS);
        for (Eigen::Index a = 0; a < nI; ++a)
            for (Eigen::Index t = 0; t < nS; ++t) {
                const Eigen::Index j = supplementaires[static_cast<std::size_t>(t)];
                const double n = effectif(lignes[static_cast<std::size_t>(a)], j);
                if (n != 0)
                    for (std::int32_t k = 0; k < nbFacteurs; ++k)
                        barycentres(k, t) += n / totalColonne(j) * f(a, k);
            }
        for (Eigen::Index t = 0; t < nS; ++t) {
            const Eigen::Index j = supplementaires[static_cast<std::size_t>(t)];
            PointAfc &point = resultat.points[static_cast<std::size_t>(j)];
            point.actif = false;
            point.masse = totalColonne(j) / total;
            point.distance = distance(j);
            for (std::int32_t k = 0; k < nbFacteurs; ++k) {
                const auto kk = static_cast<std::size_t>(k);
                const double g = barycentres(k, t) / std::sqrt(valeurs[kk]);
                point.coordonnees[kk] = g;
                point.cosinus2[kk] = point.distance > 0 ? std::min(1.0, g * g / point.distance) : 0;
            }
        }
    }
    return {};
}

std::string TexteFacteurs(const ResultatAfc &resultat)
{
    std::string texte = std::to_string(resultat.points.size()) + " " + std::to_string(resultat.nbFacteurs) + "\r\n";
    auto ajoute = [&](double valeur) {
        // A value that rounds to zero is written "0.000", never "-0.000".
        const double milliemes = std::abs(valeur * 1000.0) < 0.0005 ? 0.0 : valeur * 1000.0;
        texte += ' ';
        AjouteFixe(texte, milliemes, 3);
    };
    for (std::size_t j = 0; j < resultat.points.size(); ++j) {
        const PointAfc &point = resultat.points[j];
        texte += point.actif ? 'A' : 'S';
        texte += ' ';
        texte += std::to_string(j);
        ajoute(point.masse);
        ajoute(point.distance);
        for (double v : point.coordonnees)
            ajoute(v);
        for (double v : point.contributions)
            ajoute(v);
        for (double v : point.cosinus2)
            ajoute(v);
        texte += "\r\n";
    }
    return texte;
}

std::string TexteValeursPropres(const ResultatAfc &resultat)
{
    std::string texte = std::to_string(resultat.valeursPropres.size()) + "\r\n";
    for (double v : resultat.valeursPropres) {
        AjouteFixe(texte, v, 8);
        texte += "\r\n";
    }
    return texte;
}

} // namespace talmer::afc

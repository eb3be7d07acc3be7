#include "tools/ta3afc/afc.h"

#include "tools/ta3afc/decomposition.h"

#include "platform/core/champs.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>
#include <system_error>

namespace talmer::afc {

namespace {

constexpr std::size_t LargeurLibelle = 20;
constexpr std::size_t LargeurEffectif = 5;

// The lines of coran.don as they come, from a file read by blocks or from a text, without their
// line ends (a carriage return before the line feed belongs to the line end). A line that lies
// whole in the block read is seen where it is; only one that runs over two blocks is copied.
class Lignes {
public:
    Lignes(std::FILE *fichier, const FnLecture &lu) : fichier_(fichier), lu_(lu), tampon_(TailleBloc) {}
    explicit Lignes(std::string_view texte) : bloc_(texte) {}

    // The next line, valid until the next call; false at the end of the text or when a read fails.
    bool Suivante(std::string_view &ligne)
    {
        for (;;) {
            const std::size_t fin = bloc_.find('\n');
            if (fin != std::string_view::npos) {
                if (entamee_) {
                    ligne_.append(bloc_.substr(0, fin));
                    ligne = ligne_;
                    entamee_ = false;
                } else {
                    ligne = bloc_.substr(0, fin);
                }
                bloc_.remove_prefix(fin + 1);
                break;
            }
            if (!bloc_.empty()) {
                if (!entamee_)
                    ligne_.clear();
                ligne_.append(bloc_);
                entamee_ = true;
                bloc_ = {};
            }
            if (!Remplit()) {
                // The last line may lack its line end.
                if (!entamee_ || erreur_ != 0)
                    return false;
                entamee_ = false;
                ligne = ligne_;
                break;
            }
        }
        while (!ligne.empty() && ligne.back() == '\r')
            ligne.remove_suffix(1);
        return true;
    }

    // The error of the read that failed (errno), 0 when none did.
    int Erreur() const { return erreur_; }

private:
    static constexpr std::size_t TailleBloc = std::size_t{1} << 20;

    bool Remplit()
    {
        if (!fichier_)
            return false;
        errno = 0;
        const std::size_t n = std::fread(tampon_.data(), 1, tampon_.size(), fichier_);
        if (n == 0) {
            if (std::ferror(fichier_))
                erreur_ = errno != 0 ? errno : EIO;
            return false;
        }
        lus_ += n;
        if (lu_)
            lu_(lus_);
        bloc_ = std::string_view(tampon_.data(), n);
        return true;
    }

    std::FILE *fichier_ = nullptr;
    FnLecture lu_;
    std::vector<char> tampon_;
    std::string_view bloc_;   // what is left of the block read
    std::string ligne_;       // a line begun in an earlier block
    bool entamee_ = false;
    std::uint64_t lus_ = 0;
    int erreur_ = 0;
};

bool Blanche(std::string_view ligne)
{
    return ligne.find_first_not_of(" \t") == std::string_view::npos;
}

// The lines up to the last one that is not blank: blank lines at the end carry nothing. A blank
// line is seen empty, and only once a line that is not blank follows it.
class LignesUtiles {
public:
    explicit LignesUtiles(Lignes &lignes) : lignes_(lignes) {}

    bool Suivante(std::string_view &ligne)
    {
        if (blanches_ > 0) {
            --blanches_;
            ligne = {};
            return true;
        }
        if (enAttente_) {
            enAttente_ = false;
            ligne = attente_;
            return true;
        }
        std::string_view lue;
        while (lignes_.Suivante(lue)) {
            if (Blanche(lue)) {
                ++blanches_;
                continue;
            }
            if (blanches_ == 0) {
                ligne = lue;
                return true;
            }
            // `lue` stays valid while the blank lines before it are given out.
            attente_ = lue;
            enAttente_ = true;
            --blanches_;
            ligne = {};
            return true;
        }
        blanches_ = 0;
        return false;
    }

private:
    Lignes &lignes_;
    std::size_t blanches_ = 0;
    std::string_view attente_;
    bool enAttente_ = false;
};

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

// A count followed by its noun, singular up to 1 as French has it: "1 ligne", "2 lignes".
std::string Compte(std::int64_t nombre, const char *singulier, const char *pluriel)
{
    return std::to_string(nombre) + " " + (nombre > 1 ? pluriel : singulier);
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

// The fields of a line one after the other, without gathering them: rows hold thousands.
class ChampsSuccessifs {
public:
    explicit ChampsSuccessifs(std::string_view ligne) : ligne_(ligne) {}
    bool Suivant(std::string_view &champ)
    {
        while (i_ < ligne_.size() && (ligne_[i_] == ' ' || ligne_[i_] == '\t'))
            ++i_;
        const std::size_t debut = i_;
        while (i_ < ligne_.size() && ligne_[i_] != ' ' && ligne_[i_] != '\t')
            ++i_;
        champ = ligne_.substr(debut, i_ - debut);
        return i_ > debut;
    }

private:
    std::string_view ligne_;
    std::size_t i_ = 0;
};

// The control line: NF then 0 0 4 150 0 0.
bool EstLigneDeControle(std::string_view ligne)
{
    static constexpr std::string_view Suite[] = {"0", "0", "4", "150", "0", "0"};
    ChampsSuccessifs champs(ligne);
    std::string_view champ;
    std::int32_t nf = 0;
    if (!champs.Suivant(champ) || !Entier(champ, nf))
        return false;
    for (std::string_view attendu : Suite)
        if (!champs.Suivant(champ) || champ != attendu)
            return false;
    return !champs.Suivant(champ);
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

namespace {

// The table read from its lines (see LitCoranDon). The form rows, the control line and the
// segment rows are read as they come; whatever the layout of the file, the reason given is the
// one the whole file would give: an NI that does not lead to the control line is told before
// a bad form row, a bad form row before a bad NF, and a bad NF before a bad segment row.
std::string LitTable(LignesUtiles &lignes, TableCreuse &table)
{
    table = TableCreuse{};
    std::string entete[5];
    std::string_view ligne;
    for (std::string &e : entete) {
        if (!lignes.Suivante(ligne))
            return "coran.don est incomplet";
        e.assign(ligne);
    }
    // `ligne` is now line n (from 0), the first after the format line.
    std::size_t n = 5;
    if (!lignes.Suivante(ligne))
        return "coran.don est incomplet";
    table.titre = entete[0];

    const auto dimensions = Champs(entete[1]);
    if (dimensions.size() < 2 || !Entier(dimensions[0], table.ni) || !Entier(dimensions[1], table.nj))
        return Ligne(2, "NI et NJ illisibles");
    if (table.ni < 1)
        return Ligne(2, "aucune ligne de formes");

    std::string_view drapeaux = entete[3];
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
        return Ligne(2, "NJ vaut " + std::to_string(table.nj) + " mais la ligne 4 donne " +
                            Compte(parties, "partie", "parties"));
    if (!LitLibellesParties(entete[2], static_cast<std::size_t>(parties), table.parties))
        return Ligne(3, "le nombre d'index de parties n'est pas celui des parties de la ligne 4 (" +
                            std::to_string(parties) + ")");
    if (entete[4] != "(6x,5A4," + std::to_string(parties) + "F5.0)")
        return Ligne(5, "format des lignes inattendu");

    // The form rows, the control line, then the segment rows.
    const std::size_t premiere = 5;
    const std::size_t attendue = premiere + static_cast<std::size_t>(table.ni);
    auto erreurNI = [&](std::size_t controle) {
        return Ligne(2, "NI vaut " + std::to_string(table.ni) + " mais le fichier a " +
                            Compte(static_cast<std::int64_t>(controle - premiere), "ligne", "lignes") +
                            " de formes (la ligne de contrôle est la ligne " + std::to_string(controle + 1) + ")");
    };
    std::vector<std::int64_t> effectifs(static_cast<std::size_t>(parties));
    std::string libelle;
    bool encore = true; // `ligne` is line n
    auto avance = [&] {
        ++n;
        encore = lignes.Suivante(ligne);
    };

    // The first control line among the form rows, and the first bad form row: which one is told
    // depends on what stands at the place of the control line.
    std::optional<std::size_t> premierControle;
    std::string erreurForme;
    table.debuts.push_back(0);
    for (; encore && n < attendue; avance()) {
        if (!premierControle && EstLigneDeControle(ligne))
            premierControle = n;
        if (!erreurForme.empty())
            continue;
        const std::string raison = LitRangee(ligne, parties, libelle, effectifs.data());
        if (!raison.empty()) {
            erreurForme = Ligne(n + 1, raison);
            continue;
        }
        table.libelles.push_back(libelle);
        for (std::int32_t j = 0; j < parties; ++j) {
            if (effectifs[static_cast<std::size_t>(j)] != 0) {
                table.colonnes.push_back(j);
                table.valeurs.push_back(effectifs[static_cast<std::size_t>(j)]);
            }
        }
        table.debuts.push_back(table.colonnes.size());
    }
    if (!encore) {
        if (premierControle)
            return erreurNI(*premierControle);
        return Ligne(2, "NI vaut " + std::to_string(table.ni) + " mais le fichier n'a que " +
                            Compte(static_cast<std::int64_t>(n - premiere), "ligne", "lignes") +
                            " après la ligne 5, et pas de ligne de contrôle");
    }
    // A line other than the control line where it should be: the rows are those of another NI
    // when a control line comes anywhere, else that line is read as the control line.
    const bool aSaPlace = EstLigneDeControle(ligne);
    if (!aSaPlace && premierControle)
        return erreurNI(*premierControle);
    if (aSaPlace && !erreurForme.empty())
        return erreurForme;
    const std::size_t controle = n;
    std::string_view nf;
    const bool nfLisible = ChampsSuccessifs(ligne).Suivant(nf) && Entier(nf, table.nf);

    std::string erreurSegment;
    for (avance(); encore; avance()) {
        if (!aSaPlace && EstLigneDeControle(ligne))
            return erreurNI(n);
        if (!erreurSegment.empty())
            continue;
        const std::string raison = LitRangee(ligne, parties, libelle, effectifs.data());
        if (!raison.empty()) {
            erreurSegment = Ligne(n + 1, raison);
            if (aSaPlace)
                return erreurSegment;
            continue;
        }
        ++table.nbSegments;
    }
    if (!erreurForme.empty())
        return erreurForme;
    if (!nfLisible)
        return Ligne(controle + 1, "NF illisible");
    return erreurSegment;
}

std::string LitDepuis(Lignes &source, TableCreuse &table)
{
    LignesUtiles lignes(source);
    std::string raison = LitTable(lignes, table);
    if (source.Erreur() != 0)
        return std::string("impossible de lire coran.don : ") + std::strerror(source.Erreur());
    return raison;
}

} // namespace

std::string LitCoranDon(std::FILE *fichier, TableCreuse &table, const FnLecture &lu)
{
    Lignes source(fichier, lu);
    return LitDepuis(source, table);
}

std::string LitCoranDon(std::string_view texte, TableCreuse &table)
{
    Lignes source(texte);
    return LitDepuis(source, table);
}

std::string LitCoranDon(std::string_view texte, TableAfc &table)
{
    TableCreuse creuse;
    const std::string raison = LitCoranDon(texte, creuse);
    table = TableAfc{};
    static_cast<EnteteAfc &>(table) = std::move(creuse);
    if (!raison.empty())
        return raison;
    const auto parties = static_cast<std::size_t>(table.NbParties());
    table.effectifs.assign(static_cast<std::size_t>(table.ni) * parties, 0);
    for (std::size_t i = 0; i + 1 < creuse.debuts.size(); ++i)
        for (std::size_t p = creuse.debuts[i]; p < creuse.debuts[i + 1]; ++p)
            table.effectifs[i * parties + static_cast<std::size_t>(creuse.colonnes[p])] = creuse.valeurs[p];
    return {};
}

std::string Analyse(const TableAfc &table, ResultatAfc &resultat)
{
    TableCreuse creuse;
    static_cast<EnteteAfc &>(creuse) = table;
    const auto parties = static_cast<std::size_t>(table.NbParties());
    creuse.debuts.push_back(0);
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(table.ni, 0)); ++i) {
        for (std::size_t j = 0; j < parties; ++j) {
            const std::int64_t n = table.effectifs[i * parties + j];
            if (n != 0) {
                creuse.colonnes.push_back(static_cast<std::int32_t>(j));
                creuse.valeurs.push_back(n);
            }
        }
        creuse.debuts.push_back(creuse.colonnes.size());
    }
    return Analyse(creuse, resultat);
}

std::string Analyse(const TableCreuse &table, ResultatAfc &resultat)
{
    resultat = ResultatAfc{};
    const auto nbLignes = static_cast<Eigen::Index>(table.ni);
    const auto nbParties = static_cast<Eigen::Index>(table.NbParties());
    // The cells of form row i are debuts[i] .. debuts[i + 1] - 1; an absent cell counts 0, and
    // adding it would change no sum below, so only the cells are walked, in the same order.
    const std::size_t *debuts = table.debuts.data();
    const std::int32_t *colonnes = table.colonnes.data();
    auto effectif = [&](std::size_t p) { return static_cast<double>(table.valeurs[p]); };

    // Each part's rank among the active parts or among the supplementary ones.
    std::vector<Eigen::Index> actives, supplementaires, rang(static_cast<std::size_t>(nbParties));
    for (Eigen::Index j = 0; j < nbParties; ++j) {
        std::vector<Eigen::Index> &groupe = table.drapeaux[static_cast<std::size_t>(j)] == '1' ? actives : supplementaires;
        rang[static_cast<std::size_t>(j)] = static_cast<Eigen::Index>(groupe.size());
        groupe.push_back(j);
    }
    auto active = [&](std::int32_t j) { return table.drapeaux[static_cast<std::size_t>(j)] == '1'; };
    if (actives.size() < 2)
        return "il faut au moins deux parties actives";

    // Totals. A form absent from every part cannot be analysed; one absent only from the active
    // parts weighs nothing in the analysis and is left out of it.
    Eigen::VectorXd totalLigne = Eigen::VectorXd::Zero(nbLignes);
    Eigen::VectorXd totalColonne = Eigen::VectorXd::Zero(nbParties);
    double total = 0;
    for (Eigen::Index i = 0; i < nbLignes; ++i) {
        double toutes = 0;
        for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p)
            toutes += effectif(p);
        if (toutes == 0)
            return Ligne(static_cast<std::size_t>(i) + 6, "la forme «\u00A0" +
                                                              SansBlancsFinals(table.libelles[static_cast<std::size_t>(i)]) +
                                                              "\u00A0» n'a aucune occurrence");
        for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p)
            if (active(colonnes[p]))
                totalLigne(i) += effectif(p);
        total += totalLigne(i);
    }
    std::vector<Eigen::Index> lignes;
    for (Eigen::Index i = 0; i < nbLignes; ++i)
        if (totalLigne(i) > 0)
            lignes.push_back(i);
    // The table is walked row after row; each sum still adds its terms in row order.
    for (Eigen::Index i : lignes)
        for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p)
            totalColonne(colonnes[p]) += effectif(p);
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
        for (Eigen::Index a = 0; a < nI; ++a) {
            const Eigen::Index i = lignes[static_cast<std::size_t>(a)];
            for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p)
                parLigne[static_cast<std::size_t>(a)] += active(colonnes[p]);
        }
        s.x.reserve(parLigne);
        for (Eigen::Index a = 0; a < nI; ++a) {
            const Eigen::Index i = lignes[static_cast<std::size_t>(a)];
            for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p) {
                if (!active(colonnes[p]))
                    continue;
                const Eigen::Index b = rang[static_cast<std::size_t>(colonnes[p])];
                s.x.insert(a, b) = effectif(p) / total / (s.a(a) * s.b(b));
            }
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
    // Squared distances of the parts' profiles to the centroid. Every cell adds its term, an absent
    // one too (the same term for a whole row), in row order.
    Eigen::VectorXd distance = Eigen::VectorXd::Zero(nbParties);
    for (Eigen::Index a = 0; a < nI; ++a) {
        const Eigen::Index i = lignes[static_cast<std::size_t>(a)];
        const double absente = -r(a);
        const double termeAbsente = absente * absente / r(a);
        std::size_t p = debuts[i];
        for (Eigen::Index j = 0; j < nbParties; ++j) {
            if (p < debuts[i + 1] && colonnes[p] == j) {
                const double q = effectif(p) / totalColonne(j) - r(a);
                distance(j) += q * q / r(a);
                ++p;
            } else {
                distance(j) += termeAbsente;
            }
        }
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
        for (Eigen::Index a = 0; a < nI; ++a) {
            const Eigen::Index i = lignes[static_cast<std::size_t>(a)];
            for (std::size_t p = debuts[i]; p < debuts[i + 1]; ++p) {
                const std::int32_t j = colonnes[p];
                if (active(j))
                    continue;
                const Eigen::Index t = rang[static_cast<std::size_t>(j)];
                const double n = effectif(p);
                for (std::int32_t k = 0; k < nbFacteurs; ++k)
                    barycentres(k, t) += n / totalColonne(j) * f(a, k);
            }
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

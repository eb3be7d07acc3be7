#include "windows/sections/selection_fichier.h"

#include "platform/qt/ecriture_sure.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include <algorithm>
#include <cctype>

namespace talmer {

namespace {

constexpr std::size_t LongueurTexteMax = 49;
constexpr std::size_t LongueurNombreMax = 10;

// Reads the text of a selection file (CR LF or LF line ends) as the writer laid it out.
class Lecteur {
public:
    explicit Lecteur(std::string_view octets)
    {
        texte_.reserve(octets.size());
        for (std::size_t i = 0; i < octets.size(); ++i) {
            if (octets[i] == '\r' && i + 1 < octets.size() && octets[i + 1] == '\n')
                continue;
            texte_ += octets[i];
        }
    }

    // Skips up to and including the next line feed; false at the end.
    bool PasseLigne()
    {
        const std::size_t fin = texte_.find('\n', pos_);
        if (fin == std::string::npos)
            return false;
        pos_ = fin + 1;
        return true;
    }

    // The text between the next two double quotes on the current line; false when there is none,
    // or when it is longer than `maxi`.
    bool Valeur(std::size_t maxi, std::string &valeur)
    {
        const std::size_t ouvre = texte_.find('"', pos_);
        const std::size_t finLigne = texte_.find('\n', pos_);
        if (ouvre == std::string::npos || ouvre > finLigne)
            return false;
        const std::size_t ferme = texte_.find('"', ouvre + 1);
        if (ferme == std::string::npos || ferme > finLigne || ferme - ouvre - 1 > maxi)
            return false;
        valeur = texte_.substr(ouvre + 1, ferme - ouvre - 1);
        pos_ = ferme + 1;
        return true;
    }

    void PasseBlancs()
    {
        while (pos_ < texte_.size() && std::isspace(static_cast<unsigned char>(texte_[pos_])))
            ++pos_;
    }

    bool Fin() const { return pos_ >= texte_.size(); }
    char Lit() { return texte_[pos_++]; }
    std::string_view Reste() const { return std::string_view(texte_).substr(pos_); }

private:
    std::string texte_;
    std::size_t pos_ = 0;
};

// Leading blanks skipped, then decimal digits; false when there is no digit or something follows.
bool Nombre(const std::string &texte, std::int32_t &valeur)
{
    std::size_t i = 0;
    while (i < texte.size() && texte[i] == ' ')
        ++i;
    if (i == texte.size())
        return false;
    std::int64_t v = 0;
    for (; i < texte.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(texte[i])))
            return false;
        v = v * 10 + (texte[i] - '0');
    }
    if (v > INT32_MAX)
        return false;
    valeur = static_cast<std::int32_t>(v);
    return true;
}

SelectionImportee Refus(const QString &raison)
{
    SelectionImportee r;
    r.erreur = raison;
    return r;
}

} // namespace

std::string ExporteSelection(const std::vector<char> &drapeaux)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<SELECTIONS>\r\n<selection nom=\"Nom\"  dimension=\"";
    s += std::to_string(drapeaux.size());
    s += "\" type=\"type\" freq=\"0\"  couleur=\"000000\">\r\n";
    s.reserve(s.size() + 2 * drapeaux.size() + 40);
    for (char d : drapeaux) {
        s += d ? '1' : '0';
        s += ' ';
    }
    s += "\r\n</selection>\r\n</SELECTIONS>";
    return s;
}

SelectionImportee ImporteSelection(std::string_view octets, std::int32_t n, const std::vector<int> &decalages)
{
    const QString incomplet = Traduit("Le fichier de sélection est incomplet ou n'a pas la forme attendue.");
    Lecteur l(octets);
    SelectionImportee r;
    if (!l.PasseLigne() || !l.PasseLigne())
        return Refus(incomplet);
    std::string dimension, freq;
    if (!l.Valeur(LongueurTexteMax, r.nom) || !l.Valeur(LongueurNombreMax, dimension) ||
        !l.Valeur(LongueurTexteMax, r.type) || !l.Valeur(LongueurNombreMax, freq) ||
        !l.Valeur(LongueurTexteMax, r.couleur))
        return Refus(incomplet);
    if (!Nombre(dimension, r.dimension) || !Nombre(freq, r.freq))
        return Refus(incomplet);
    if (!l.PasseLigne())
        return Refus(incomplet);
    // A file of another map is read to its own dimension; only the sections both describe count.
    // A flag beyond them may still mark one of them through a negative offset.
    const std::int32_t communes = std::min(r.dimension, std::max(n, 0));
    std::vector<char> selection(static_cast<std::size_t>(std::max(n, 0)), 0);
    for (std::int32_t j = 0; j < r.dimension; ++j) {
        l.PasseBlancs();
        if (l.Fin())
            return Refus(incomplet);
        if (l.Lit() != '1')
            continue;
        for (int k : decalages) {
            const std::int64_t s = static_cast<std::int64_t>(j) + k;
            if (s >= 0 && s < communes)
                selection[static_cast<std::size_t>(s)] = 1;
        }
    }
    l.PasseBlancs();
    std::string_view reste = l.Reste();
    constexpr std::string_view Cloture = "</selection>";
    if (reste.substr(0, Cloture.size()) != Cloture)
        return Refus(incomplet);
    reste.remove_prefix(Cloture.size());
    while (!reste.empty() && std::isspace(static_cast<unsigned char>(reste.front())))
        reste.remove_prefix(1);
    while (!reste.empty() && std::isspace(static_cast<unsigned char>(reste.back())))
        reste.remove_suffix(1);
    if (reste != "</SELECTIONS>")
        return Refus(incomplet);

    r.selection = std::move(selection);
    r.trace = "\r\nnom=" + r.nom + "\r\ndimension=  " + std::to_string(r.dimension) + "\r\ntype =  " + r.type +
              "\r\nfreq=  " + std::to_string(r.freq) + "\r\ncouleur =  " + r.couleur + "\r\n";
    // Each section's flag once every mark has been made, for the sections both describe.
    for (std::int32_t j = 0; j < communes; ++j) {
        r.trace += static_cast<char>(r.selection[static_cast<std::size_t>(j)] ? 1 : 0);
        r.trace += ' ';
    }
    if (r.dimension != n) {
        // The nouns agree with their numbers (singular up to 1, as French has it).
        const QString decrites = r.dimension <= 1 ? Traduit("Sélection chargée : le fichier décrit %1 section et la carte %2 ;")
                                                 : Traduit("Sélection chargée : le fichier décrit %1 sections et la carte %2 ;");
        const QString prises = communes == 0   ? Traduit("aucune section n'a été prise en compte.")
                               : communes == 1 ? Traduit("seule la première section a été prise en compte.")
                                               : Traduit("seules les %1 premières sections ont été prises en compte.").arg(communes);
        r.avertissement = decrites.arg(r.dimension).arg(n) + QLatin1Char(' ') + prises;
    }
    r.valide = true;
    return r;
}

QString FichierSelection()
{
    return QStringLiteral("exportselec.xml");
}

QString FichierControle()
{
    return QStringLiteral("control.txt");
}

bool EcritFichierTexte(const QString &chemin, const std::string &octets, QString *erreur)
{
    EchecEcriture echec;
    const bool ok = EcritFichierSur(chemin, QByteArray(octets.data(), static_cast<qsizetype>(octets.size())), &echec);
    if (!ok && erreur)
        *erreur = MessageEcriture(echec);
    return ok;
}

} // namespace talmer

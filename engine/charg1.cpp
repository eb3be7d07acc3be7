#include "engine/charg1.h"

#include "engine/fichiers.h"
#include "engine/fils.h"
#include "engine/memoire.h"
#include "engine/segrep.h"
#include "engine/trace.h"
#include "platform/core/octets_le.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

using talmer::trace::Ajoute;
using talmer::trace::Ajoutef;

namespace {

constexpr std::int64_t kOctetsGraphie = 40;   // spelling pool per entity, at the least
// Shortest dictionary line: a digit, a blank, a digit, a blank, one byte of spelling, a line feed.
constexpr std::int64_t kOctetsLigneDicMin = 6;
constexpr std::int32_t kMaxEntites = charg1::CodeSautLigne;
constexpr int kPonctMax = 256;

// Closes a C stream on every path.
struct Flux {
    std::FILE *f;
    explicit Flux(std::FILE *fichier) : f(fichier) {}
    ~Flux()
    {
        if (f)
            std::fclose(f);
    }
    Flux(const Flux &) = delete;
    Flux &operator=(const Flux &) = delete;
};

bool estBlanc(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Buffered byte reader with one byte of look-back.
class Octets {
public:
    explicit Octets(std::FILE *f) : f_(f) {}
    int lit()
    {
        if (pos_ == len_) {
            len_ = std::fread(buf_, 1, sizeof buf_, f_);
            pos_ = 0;
            if (len_ == 0)
                return EOF;
        }
        return static_cast<unsigned char>(buf_[pos_++]);
    }
    void rend() { --pos_; }  // only right after a successful lit()
    void sauteBlancs()
    {
        int c;
        while ((c = lit()) != EOF && estBlanc(c)) {
        }
        if (c != EOF)
            rend();
    }
    // A decimal number as scanf's "%ld" reads it (white space first); false when there is none or it
    // does not fit 32 bits.
    bool litNombre(std::int32_t &v)
    {
        sauteBlancs();
        int c = lit();
        bool negatif = false;
        if (c == '-' || c == '+') {
            negatif = c == '-';
            c = lit();
        }
        if (c == EOF || c < '0' || c > '9') {
            if (c != EOF)
                rend();
            return false;
        }
        std::int64_t n = 0;
        bool deborde = false;
        while (c != EOF && c >= '0' && c <= '9') {
            n = n * 10 + (c - '0');
            if (n > std::int64_t{1} << 32) {
                deborde = true;
                n = std::int64_t{1} << 32;
            }
            c = lit();
        }
        if (c != EOF)
            rend();
        if (negatif)
            n = -n;
        if (deborde || n > std::numeric_limits<std::int32_t>::max() || n < std::numeric_limits<std::int32_t>::min())
            return false;
        v = static_cast<std::int32_t>(n);
        return true;
    }

private:
    std::FILE *f_;
    char buf_[1 << 16];
    std::size_t pos_ = 0, len_ = 0;
};

// Progress of a reading loop: about a hundred calls, once at the first record for small files.
class Progression {
public:
    Progression(FnProgression cb, std::int32_t total, std::int32_t phase)
        : cb_(cb), intervalle_(total / 100), phase_(phase) {}
    void enregistrement()
    {
        if (compteur_ == intervalle_) {
            if (cb_)
                cb_(phase_);
            compteur_ = 0;
        }
        ++compteur_;
    }
    // The same calls for a run of records up to (not including) record `fin`, all at once.
    void jusqua(std::int64_t fin)
    {
        if (premier_) {
            prochain_ = intervalle_;
            premier_ = false;
        }
        while (prochain_ < fin) {
            if (cb_)
                cb_(phase_);
            prochain_ = intervalle_ > 0 ? prochain_ + intervalle_ : std::numeric_limits<std::int64_t>::max();
        }
    }

private:
    FnProgression cb_;
    std::int32_t intervalle_;
    std::int32_t phase_;
    std::int32_t compteur_ = 0;
    std::int64_t prochain_ = 0;
    bool premier_ = true;
};

std::int64_t memoirePhysique()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long taille = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || taille <= 0)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(pages) * taille;
}

} // namespace

const char *TexteErreurChargement(int code)
{
    switch (code) {
    case ErreurFichierParam: return "de lecture du fichier de paramètres";
    case ErreurDictionnaire: return "de lecture du dictionnaire numérisé";
    case ErreurTexteNum: return "de lecture du texte numérisé";
    case ErreurMemoire: return ": Allocation mémoire impossible";
    default: return "";
    }
}

charg1::charg1() = default;

charg1::~charg1()
{
    SegRep::OublieBase(this);
    DesAlloc();
}

void charg1::AttribGauge(FnProgression callback) { gauge_ = callback; }

void charg1::DesAlloc()
{
    delete[] lexm_;
    lexm_ = nullptr;
    talmer::memoire::Libere(tnum_);
    tnum_ = nullptr;
    delete[] ftext_;
    ftext_ = nullptr;
    delete[] list_;
    list_ = nullptr;
}

int charg1::ChargeBase(const char *cheminPar)
{
    DesAlloc();
    segRep_ = nullptr;
    // A segmentation killed while it published a base in that folder is settled first, so that the
    // base opens whole (the earlier one or the new one) even when its parameter file had not yet
    // taken its name.
    if (cheminPar) {
        const std::string chemin = cheminPar;
        const std::size_t barre = chemin.rfind('/');
        talmer::fichiers::ReprendPublications(barre == std::string::npos ? std::string() : chemin.substr(0, barre + 1));
    }
    if (!LecParam(cheminPar)) {
        nbart_ = nbitem_ = nbform_ = nbartponct_ = nbcle_ = nbctnu_ = nbocc_ = 0;
        nbTotEntites_ = nbFormSup_ = 0;
        return ErreurFichierParam;
    }
    if (!AllocMem()) {
        DesAlloc();
        return ErreurMemoire;
    }
    if (!OpenDicNum()) {
        DesAlloc();
        return ErreurDictionnaire;
    }
    if (!OpenTextNum()) {
        DesAlloc();
        return ErreurTexteNum;
    }
    return ChargeReussie;
}

bool charg1::LecParam(const char *cheminPar)
{
    talmer::trace::Demarre("LecParam\n");
    nomBase_[0] = '\0';
    Flux par(cheminPar ? talmer::fichiers::OuvreLecture(cheminPar) : nullptr);
    if (!par.f) {
        Ajoutef("\nFichier de param\xE8tres %s pas ouvert !", cheminPar ? cheminPar : "");
        return false;
    }
    Octets in(par.f);

    std::string nom;
    for (int c = in.lit(); c != EOF && c != '\n'; c = in.lit())
        nom.push_back(static_cast<char>(c));
    if (!nom.empty() && nom.back() == '\r')
        nom.pop_back();
    if (nom.size() > TailleNomBase - 2) {
        Ajoutef("\nNom de base de plus de %ld caract\xE8res dans %s", static_cast<long>(TailleNomBase - 2), cheminPar);
        return false;
    }
    // The other files of the base lie beside the parameter file: its first line names them, it is
    // not a path to follow (nor a place where the repeated segments may create files).
    if (nom.find('/') != std::string::npos || nom.find('\0') != std::string::npos) {
        Ajoutef("\nNom de base %s refus\xE9 dans %s : un nom de fichier sans dossier est attendu", nom.c_str(),
                cheminPar);
        return false;
    }
    std::memcpy(nomBase_, nom.c_str(), nom.size() + 1);
    const std::string chemin = cheminPar;
    const std::size_t barre = chemin.rfind('/');
    dossier_ = barre == std::string::npos ? std::string() : chemin.substr(0, barre + 1);

    std::int32_t v[11];
    for (std::int32_t &x : v) {
        if (!in.litNombre(x)) {
            Ajoutef("\nFichier de param\xE8tres %s illisible : onze nombres attendus en ligne 2", cheminPar);
            return false;
        }
    }
    nbitem_ = v[0];
    nbItemsSansAnnot_ = v[1];
    const std::int32_t derniere = v[2];
    nbocc_ = v[3];
    nbform_ = v[4];
    fmax_ = v[5];
    nhap_ = v[6];
    limd_ = v[7];
    nbartponct_ = v[8];
    nbcle_ = v[9];
    nbctnu_ = v[10];
    nbart_ = derniere < std::numeric_limits<std::int32_t>::max() ? derniere + 1 : derniere;
    Ajoutef("\n%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", static_cast<long>(nbItemsSansAnnot_),
            static_cast<long>(nbitem_), static_cast<long>(nbart_), static_cast<long>(nbocc_),
            static_cast<long>(nbform_), static_cast<long>(fmax_), static_cast<long>(nhap_), static_cast<long>(limd_),
            static_cast<long>(nbartponct_), static_cast<long>(nbcle_), static_cast<long>(nbctnu_));

    const std::int64_t groupes = std::int64_t{nbform_} + nbartponct_ + nbcle_ + nbctnu_;
    const bool coherent = limd_ == LimdFixe && nbitem_ >= 0 && derniere >= -1 && nbart_ <= kMaxEntites &&
                          nbform_ >= 0 && nbartponct_ >= 0 && nbartponct_ <= kPonctMax && nbcle_ >= 0 &&
                          nbctnu_ >= 0 && groupes <= nbart_ && nbocc_ >= 0 && nbocc_ <= nbitem_ && nhap_ >= 0 &&
                          nhap_ <= nbform_ && fmax_ >= 0 && fmax_ <= nbitem_;
    if (!coherent) {
        Ajoutef("\nFichier de param\xE8tres %s incoh\xE9rent : comptes impossibles", cheminPar);
        return false;
    }
    // Counts beyond what the files hold are the parameter file's fault, told before any memory is
    // asked for them. (A missing file is told by the step that opens it.)
    struct stat st {};
    tailleDic_ = -1;
    const std::string dic = dossier_ + nomBase_ + ".dic";
    if (stat(dic.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        tailleDic_ = st.st_size;
        if (std::int64_t{nbart_} * kOctetsLigneDicMin > tailleDic_) {
            Ajoutef("\nFichier de param\xE8tres %s incoh\xE9rent : %ld entr\xE9" "es annonc\xE9" "es, %s.dic n'en contient pas autant",
                    cheminPar, static_cast<long>(nbart_), nomBase_);
            return false;
        }
    }
    const std::string num = dossier_ + nomBase_ + ".num";
    if (stat(num.c_str(), &st) == 0 && S_ISREG(st.st_mode) && std::int64_t{nbitem_} * 4 > st.st_size) {
        Ajoutef("\nFichier de param\xE8tres %s incoh\xE9rent : %ld items annonc\xE9s, %s.num n'en contient que %lld",
                cheminPar, static_cast<long>(nbitem_), nomBase_, static_cast<long long>(st.st_size / 4));
        return false;
    }
    nbTotEntites_ = nbart_;
    nbFormSup_ = 0;
    limdMoins1_ = limd_ - 1;
    limdMoins258_ = limd_ - 258;
    return true;
}

bool charg1::AllocMem()
{
    tailleLexm_ = (std::int64_t{nbart_} + 1) * static_cast<std::int64_t>(sizeof(EntreeDico));
    tailleTnum_ = std::int64_t{nbitem_} * static_cast<std::int64_t>(sizeof(std::int32_t));
    // Every spelling with its terminating zero takes no more room than its line in the dictionary:
    // the pool holds whatever the segmenter wrote, however long its spellings.
    tailleFtext_ = std::max((std::int64_t{nbart_} + 1) * kOctetsGraphie, tailleDic_ + 1);
    tailleList_ = std::int64_t{fmax_} * static_cast<std::int64_t>(sizeof(std::int32_t));
    Ajoute("\nAllocation de la m\xE9moire :");

    // Table sizes are 32-bit byte counts; a table that could never fit is refused before the
    // system is asked for it.
    const std::int64_t disponible = memoirePhysique();
    std::int64_t cumul = 0;
    auto possible = [&](std::int64_t taille, const char *nom) {
        cumul += taille;
        if (taille > std::numeric_limits<std::int32_t>::max() || cumul > disponible) {
            Ajoutef("\nAllocation de %s impossible, %lld octets", nom, static_cast<long long>(taille));
            return false;
        }
        return true;
    };

    if (!possible(tailleLexm_, "lexm"))
        return false;
    lexm_ = new (std::nothrow) EntreeDico[static_cast<std::size_t>(nbart_) + 1]();
    if (!lexm_)
        return possible(disponible, "lexm");
    Ajoutef("\nAllocation de lexm r\xE9ussie, %ld octets", static_cast<long>(tailleLexm_));

    if (!possible(tailleTnum_, "tnum"))
        return false;
    tnum_ = static_cast<std::int32_t *>(talmer::memoire::Alloue(static_cast<std::size_t>(tailleTnum_)));
    if (!tnum_)
        return possible(disponible, "tnum");
    Ajoutef("\nAllocation de tnum r\xE9ussie, %ld octets", static_cast<long>(tailleTnum_));

    if (!possible(tailleFtext_, "ftext"))
        return false;
    ftext_ = new (std::nothrow) char[static_cast<std::size_t>(tailleFtext_)];
    if (!ftext_)
        return possible(disponible, "ftext");
    Ajoutef("\nAllocation de ftext r\xE9ussie, %ld octets", static_cast<long>(tailleFtext_));

    if (!possible(tailleList_, "list"))
        return false;
    list_ = new (std::nothrow) std::int32_t[static_cast<std::size_t>(fmax_)];
    if (!list_)
        return possible(disponible, "list");
    Ajoutef("\nAllocation de list r\xE9ussie, %ld octets", static_cast<long>(tailleList_));
    return true;
}

bool charg1::OpenDicNum()
{
    const std::string nom = std::string(nomBase_) + ".dic";
    Ajoute("\nEntr\xE9" "e dans OpenDicNum");
    Ajoutef("\nDictionnaire num\xE9ris\xE9 : %s", nom.c_str());
    Flux dic(talmer::fichiers::OuvreLecture((dossier_ + nom).c_str()));
    if (!dic.f) {
        Ajoutef("\n\"%s\": ne peut etre ouvert\n", nom.c_str());
        return false;
    }
    Octets in(dic.f);
    Progression prog(gauge_, nbart_, 0);
    std::vector<bool> indexVu(static_cast<std::size_t>(nbart_), false);
    std::int64_t remplissage = 0;
    std::int64_t sommeFormes = 0;
    std::string graphie;
    VeilleBoucle veille;
    for (std::int32_t j = 0; j < nbart_; ++j) {
        veille.Avance();
        prog.enregistrement();
        std::int32_t frq = 0, alpha = 0;
        if (!in.litNombre(frq) || !in.litNombre(alpha)) {
            Ajoutef("\nDictionnaire %s illisible ou tronqu\xE9 \xE0 l'entr\xE9" "e %ld", nom.c_str(), static_cast<long>(j));
            return false;
        }
        in.sauteBlancs();
        graphie.clear();
        int c;
        while ((c = in.lit()) != EOF && c != '\r' && c != '\n') {
            if (graphie.size() >= TailleLigne - 1) {
                Ajoutef("\nDictionnaire %s : graphie de plus de %ld octets \xE0 l'entr\xE9" "e %ld", nom.c_str(),
                        static_cast<long>(TailleLigne - 1), static_cast<long>(j));
                return false;
            }
            graphie.push_back(static_cast<char>(c));
        }
        // Every line ends with its line end: a spelling that runs into the end of the file has
        // lost its end.
        if (c == EOF) {
            Ajoutef("\nDictionnaire %s : l'entr\xE9" "e %ld n'a pas de fin de ligne (fichier tronqu\xE9)", nom.c_str(),
                    static_cast<long>(j));
            return false;
        }
        // the character after the spelling is its line end, if any; the next number skips the rest
        if (frq < 0 || alpha < 0 || alpha >= nbart_ || indexVu[static_cast<std::size_t>(alpha)]) {
            Ajoutef("\nDictionnaire %s : fr\xE9quence ou index alphab\xE9tique impossible \xE0 l'entr\xE9" "e %ld",
                    nom.c_str(), static_cast<long>(j));
            return false;
        }
        indexVu[static_cast<std::size_t>(alpha)] = true;
        const bool ponct = j >= nbform_ && j < nbform_ + nbartponct_;
        if (ponct && graphie.size() != 1) {
            Ajoutef("\nDictionnaire %s : la ponctuation %ld n'est pas un caract\xE8re", nom.c_str(), static_cast<long>(j));
            return false;
        }
        const auto taille = static_cast<std::int64_t>(graphie.size()) + 1;
        if (remplissage + taille > tailleFtext_) {
            Ajoutef("\nDictionnaire %s : graphies trop longues pour la r\xE9serve (%lld octets)", nom.c_str(),
                    static_cast<long long>(tailleFtext_));
            return false;
        }
        char *dest = ftext_ + remplissage;
        std::memcpy(dest, graphie.c_str(), static_cast<std::size_t>(taille));
        remplissage += taille;
        lexm_[j] = EntreeDico{alpha, frq, dest, 0};
        if (j < nbform_)
            sommeFormes += frq;
    }
    in.sauteBlancs();
    if (in.lit() != EOF) {
        Ajoutef("\nDictionnaire %s : plus de %ld entr\xE9" "es", nom.c_str(), static_cast<long>(nbart_));
        return false;
    }
    if (sommeFormes != nbocc_) {
        Ajoutef("\nDictionnaire %s : les fr\xE9quences des formes ne totalisent pas %ld occurrences", nom.c_str(),
                static_cast<long>(nbocc_));
        return false;
    }
    return true;
}

charg1::DecodageTexte charg1::DecodeTexte(std::int64_t n)
{
    // Stretches of at least a million items, one per thread; the line breaks before each stretch
    // counted first, so that each numbers its own from there.
    // Each thread counts every entity apart: stretches are kept long against the dictionary.
    const std::int64_t parFil = std::max<std::int64_t>(std::int64_t{1} << 20, std::int64_t{4} * nbart_);
    const std::size_t fils =
        std::max<std::size_t>(1, std::min<std::size_t>(FilsMachine(), static_cast<std::size_t>(n / parFil)));
    std::vector<std::int64_t> bornes(fils + 1);
    for (std::size_t k = 0; k <= fils; ++k)
        bornes[k] = n * static_cast<std::int64_t>(k) / static_cast<std::int64_t>(fils);
    const std::uint32_t saut = static_cast<std::uint32_t>(limdMoins258_);
    std::vector<std::int64_t> sautsAvant(fils + 1, 0);
    SurLesFils(fils, [&](std::size_t k) {
        const unsigned char *octets = reinterpret_cast<const unsigned char *>(tnum_);
        std::int64_t m = 0;
        for (std::int64_t p = bornes[k]; p < bornes[k + 1]; ++p)
            m += static_cast<std::uint32_t>(talmer::LitLE32(octets + 4 * p)) == saut;
        sautsAvant[k + 1] = m;
    });
    for (std::size_t k = 0; k < fils; ++k)
        sautsAvant[k + 1] += sautsAvant[k];

    std::vector<DecodageTexte> parts(fils);
    SurLesFils(fils, [&](std::size_t k) {
        DecodageTexte &d = parts[k];
        d.vus.assign(static_cast<std::size_t>(nbart_), 0);
        std::int32_t *const compte = d.vus.data();
        const unsigned char *octets = reinterpret_cast<const unsigned char *>(tnum_);
        std::int64_t sauts = sautsAvant[k];
        for (std::int64_t p = bornes[k]; p < bornes[k + 1]; ++p) {
            std::int32_t v = talmer::LitLE32(octets + 4 * p);
            if (v == limdMoins258_) {
                if (sauts > std::numeric_limits<std::int32_t>::max() - std::int64_t{limd_} - 2) {
                    d.faute = FauteTexte::TropDeSauts;
                    d.position = p;
                    return;
                }
                v = static_cast<std::int32_t>(limd_ + 2 + sauts);
                ++sauts;
            } else if (v > limdMoins258_ && v < limd_) {
                const std::int32_t c = limdMoins1_ - v;
                if (c < 0 || c >= kPonctMax || tablePonct_[c] < 0) {
                    d.faute = FauteTexte::Ponctuation;
                    d.position = p;
                    d.valeur = c;
                    return;
                }
                v = tablePonct_[c];
            } else if (v < 0 || v >= nbart_) {
                d.faute = FauteTexte::Entite;
                d.position = p;
                d.valeur = v;
                return;
            }
            if (v < nbform_)
                ++d.occurrences;
            if (v < nbart_)
                ++compte[v];
            tnum_[p] = v;
        }
        d.sauts = sauts - sautsAvant[k];
    });
    // The first fault in text order, or the sums of the stretches.
    DecodageTexte total;
    total.vus.assign(static_cast<std::size_t>(nbart_), 0);
    for (DecodageTexte &d : parts) {
        if (d.faute != FauteTexte::Aucune)
            return std::move(d);
        total.sauts += d.sauts;
        total.occurrences += d.occurrences;
        for (std::size_t e = 0; e < total.vus.size(); ++e)
            total.vus[e] += d.vus[e];
    }
    return total;
}

bool charg1::OpenTextNum()
{
    const std::string nom = std::string(nomBase_) + ".num";
    Ajoute("\nEntr\xE9" "e dans OpenTextNum\n");
    Flux num(talmer::fichiers::OuvreLecture((dossier_ + nom).c_str()));
    if (!num.f) {
        Ajoutef("\n\"%s\": ne peut etre ouvert\n", nom.c_str());
        return false;
    }
    for (std::int32_t &e : tablePonct_)
        e = -1;
    for (std::int32_t e = nbform_; e < nbform_ + nbartponct_; ++e)
        tablePonct_[static_cast<unsigned char>(lexm_[e].Graphie[0])] = e;

    Progression prog(gauge_, nbitem_, 1);
    // The file is read in large runs straight into the text table, then decoded in place on the
    // machine's threads, a stretch each; the progress calls and the fault reported are those of a
    // decoding run after run, which stops at the first fault.
    constexpr std::size_t kRun = std::size_t{1} << 20;
    std::int64_t lus = 0;
    while (lus < nbitem_) {
        Veille();
        const std::int64_t reste = nbitem_ - lus;
        const std::size_t voulu = reste < static_cast<std::int64_t>(kRun) ? static_cast<std::size_t>(reste) : kRun;
        const std::size_t n = std::fread(tnum_ + lus, 4, voulu, num.f);
        lus += static_cast<std::int64_t>(n);
        if (n < voulu)
            break;
    }
    const DecodageTexte d = DecodeTexte(lus);
    if (d.faute != FauteTexte::Aucune) {
        // A decoding run after run has read up to the end of the run of the fault.
        prog.jusqua(std::min<std::int64_t>(lus, (d.position / static_cast<std::int64_t>(kRun) + 1) * static_cast<std::int64_t>(kRun)));
        switch (d.faute) {
        case FauteTexte::TropDeSauts:
            Ajoutef("\nTexte num\xE9ris\xE9 %s : trop de sauts de ligne", nom.c_str());
            break;
        case FauteTexte::Ponctuation:
            Ajoutef("\nTexte num\xE9ris\xE9 %s : ponctuation de code %ld absente du dictionnaire \xE0 la position %lld",
                    nom.c_str(), static_cast<long>(d.valeur), static_cast<long long>(d.position));
            break;
        default:
            Ajoutef("\nTexte num\xE9ris\xE9 %s : entit\xE9 %ld hors du dictionnaire \xE0 la position %lld", nom.c_str(),
                    static_cast<long>(d.valeur), static_cast<long long>(d.position));
            break;
        }
        return false;
    }
    prog.jusqua(lus);
    if (lus < nbitem_) {
        Ajoutef("\nTexte num\xE9ris\xE9 %s tronqu\xE9 : %lld items sur %ld", nom.c_str(), static_cast<long long>(lus),
                static_cast<long>(nbitem_));
        return false;
    }
    const std::int64_t sauts = d.sauts;
    const std::int64_t occurrences = d.occurrences;
    const std::vector<std::int32_t> &vus = d.vus;
    const std::int32_t *const compte = vus.data();
    if (std::fgetc(num.f) != EOF) {
        Ajoutef("\nTexte num\xE9ris\xE9 %s : plus de %ld items", nom.c_str(), static_cast<long>(nbitem_));
        return false;
    }
    if (occurrences != nbocc_) {
        Ajoutef("\nTexte num\xE9ris\xE9 %s : %lld occurrences au lieu de %ld", nom.c_str(),
                static_cast<long long>(occurrences), static_cast<long>(nbocc_));
        return false;
    }
    for (std::int32_t e = 0; e < nbart_; ++e) {
        if (compte[e] != lexm_[e].Frq) {
            Ajoutef("\nTexte num\xE9ris\xE9 %s : l'entit\xE9 %ld y figure %ld fois, le dictionnaire en annonce %ld",
                    nom.c_str(), static_cast<long>(e), static_cast<long>(compte[e]), static_cast<long>(lexm_[e].Frq));
            return false;
        }
    }
    nbLignes_ = static_cast<std::int32_t>(sauts);
    return true;
}

// ---- entities ----

EntreeDico charg1::RetourneLexm(std::int32_t n) const { return EstEntite(n) ? lexm_[n] : EntreeDico{}; }

std::int32_t charg1::RetourneFrq(std::int32_t n) const { return EstEntite(n) ? lexm_[n].Frq : -1; }

std::int32_t charg1::Lexg(std::int32_t n) const { return EstEntite(n) ? lexm_[n].Lexg : -1; }

void charg1::SetInfo(std::int32_t n, std::int32_t valeur)
{
    if (EstEntite(n))
        lexm_[n].Info = valeur;
}

const char *charg1::RetourneGraphie(std::int32_t n, bool formsOnly) const
{
    const std::int64_t borne = formsOnly ? std::int64_t{nbform_} + nbartponct_ : nbart_;
    if (lexm_ && n >= 0 && n < borne && n < nbart_)
        return lexm_[n].Graphie;
    if (segRep_ && n > nbart_) {
        const std::int64_t k = std::int64_t{n} - nbart_ - 1;
        if (k < nbFormSup_ && k < segRep_->NbSegments()) {
            texteSegment_ = segRep_->RetourneGraphie(static_cast<std::int32_t>(k));
            return texteSegment_.c_str();
        }
    }
    return "";
}

std::int32_t charg1::LocFormDic(const char *s, bool formsOnly) const
{
    if (!s || !lexm_)
        return -1;
    const std::int64_t borne = formsOnly ? std::int64_t{nbform_} + nbartponct_ : nbart_;
    for (std::int32_t e = 0; e < borne && e < nbart_; ++e) {
        if (std::strcmp(lexm_[e].Graphie, s) == 0)
            return e;
    }
    return -1;
}

// ---- positions ----

std::int32_t charg1::Tnum(std::int32_t p) const { return DansTexte(p) ? tnum_[p] : -1; }

void charg1::SetTnum(std::int32_t p, std::int32_t valeur)
{
    if (DansTexte(p))
        tnum_[p] = valeur;
}

EntreeDico charg1::RetourneLexmAtPos(std::int32_t p) const
{
    return DansTexte(p) ? RetourneLexm(tnum_[p]) : EntreeDico{};
}

std::int32_t charg1::RetourneFrqAtPos(std::int32_t p) const { return DansTexte(p) ? RetourneFrq(tnum_[p]) : -1; }

const char *charg1::RetourneGraphieAtPos(std::int32_t p, bool formsOnly) const
{
    if (!DansTexte(p))
        return nullptr;
    const std::int32_t v = tnum_[p];
    const std::int64_t borne = formsOnly ? std::int64_t{nbform_} + nbartponct_ : nbart_;
    if (EstEntite(v) && v < borne)
        return lexm_[v].Graphie;
    return nullptr;
}

// ---- occurrences ----

std::vector<std::int32_t> charg1::LocOccFor(std::int32_t n) const
{
    std::vector<std::int32_t> positions;
    if (EstEntite(n) && tnum_) {
        positions.reserve(static_cast<std::size_t>(lexm_[n].Frq > 0 ? lexm_[n].Frq : 0));
        for (std::int32_t p = 0; p < nbitem_; ++p) {
            if (tnum_[p] == n)
                positions.push_back(p);
        }
    } else if (segRep_ && n > nbart_) {
        const std::int64_t k = std::int64_t{n} - nbart_ - 1;
        if (k < nbFormSup_ && k < segRep_->NbSegments())
            positions = segRep_->LocOccSeg(static_cast<std::int32_t>(k));
    }
    return positions;
}

std::vector<std::int32_t> charg1::LocOccFor(const std::int32_t *entites, std::int32_t m) const
{
    std::vector<std::int32_t> positions;
    if (!entites || m <= 0 || !lexm_)
        return positions;
    std::vector<char> cherche(static_cast<std::size_t>(nbart_), 0);
    bool formes = false;
    for (std::int32_t i = 0; i < m; ++i) {
        if (EstEntite(entites[i])) {
            cherche[static_cast<std::size_t>(entites[i])] = 1;
            formes = true;
        }
    }
    if (formes && tnum_) {
        for (std::int32_t p = 0; p < nbitem_; ++p) {
            const std::int32_t v = tnum_[p];
            if (v >= 0 && v < nbart_ && cherche[static_cast<std::size_t>(v)])
                positions.push_back(p);
        }
    }
    bool segments = false;
    for (std::int32_t i = 0; i < m; ++i) {
        if (entites[i] > nbart_ && segRep_) {
            const std::int64_t k = std::int64_t{entites[i]} - nbart_ - 1;
            if (k < nbFormSup_ && k < segRep_->NbSegments()) {
                const std::vector<std::int32_t> s = segRep_->LocOccSeg(static_cast<std::int32_t>(k));
                positions.insert(positions.end(), s.begin(), s.end());
                segments = true;
            }
        }
    }
    if (segments)
        std::sort(positions.begin(), positions.end());
    return positions;
}

void charg1::AssigneSR(SegRep *segments)
{
    segRep_ = segments;
    nbFormSup_ = segments ? segments->NbSegments() : 0;
    nbTotEntites_ = nbart_ + nbFormSup_;
}

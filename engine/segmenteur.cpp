#include "engine/segmenteur.h"

#include "engine/fichiers.h"
#include "engine/fils.h"
#include "engine/segmentation_articles.h"
#include "engine/segmentation_lecture.h"
#include "engine/segmentation_parallele.h"
#include "engine/trace.h"
#include "engine/trishell.h"
#include "platform/core/collation.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fichiers = talmer::fichiers;
using namespace talmer::segmentation;

using talmer::trace::Ajoute;
using talmer::trace::Ajoutef;

constexpr std::int64_t kOctetsParArticle = 40;        // spelling pool per article

// A failure that stops the segmentation; the trace line has been written.
struct Echec {
    ResultatSegm resultat;
};

[[noreturn]] void echoue(ResultatSegm r) { throw Echec{r}; }

// Closes a C stream on every path.
struct Fichier {
    std::FILE *f = nullptr;
    Fichier() = default;
    explicit Fichier(std::FILE *fichier) : f(fichier) {}
    // A stream over a descriptor, which it then owns; -1 gives no stream.
    Fichier(int fd, const char *mode) : f(fd >= 0 ? fdopen(fd, mode) : nullptr)
    {
        if (fd >= 0 && !f)
            close(fd);
    }
    ~Fichier() { fermer(); }
    Fichier(const Fichier &) = delete;
    Fichier &operator=(const Fichier &) = delete;
    explicit operator bool() const { return f != nullptr; }
    // False when something could not be written; with surDisque, the data also reach the disk
    // before the stream is closed.
    bool fermer(bool surDisque = false)
    {
        if (!f)
            return true;
        bool ok = std::fflush(f) == 0 && std::ferror(f) == 0;
        if (surDisque && ok)
            ok = fichiers::Synchronise(fileno(f));
        const bool ferme = std::fclose(f) == 0;
        f = nullptr;
        return ok && ferme;
    }
};

// Byte-identity of two existing files (the same file under two names or through a link).
bool memeFichier(const struct stat &a, const char *chemin)
{
    struct stat b {};
    return stat(chemin, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A line of the dictionary, as " %-7ld %7ld  %s\r\n" writes it: a blank, the frequency
// left-aligned in 7 columns, a blank, the alphabetical index right-aligned in 7 columns, two
// blanks, the spelling, CR LF (wider numbers take more columns).
void LigneDic(std::string &ligne, std::int32_t frq, std::int32_t alpha, const char *graphie)
{
    char f[16], a[16];
    const auto nf = static_cast<std::size_t>(std::to_chars(f, f + sizeof f, frq).ptr - f);
    const auto na = static_cast<std::size_t>(std::to_chars(a, a + sizeof a, alpha).ptr - a);
    ligne.assign(1, ' ');
    ligne.append(f, nf);
    if (nf < 7)
        ligne.append(7 - nf, ' ');
    ligne.push_back(' ');
    if (na < 7)
        ligne.append(7 - na, ' ');
    ligne.append(a, na);
    ligne.append("  ");
    ligne.append(graphie);
    ligne.append("\r\n");
}

class Segmenteur {
public:
    Segmenteur(const char *chemin, const ParametresSegm &p)
        : chemin_(chemin), p_(p), fils_(p.fils > 0 ? p.fils : FilsMachine())
    {
    }

    ResultatSegm lance()
    {
        // A reserved name may be the trace file itself: nothing at all is written then.
        const EtatTexte etat = ExamineTexte(chemin_.c_str());
        if (etat == EtatTexte::NomReserve)
            return ResultatSegm::NomReserve;
        Ajoute("\n\n*****D\xE9" "but SegmPrinc*****\n");
        if (etat == EtatTexte::NonRegulier) {
            refuseNonRegulier();
            return ResultatSegm::TexteNonRegulier;
        }
        try {
            traitPath();
            allocTab();
            segmText();
            travDico();
            numeDefT();
        } catch (const Echec &e) {
            nettoie();
            return e.resultat;
        } catch (const std::bad_alloc &) {
            Ajoute("\nAllocation m\xE9moire impossible, segmentation abandonn\xE9" "e\n");
            nettoie();
            return ResultatSegm::MemoireInsuffisante;
        } catch (const CalculInterrompu &) {
            // Stopped by the user: as after a failure, nothing of the new base is left and the
            // base of that name, if any, stays as it was.
            Ajoute("\nSegmentation interrompue\n");
            nettoie();
            throw;
        }
        desalloc();
        effaceTxn();
        return ResultatSegm::Reussie;
    }

    // ---- the tokens of the text, as Decoupe hands them over ----

    bool avant(std::int64_t lus)
    {
        veille_.Avance();
        if (p_.progression) {
            while (lus > palier_) {
                p_.progression(0);
                palier_ = intervalle_ > 0 ? palier_ + intervalle_ : std::numeric_limits<std::int64_t>::max();
            }
        }
        return true;
    }
    void mot(const unsigned char *t, std::size_t n)
    {
        const std::int32_t a = chercheArticle(kTagForme, t, n);
        if (comptes_.occurrences >= std::numeric_limits<std::int32_t>::max())
            tropDItems();
        ++comptes_.occurrences;
        item(a);
    }
    void saut()
    {
        ++ligne_;
        if (comptes_.sauts >= std::numeric_limits<std::int32_t>::max() - kLimd - 2)
            tropDItems();
        ++comptes_.sauts;
        item(kCodeSautLigne);
    }
    void ponct(unsigned char c)
    {
        ++comptes_.ponctuations[c];
        item(kCodePonct - c);
    }
    void cle(Lecteur &in) { litCle(in); }

private:
    // ---- steps ----

    void traitPath()
    {
        nomBase_ = NomBaseDeTexte(chemin_);
        Ajoutef("\n\n*****FIN DE TraitPath : pn:%s bn:%s*****\n", chemin_.c_str(), nomBase_.c_str());
    }

    void allocTab()
    {
        const std::int64_t maxArt = p_.maxArt > 0 ? p_.maxArt : 0;
        Ajoutef("\nMAXART (Maximum d'articles trait\xE9s) = %ld", static_cast<long>(p_.maxArt));
        Ajoutef("\nAllocation de %ldK", static_cast<long>((32 + 8 + 40) * maxArt / 1024));
        // Article numbers must stay below the codes of the work file and the numeric text.
        dico_.Prepare(maxArt < kCodeSautLigne ? maxArt : kCodeSautLigne, maxArt * kOctetsParArticle);
        Ajoute("\n\n*****FIN DE AllocTab*****\n");
    }

    void segmText()
    {
        prepDelim();
        fichiers::Lecture lecture = fichiers::Lecture::Possible;
        Fichier texte(fichiers::OuvreLecture(chemin_.c_str(), &lecture));
        if (lecture == fichiers::Lecture::NonRegulier) {
            refuseNonRegulier();
            echoue(ResultatSegm::TexteNonRegulier);
        }
        if (!texte) {
            Ajoutef("\nFichier %s pas ouvert !", chemin_.c_str());
            echoue(ResultatSegm::TexteIllisible);
        }
        Ajoutef("\nFichier -- %s -- ouvert pour segmentation", chemin_.c_str());
        // The work file has a name of its own, so that runs in one folder never meet; its name is
        // read by no one else, and the trace keeps calling it by its usual name.
        if (!lot_.Ouvre()) {
            const int erreur = errno;
            if (erreur == EACCES || erreur == EROFS || erreur == EPERM || erreur == ENOSPC || erreur == EDQUOT) {
                std::error_code ec;
                const std::string dossier = std::filesystem::current_path(ec).string();
                Ajoutef("\nLe dossier %s ne peut pas \xEAtre \xE9" "crit (%s), segmentation abandonn\xE9" "e\n",
                        dossier.c_str(), std::strerror(erreur));
                echoue(ResultatSegm::DossierInterdit);
            }
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        txn_.f = nullptr;
        {
            Fichier travail(dup(lot_.Travail()), "w+b");
            std::swap(txn_.f, travail.f);
        }
        if (!txn_) {
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        Ajoute("\nFichier xxxx.txn ouvert");
        Ajoutef("\nD\xE9limiteurs : %s\n", p_.delimiteurs.c_str());

        std::error_code ec;
        const auto taille = std::filesystem::file_size(chemin_, ec);
        // The progress callback comes each time a hundredth of the text has been read (once only
        // for a text of fewer than 100 bytes), looked at before each token.
        intervalle_ = ec ? 0 : static_cast<std::int64_t>(taille / 100);
        palier_ = intervalle_;

        items_ = std::make_unique<Items>(txn_.f, maxItemsEnMemoire());
        // The text on several threads as far as it goes that way, then one token at a time.
        ligne_ = 1;
        std::int64_t debut = 0;
        if (fils_ > 1 && !ec && static_cast<std::int64_t>(taille) >= p_.octetsParFil) {
            ReglageParallele reglage;
            reglage.fils = fils_;
            reglage.fenetre = p_.octetsParFil;
            debut = LitEnParallele(fileno(texte.f), delimiteur_, reglage, dico_, *items_, comptes_,
                                   [this](std::int64_t position) { avant(position); });
            if (debut > 0 && std::fseek(texte.f, static_cast<long>(debut), SEEK_SET) != 0) {
                Ajoutef("\nFichier %s pas ouvert !", chemin_.c_str());
                echoue(ResultatSegm::TexteIllisible);
            }
            // A piece read that way holds no key over a line break: its lines are its line feeds.
            ligne_ = 1 + comptes_.sauts;
        }
        Lecteur in(texte.f, debut);
        Decoupe(in, *this, delimiteur_);
        if (in.erreur()) {
            Ajoutef("\nFichier %s pas ouvert !", chemin_.c_str());
            echoue(ResultatSegm::TexteIllisible);
        }
        if (!items_->termine() || std::ferror(txn_.f)) {
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        dico_.Fige();
        creeArticlesPonct(comptes_.ponctuations);
        compte();
        groupe();
        Ajoute("\n\n*****FIN DE SegmText*****\n");
    }

    void travDico()
    {
        const std::int32_t debutPonct = nbf_;
        const std::int32_t debutTypes = debutPonct + nbponct_;
        const std::int32_t debutContenus = debutTypes + nbcle_;
        const std::int32_t fin = debutContenus + nbctnu_;
        triAlphaGroupe(0, nbf_);
        triAlphaGroupe(debutTypes, nbcle_);
        triAlphaGroupe(debutContenus, nbctnu_);
        // lemma and category groups are always empty
        for (std::int32_t i = 0; i < fin; ++i)
            dico_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])].alpha = i;

        Ajoutef("\n--  Tri lexicom. de %7ld formes ", static_cast<long>(nbf_));
        talmer::TriShell(list1_.data(), nbf_, [this](std::int32_t x, std::int32_t y) {
            const Article &a = dico_[static_cast<std::size_t>(x)];
            const Article &b = dico_[static_cast<std::size_t>(y)];
            return a.frq > b.frq || (a.frq == b.frq && a.alpha < b.alpha);
        });
        fmax_ = fin > 0 ? dico_[static_cast<std::size_t>(list1_[0])].frq : 0;
        for (std::int32_t i = 0; i < fin; ++i)
            dico_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])].numero = i;
        Ajoute("\n--  Fin Travail Dictionnaire              ");
        Ajoute("\n\n*****FIN DE TravDico*****\n");
    }

    void numeDefT()
    {
        Veille();
        ecriDicNum();
        Ajoute("\n\n*****FIN DE EcriDicNum*****\n");
        Veille();
        ecriTexNum();
        Ajoute("\n\n*****FIN DE EcriTexNum*****\n");
        // The last moment a stop is taken: the base is published from here on.
        Veille(true);
        ecriParam();
        Ajoute("\n\n*****FIN DE EcriParam*****\n");
        publie();
        Ajoute("\n\n*****FIN DE LA SEGMENTATION*****\n");
        Ajoute("\n\n*****FIN DE NumeDefT*****\n");
    }

    void desalloc()
    {
        dico_.Libere();
        Ajoute("\nlib\xE9ration de ptrzon2");
        list_.clear();
        list_.shrink_to_fit();
        Ajoute("\nlib\xE9ration de list");
        list1_.clear();
        list1_.shrink_to_fit();
        Ajoute("\nlib\xE9ration de list1");
        Ajoute("\nlib\xE9ration de msg");
        Ajoute("\n\n*****FIN DE Desalloc*****\n");
    }

    void effaceTxn()
    {
        txn_.fermer();
        lot_.Ferme();
        Ajoute("\n\n*****FIN DE EffaceTxn*****\n");
    }

    // ---- reading ----

    void prepDelim()
    {
        for (int c = 0; c < 256; ++c)
            delimiteur_[c] = c <= 32 || c == '<' || c == '>';
        for (unsigned char c : p_.delimiteurs)
            delimiteur_[c] = true;
    }

    void item(std::int32_t v)
    {
        if (comptes_.items >= std::numeric_limits<std::int32_t>::max())
            tropDItems();
        ++comptes_.items;
        items_->ajoute(v);
    }

    // Items held in memory at most before they all go to the work file: as the caller says, or a
    // quarter of the machine's memory.
    std::int64_t maxItemsEnMemoire() const
    {
        if (p_.itemsEnMemoire >= 0)
            return p_.itemsEnMemoire;
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || page <= 0)
            return std::int64_t{1} << 26;
        return static_cast<std::int64_t>(pages) * page / 4 / 4;
    }

    [[noreturn]] void tropDItems()
    {
        Ajoute("\nTexte trop long : plus de 2147483647 items ou occurrences, segmentation abandonn\xE9" "e\n");
        echoue(ResultatSegm::TropDItems);
    }

    // A key marker: its type up to the first '=', its content up to the first '>', blanks dropped.
    void litCle(Lecteur &in)
    {
        const std::int32_t ligneCle = ligne_;
        std::int32_t parts[2];
        const char tags[2] = {kTagType, kTagContenu};
        const int fins[2] = {'=', '>'};
        for (int k = 0; k < 2; ++k) {
            char tampon[1 + kCaracteresCle + kDebordement] = {};
            int n = 0;
            std::int32_t sauts = 0;
            const DefautCle defaut = LitPartieCle(in, tags[k], fins[k], tampon, n, sauts);
            ligne_ += sauts;
            switch (defaut) {
            case DefautCle::Aucun:
                break;
            case DefautCle::Inachevee:
                Ajoutef("\nL%5ld Cl\xE9 non ferm\xE9" "e en fin de texte, segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleInachevee);
            case DefautCle::TropLongue:
                Ajoutef("\nL%5ld Cl\xE9 trop longue (plus de 126 caract\xE8res), segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleTropLongue);
            case DefautCle::Controle:
                Ajoutef("\nL%5ld Cl\xE9 contenant un caract\xE8re de contr\xF4le (saut de ligne, tabulation...), "
                        "segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleIllisible);
            case DefautCle::Vide:
                Ajoutef("\nL%5ld Cl\xE9 sans type ou sans contenu, segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleVide);
            }
            parts[k] = chercheArticle(tampon[0], reinterpret_cast<const unsigned char *>(tampon + 1),
                                      static_cast<std::size_t>(n - 1));
        }
        item(parts[0]);
        item(parts[1]);
    }

    // The article of a spelling under a tag, made on first sight; its frequency counts this item.
    std::int32_t chercheArticle(char tag, const unsigned char *texte, std::size_t n)
    {
        std::int32_t a = 0;
        refuse(dico_.Compte(Cle(tag, texte, n), tag, texte, n, 1, a));
        return a;
    }

    std::int32_t creeArticle(std::string_view tagge, std::int32_t frq)
    {
        std::int32_t a = 0;
        refuse(dico_.Cree(tagge, frq, a));
        return a;
    }

    void refuse(Articles::Refus r)
    {
        switch (r) {
        case Articles::Refus::Aucun:
            return;
        case Articles::Refus::TropDArticles:
            Ajoutef("\nTrop d'articles : plus de %ld (MAXART), segmentation abandonn\xE9" "e\n",
                    static_cast<long>(dico_.Limite()));
            echoue(ResultatSegm::TropDArticles);
        case Articles::Refus::ReserveGraphies:
            Ajoutef("\nR\xE9serve des graphies pleine (%ld octets), segmentation abandonn\xE9" "e\n",
                    static_cast<long>(dico_.TaillePool()));
            echoue(ResultatSegm::ReserveGraphies);
        }
    }

    void creeArticlesPonct(const std::int64_t (&compteurs)[256])
    {
        for (int c = 0; c < 256; ++c) {
            if (compteurs[c] > 0) {
                const char tagge[2] = {kTagPonct, static_cast<char>(c)};
                creeArticle(std::string_view(tagge, 2), static_cast<std::int32_t>(compteurs[c]));
                ++nbponct_;
            }
        }
    }

    char tag(const Article &a) const { return dico_.Tag(a); }
    const char *graphie(const Article &a) const { return dico_.Graphie(a); }

    void compte()
    {
        std::int32_t nblemm = 0, nbcatg = 0;
        for (const Article &a : dico_.Liste()) {
            switch (tag(a)) {
            case kTagForme:
                ++nbf_;
                if (a.frq == 1)
                    ++nhap_;
                break;
            case kTagType: ++nbcle_; break;
            case kTagContenu: ++nbctnu_; break;
            case kTagLemme: ++nblemm; break;
            case kTagCategorie: ++nbcatg; break;
            default: break;
            }
        }
        Ajoutef("\n==  nbf= %ld, nhap= %ld, nbcle= %ld, nbctnu= %ld, nblemm=%ld, nbcatg= %ld\n",
                static_cast<long>(nbf_), static_cast<long>(nhap_), static_cast<long>(nbcle_),
                static_cast<long>(nbctnu_), static_cast<long>(nblemm), static_cast<long>(nbcatg));
    }

    // "list" gets the articles group by group, each in creation order; "list1" is its copy.
    void groupe()
    {
        list_.reserve(dico_.Nombre());
        for (char t : {kTagForme, kTagPonct, kTagType, kTagContenu, kTagLemme, kTagCategorie}) {
            for (std::size_t i = 0; i < dico_.Nombre(); ++i) {
                if (tag(dico_[i]) == t)
                    list_.push_back(static_cast<std::int32_t>(i));
            }
        }
        list1_ = list_;
        nbart_ = static_cast<std::int32_t>(dico_.Nombre());
    }

    // ---- numbering ----

    static int bucket(unsigned char c)
    {
        switch (c) {
        case 0xE7: return 'c';
        case 0xF1: return 'n';
        case 0xEC: case 0xED: case 0xEE: case 0xEF: return 'i';
        case 0xE8: case 0xE9: case 0xEA: case 0xEB: return 'e';
        case 0xF2: case 0xF3: case 0xF4: case 0xF6: return 'o';
        case 0xF9: case 0xFA: case 0xFB: case 0xFC: return 'u';
        case 0xE0: case 0xE1: case 0xE2: case 0xE4: case 0xE5: return 'a';
        default: return c;
        }
    }

    // Counting sort by first-letter bucket, then a Shell sort of each bucket in French order.
    void triAlphaGroupe(std::int32_t debut, std::int32_t n)
    {
        if (n <= 0)
            return;
        std::int32_t *plage = list1_.data() + debut;
        std::int64_t places[257] = {};
        for (std::int32_t i = 0; i < n; ++i)
            ++places[bucket(static_cast<unsigned char>(*graphie(dico_[static_cast<std::size_t>(plage[i])]))) + 1];
        for (int b = 1; b <= 256; ++b)
            places[b] += places[b - 1];
        const std::vector<std::int32_t> avant(plage, plage + n);
        std::int64_t curseur[256];
        std::memcpy(curseur, places, sizeof curseur);
        for (std::int32_t a : avant)
            plage[curseur[bucket(static_cast<unsigned char>(*graphie(dico_[static_cast<std::size_t>(a)])))]++] = a;

        for (int b = 0; b < 256; ++b) {
            const std::int64_t m = places[b + 1] - places[b];
            if (m < 2)
                continue;
            std::int32_t *seau = plage + places[b];
            // Collation keys computed once per spelling; their byte order is the comparison's.
            std::vector<std::pair<std::string, std::int32_t>> cles;
            cles.reserve(static_cast<std::size_t>(m));
            for (std::int64_t i = 0; i < m; ++i)
                cles.emplace_back(talmer::platform::CleDeTri(graphie(dico_[static_cast<std::size_t>(seau[i])])), seau[i]);
            talmer::TriShell(cles.data(), m, [](const auto &x, const auto &y) { return x.first < y.first; });
            for (std::int64_t i = 0; i < m; ++i)
                seau[i] = cles[static_cast<std::size_t>(i)].second;
        }
    }

    // ---- files ----

    [[noreturn]] void fichierEchoue(const std::string &nom)
    {
        Ajoutef("\n\"%s\": ne peut etre ouvert\n", nom.c_str());
        echoue(ResultatSegm::FichierBase);
    }

    void refuseNonRegulier()
    {
        Ajoutef("\nFichier %s refus\xE9 : ce n'est pas un fichier ordinaire (dossier, tube ou p\xE9riph\xE9rique)",
                chemin_.c_str());
    }

    // A new file of this run, created exclusively; a leftover of the same name can only be stale,
    // since the run's name is reserved by its work file.
    int creeTemporaire(const std::string &tmp)
    {
        int fd = fichiers::CreeExclusif(tmp.c_str());
        if (fd < 0 && errno == EEXIST && unlink(tmp.c_str()) == 0)
            fd = fichiers::CreeExclusif(tmp.c_str());
        if (fd >= 0)
            temporaires_.push_back(tmp);
        return fd;
    }

    void ecriDicNum()
    {
        const std::string nom = nomBase_ + ".dic";
        Fichier f(creeTemporaire(lot_.Nom(".dic")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Dict  :\t %s :", nom.c_str());
        std::int32_t lignes = 0;
        std::string ligne;
        for (std::int32_t i = 0; i < nbart_; ++i) {
            const Article &a = dico_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])];
            LigneDic(ligne, a.frq, a.alpha, graphie(a));
            std::fwrite(ligne.data(), 1, ligne.size(), f.f);
            ++lignes;
        }
        if (!f.fermer(true))
            fichierEchoue(nom);
        Ajoutef("\n--  Fin EcriDicNum  %7ld articles", static_cast<long>(lignes));
    }

    void ecriTexNum()
    {
        const std::string nom = nomBase_ + ".num";
        Fichier f(creeTemporaire(lot_.Nom(".num")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Texte :\t %s : ", nom.c_str());
        // Creation index -> entity number, read once per item.
        std::vector<std::int32_t> numero(dico_.Nombre());
        for (std::size_t a = 0; a < dico_.Nombre(); ++a)
            numero[a] = dico_[a].numero;
        const auto nbArticles = static_cast<std::uint32_t>(dico_.Nombre());
        bool ecrit = true;
        const std::int64_t n = items_->parcourt(
            [&](std::int32_t *v, std::size_t m) {
                // Each run becomes its bytes in the file in place: articles get their number; the
                // punctuation and line-break codes, far above any article index, stay as they are.
                unsigned char *o = reinterpret_cast<unsigned char *>(v);
                for (std::size_t i = 0; i < m; ++i) {
                    const std::int32_t x = v[i];
                    talmer::EcritLE32(o + 4 * i,
                                      static_cast<std::uint32_t>(x) < nbArticles ? numero[static_cast<std::size_t>(x)] : x);
                }
            },
            [&](std::int32_t *v, std::size_t m) {
                if (m > 0 && std::fwrite(v, 4, m, f.f) != m)
                    ecrit = false;
                // The disk starts on what is written while the rest follows: the flush to disk
                // before the file takes its name then waits for little.
                if (ecrit && std::fflush(f.f) == 0)
                    fichiers::CommenceEcriture(fileno(f.f));
            },
            fils_);
        if (n != comptes_.items)
            fichierEchoue("xxxx.txn");
        if (!ecrit || !f.fermer(true))
            fichierEchoue(nom);
        Ajoutef(" %7ld items.", static_cast<long>(n));
    }

    void ecriParam()
    {
        const std::string nom = nomBase_ + ".par";
        Fichier f(creeTemporaire(lot_.Nom(".par")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Param \t %s  :", nom.c_str());
        const char *b = nomBase_.c_str();
        std::fprintf(f.f, "%s\r\n", b);
        std::fprintf(f.f, "%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", static_cast<long>(comptes_.items),
                     static_cast<long>(comptes_.items), static_cast<long>(nbart_ - 1), static_cast<long>(comptes_.occurrences),
                     static_cast<long>(nbf_), static_cast<long>(fmax_), static_cast<long>(nhap_),
                     static_cast<long>(kLimd), static_cast<long>(nbponct_), static_cast<long>(nbcle_),
                     static_cast<long>(nbctnu_), 0L, 0L);
        std::fprintf(f.f, "\r\n*** R\xE9sultat de la segmentation du fichier: %s.TXT ***", b);
        std::string delims;
        for (char c : p_.delimiteurs) {
            if (c == '\n')
                delims.push_back('\r');
            delims.push_back(c);
        }
        std::fprintf(f.f, "\r\nD\xE9limiteurs %s", delims.c_str());
        std::fprintf(f.f, "\r\n");
        std::fprintf(f.f, "\r\n \tnombre des occurrences :  %10ld", static_cast<long>(comptes_.occurrences));
        std::fprintf(f.f, "\r\n \tnombre des formes      :  %10ld", static_cast<long>(nbf_));
        std::fprintf(f.f, "\r\n \tfrequence maximale     :  %10ld", static_cast<long>(fmax_));
        std::fprintf(f.f, "\r\n \tnombre des hapax       :  %10ld", static_cast<long>(nhap_));
        std::fprintf(f.f, "\r\n \tnombre des cl\xE9s(type)  :  %10ld", static_cast<long>(nbcle_));
        std::fprintf(f.f, "\r\n \tnombre des cl\xE9s(ctnu)  :  %10ld", static_cast<long>(nbctnu_));
        std::fprintf(f.f, "\r\n\r\n*** Fin de la segmentation du fichier:      %s.TXT ***", b);
        if (!f.fermer(true))
            fichierEchoue(nom);
    }

    // The three complete files, already on disk, take their names. The earlier parameter file goes
    // first: while the numeric text and the dictionary change, no parameter file leads to them, so
    // a run stopped between two renames never leaves a base that shows a text of another
    // segmentation; the journal written before the first change lets the next run in the folder,
    // or the next load of a base there, finish the publication. The parameter file comes last.
    // The earlier files are kept under the run's names until the end, so that a rename that fails
    // puts the earlier base back whole. Two runs never publish in one folder at the same time.
    void publie()
    {
        struct Etape {
            std::string nouveau, final, ancien;
            bool existait = false;   // an earlier file had the final name
            bool sauve = false;      // ... and is kept under `ancien`
            bool remplace = false;   // the new file has the final name
        };
        std::vector<Etape> etapes;
        for (const char *ext : {".num", ".dic", ".par"}) {
            Etape e;
            e.nouveau = lot_.Nom(ext);
            e.final = nomBase_ + ext;
            e.ancien = lot_.Nom(std::string(".anc") + ext);
            etapes.push_back(std::move(e));
        }
        Etape &par = etapes[2];

        fichiers::VerrouDossier verrou;
        std::string echec;
        for (Etape &e : etapes) {
            struct stat st {};
            if (lstat(e.final.c_str(), &st) != 0)
                continue;
            // Only files are replaced: a folder (or anything else) under a base file's name stops
            // the publication before anything is touched.
            if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
                echec = e.final;
                break;
            }
            e.existait = true;
        }
        // The journal on disk before anything changes: a run killed from here on is finished by
        // the next one in the folder, or undone with the earlier files kept aside.
        if (echec.empty()) {
            if (lot_.Annonce(nomBase_))
                temporaires_.push_back(lot_.Nom(".pub"));
            else
                echec = par.final;
        }
        for (Etape &e : etapes) {
            if (!echec.empty() || !e.existait)
                continue;
            unlink(e.ancien.c_str());
            temporaires_.push_back(e.ancien);
            e.sauve = link(e.final.c_str(), e.ancien.c_str()) == 0;
        }
        // Where the file system has no hard links, an earlier file is moved aside instead.
        auto metDeCote = [](Etape &e) {
            if (e.existait && !e.sauve)
                e.sauve = std::rename(e.final.c_str(), e.ancien.c_str()) == 0;
            return !e.existait || e.sauve;
        };
        if (echec.empty() && par.existait) {
            struct stat st {};
            if (!metDeCote(par) || (lstat(par.final.c_str(), &st) == 0 && unlink(par.final.c_str()) != 0))
                echec = par.final;
        }
        for (Etape &e : etapes) {
            if (!echec.empty())
                break;
            if (!metDeCote(e) || fichiers::Renomme(e.nouveau.c_str(), e.final.c_str()) != 0)
                echec = e.final;
            else
                e.remplace = true;
        }
        if (!echec.empty()) {
            // Back to the earlier base: each earlier file under its name, no new file left.
            for (const Etape &e : etapes) {
                if (e.sauve)
                    fichiers::Renomme(e.ancien.c_str(), e.final.c_str());
                else if (e.remplace && !e.existait)
                    unlink(e.final.c_str());
            }
            fichiers::SynchroniseDossier();
            fichierEchoue(echec);
        }
        for (const Etape &e : etapes) {
            if (e.sauve)
                unlink(e.ancien.c_str());
        }
        unlink(lot_.Nom(".pub").c_str());
        fichiers::SynchroniseDossier();
        temporaires_.clear();
    }

    // After a failure: the work file and every half-written file go.
    void nettoie()
    {
        for (const std::string &t : temporaires_)
            unlink(t.c_str());
        temporaires_.clear();
        txn_.fermer();
        lot_.Ferme();
    }

    std::string chemin_;
    const ParametresSegm &p_;
    unsigned fils_;
    std::string nomBase_;
    Articles dico_;
    std::unique_ptr<Items> items_;
    std::vector<std::int32_t> list_, list1_;
    bool delimiteur_[256] = {};
    std::int32_t ligne_ = 1;
    Comptes comptes_;
    std::int64_t intervalle_ = 0, palier_ = 0;  // progress: a call each time palier_ is passed
    VeilleBoucle veille_;
    std::int32_t nbf_ = 0, nhap_ = 0, nbponct_ = 0, nbcle_ = 0, nbctnu_ = 0, nbart_ = 0, fmax_ = 0;
    fichiers::LotTravail lot_;
    Fichier txn_;
    std::vector<std::string> temporaires_;
};

} // namespace

std::string NomBaseDeTexte(const std::string &cheminTexte)
{
    const std::size_t barre = cheminTexte.rfind('/');
    const std::string nom = barre == std::string::npos ? cheminTexte : cheminTexte.substr(barre + 1);
    const std::size_t point = nom.rfind('.');
    return point == std::string::npos ? nom : nom.substr(0, point);
}

EtatTexte ExamineTexte(const char *cheminTexte)
{
    switch (fichiers::Examine(cheminTexte)) {
    case fichiers::Lecture::Illisible: return EtatTexte::Illisible;
    case fichiers::Lecture::NonRegulier: return EtatTexte::NonRegulier;
    case fichiers::Lecture::Possible: break;
    }
    struct stat texte {};
    if (stat(cheminTexte, &texte) != 0)
        return EtatTexte::Illisible;
    const std::string chemin = cheminTexte;
    const std::size_t barre = chemin.rfind('/');
    if (fichiers::EstNomDeTravail(barre == std::string::npos ? chemin : chemin.substr(barre + 1)))
        return EtatTexte::NomReserve;
    // Every file of the current directory that the key check or the segmentation writes, and the
    // name of the work file in earlier versions; the same file under another name or through a
    // link counts too.
    const std::string base = NomBaseDeTexte(chemin);
    for (const std::string &nom : {std::string(talmer::trace::NomFichier), std::string("xxxx.txn"), base + ".dic",
                                   base + ".num", base + ".par", base + ".loc.sr", base + ".desc.sr"}) {
        if (memeFichier(texte, nom.c_str()))
            return EtatTexte::NomReserve;
    }
    return EtatTexte::Accepte;
}

const char *MessageTexte(EtatTexte etat)
{
    switch (etat) {
    case EtatTexte::Accepte: return "";
    case EtatTexte::Illisible: return "Le texte ne peut pas être lu.";
    case EtatTexte::NonRegulier:
        return "Ce n'est pas un fichier texte ordinaire (dossier, tube ou périphérique) : il ne peut pas être segmenté.";
    case EtatTexte::NomReserve:
        return "Ce texte porte le nom d'un fichier que la segmentation écrit (atrace.txt, fichier de travail, ou "
               "fichier .dic, .num, .par, .loc.sr ou .desc.sr de sa propre base) : il serait écrasé. "
               "Renommez-le ou placez-le dans un autre dossier avant de le segmenter.";
    }
    return "";
}

ResultatSegm SegmPrinc(const char *cheminTexte, const ParametresSegm &parametres)
{
    Segmenteur s(cheminTexte ? cheminTexte : "", parametres);
    return s.lance();
}

const char *MessageSegmentation(ResultatSegm resultat)
{
    switch (resultat) {
    case ResultatSegm::Reussie: return "Segmentation réussie.";
    case ResultatSegm::TexteIllisible: return MessageTexte(EtatTexte::Illisible);
    case ResultatSegm::TravailIllisible: return "Le fichier de travail ne peut pas être écrit ou relu.";
    case ResultatSegm::FichierBase: return "Un fichier de la base ne peut pas être écrit.";
    case ResultatSegm::TropDArticles:
        return "Trop d'articles (formes, ponctuations et clés) : augmentez le nombre maximum d'articles.";
    case ResultatSegm::ReserveGraphies: return "La réserve des graphies est pleine : augmentez le nombre maximum d'articles.";
    case ResultatSegm::CleTropLongue: return "Une clé a un type ou un contenu de plus de 126 caractères.";
    case ResultatSegm::CleVide: return "Une clé a un type ou un contenu vide.";
    case ResultatSegm::CleIllisible:
        return "Une clé contient un caractère de contrôle (saut de ligne, tabulation...).";
    case ResultatSegm::CleInachevee: return "Une clé n'est pas fermée avant la fin du texte.";
    case ResultatSegm::TropDItems: return "Le texte dépasse 2147483647 items.";
    case ResultatSegm::MemoireInsuffisante: return "Allocation mémoire impossible.";
    case ResultatSegm::TexteNonRegulier: return MessageTexte(EtatTexte::NonRegulier);
    case ResultatSegm::NomReserve: return MessageTexte(EtatTexte::NomReserve);
    case ResultatSegm::DossierInterdit:
        return "Le dossier du texte ne peut pas être écrit : la base ne peut pas y être créée. Copiez le texte "
               "dans un dossier où vous pouvez écrire.";
    }
    return "";
}

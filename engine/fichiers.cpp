#include "engine/fichiers.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talmer::fichiers {

namespace {

constexpr std::string_view kPrefixe = "xxxx-";
constexpr std::size_t kLongueurId = 8;
constexpr std::string_view kSuffixes[] = {".txn", ".dic", ".num", ".par", ".anc.dic", ".anc.num", ".anc.par", ".pub"};
// The base files in the order they take their names: the parameter file, which leads to the
// others, last.
constexpr const char *kExtensions[] = {".num", ".dic", ".par"};
constexpr std::size_t kPar = 2;

std::function<int(const char *, const char *)> &etapeRenommage()
{
    static std::function<int(const char *, const char *)> etape;
    return etape;
}

bool alphanumerique(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Clears O_NONBLOCK, set only so that opening a FIFO could not block.
void bloquant(int fd)
{
    const int drapeaux = fcntl(fd, F_GETFL);
    if (drapeaux >= 0)
        fcntl(fd, F_SETFL, drapeaux & ~O_NONBLOCK);
}

bool regulier(int fd)
{
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

std::string nouvelId()
{
    static std::mt19937_64 aleas{std::random_device{}() ^ static_cast<std::uint64_t>(getpid())};
    static constexpr char kChiffres[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string id;
    for (std::size_t i = 0; i < kLongueurId; ++i)
        id.push_back(kChiffres[aleas() % (sizeof kChiffres - 1)]);
    return id;
}

} // namespace

Lecture Examine(const char *chemin)
{
    struct stat st {};
    if (!chemin || stat(chemin, &st) != 0)
        return Lecture::Illisible;
    if (!S_ISREG(st.st_mode))
        return Lecture::NonRegulier;
    return access(chemin, R_OK) == 0 ? Lecture::Possible : Lecture::Illisible;
}

std::FILE *OuvreLecture(const char *chemin, Lecture *etat)
{
    Lecture e = Examine(chemin);
    std::FILE *f = nullptr;
    if (e == Lecture::Possible) {
        // Checked again on what was opened: the name may have changed hands in between.
        const int fd = open(chemin, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            e = Lecture::Illisible;
        } else if (!regulier(fd)) {
            close(fd);
            e = Lecture::NonRegulier;
        } else {
            bloquant(fd);
            f = fdopen(fd, "rb");
            if (!f) {
                close(fd);
                e = Lecture::Illisible;
            }
        }
    }
    if (etat)
        *etat = e;
    return f;
}

bool LitTout(const char *chemin, std::string &contenu, Lecture *etat)
{
    contenu.clear();
    Lecture e = Lecture::Possible;
    std::FILE *f = OuvreLecture(chemin, &e);
    if (etat)
        *etat = e;
    if (!f)
        return false;
    struct stat st {};
    if (fstat(fileno(f), &st) == 0 && st.st_size > 0)
        contenu.reserve(static_cast<std::size_t>(st.st_size));
    char tampon[65536];
    std::size_t n;
    errno = 0;
    while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0)
        contenu.append(tampon, n);
    const int erreur = std::ferror(f) ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(f);
    if (erreur == 0)
        return true;
    contenu.clear();
    if (etat)
        *etat = Lecture::Illisible;
    errno = erreur;
    return false;
}

int OuvreEcritureSansLien(const char *chemin, bool tronque)
{
    const int fd = open(chemin, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (tronque ? 0 : O_APPEND),
                        0666);
    if (fd < 0)
        return -1;
    if (!regulier(fd) || (tronque && ftruncate(fd, 0) != 0)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    bloquant(fd);
    return fd;
}

int CreeExclusif(const char *chemin)
{
    return open(chemin, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

VerrouDossier::VerrouDossier() : fd_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

VerrouDossier::~VerrouDossier()
{
    if (fd_ >= 0)
        close(fd_);  // releases the lock
}

bool Synchronise(int fd) { return fsync(fd) == 0; }

void CommenceEcriture(int fd)
{
#ifdef SYNC_FILE_RANGE_WRITE
    sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
#endif
}

void SynchroniseDossier()
{
    const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool EstNomDeTravail(std::string_view nom)
{
    if (nom.size() < kPrefixe.size() + kLongueurId || nom.substr(0, kPrefixe.size()) != kPrefixe)
        return false;
    for (std::size_t i = 0; i < kLongueurId; ++i) {
        if (!alphanumerique(nom[kPrefixe.size() + i]))
            return false;
    }
    const std::string_view suffixe = nom.substr(kPrefixe.size() + kLongueurId);
    for (std::string_view s : kSuffixes) {
        if (suffixe == s)
            return true;
    }
    return false;
}

namespace {

// A publication that a killed run left, read from its journal: the base's name and, for each new
// file (in the order of kExtensions), its inode and size.
struct Journal {
    std::string nomBase;
    std::uint64_t inode[3] = {};
    std::int64_t taille[3] = {};
};

std::string nomDuLot(std::string_view id, std::string_view suffixe)
{
    std::string nom(kPrefixe);
    nom += id;
    nom += suffixe;
    return nom;
}

// The journal reads: the length of the base name, a line break, the name, a line break, then one
// line "inode size" per new file, then "fin". A journal cut short (the run was killed while writing
// it, before anything was renamed) is not a publication.
bool litJournal(int dossier, const std::string &nom, Journal &j)
{
    const int fd = openat(dossier, nom.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::string texte;
    char tampon[4096];
    ssize_t n;
    while (texte.size() < 65536 && (n = read(fd, tampon, sizeof tampon)) > 0)
        texte.append(tampon, static_cast<std::size_t>(n));
    close(fd);
    std::size_t pos = 0;
    auto nombre = [&](std::uint64_t &v) {
        const std::size_t debut = pos;
        v = 0;
        while (pos < texte.size() && texte[pos] >= '0' && texte[pos] <= '9' && pos - debut < 19)
            v = v * 10 + static_cast<std::uint64_t>(texte[pos++] - '0');
        return pos > debut;
    };
    auto car = [&](char c) { return pos < texte.size() && texte[pos++] == c; };
    std::uint64_t longueur = 0;
    if (!nombre(longueur) || !car('\n') || longueur > texte.size() - pos)
        return false;
    j.nomBase = texte.substr(pos, static_cast<std::size_t>(longueur));
    pos += static_cast<std::size_t>(longueur);
    if (!car('\n') || j.nomBase.find('/') != std::string::npos)
        return false;
    for (std::size_t i = 0; i < 3; ++i) {
        std::uint64_t taille = 0;
        if (!nombre(j.inode[i]) || !car(' ') || !nombre(taille) || !car('\n'))
            return false;
        j.taille[i] = static_cast<std::int64_t>(taille);
    }
    return texte.compare(pos, std::string::npos, "fin\n") == 0;
}

bool existe(int dossier, const std::string &nom)
{
    struct stat st {};
    return fstatat(dossier, nom.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Finishes or undoes the publication of a killed run (see ReprendPublications).
void reprend(int dossier, std::string_view id, const Journal &j)
{
    std::string nouveau[3], ancien[3], final[3];
    for (std::size_t i = 0; i < 3; ++i) {
        nouveau[i] = nomDuLot(id, kExtensions[i]);
        ancien[i] = nomDuLot(id, std::string(".anc") + kExtensions[i]);
        final[i] = j.nomBase + kExtensions[i];
    }
    // Whether a name holds the i-th new file (a rename keeps the inode).
    auto estNouveau = [&](const std::string &nom, std::size_t i) {
        struct stat st {};
        return fstatat(dossier, nom.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
               static_cast<std::uint64_t>(st.st_ino) == j.inode[i] && st.st_size == j.taille[i];
    };

    bool complet = true;
    for (std::size_t i = 0; i < 3; ++i)
        complet = complet && (estNouveau(nouveau[i], i) || estNouveau(final[i], i));

    auto avance = [&] {
        // Every earlier file still in place is kept aside first, so that the way back stays open;
        // only files are replaced (something else put there since stops the way forward).
        for (std::size_t i = 0; i < 3; ++i) {
            struct stat st {};
            if (fstatat(dossier, final[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || estNouveau(final[i], i))
                continue;
            if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
                return false;
            if (existe(dossier, ancien[i]))
                continue;
            if (linkat(dossier, final[i].c_str(), dossier, ancien[i].c_str(), 0) != 0 &&
                renameat(dossier, final[i].c_str(), dossier, ancien[i].c_str()) != 0)
                return false;
        }
        // No parameter file while the other files change.
        if (estNouveau(nouveau[kPar], kPar) && existe(dossier, final[kPar]) && !estNouveau(final[kPar], kPar) &&
            unlinkat(dossier, final[kPar].c_str(), 0) != 0)
            return false;
        for (std::size_t i = 0; i < 3; ++i) {
            if (estNouveau(nouveau[i], i) &&
                renameat(dossier, nouveau[i].c_str(), dossier, final[i].c_str()) != 0)
                return false;
        }
        return true;
    };
    if (complet && avance()) {
        fsync(dossier);
        return;
    }
    // Back to the earlier base: the new parameter file goes first, the earlier one comes back last.
    if (estNouveau(final[kPar], kPar))
        unlinkat(dossier, final[kPar].c_str(), 0);
    for (std::size_t i = 0; i < 3; ++i) {
        if (existe(dossier, ancien[i]))
            renameat(dossier, ancien[i].c_str(), dossier, final[i].c_str());
        else if (estNouveau(final[i], i))
            unlinkat(dossier, final[i].c_str(), 0);
    }
    fsync(dossier);
}

} // namespace

void ReprendPublications(const std::string &dossier)
{
    const int dfd = open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0)
        return;
    // No run publishes in the folder meanwhile (a lock the file system refuses is not waited for).
    flock(dfd, LOCK_EX);
    std::map<std::string, std::vector<std::string>> parRun;
    const int lecture = dup(dfd);
    DIR *d = lecture >= 0 ? fdopendir(lecture) : nullptr;
    if (!d) {
        if (lecture >= 0)
            close(lecture);
        close(dfd);
        return;
    }
    while (const dirent *e = readdir(d)) {
        const std::string_view nom = e->d_name;
        if (EstNomDeTravail(nom))
            parRun[std::string(nom.substr(kPrefixe.size(), kLongueurId))].emplace_back(nom);
    }
    closedir(d);
    for (const auto &[id, noms] : parRun) {
        const std::string travail = nomDuLot(id, ".txn");
        const int fd = openat(dfd, travail.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);  // a run still working
            continue;
        }
        const std::string journal = nomDuLot(id, ".pub");
        Journal j;
        if (std::find(noms.begin(), noms.end(), journal) != noms.end() && litJournal(dfd, journal, j))
            reprend(dfd, id, j);
        // The journal goes after the files it describes, the work file last.
        for (const std::string &nom : noms) {
            if (nom != travail && nom != journal)
                unlinkat(dfd, nom.c_str(), 0);
        }
        unlinkat(dfd, journal.c_str(), 0);
        if (fd >= 0) {
            unlinkat(dfd, travail.c_str(), 0);
            close(fd);
        }
    }
    close(dfd);  // releases the lock
}

LotTravail::~LotTravail() { Ferme(); }

bool LotTravail::Ouvre()
{
    ReprendPublications();
    for (int essai = 0; essai < 64; ++essai) {
        id_ = nouvelId();
        const std::string nom = Nom(".txn");
        const int fd = CreeExclusif(nom.c_str());
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            id_.clear();
            return false;
        }
        // Another run cleaning the folder may have taken the file between its creation and the
        // lock, and removed it: then start again under another name.
        // (A file system without locks leaves the file unlocked: no run then removes it.)
        struct stat st {};
        if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink == 0) {
            close(fd);
            continue;
        }
        fd_ = fd;
        return true;
    }
    id_.clear();
    errno = EEXIST;
    return false;
}

std::string LotTravail::Nom(std::string_view suffixe) const
{
    std::string nom(kPrefixe);
    nom += id_;
    nom += suffixe;
    return nom;
}

bool LotTravail::Annonce(const std::string &nomBase)
{
    std::string texte = std::to_string(nomBase.size()) + "\n" + nomBase + "\n";
    for (const char *ext : kExtensions) {
        struct stat st {};
        if (lstat(Nom(ext).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        texte += std::to_string(static_cast<std::uint64_t>(st.st_ino)) + " " +
                 std::to_string(static_cast<std::int64_t>(st.st_size)) + "\n";
    }
    texte += "fin\n";
    const std::string nom = Nom(".pub");
    const int fd = CreeExclusif(nom.c_str());
    if (fd < 0)
        return false;
    const bool ecrit = write(fd, texte.data(), texte.size()) == static_cast<ssize_t>(texte.size()) && fsync(fd) == 0;
    close(fd);
    if (!ecrit) {
        unlink(nom.c_str());
        return false;
    }
    SynchroniseDossier();
    return true;
}

void LotTravail::Ferme()
{
    if (fd_ < 0)
        return;
    unlink(Nom(".txn").c_str());
    close(fd_);
    fd_ = -1;
}

int Renomme(const char *de, const char *vers)
{
    const auto &etape = etapeRenommage();
    return etape ? etape(de, vers) : std::rename(de, vers);
}

void DefinitRenommage(std::function<int(const char *, const char *)> etape) { etapeRenommage() = std::move(etape); }

} // namespace talmer::fichiers

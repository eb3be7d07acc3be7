#include "engine/fichiers.h"

#include <cerrno>
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
constexpr std::string_view kSuffixes[] = {".txn", ".dic", ".num", ".par", ".anc.dic", ".anc.num", ".anc.par"};

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

void NettoieRestes()
{
    DIR *d = opendir(".");
    if (!d)
        return;
    std::map<std::string, std::vector<std::string>> parRun;
    while (const dirent *e = readdir(d)) {
        const std::string_view nom = e->d_name;
        if (EstNomDeTravail(nom))
            parRun[std::string(nom.substr(kPrefixe.size(), kLongueurId))].emplace_back(nom);
    }
    closedir(d);
    for (const auto &[id, noms] : parRun) {
        const std::string travail = std::string(kPrefixe) + id + ".txn";
        const int fd = open(travail.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);  // a run still working
            continue;
        }
        for (const std::string &nom : noms) {
            if (nom != travail)
                unlink(nom.c_str());
        }
        if (fd >= 0) {
            unlink(travail.c_str());
            close(fd);
        }
    }
}

LotTravail::~LotTravail() { Ferme(); }

bool LotTravail::Ouvre()
{
    NettoieRestes();
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

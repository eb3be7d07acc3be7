#include "platform/qt/ecriture_sure.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talmer {

const char *RaisonEnFrancais(int code)
{
    switch (code) {
    case ENOSPC:
        return "plus d'espace sur le disque";
    case EDQUOT:
        return "quota de disque dépassé";
    case EFBIG:
        return "fichier trop volumineux";
    case EROFS:
        return "système de fichiers en lecture seule";
    case EACCES:
    case EPERM:
        return "permission refusée";
    case EIO:
        return "erreur d'entrée-sortie";
    case ENOENT:
        return "dossier introuvable";
    default:
        return nullptr;
    }
}

QString TexteDuSysteme(int code)
{
    char tampon[256];
    // The GNU strerror_r, which returns its text (not always in the buffer).
    const char *texte = ::strerror_r(code, tampon, sizeof tampon);
    return QString::fromLocal8Bit(texte ? texte : "");
}

FichierSur::FichierSur(const QString &chemin, Remplacement remplacement)
    : chemin_(chemin), remplacement_(remplacement)
{
}

FichierSur::~FichierSur()
{
    Abandonne();
}

bool FichierSur::Echoue(int code)
{
    if (!echec_.Survenu()) {
        echec_.fichier = chemin_;
        echec_.code = code;
        setErrorString(code != 0 ? TexteDuSysteme(code) : QString());
    }
    return false;
}

bool FichierSur::Ouvre()
{
    if (fd_ >= 0 || echec_.Survenu())
        return fd_ >= 0;
    if (chemin_.isEmpty())
        return Echoue(ENOENT);
    cible_ = QFile::encodeName(chemin_);
    struct stat lien;
    const bool nomPris = ::lstat(cible_.constData(), &lien) == 0;
    if (nomPris && remplacement_ == Remplacement::JamaisRemplacer)
        return Echoue(EEXIST);
    struct stat actuel;
    const bool existe = ::stat(cible_.constData(), &actuel) == 0;
    if (existe && S_ISDIR(actuel.st_mode))
        return Echoue(EISDIR);
    // A file one may not write stays as it is, even though its folder would take a new one.
    if (existe && ::access(cible_.constData(), W_OK) != 0)
        return Echoue(errno);
    // Through a link, the file it points to is written and the link stays.
    if (nomPris && S_ISLNK(lien.st_mode) && existe)
        if (char *reel = ::realpath(cible_.constData(), nullptr)) {
            cible_ = reel;
            std::free(reel);
        }

    static constexpr char Lettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int essai = 0; essai < 100; ++essai) {
        temporaire_ = cible_ + '.';
        for (int i = 0; i < 6; ++i)
            temporaire_ += Lettres[QRandomGenerator::global()->bounded(int(sizeof Lettres - 1))];
        fd_ = ::open(temporaire_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            break;
        if (errno != EEXIST)
            return Echoue(errno);
    }
    if (fd_ < 0)
        return Echoue(EEXIST);
    if (existe)
        (void)::fchmod(fd_, actuel.st_mode & 07777);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

namespace {
// The stretch of a file handed to the disk at a time.
constexpr qint64 Tranche = qint64{8} << 20;
} // namespace

qint64 FichierSur::writeData(const char *donnees, qint64 taille)
{
    if (fd_ < 0 || echec_.Survenu())
        return -1;
    qint64 ecrits = 0;
    while (ecrits < taille) {
        const std::size_t morceau = static_cast<std::size_t>(std::min<qint64>(taille - ecrits, qint64{1} << 30));
        const ssize_t n = ::write(fd_, donnees + ecrits, morceau);
        if (n > 0) {
            // A short write gives no reason: the next one, for the bytes refused, fails with it.
            ecrits += n;
            ecrits_ += n;
            if (ecrits_ - debutTranche_ >= Tranche) {
                // The stretch before is waited for, this one started: the writer goes at the
                // disk's pace, and the final flush finds at most two stretches to write.
                if (trancheEnCours_ >= 0)
                    (void)::sync_file_range(fd_, trancheEnCours_, debutTranche_ - trancheEnCours_,
                                            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                                SYNC_FILE_RANGE_WAIT_AFTER);
                (void)::sync_file_range(fd_, debutTranche_, ecrits_ - debutTranche_, SYNC_FILE_RANGE_WRITE);
                trancheEnCours_ = debutTranche_;
                debutTranche_ = ecrits_;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        Echoue(n < 0 ? errno : 0);
        return -1;
    }
    return taille;
}

bool FichierSur::Termine()
{
    if (fd_ < 0 || echec_.Survenu()) {
        Abandonne();
        return Echoue(0);
    }
    const int fd = fd_;
    fd_ = -1;
    QIODevice::close();
    // Some file systems say only here that the bytes found no room.
    int code = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = errno;
    if (code == 0) {
        if (remplacement_ == Remplacement::Remplace) {
            if (::rename(temporaire_.constData(), cible_.constData()) != 0)
                code = errno;
        } else if (::renameat2(AT_FDCWD, temporaire_.constData(), AT_FDCWD, cible_.constData(), RENAME_NOREPLACE) != 0) {
            code = errno;
            // A file system that cannot rename without replacing can still make a second name.
            if (code == EINVAL || code == ENOSYS)
                code = ::link(temporaire_.constData(), cible_.constData()) == 0 ? 0 : errno;
            if (code == 0)
                ::unlink(temporaire_.constData());
        }
    }
    if (code != 0) {
        ::unlink(temporaire_.constData());
        temporaire_.clear();
        return Echoue(code);
    }
    temporaire_.clear();
    return true;
}

void FichierSur::Abandonne()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(temporaire_.constData());
        temporaire_.clear();
    }
    if (isOpen())
        QIODevice::close();
}

void FichierSur::close()
{
    Abandonne();
}

bool EcritFichierSur(const QString &chemin, const std::function<bool(QIODevice &)> &ecrit, EchecEcriture *echec)
{
    FichierSur fichier(chemin);
    bool ok = fichier.Ouvre() && ecrit(fichier);
    // A write whose failure the producer did not notice fails the file all the same.
    ok = ok && !fichier.Echec().Survenu() && fichier.Termine();
    if (!ok) {
        fichier.Abandonne();
        if (echec)
            *echec = fichier.Echec();
    }
    return ok;
}

bool EcritFichierSur(const QString &chemin, const QByteArray &contenu, EchecEcriture *echec)
{
    return EcritFichierSur(
        chemin, [&](QIODevice &f) { return f.write(contenu) == contenu.size(); }, echec);
}

} // namespace talmer

// Files for the user are written under a temporary name in their own folder and renamed over the
// final name only once complete: a failure or a crash never leaves a half-written file, and an
// earlier file of that name stays as it was until the new one is whole.
//
// A failure says which file and why, as the system says it: a write the system takes only in part
// (a full disk, a file-size limit) is followed by one for the bytes it refused, which fails with
// the system's reason.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace talmer {

// Why a file could not be written.
struct EchecEcriture {
    QString fichier;  // the file that failed, as its writer named it; empty while none did
    int code = 0;     // the system's error number (errno); 0 when the system gave no reason

    bool Survenu() const { return !fichier.isEmpty(); }
};

// The reason in French for the common errors of a write (no space left, quota, file too large,
// read-only file system, permission, input/output error, missing folder): a text of the program,
// which goes through the message catalogue where it is shown. Null for any other code.
const char *RaisonEnFrancais(int code);
// The system's own text for an error number.
QString TexteDuSysteme(int code);

// One file being written: a device whose bytes go to a new file beside `chemin`, which becomes
// `chemin` on Termine(). Every write takes all its bytes or fails (-1) with the reason in Echec();
// after a failure nothing more is written. Closed, destroyed or abandoned before Termine(), it
// leaves no file, and whatever was at `chemin` stays as it was.
class FichierSur final : public QIODevice {
public:
    enum class Remplacement {
        Remplace,        // an earlier file of that name is replaced (its permissions are kept)
        JamaisRemplacer  // an existing name is never written over: Ouvre() or Termine() fail (EEXIST)
    };

    explicit FichierSur(const QString &chemin, Remplacement remplacement = Remplacement::Remplace);
    ~FichierSur() override;
    FichierSur(const FichierSur &) = delete;
    FichierSur &operator=(const FichierSur &) = delete;

    // Makes the temporary file and opens the device for writing.
    bool Ouvre();
    // Puts the bytes on the disk and gives the file its name; false, with the reason, when the
    // system refuses any of it (nothing is left then).
    bool Termine();
    // Gives the file up: the temporary file is removed.
    void Abandonne();
    const EchecEcriture &Echec() const { return echec_; }

    void close() override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *donnees, qint64 taille) override;

private:
    bool Echoue(int code);

    QString chemin_;
    Remplacement remplacement_;
    QByteArray cible_;        // the final name on disk, a link followed
    QByteArray temporaire_;   // the temporary file's name on disk
    int fd_ = -1;
    EchecEcriture echec_;
    // The disk is given the bytes as they come, a stretch at a time, so that the flush before
    // the rename waits for little and a large page does not sit in memory until then.
    qint64 ecrits_ = 0;          // bytes written so far
    qint64 debutTranche_ = 0;    // start of the stretch not yet handed to the disk
    qint64 trancheEnCours_ = -1; // start of the stretch being written out (-1: none)
};

// Writes `contenu` to `chemin`. False, with the file and the system's reason in *echec, when it
// cannot be written; nothing is left behind then.
bool EcritFichierSur(const QString &chemin, const QByteArray &contenu, EchecEcriture *echec = nullptr);

// The same for a content produced piece by piece: `ecrit` writes into the device and returns
// false to give up. After a failure, echec->Survenu() tells whether the file itself failed (a
// write, or its making or naming) rather than `ecrit` giving up for a reason of its own. An
// exception of `ecrit` goes through and leaves no file.
bool EcritFichierSur(const QString &chemin, const std::function<bool(QIODevice &)> &ecrit,
                     EchecEcriture *echec = nullptr);

} // namespace talmer

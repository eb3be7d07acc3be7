// Opening and creating files without harm to what the folder already holds.
//
// The engine works in the current directory, which may be shared with other users or hold the
// user's own files under names the engine also uses. Hence: files are read only when they are
// regular files (a FIFO would block, a folder or a device would be read as garbage); new files are
// created exclusively, never through a symbolic link; temporary files carry names of their own,
// locked by the run that made them, so that two runs never share one and the leftovers of a run
// that was killed are recognised and removed by the next one.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace talmer::fichiers {

// Why an existing file cannot be read.
enum class Lecture {
    Possible,
    Illisible,     // no such file, or it cannot be opened
    NonRegulier,   // a folder, a FIFO, a device or a socket
};

// What a path names, without opening it (a symbolic link is followed).
Lecture Examine(const char *chemin);

// Opens a regular file for reading in binary mode, without ever blocking on a FIFO; nullptr when it
// cannot be opened or is not a regular file (*etat, when given, tells which).
std::FILE *OuvreLecture(const char *chemin, Lecture *etat = nullptr);

// Reads the whole of a regular file into `contenu` (opened as OuvreLecture does: never a FIFO, a
// device or a folder). False when it cannot be opened or a read fails; *etat, when given, tells
// which (Illisible with errno set, or NonRegulier).
bool LitTout(const char *chemin, std::string &contenu, Lecture *etat = nullptr);

// Opens a file for writing without following a symbolic link at its name: a regular file is
// truncated (tronque) or appended to, a missing one created; -1 (errno set) for a link or anything
// that is not a regular file.
int OuvreEcritureSansLien(const char *chemin, bool tronque);

// Creates a new file that did not exist, exclusively (never an existing file, never through a
// link), with the usual permissions; -1 with errno set when it cannot.
int CreeExclusif(const char *chemin);

// Holds an exclusive lock on the current directory while it lives, so that two runs never publish
// base files in one folder at the same time (a lock the file system refuses is not waited for).
class VerrouDossier {
public:
    VerrouDossier();
    ~VerrouDossier();
    VerrouDossier(const VerrouDossier &) = delete;
    VerrouDossier &operator=(const VerrouDossier &) = delete;

private:
    int fd_ = -1;
};

// Writes the data of a file to disk; false on failure.
bool Synchronise(int fd);
// Starts writing to disk what has been written to a file so far, without waiting for it (a hint
// to the system, which Synchronise must still follow before the file counts as on disk).
void CommenceEcriture(int fd);
// Writes the entries of the current directory to disk (after renames); failures are ignored,
// since some file systems do not support it.
void SynchroniseDossier();

// True when a name is one the segmenter gives its work and temporary files.
bool EstNomDeTravail(std::string_view nomFichier);

// The temporary files of one run of the segmenter in the current directory: "xxxx-" followed by
// eight letters or digits that name the run, then a suffix (".txn" for the work file, ".dic",
// ".num", ".par" for the new base files, ".anc.dic"... for copies of the earlier ones, ".pub" for
// the journal of its publication). The run's work file is created first and locked for the run's
// life; the run's other files are made after it and removed before it.
class LotTravail {
public:
    LotTravail() = default;
    ~LotTravail();
    LotTravail(const LotTravail &) = delete;
    LotTravail &operator=(const LotTravail &) = delete;

    // Settles what killed runs left in the current directory (ReprendPublications), then reserves
    // a name for this run and creates its work file, locked; false (errno set) when the folder
    // refuses it.
    bool Ouvre();
    // Once the three new base files of the run are complete and on disk, and before anything is
    // renamed: writes the run's journal, naming the base and each new file (inode and size), and
    // puts it on disk. From then on a run that is killed is finished by the next one. False when
    // the journal cannot be written (nothing has changed then).
    bool Annonce(const std::string &nomBase);
    // The name of this run's file with the suffix (".txn", ".dic"...).
    std::string Nom(std::string_view suffixe) const;
    // Descriptor of the work file, open for reading and writing.
    int Travail() const { return fd_; }
    // Removes the work file and releases the run's name.
    void Ferme();

private:
    std::string id_;
    int fd_ = -1;
};

// Settles, in a folder (empty: the current directory), what runs killed before their end left
// there (every run name whose work file is absent or not locked), under the folder's lock. A run
// killed while it published its base is finished when every new file it announced is found, under
// its temporary name or already under its final one: the remaining files take their final names,
// the parameter file last. Otherwise (a new file is missing, or a rename fails) the earlier files
// the run kept aside take their names back. Either way the base shows one segmentation, never a mix
// of two. Then every file of those runs is removed.
void ReprendPublications(const std::string &dossier = std::string());

// The rename that publishes a new file under its final name (base files, the analysis program's
// results): rename(2) unless a test has put another step in its place (an empty function restores
// rename(2)). Returns 0 or -1 like rename.
int Renomme(const char *de, const char *vers);
void DefinitRenommage(std::function<int(const char *, const char *)> etape);

} // namespace talmer::fichiers

// ta3afc and its files: what it refuses to read, and its two results, which appear together or not
// at all, with the usual permissions, even when a run fails or is killed between its renames.
#include "engine/fichiers.h"
#include "support/fils.h"
#include "support/tempdir.h"
#include "tools/coran_don.h"
#include "tools/ta3afc/resultats.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talmer::test::afc;
using talmer::test::DansUnFils;
using talmer::test::TempDir;

const std::vector<std::vector<int>> Table = {{2, 1, 0}, {1, 2, 0}, {0, 0, 3}};

// The hidden files a run makes beside its results.
std::vector<std::string> Caches()
{
    std::vector<std::string> noms;
    for (const auto &e : fs::directory_iterator("."))
        if (e.path().filename().string().front() == '.')
            noms.push_back(e.path().filename().string());
    return noms;
}

class Ta3afcFichiers : public ::testing::Test {
protected:
    void TearDown() override { talmer::fichiers::DefinitRenommage({}); }
    TempDir dossier_;
};

TEST_F(Ta3afcFichiers, RefusesWhatIsNotARegularFileAtOnce)
{
    struct Cas {
        const char *nom;
        std::function<void()> prepare;
    } cas[] = {
        {"a folder", [] { fs::create_directory("coran.don"); }},
        {"a FIFO", [] { ASSERT_EQ(mkfifo("coran.don", 0644), 0); }},
        {"an endless device", [] { fs::create_symlink("/dev/zero", "coran.don"); }},
    };
    for (const Cas &c : cas) {
        fs::remove_all("coran.don");
        c.prepare();
        EXPECT_EQ(LanceTa3afc(), 1) << c.nom;
        EXPECT_EQ(Lit("ta3afc.err"), "ta3afc : coran.don n'est pas un fichier ordinaire\n") << c.nom;
        EXPECT_FALSE(fs::exists("facteurs.txt") || fs::exists("vp.txt")) << c.nom;
    }
    fs::remove_all("coran.don");
    EXPECT_EQ(LanceTa3afc(), 1);
    EXPECT_EQ(Lit("ta3afc.err"), "ta3afc : coran.don est introuvable\n");
}

TEST_F(Ta3afcFichiers, ResultsTakeTheUsualPermissions)
{
    Ecrit("coran.don", CoranDon(Table, "111", 2));
    const mode_t avant = umask(027);
    const int sortie = LanceTa3afc();
    umask(avant);
    ASSERT_EQ(sortie, 0) << Lit("ta3afc.err");
    for (const char *nom : {"facteurs.txt", "vp.txt"}) {
        struct stat st {};
        ASSERT_EQ(stat(nom, &st), 0) << nom;
        EXPECT_EQ(st.st_mode & 0777, 0640u) << nom;
    }
    EXPECT_TRUE(Caches().empty());
}

TEST_F(Ta3afcFichiers, TheNextRunRemovesWhatAKilledRunLeft)
{
    // The hidden files of a run killed before its journal, and those of earlier versions.
    for (const char *nom : {".ta3afc.vp.txt", ".ta3afc.facteurs.txt", ".vp.txt.Ab12Cd", ".facteurs.txt.x9Y8z7"})
        Ecrit(nom, "reste");
    Ecrit(".autre", "garde");
    Ecrit("coran.don", CoranDon({{2, 1, 0}, {0, 0, 0}, {0, 0, 3}}, "111", 2));
    EXPECT_EQ(LanceTa3afc(), 1);
    EXPECT_EQ(Caches(), std::vector<std::string>{".autre"});
}

// The earlier pair "A", then a run publishing "B" stopped at each step: whatever a reader finds
// is A, B or nothing, never one of each; the next run puts A back, or keeps B once B is whole.
TEST_F(Ta3afcFichiers, APairAppearsWholeOrNotAtAllWhenARunIsKilledOrFails)
{
    struct Cas {
        const char *nom;
        int echoue;      // the rename that fails (0: none)
        int tue;         // the rename at which the child is killed (0: none)
        bool apres;      // ... once that rename is done
        const char *fin; // the pair once settled: "A" or "B"
    };
    const Cas cas[] = {
        {"killed before the first rename", 0, 1, false, "A"},
        {"killed between the renames", 0, 2, false, "A"},
        {"killed after the last rename", 0, 2, true, "B"},
        {"first rename fails", 1, 0, false, "A"},
        {"second rename fails", 2, 0, false, "A"},
    };
    for (bool earlier : {true, false}) {
        for (const Cas &c : cas) {
            SCOPED_TRACE(std::string(c.nom) + (earlier ? ", with an earlier pair" : ", with no earlier pair"));
            for (const std::string &nom : Caches())
                fs::remove(nom);
            fs::remove("facteurs.txt");
            fs::remove("vp.txt");
            if (earlier) {
                std::string raison;
                ASSERT_TRUE(talmer::afc::PublieResultats("facteurs A", "vp A", raison)) << raison;
            }
            const int sortie = DansUnFils([&c] {
                int n = 0;
                talmer::fichiers::DefinitRenommage([&n, &c](const char *de, const char *vers) {
                    if (++n == c.tue && !c.apres)
                        _exit(3);
                    if (n == c.echoue) {
                        errno = EIO;
                        return -1;
                    }
                    const int r = std::rename(de, vers);
                    if (n == c.tue)
                        _exit(3);
                    return r;
                });
                std::string raison;
                return talmer::afc::PublieResultats("facteurs B", "vp B", raison) ? 0 : 1;
            });
            ASSERT_EQ(sortie, c.tue ? 3 : 1);

            // What the folder holds now, before anyone settles it.
            if (fs::exists("facteurs.txt")) {
                ASSERT_TRUE(fs::exists("vp.txt"));
                EXPECT_EQ(Lit("facteurs.txt").back(), Lit("vp.txt").back());
            }
            std::string f, v, raison;
            const bool lu = talmer::afc::LitResultats(f, v, raison);
            if (c.tue) {
                // The factor plane does not read a pair whose publication did not end.
                EXPECT_FALSE(lu);
                EXPECT_EQ(raison, "la publication des résultats a été interrompue : relancez l'analyse");
            } else {
                // A failed run has put the earlier pair back itself.
                EXPECT_EQ(lu, earlier) << raison;
                EXPECT_TRUE(Caches().empty());
            }

            talmer::afc::ReprendResultats();
            EXPECT_TRUE(Caches().empty());
            const bool attenduB = c.fin == std::string("B");
            if (!earlier && !attenduB) {
                EXPECT_FALSE(fs::exists("facteurs.txt") || fs::exists("vp.txt"));
                continue;
            }
            ASSERT_TRUE(talmer::afc::LitResultats(f, v, raison)) << raison;
            EXPECT_EQ(f, attenduB ? "facteurs B" : "facteurs A");
            EXPECT_EQ(v, attenduB ? "vp B" : "vp A");
        }
    }
}

TEST_F(Ta3afcFichiers, TheProgramSettlesAKilledPublicationBeforeItsOwn)
{
    std::string raison;
    ASSERT_TRUE(talmer::afc::PublieResultats("facteurs A", "vp A", raison));
    ASSERT_EQ(DansUnFils([] {
                  talmer::fichiers::DefinitRenommage([](const char *de, const char *vers) {
                      std::rename(de, vers);
                      _exit(3);
                      return 0;
                  });
                  std::string r;
                  talmer::afc::PublieResultats("facteurs B", "vp B", r);
                  return 0;
              }),
              3);
    // A table the program refuses: the earlier pair is back all the same.
    Ecrit("coran.don", CoranDon({{2, 1, 0}, {0, 0, 0}, {0, 0, 3}}, "111", 2));
    EXPECT_EQ(LanceTa3afc(), 1);
    EXPECT_EQ(Lit("facteurs.txt"), "facteurs A");
    EXPECT_EQ(Lit("vp.txt"), "vp A");
    EXPECT_TRUE(Caches().empty());
    // A table it analyses replaces the pair.
    Ecrit("coran.don", CoranDon(Table, "111", 2));
    EXPECT_EQ(LanceTa3afc(), 0) << Lit("ta3afc.err");
    EXPECT_EQ(Lit("vp.txt"), "2\r\n1.00000000\r\n0.11111111\r\n");
    EXPECT_EQ(Lit("facteurs.txt").substr(0, 5), "3 2\r\n");
    EXPECT_TRUE(Caches().empty());
}

TEST_F(Ta3afcFichiers, AResultNameHeldByAFolderStopsThePublication)
{
    fs::create_directory("vp.txt");
    std::string raison;
    EXPECT_FALSE(talmer::afc::PublieResultats("facteurs B", "vp B", raison));
    EXPECT_EQ(raison, "vp.txt existe et n'est pas un fichier ordinaire");
    EXPECT_FALSE(fs::exists("facteurs.txt"));
    EXPECT_TRUE(Caches().empty());
}

} // namespace

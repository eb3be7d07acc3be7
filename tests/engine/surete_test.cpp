// Base files that never destroy the user's work: texts refused before anything is written, the
// earlier base of the same name kept whole when a run fails or is killed, leftovers of killed runs
// removed, links planted at fixed names never followed, read-only folders, long spellings.
#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/segmenteur.h"
#include "engine/segrep.h"
#include "engine/trace.h"
#include "engine/verifcles.h"
#include "engine/base_fixture.h"
#include "support/fils.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using talmer::test::InTempDir;
using talmer::test::makeBase;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

std::uint64_t fnv1a(const std::string &octets)
{
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : octets) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// Checksum of the three files of a base (a missing file counts as empty).
std::uint64_t sommeBase(const std::string &nom)
{
    return fnv1a(readFile(nom + ".par") + '\0' + readFile(nom + ".dic") + '\0' + readFile(nom + ".num"));
}

// What a base shows: its items' spellings joined by blanks, line breaks as '|'; "refusée" when it
// does not load.
std::string texteDe(const std::string &par)
{
    charg1 b;
    if (b.ChargeBase(par.c_str()) != ChargeReussie)
        return "refusée";
    std::string t;
    for (std::int32_t p = 0; p < b.Nbitem(); ++p) {
        const std::int32_t v = b.Tnum(p);
        if (!t.empty())
            t += ' ';
        t += v >= b.Limd() ? "|" : b.RetourneGraphie(v, false);
    }
    return t;
}

ResultatSegm segmente(const std::string &texte)
{
    ParametresSegm p;
    p.delimiteurs = ".";
    return SegmPrinc(texte.c_str(), p);
}

std::vector<std::string> filesHere()
{
    std::vector<std::string> noms;
    for (const auto &e : fs::directory_iterator("."))
        noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
}

bool restes()
{
    for (const std::string &n : filesHere()) {
        if (n.rfind("xxxx-", 0) == 0)
            return true;
    }
    return false;
}

using talmer::test::DansUnFils;

const std::string kTexteA = "un deux trois.";
const std::string kVueA = "un deux trois .";
const std::string kTexteB = "quatre cinq six sept huit.\nneuf.";
const std::string kVueB = "quatre cinq six sept huit . | neuf .";

} // namespace

class Surete : public InTempDir {
protected:
    void TearDown() override
    {
        talmer::fichiers::DefinitRenommage({});
        talmer::trace::DefinitDossierRepli("");
    }
    // The earlier base "corpus", from text A.
    void baseA()
    {
        writeFile("corpus.txt", kTexteA);
        ASSERT_EQ(segmente("corpus.txt"), ResultatSegm::Reussie);
        ASSERT_EQ(texteDe("corpus.par"), kVueA);
    }
};

TEST_F(Surete, LongSpellingsSegmentAndLoad)
{
    // Few entities with long spellings: beyond forty bytes per entity on average.
    std::string documents;
    std::vector<std::string> valeurs;
    for (int i = 0; i < 200; ++i) {
        valeurs.push_back(std::string(78, 'v') + std::to_string(1000 + i));  // "<doc=" + 82 + ">": 88 characters
        documents += "<doc=" + valeurs.back() + "> mot\n";
    }
    const std::string w1(59, 'a'), w2(59, 'b'), w3(59, 'c');
    struct Cas {
        const char *nom;
        std::string texte;
        std::vector<std::string> graphies;  // some spellings the loaded base must hold
    };
    const std::vector<Cas> cas = {
        {"200 documents opened by an 88-character key", documents, {valeurs.front(), valeurs.back(), "doc", "mot"}},
        {"three words of 59 letters", w1 + " " + w2 + " " + w3, {w1, w2, w3}},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        auto base = makeBase(c.texte, ".");
        ASSERT_TRUE(base);
        for (const std::string &g : c.graphies)
            EXPECT_GE(base->LocFormDic(g.c_str(), false), 0) << g;
    }
}

TEST_F(Surete, RefusedTextsLeaveEverythingAsItWas)
{
    baseA();
    writeFile("atrace.txt", "trace d'avant");
    const std::uint64_t avant = sommeBase("corpus");
    struct Cas {
        const char *nom;
        std::string texte;
        std::function<void()> prepare;
        EtatTexte etat;
        ResultatSegm resultat;
    };
    auto fichier = [](const std::string &nom) { return [nom] { writeFile(nom, "un texte."); }; };
    const std::vector<Cas> cas = {
        {"the trace file", "atrace.txt", [] {}, EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"the work file's usual name", "xxxx.txn", fichier("xxxx.txn"), EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"a work file's name", "xxxx-Ab12Cd34.txn", fichier("xxxx-Ab12Cd34.txn"), EtatTexte::NomReserve,
         ResultatSegm::NomReserve},
        {"its own base's dictionary", "corpus.dic", [] {}, EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"its own base's numeric text", "corpus.num", [] {}, EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"its own base's parameter file", "corpus.par", [] {}, EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"linked as its base's positions file", "lien.txt",
         [] {
             writeFile("lien.txt", "un texte.");
             fs::create_symlink("lien.txt", "lien.loc.sr");
         },
         EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"the same file as its base's description file", "lien2.txt",
         [] {
             writeFile("lien2.txt", "un texte.");
             fs::create_hard_link("lien2.txt", "lien2.desc.sr");
         },
         EtatTexte::NomReserve, ResultatSegm::NomReserve},
        {"a FIFO", "tube.txt", [] { ASSERT_EQ(mkfifo("tube.txt", 0600), 0); }, EtatTexte::NonRegulier,
         ResultatSegm::TexteNonRegulier},
        {"a folder", "dossier.txt", [] { fs::create_directory("dossier.txt"); }, EtatTexte::NonRegulier,
         ResultatSegm::TexteNonRegulier},
        {"a device", "peripherique.txt", [] { fs::create_symlink("/dev/zero", "peripherique.txt"); },
         EtatTexte::NonRegulier, ResultatSegm::TexteNonRegulier},
        {"no such text", "absent.txt", [] {}, EtatTexte::Illisible, ResultatSegm::TexteIllisible},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        c.prepare();
        const std::string texteAvant = fs::is_regular_file(c.texte) ? readFile(c.texte) : std::string();
        const std::string traceAvant = readFile("atrace.txt");
        const std::vector<std::string> fichiersAvant = filesHere();

        EXPECT_EQ(ExamineTexte(c.texte.c_str()), c.etat);
        EXPECT_EQ(VerifCles(c.texte.c_str()), -1);
        EXPECT_EQ(segmente(c.texte), c.resultat);

        EXPECT_EQ(sommeBase("corpus"), avant);
        if (!texteAvant.empty()) {
            EXPECT_EQ(readFile(c.texte), texteAvant);
        }
        EXPECT_STREQ(MessageSegmentation(c.resultat), MessageTexte(c.etat));
        EXPECT_STRNE(MessageTexte(c.etat), "");
        const std::string trace = readFile("atrace.txt");
        if (c.etat == EtatTexte::NomReserve) {
            // Not even the trace is written: the text may be the trace itself.
            EXPECT_EQ(trace, traceAvant);
        } else if (c.etat == EtatTexte::NonRegulier) {
            EXPECT_NE(trace.find("\r\nFichier " + c.texte + " refus\xE9 : ce n'est pas un fichier ordinaire "
                                 "(dossier, tube ou p\xE9riph\xE9rique)"),
                      std::string::npos);
        }
        std::vector<std::string> fichiersApres = filesHere();
        if (std::find(fichiersAvant.begin(), fichiersAvant.end(), "atrace.txt") == fichiersAvant.end())
            fichiersApres.erase(std::remove(fichiersApres.begin(), fichiersApres.end(), "atrace.txt"), fichiersApres.end());
        EXPECT_EQ(fichiersApres, fichiersAvant);
        writeFile("atrace.txt", "trace d'avant");
    }
    EXPECT_EQ(texteDe("corpus.par"), kVueA);

    // A text that is accepted replaces the earlier base.
    writeFile("corpus.txt", kTexteB);
    EXPECT_EQ(segmente("corpus.txt"), ResultatSegm::Reussie);
    EXPECT_NE(sommeBase("corpus"), avant);
    EXPECT_EQ(texteDe("corpus.par"), kVueB);
}

TEST_F(Surete, AFailedRenamePutsTheEarlierBaseBack)
{
    for (bool ancienne : {true, false}) {
        for (int k = 1; k <= 3; ++k) {
            SCOPED_TRACE(std::string(ancienne ? "earlier base, " : "no earlier base, ") + "rename " +
                         std::to_string(k) + " fails");
            for (const char *ext : {".par", ".dic", ".num"})
                fs::remove(std::string("corpus") + ext);
            if (ancienne)
                baseA();
            const std::uint64_t avant = sommeBase("corpus");
            int n = 0;
            std::string visee;
            talmer::fichiers::DefinitRenommage([&](const char *de, const char *vers) {
                if (++n == k) {
                    visee = vers;
                    errno = EIO;
                    return -1;
                }
                return std::rename(de, vers);
            });
            writeFile("corpus.txt", kTexteB);
            EXPECT_EQ(segmente("corpus.txt"), ResultatSegm::FichierBase);
            talmer::fichiers::DefinitRenommage({});

            EXPECT_EQ(visee, std::string("corpus") + (k == 1 ? ".num" : k == 2 ? ".dic" : ".par"));
            const std::string trace = readFile("atrace.txt");
            EXPECT_NE(trace.find("\r\n\"" + visee + "\": ne peut etre ouvert\r\n"), std::string::npos);
            EXPECT_EQ(sommeBase("corpus"), avant);
            if (ancienne) {
                EXPECT_EQ(texteDe("corpus.par"), kVueA);
                EXPECT_EQ(filesHere(), (std::vector<std::string>{"atrace.txt", "corpus.dic", "corpus.num", "corpus.par",
                                                                 "corpus.txt"}));
            } else {
                EXPECT_EQ(filesHere(), (std::vector<std::string>{"atrace.txt", "corpus.txt"}));
            }
        }
    }
}

namespace {
// Progress steps and watch calls, counted; the one given throws (0: none).
int passages = 0;
int arretAuPassage = 0;
void Passage(bool = false)
{
    if (++passages == arretAuPassage)
        throw CalculInterrompu{};
}
void PasCompte(std::int32_t) { Passage(); }
} // namespace

TEST_F(Surete, AStoppedRunOrLoadLeavesTheEarlierBaseWhole)
{
    // A text of many lines, so that the run steps and watches often; a whole run counts them.
    std::string texte;
    for (int i = 0; i < 3000; ++i)
        texte += "mot" + std::to_string(i % 700) + " autre" + std::to_string(i % 300) + " fin.\n";
    writeFile("corpus.txt", texte);
    ParametresSegm p;
    p.delimiteurs = ".";
    p.progression = PasCompte;
    FixeVeille(Passage);
    passages = 0;
    arretAuPassage = 0;
    ASSERT_EQ(SegmPrinc("corpus.txt", p), ResultatSegm::Reussie);
    const int nb = passages;
    ASSERT_GE(nb, 20);

    baseA();
    const std::uint64_t avant = sommeBase("corpus");
    writeFile("corpus.txt", texte);
    const std::vector<std::string> fichiers = filesHere();
    for (const int k : {1, nb / 2, nb}) {
        SCOPED_TRACE("stopped at " + std::to_string(k) + " of " + std::to_string(nb));
        passages = 0;
        arretAuPassage = k;
        EXPECT_THROW(SegmPrinc("corpus.txt", p), CalculInterrompu);
        EXPECT_EQ(sommeBase("corpus"), avant);
        EXPECT_TRUE(texteDe("corpus.par") == kVueA);
        EXPECT_FALSE(restes());
        EXPECT_EQ(filesHere(), fichiers);
    }

    // The load: a stop goes through, at any of its steps.
    charg1 b;
    b.AttribGauge(PasCompte);
    passages = 0;
    arretAuPassage = 0;
    ASSERT_EQ(b.ChargeBase("corpus.par"), ChargeReussie);
    const int nbChargement = passages;
    for (const int k : {1, nbChargement}) {
        charg1 stoppee;
        stoppee.AttribGauge(PasCompte);
        passages = 0;
        arretAuPassage = k;
        EXPECT_THROW(stoppee.ChargeBase("corpus.par"), CalculInterrompu) << k;
    }
    FixeVeille(nullptr);
}

TEST_F(Surete, AKilledRunIsSettledByTheNextLoadOrRunAndNeverShowsAMix)
{
    // The run works in "dossier" and is stopped at a rename (its calls counted from 1: the three new
    // files, then, after a failure, the earlier files put back); a failed rename is counted too.
    struct Cas {
        const char *nom;
        int echoue;         // the rename that fails (0: none)
        int tue;            // the rename at which the run stops
        bool apres;         // ... once that rename is done
        const char *vue;    // what the base then shows
    };
    const std::vector<Cas> cas = {
        // Every new file was complete before the first rename: the publication is finished.
        {"killed before rename 1", 0, 1, false, "B"},
        {"killed before rename 2", 0, 2, false, "B"},
        {"killed before rename 3", 0, 3, false, "B"},
        {"killed after the last rename", 0, 3, true, "B"},
        {"rename 2 fails, killed before the earlier files come back", 2, 3, false, "B"},
        // A new file is already overwritten by its earlier one: the earlier base comes back whole.
        {"rename 2 fails, killed once the earlier numeric text is back", 2, 3, true, "A"},
        {"rename 3 fails, killed once two earlier files are back", 3, 5, true, "A"},
    };
    for (const Cas &c : cas) {
        for (bool parChargement : {true, false}) {
            SCOPED_TRACE(std::string(c.nom) + (parChargement ? ", settled by a load" : ", settled by the next run"));
            fs::remove_all("dossier");
            fs::create_directory("dossier");
            fs::current_path("dossier");
            baseA();
            writeFile("nouveau.txt", kTexteB);
            fs::remove("corpus.txt");
            fs::create_symlink("nouveau.txt", "corpus.txt");
            const int sortie = DansUnFils([&c] {
                int n = 0;
                talmer::fichiers::DefinitRenommage([&n, &c](const char *de, const char *vers) {
                    if (++n == c.tue && !c.apres)
                        _exit(0);
                    if (n == c.echoue) {
                        errno = EIO;
                        return -1;
                    }
                    const int r = std::rename(de, vers);
                    if (n == c.tue)
                        _exit(0);
                    return r;
                });
                segmente("corpus.txt");
                return 1;
            });
            ASSERT_EQ(sortie, 0);
            // Killed while the files change: no parameter file leads to them.
            EXPECT_EQ(fs::exists("corpus.par"), c.tue == 3 && c.apres && c.echoue == 0);
            EXPECT_TRUE(restes());
            const std::string vue = c.vue == std::string("A") ? kVueA : kVueB;
            if (parChargement) {
                // Loaded from elsewhere, through the folder of its parameter file.
                fs::current_path("..");
                EXPECT_EQ(texteDe("dossier/corpus.par"), vue);
                fs::current_path("dossier");
            } else {
                // The next run in the folder, for another text, settles it before anything else.
                writeFile("autre.txt", "autre texte.");
                ASSERT_EQ(segmente("autre.txt"), ResultatSegm::Reussie);
                EXPECT_TRUE(fs::exists("corpus.par"));
                EXPECT_EQ(texteDe("corpus.par"), vue);
            }
            EXPECT_FALSE(restes());

            // Later runs in the folder work as usual.
            fs::remove("corpus.txt");
            writeFile("corpus.txt", kTexteA);
            ASSERT_EQ(segmente("corpus.txt"), ResultatSegm::Reussie);
            EXPECT_FALSE(restes());
            EXPECT_EQ(texteDe("corpus.par"), kVueA);
            fs::current_path("..");
        }
    }
}

TEST_F(Surete, TwoRunsInOneFolderKeepToTheirOwnFiles)
{
    talmer::fichiers::LotTravail autre;
    ASSERT_TRUE(autre.Ouvre());
    const std::string travailAutre = autre.Nom(".txn");
    EXPECT_TRUE(talmer::fichiers::EstNomDeTravail(travailAutre));
    ASSERT_EQ(write(autre.Travail(), "1234", 4), 4);

    // A run in the same folder meanwhile: it neither takes nor removes the other run's work file.
    baseA();
    EXPECT_EQ(readFile(travailAutre), "1234");
    talmer::fichiers::LotTravail troisieme;
    ASSERT_TRUE(troisieme.Ouvre());
    EXPECT_NE(troisieme.Nom(".txn"), travailAutre);
    troisieme.Ferme();

    autre.Ferme();
    EXPECT_FALSE(fs::exists(travailAutre));
    EXPECT_FALSE(restes());
}

TEST_F(Surete, LinksPlantedAtFixedNamesAreNotFollowed)
{
    fs::create_directory("repli");
    talmer::trace::DefinitDossierRepli((fs::current_path() / "repli").string());
    writeFile("victime", "pr\xE9" "cieux");
    writeFile("corpus.txt", kTexteA);

    // The trace: written in the fallback folder instead, and the caller is told where.
    fs::create_symlink("victime", "atrace.txt");
    EXPECT_EQ(VerifCles("corpus.txt"), 0);
    EXPECT_EQ(readFile("victime"), "pr\xE9" "cieux");
    const std::string ailleurs = (fs::current_path() / "repli" / "atrace.txt").string();
    EXPECT_EQ(talmer::trace::Chemin(), ailleurs);
    EXPECT_FALSE(talmer::trace::DansDossierCourant());
    EXPECT_EQ(readFile(ailleurs).rfind("\r\n*****COMPTE-RENDU DE LA SEGMENTATION*****\r\n", 0), 0u);

    // An earlier base file that is a link: replaced, not written through.
    fs::create_symlink("victime", "corpus.dic");
    ASSERT_EQ(segmente("corpus.txt"), ResultatSegm::Reussie);
    EXPECT_EQ(readFile("victime"), "pr\xE9" "cieux");
    EXPECT_FALSE(fs::is_symlink("corpus.dic"));
    EXPECT_EQ(texteDe("corpus.par"), kVueA);

    // The repeated segments' positions file: not opened through the link, so no segments.
    charg1 base;
    ASSERT_EQ(base.ChargeBase("corpus.par"), ChargeReussie);
    fs::create_symlink("victime", "corpus.loc.sr");
    SegRep sr(&base, {});
    sr.CalcSegRep(0, 1);
    EXPECT_FALSE(sr.FichiersOuverts());
    EXPECT_EQ(readFile("victime"), "pr\xE9" "cieux");
}

TEST_F(Surete, ReadOnlyFolder)
{
    // Run as another user when the tests run as root, whom permissions do not stop.
    fs::create_directory("lecture");
    fs::create_directory("repli");
    writeFile("lecture/corpus.txt", kTexteA);
    fs::permissions(".", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    fs::permissions("lecture", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions("repli", fs::perms::all);
    const std::string repli = (fs::current_path() / "repli").string();
    const int sortie = DansUnFils([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 10;
        if (chdir("lecture") != 0)
            return 11;
        talmer::trace::DefinitDossierRepli(repli);
        if (VerifCles("corpus.txt") != 0)
            return 12;
        if (segmente("corpus.txt") != ResultatSegm::DossierInterdit)
            return 13;
        return talmer::trace::Chemin() == repli + "/atrace.txt" ? 0 : 14;
    });
    fs::permissions("lecture", fs::perms::owner_all);
    EXPECT_EQ(sortie, 0);
    EXPECT_EQ(filesHere(), (std::vector<std::string>{"lecture", "repli"}));
    EXPECT_EQ(fs::directory_iterator("lecture")->path().filename(), "corpus.txt");
    const std::string trace = readFile("repli/atrace.txt");
    EXPECT_NE(trace.find(" ne peut pas \xEAtre \xE9" "crit ("), std::string::npos) << trace;
    EXPECT_NE(trace.find("segmentation abandonn\xE9" "e"), std::string::npos);
    EXPECT_STRNE(MessageSegmentation(ResultatSegm::DossierInterdit), "");
}

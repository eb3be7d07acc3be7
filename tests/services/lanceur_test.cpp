// Handing a file to the desktop's launcher: whether it was opened is learnt from the launcher's
// status, without waiting for a browser that the launcher waits for.
#include "services/lanceur.h"

#include "support/lanceur_factice.h"

#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>

namespace fs = std::filesystem;
using namespace talmer::test;

namespace {

// What LanceDocument answered, waited for from the event loop; the number of answers beside it.
struct Reponse {
    std::optional<bool> ouvert;
    int fois = 0;
};

std::shared_ptr<Reponse> Lance(const QString &chemin, int surveillanceMs = DureeSurveillanceLanceur)
{
    auto reponse = std::make_shared<Reponse>();
    LanceDocument(QStringLiteral("xdg-open"), chemin, [reponse](bool ouvert) {
        reponse->ouvert = ouvert;
        ++reponse->fois;
    }, surveillanceMs);
    (void)QTest::qWaitFor([&] { return reponse->ouvert.has_value(); }, 5000);
    return reponse;
}

} // namespace

TEST(LanceDocument, TheLaunchersStatusTellsWhetherTheFileWasOpened)
{
    struct Cas {
        const char *quoi;
        const char *corps;
        bool ouvert;
    };
    const Cas cas[] = {
        {"the browser opened the page", "printf '%s' \"$1\" > recu; exit 0", true},
        // xdg-open's status when no program could open the file, or the browser it ran failed.
        {"no browser could run", "printf '%s' \"$1\" > recu; exit 4", false},
        {"the launcher crashed", "printf '%s' \"$1\" > recu; kill -SEGV $$", false},
    };
    for (const Cas &c : cas) {
        TempDir ici;
        VariableEnv chemin("PATH", FauxLanceur(ici.path() / "bin", c.corps).string());
        const QString page = QString::fromStdString((ici.path() / "une page.html").string());
        writeFile(page.toStdString(), "<p>x</p>");
        const std::shared_ptr<Reponse> reponse = Lance(page);
        ASSERT_TRUE(reponse->ouvert.has_value()) << c.quoi;
        EXPECT_EQ(*reponse->ouvert, c.ouvert) << c.quoi;
        EXPECT_EQ(reponse->fois, 1) << c.quoi;
        // The file's path as one argument.
        EXPECT_EQ(readFile(ici.path() / "recu"), page.toStdString()) << c.quoi;
    }
}

TEST(LanceDocument, NoLauncherOnThePathAnswersAtOnce)
{
    TempDir ici;
    VariableEnv chemin("PATH", (ici.path() / "vide").string());
    std::optional<bool> ouvert;
    LanceDocument(QStringLiteral("xdg-open"), QStringLiteral("/tmp/page.html"), [&](bool o) { ouvert = o; });
    ASSERT_TRUE(ouvert.has_value());
    EXPECT_FALSE(*ouvert);
}

TEST(LanceDocument, ALauncherThatWaitsForItsBrowserIsNotHeldUpNorStopped)
{
    TempDir ici;
    // xdg-open runs the browser it starts and waits for it; the browser later exits in error.
    VariableEnv chemin("PATH", FauxLanceur(ici.path() / "bin", "/bin/sleep 1; printf fini > fin; exit 1").string());
    const std::shared_ptr<Reponse> reponse = Lance(QStringLiteral("/tmp/page.html"), 200);
    ASSERT_TRUE(reponse->ouvert.has_value());
    EXPECT_TRUE(*reponse->ouvert);
    EXPECT_FALSE(fs::exists(ici.path() / "fin")); // answered while the browser is still open
    // Left to run to its end; its late status changes nothing.
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(ici.path() / "fin"); }, 5000));
    QTest::qWait(300);
    EXPECT_TRUE(*reponse->ouvert);
    EXPECT_EQ(reponse->fois, 1);
}

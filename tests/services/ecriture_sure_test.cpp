// Files written under a temporary name: a write the system refuses, whole or in part, says why
// and which file, and leaves nothing behind; an earlier file stays as it was.
#include "platform/qt/ecriture_sure.h"

#include "platform/qt/codepage.h"
#include "services/configuration.h"
#include "services/creationcorpus.h"
#include "services/rapport.h"
#include "services/textesource.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "support/limites.h"
#include "support/tempdir.h"

#include <QImage>
#include <QRandomGenerator>
#include <QStandardItemModel>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>

#include <sys/stat.h>

namespace fs = std::filesystem;
using talmer::EchecEcriture;
using talmer::EcritFichierSur;
using talmer::FichierSur;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

const auto Fichiers = talmer::test::FichiersIci;

QString Message(bool ecrit, const EchecEcriture &echec)
{
    return ecrit ? QString() : MessageEcriture(echec);
}

class EcritureSure : public talmer::test::InTempDir {};

} // namespace

TEST_F(EcritureSure, AWriteCutShortSaysWhyAndWhichFileAndLeavesNothing)
{
    // Everything the writers read is made before the limit.
    writeFile("source.txt", std::string(300, 'a') + "\n");
    std::string utf8;
    for (int i = 0; i < 40; ++i)
        utf8 += "\xC3\xA9t\xC3\xA9 ";
    writeFile("utf8.txt", utf8);
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, QRandomGenerator::global()->generate());
    ConfigurationT3 configuration;
    fs::create_directory("tmp");
    talmer::test::VariableEnv temp("TEMP", (fs::current_path() / "tmp").string());
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, nullptr, CaracteristiquesBase{});
    const talmer::CodePage cp1252("1252");
    talmer::CreationCorpus corpus([&](const QString &s) { return cp1252.DepuisUnicode(s); },
                                  [](const QString &, std::vector<std::string> &, QString &) { return false; });
    ASSERT_TRUE(corpus.Ajoute(QStringLiteral("source.txt")));

    struct Cas {
        const char *nom;
        std::function<QString()> ecrit;
        QString fichier;  // what the message must name
    };
    const Cas cas[] = {
        {"bytes at once",
         [] {
             EchecEcriture e;
             return Message(EcritFichierSur(QStringLiteral("octets.bin"), QByteArray(200, 'x'), &e), e);
         },
         QStringLiteral("«\u00A0octets.bin\u00A0»")},
        {"bytes piece by piece, their failure unchecked",
         [] {
             EchecEcriture e;
             const bool ok = EcritFichierSur(
                 QStringLiteral("morceaux.txt"),
                 [](QIODevice &f) {
                     for (int i = 0; i < 20; ++i)
                         f.write("0123456789");
                     return true;
                 },
                 &e);
             return Message(ok, e);
         },
         QStringLiteral("«\u00A0morceaux.txt\u00A0»")},
        {"picture",
         [&] {
             QString erreur;
             SauveBitmapJpeg(image, QStringLiteral("image.jpg"), 30, &erreur);
             return erreur;
         },
         QStringLiteral("image.jpg")},
        {"settings",
         [&] {
             QString erreur;
             configuration.Save(&erreur);
             return erreur;
         },
         QStringLiteral("talmer3.conf")},
        {"built corpus", [&] { return corpus.Ecrit(QStringLiteral("corpus.txt"), "titre", ""); },
         QStringLiteral("«\u00A0corpus.txt\u00A0»")},
        {"converted text", [&] { return talmer::ConvertitTexteUtf8(QStringLiteral("utf8.txt"), cp1252).erreur; },
         QStringLiteral("utf8_cp1252.txt")},
        {"report folder",
         [&] {
             QString erreur;
             rapport.Genere(QStringLiteral("sortie"), &erreur);
             return erreur;
         },
         QStringLiteral("xml/rapport.xml\u00A0»")},
    };
    for (const Cas &c : cas) {
        const std::set<std::string> avant = Fichiers();
        QString message;
        {
            talmer::test::LimiteTailleFichiers limite(16);
            message = c.ecrit();
        }
        EXPECT_TRUE(message.contains(c.fichier)) << c.nom << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral(" : fichier trop volumineux"))) << c.nom << ": " << message.toStdString();
        EXPECT_EQ(Fichiers(), avant) << c.nom;
    }
    rapport.Abandonne();
}

TEST_F(EcritureSure, AnEarlierFileStaysAsItWasAndALinkStaysALink)
{
    writeFile("garde.txt", "ancien");
    ::chmod("garde.txt", 0640);
    EchecEcriture echec;
    {
        talmer::test::LimiteTailleFichiers limite(16);
        EXPECT_FALSE(EcritFichierSur(QStringLiteral("garde.txt"), QByteArray(100, 'n'), &echec));
    }
    EXPECT_EQ(echec.code, EFBIG);
    EXPECT_EQ(readFile("garde.txt"), "ancien");
    EXPECT_EQ(Fichiers(), std::set<std::string>{"./garde.txt"});

    // Replaced once whole, with its permissions.
    ASSERT_TRUE(EcritFichierSur(QStringLiteral("garde.txt"), QByteArray("nouveau")));
    EXPECT_EQ(readFile("garde.txt"), "nouveau");
    EXPECT_EQ(fs::status("garde.txt").permissions(), fs::perms(0640));

    // Through a link the file it points to is written.
    fs::create_symlink("garde.txt", "lien.txt");
    ASSERT_TRUE(EcritFichierSur(QStringLiteral("lien.txt"), QByteArray("par le lien")));
    EXPECT_TRUE(fs::is_symlink("lien.txt"));
    EXPECT_EQ(readFile("garde.txt"), "par le lien");

    // A file that must not be written over: refused when it is there at the start, or when it
    // comes while the new one is written.
    FichierSur refuse(QStringLiteral("garde.txt"), FichierSur::Remplacement::JamaisRemplacer);
    EXPECT_FALSE(refuse.Ouvre());
    EXPECT_EQ(refuse.Echec().code, EEXIST);
    FichierSur neuf(QStringLiteral("neuf.txt"), FichierSur::Remplacement::JamaisRemplacer);
    ASSERT_TRUE(neuf.Ouvre());
    EXPECT_EQ(neuf.write("le sien"), 7);
    writeFile("neuf.txt", "un autre");
    EXPECT_FALSE(neuf.Termine());
    EXPECT_EQ(neuf.Echec().code, EEXIST);
    EXPECT_EQ(neuf.Echec().fichier, QStringLiteral("neuf.txt"));
    EXPECT_EQ(readFile("neuf.txt"), "un autre");

    // A producer that throws leaves nothing either.
    EXPECT_THROW(EcritFichierSur(QStringLiteral("jete.txt"),
                                 [](QIODevice &f) -> bool {
                                     f.write("debut");
                                     throw std::runtime_error("arrêt");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(Fichiers(), (std::set<std::string>{"./garde.txt", "./lien.txt", "./neuf.txt"}));
}

TEST(RaisonEcriture, FrenchForTheCommonReasonsThroughTheCatalogueElseTheSystemsOwn)
{
    const EchecEcriture plein{QStringLiteral("/tmp/tfg.html"), ENOSPC};
    EXPECT_EQ(MessageEcriture(plein),
              QString::fromUtf8("Impossible d'écrire «\u00A0/tmp/tfg.html\u00A0» : plus d'espace sur le disque"));
    EXPECT_EQ(RaisonEcriture({QStringLiteral("f"), EDQUOT}), QString::fromUtf8("quota de disque dépassé"));
    EXPECT_EQ(RaisonEcriture({QStringLiteral("f"), EROFS}), QString::fromUtf8("système de fichiers en lecture seule"));
    EXPECT_EQ(RaisonEcriture({QStringLiteral("f"), ENAMETOOLONG}), QString::fromLocal8Bit(std::strerror(ENAMETOOLONG)));

    ASSERT_TRUE(InitialiseTraduction(QStringLiteral("en")));
    const QString anglais = MessageEcriture(plein);
    InitialiseTraduction(QStringLiteral("fr"));
    EXPECT_EQ(anglais, QStringLiteral("Cannot write \u201C/tmp/tfg.html\u201D: no space left on device"));
}

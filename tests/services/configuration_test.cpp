// "talmer3.conf": the line rule, numart and charset read back, the 16-row table, Save.
#include "services/configuration.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

using talmer::test::InTempDir;
using talmer::test::readFile;
using talmer::test::writeFile;

class ConfigurationTest : public InTempDir {
protected:
    // Where the configuration keeps its file (the folder is made here so that tests can write it).
    std::filesystem::path conf() const
    {
        const std::filesystem::path dossier = ConfigurationT3::DossierParDefaut().toStdString();
        std::filesystem::create_directories(dossier);
        return dossier / "talmer3.conf";
    }
};

TEST_F(ConfigurationTest, NoFileGivesDefaultsAndWritesNothing)
{
    ConfigurationT3 config;
    EXPECT_EQ(config.GetNumart(), 100000);
    EXPECT_EQ(config.GetCharsetIndex(), 0);
    EXPECT_EQ(config.GetCharset().GetName(), "Ansi(Latin1)");
    EXPECT_EQ(config.GetCharset().GetHtmlCharset(), "windows-1252");
    EXPECT_FALSE(std::filesystem::exists(conf()));
    EXPECT_EQ(config.FileName(), "talmer3.conf");
    EXPECT_EQ(config.KeyNumart(), "numart");
    EXPECT_EQ(config.KeyCharset(), "charset");
    EXPECT_EQ(config.KeyLangue(), "langue");
}

TEST_F(ConfigurationTest, LineRule)
{
    struct Cas {
        const char *contenu;
        EntreesDeFichierIni attendu;
    };
    const Cas cas[] = {
        {"numart=5000\r\n", {{"numart", "5000"}}},
        {"numart==5000\r\n", {{"numart", "5000"}}},
        {"=numart=5000\n", {{"numart", "5000"}}},
        {"numart=5000=extra\n", {{"numart", "5000"}}},
        {"numart = 5000\r\n", {{"numart ", " 5000"}}},
        {"numart=\r\n", {}},
        {"numart\r\n=\r\n\r\n", {}},
        {"numart=250000\r\nnumart=300000\r\n", {{"numart", "300000"}}},
        {"charset=2\nnumart=7", {{"charset", "2"}, {"numart", "7"}}},
        {"a=b\rc\r\n", {{"a", "b\rc"}}},
    };
    for (const Cas &c : cas) {
        writeFile(conf(), c.contenu);
        ConfigurationT3 config;
        EXPECT_EQ(config.ReadFile(), c.attendu) << c.contenu;
    }
}

TEST_F(ConfigurationTest, NumartAsCIntegerLiteralWithinBounds)
{
    struct Cas {
        const char *contenu;
        std::int32_t numart;
    };
    const Cas cas[] = {
        {"numart=250000\r\nnumart=300000\r\n", 300000},
        {"numart=0x100\r\n", 256},
        {"numart=0100\r\n", 64},
        {"numart=200000abc\r\n", 200000},
        {"charset=3\r\n", 100000},      // no numart line
        {"numart = 5000\r\n", 100000},  // the key ends in a blank: not numart
        // Values the segmenter cannot be sized with keep the default.
        {"numart=abc\r\n", 100000},
        {"numart=0\r\n", 100000},
        {"numart=-5\r\n", 100000},
        {"numart=99999999999\r\n", 100000},
        {"numart=4999743\r\n", 100000},
        {"numart=4999742\r\n", 4999742},
        {"numart=1\r\n", 1},
    };
    for (const Cas &c : cas) {
        writeFile(conf(), c.contenu);
        ConfigurationT3 config;
        EXPECT_EQ(config.GetNumart(), c.numart) << c.contenu;
    }
}

TEST_F(ConfigurationTest, CharsetReadBackWithinTheTable)
{
    struct Cas {
        const char *contenu;
        std::int32_t index;
    };
    const Cas cas[] = {
        {"charset=2\r\n", 2}, {"charset=15\r\n", 15}, {"charset=0x4\r\n", 4}, {"charset=16\r\n", 0},
        {"charset=-1\r\n", 0}, {"charset=x\r\n", 0},  {"numart=5\r\n", 0},
    };
    for (const Cas &c : cas) {
        writeFile(conf(), c.contenu);
        ConfigurationT3 config;
        EXPECT_EQ(config.GetCharsetIndex(), c.index) << c.contenu;
        EXPECT_EQ(config.GetCharset(), ConfigurationT3::TableDesCharsets()[static_cast<std::size_t>(c.index)]);
    }
}

TEST_F(ConfigurationTest, TableOfSixteenSets)
{
    ConfigurationT3 config;
    const auto table = config.GetCharsetTable();
    ASSERT_EQ(table.size(), 16u);
    struct Ligne {
        const char *nom;
        int fonte;
        bool rtl;
        const char *html;
    };
    // Pages and XML declarations must name a charset that browsers and parsers know: the
    // registered name where "windows-" + the code page is not one.
    const Ligne attendu[16] = {
        {"Ansi(Latin1)", 0, false, "windows-1252"},
        {"Cyrillique", 204, false, "windows-1251"},
        {"Grec", 161, false, "windows-1253"},
        {"Japonais(Shift JIS)", 128, false, "Shift_JIS"},
        {"Arabe", 178, true, "windows-1256"},
        {"Hébreu", 177, true, "windows-1255"},
        {"Baltique", 186, false, "windows-1257"},
        {"Chinois traditionnel(Big 5)", 136, false, "Big5"},
        {"Chinois simplifié(Mainland China)", 134, false, "GBK"},
        {"Turc", 162, false, "windows-1254"},
        {"Vietnamien", 163, false, "windows-1258"},
        {"Coréen(Wansung)", 129, false, "EUC-KR"},
        {"Coréen(Johab)", 130, false, "Johab"},
        {"Thaïlandais", 222, false, "windows-874"},
        {"Europe centrale", 238, false, "windows-1250"},
        {"Texte DOS", 255, false, "IBM850"},
    };
    for (int i = 0; i < 16; ++i) {
        const ConfigurationDeFonte &f = table[static_cast<std::size_t>(i)];
        EXPECT_EQ(f.GetName(), attendu[i].nom) << i;
        EXPECT_EQ(f.GetFontCharset(), attendu[i].fonte) << i;
        EXPECT_EQ(f.IsRightToLeft(), attendu[i].rtl) << i;
        EXPECT_EQ(f.GetDirection(), attendu[i].rtl ? "RTL" : "LTR") << i;
        EXPECT_EQ(f.GetHtmlCharset(), attendu[i].html) << i;
    }
}

TEST_F(ConfigurationTest, SelectingARow)
{
    ConfigurationT3 config;
    config.SetCharsetIndex(4);
    EXPECT_EQ(config.GetCharsetIndex(), 4);
    EXPECT_EQ(config.GetCharset().GetHtmlCharset(), "windows-1256");
    EXPECT_EQ(config.GetCharset().GetDirection(), "RTL");
    EXPECT_TRUE(config.GetCharset().IsRightToLeft());
    config.SetCharsetIndex(9);
    EXPECT_EQ(config.GetCharset().GetHtmlCharset(), "windows-1254");
    // Out of the table: row 0.
    config.SetCharsetIndex(16);
    EXPECT_EQ(config.GetCharsetIndex(), 0);
    EXPECT_EQ(config.GetCharset().GetName(), "Ansi(Latin1)");
}

TEST_F(ConfigurationTest, SaveWritesTheTwoLinesAndReadsBack)
{
    {
        ConfigurationT3 config;
        config.SetNumart(200000);
        config.SetCharsetIndex(2);
        QString erreur;
        ASSERT_TRUE(config.Save(&erreur)) << erreur.toStdString();
    }
    EXPECT_EQ(readFile(conf()), "numart=200000\r\ncharset=2\r\n");
    ConfigurationT3 relue;
    EXPECT_EQ(relue.GetNumart(), 200000);
    EXPECT_EQ(relue.GetCharsetIndex(), 2);
    EXPECT_EQ(relue.GetCharset().GetName(), "Grec");

    // Saving again replaces the file and leaves no temporary file.
    relue.SetNumart(7);
    ASSERT_TRUE(relue.Save());
    EXPECT_EQ(readFile(conf()), "numart=7\r\ncharset=2\r\n");
    int fichiers = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(conf().parent_path()))
        ++fichiers;
    EXPECT_EQ(fichiers, 1);
}

TEST_F(ConfigurationTest, TheFileStaysInTheUsersConfigurationFolder)
{
    // The folder comes from the user's configuration home, not from the current directory.
    const std::filesystem::path home = dir_.path() / "config";
    const std::string dossier = ConfigurationT3::DossierParDefaut().toStdString();
    EXPECT_EQ(dossier.rfind(home.string() + "/", 0), 0u) << dossier;
    {
        ConfigurationT3 config;
        EXPECT_EQ(config.Chemin().toStdString(), dossier + "/talmer3.conf");
        config.SetNumart(4321);
        config.SetCharsetIndex(9);
        ASSERT_TRUE(config.Save());
    }
    // Opening a base changes the current directory: the settings are found all the same.
    std::filesystem::create_directory("corpus");
    std::filesystem::current_path("corpus");
    ConfigurationT3 relue;
    EXPECT_EQ(relue.GetNumart(), 4321);
    EXPECT_EQ(relue.GetCharsetIndex(), 9);
    EXPECT_FALSE(std::filesystem::exists("talmer3.conf"));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "talmer3.conf"));
    EXPECT_EQ(readFile(dossier + "/talmer3.conf"), "numart=4321\r\ncharset=9\r\n");
}

TEST_F(ConfigurationTest, FailedSaveIsReported)
{
    // A folder named like the file: it "exists", reads as nothing, and cannot be replaced.
    std::filesystem::create_directory(conf());
    ConfigurationT3 config;
    EXPECT_EQ(config.GetNumart(), 100000);
    QString erreur;
    EXPECT_FALSE(config.Save(&erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("talmer3.conf")));
    // A configuration folder that cannot be made is reported too.
    writeFile(dir_.path() / "fichier", "x");
    ConfigurationT3 ailleurs(QString::fromStdString((dir_.path() / "fichier" / "Talmer3").string()));
    erreur.clear();
    EXPECT_FALSE(ailleurs.Save(&erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(conf()));
}

TEST_F(ConfigurationTest, ProgramWideConfiguration)
{
    EXPECT_EQ(JeuDAffichage().GetName(), "Ansi(Latin1)");
    ConfigurationT3 config;
    config.SetCharsetIndex(5);
    FixeConfigurationProgramme(&config);
    EXPECT_EQ(ConfigurationProgramme(), &config);
    EXPECT_EQ(JeuDAffichage().GetHtmlCharset(), "windows-1255");
    FixeConfigurationProgramme(nullptr);
    EXPECT_EQ(JeuDAffichage().GetCodePage(), "1252");
}

// Code pages of the sixteen display character sets, to and from Unicode.
#include "platform/qt/codepage.h"
#include "services/affichage.h"
#include "services/configuration.h"

#include <gtest/gtest.h>

using talmer::CodePage;

namespace {

std::string hex(const std::string &s)
{
    static const char h[] = "0123456789ABCDEF";
    std::string r;
    for (unsigned char c : s) {
        r += h[c >> 4];
        r += h[c & 15];
        r += ' ';
    }
    return r;
}

} // namespace

TEST(CodePage, EveryRowOfTheTableIsKnown)
{
    for (const ConfigurationDeFonte &f : ConfigurationT3::TableDesCharsets()) {
        CodePage cp(f.GetCodePage());
        EXPECT_TRUE(cp.Valide()) << f.GetName() << " " << f.GetCodePage();
    }
}

TEST(CodePage, RoundTripsOfEachRow)
{
    // A text of each script and the bytes its code page gives it.
    struct Cas {
        const char *page;
        const char *texteUtf8;
        const char *octets; // nullptr: round trip only
    };
    const Cas cas[] = {
        {"1252", "été € œ", "\xE9t\xE9 \x80 \x9C"},
        {"1251", "Жизнь", "\xC6\xE8\xE7\xED\xFC"},
        {"1253", "Ωμέγα", "\xD9\xEC\xDD\xE3\xE1"},
        {"932", "日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
        {"1256", "كتاب", "\xDF\xCA\xC7\xC8"},
        {"1255", "שלום", "\xF9\xEC\xE5\xED"},
        {"1257", "ąčę", "\xE0\xE8\xE6"},
        {"950", "中文", "\xA4\xA4\xA4\xE5"},
        {"936", "中文", "\xD6\xD0\xCE\xC4"},
        {"1254", "şğı", "\xFE\xF0\xFD"},
        {"1258", "ư đ", "\xFD \xF0"},
        {"949", "한국어", "\xC7\xD1\xB1\xB9\xBE\xEE"},
        {"1361", "한국어", "\xD0\x65\x8A\x82\xB4\xE1"},
        {"874", "ภาษาไทย", "\xC0\xD2\xC9\xD2\xE4\xB7\xC2"},
        {"1250", "řšž", "\xF8\x9A\x9E"},
        {"850", "éàç", "\x82\x85\x87"},
    };
    ASSERT_EQ(std::size(cas), ConfigurationT3::TableDesCharsets().size());
    for (const Cas &c : cas) {
        CodePage cp(c.page);
        ASSERT_TRUE(cp.Valide()) << c.page;
        const QString texte = QString::fromUtf8(c.texteUtf8);
        bool complet = false;
        const std::string octets = cp.DepuisUnicode(texte, &complet);
        EXPECT_TRUE(complet) << c.page;
        if (c.octets) {
            EXPECT_EQ(hex(octets), hex(c.octets)) << c.page;
        }
        EXPECT_EQ(cp.VersUnicode(octets), texte) << c.page;
        EXPECT_EQ(cp.DepuisUnicodeAvecReferences(texte), octets) << c.page;
    }
}

TEST(CodePage, EveryByteOfTheSingleByteCodePages)
{
    for (const char *page : {"1252", "1251", "1253", "1256", "1255", "1257", "1254", "1258", "874", "1250", "850"}) {
        CodePage cp(page);
        int definis = 0;
        for (int b = 0x20; b < 0x100; ++b) {
            const std::string octet(1, static_cast<char>(b));
            const QString u = cp.VersUnicode(octet);
            ASSERT_EQ(u.size(), 1) << page << " " << b;
            if (u.at(0) == QChar(0xFFFD))
                continue;
            ++definis;
            EXPECT_EQ(cp.DepuisUnicode(u), octet) << page << " " << b;
        }
        EXPECT_GT(definis, 180) << page;
    }
}

TEST(CodePage, CharactersTheCodePageLacks)
{
    CodePage cp("1252");
    bool complet = true;
    EXPECT_EQ(cp.DepuisUnicode(QString::fromUtf8("aЖb"), &complet), "a?b");
    EXPECT_FALSE(complet);
    EXPECT_EQ(cp.DepuisUnicodeAvecReferences(QString::fromUtf8("été Ж 😀")), "\xE9t\xE9 &#1046; &#128512;");
    // A byte the code page does not define.
    EXPECT_EQ(cp.VersUnicode("a\x81" "b"), QString::fromUtf8("a\xEF\xBF\xBD" "b"));
    // A double-byte sequence cut short.
    CodePage sjis("932");
    EXPECT_EQ(sjis.VersUnicode("\x93\xFA\x96"), QString::fromUtf8("日\xEF\xBF\xBD"));
    EXPECT_EQ(cp.VersUnicode(""), QString());
    EXPECT_EQ(cp.DepuisUnicode(QString()), "");
}

TEST(CodePage, UnknownNumberFallsBackToLatin1)
{
    CodePage cp("9999");
    EXPECT_FALSE(cp.Valide());
    EXPECT_EQ(cp.VersUnicode("\xE9"), QString::fromUtf8("é"));
    EXPECT_EQ(cp.DepuisUnicode(QString::fromUtf8("éЖ")), "\xE9?");
    EXPECT_FALSE(CodePage("CP1252").Valide());
    EXPECT_EQ(CodePage::NomIconvDe("1252"), "CP1252");
    EXPECT_EQ(CodePage::NomIconvDe("1361"), "JOHAB");
    EXPECT_EQ(CodePage::NomIconvDe(""), "");
}

TEST(CodePage, DisplayCodePageFollowsTheConfiguration)
{
    ConfigurationT3 config;
    FixeConfigurationProgramme(&config);
    EXPECT_EQ(EnUnicode("\xE9t\xE9"), QString::fromUtf8("été"));
    EXPECT_EQ(EnCodePage(QString::fromUtf8("été")), "\xE9t\xE9");
    config.SetCharsetIndex(1); // Cyrillic
    EXPECT_EQ(EnUnicode("\xC6"), QString::fromUtf8("Ж"));
    EXPECT_EQ(EnCodePageHtml(QString::fromUtf8("Жé")), "\xC6&#233;");
    FixeConfigurationProgramme(nullptr);
    EXPECT_EQ(EnUnicode("\xE9"), QString::fromUtf8("é"));
}

// Regular expressions on code-page bytes: classes of accented letters, errors that are never
// matches, literal texts.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "platform/core/motif.h"

#include <gtest/gtest.h>
#include <pcre2.h>

#include <clocale>
#include <cstring>
#include <string>

using talmer::platform::Motif;
using talmer::platform::MotifLitteral;

namespace {

struct Cas {
    const char *codePage;
    const char *expression;
    std::string sujet;
    bool correspond;
};

} // namespace

TEST(Motif, ClassesAndCaseOfTheCodePage)
{
    const Cas cas[] = {
        {"1252", "^[[:alpha:]]$", "\xE9", true},          // é
        {"1252", "^[[:alpha:]]+$", "\xC9t\xE9", true},    // Été
        {"1252", "^\\w+$", "gar\xE7on", true},            // garçon
        {"1252", "^[[:lower:]]$", "\xE0", true},          // à
        {"1252", "^[[:upper:]]$", "\xC0", true},          // À
        {"1252", "^[[:upper:]]$", "\xE0", false},
        {"1252", "(?i)^\xE9t\xE9$", "\xC9T\xC9", true},   // été / ÉTÉ
        {"1252", "(?i)^\xFF$", "\x9F", true},             // ÿ / Ÿ (0x9F in Windows-1252)
        {"1252", "(?i)^\x9C" "uvre$", "\x8C" "UVRE", true}, // œ / Œ
        {"1252", "^[[:alpha:]]$", "\x80", false},         // the euro sign is no letter
        {"1252", "^[[:punct:]]$", "\xAB", true},          // «
        {"1252", "^[[:digit:]]$", "\xB2", false},         // ² is not a decimal digit
        {"1252", "^\\d+$", "2026", true},
        {"1251", "^[[:alpha:]]+$", "\xEC\xE8\xF0", true}, // мир
        {"1251", "(?i)^\xEC\xE8\xF0$", "\xCC\xC8\xD0", true},
        {"1253", "^[[:lower:]]$", "\xE1", true},          // α
        {"", "^[[:alpha:]]$", "\xE9", false},             // unknown code page: ASCII classes only
        {"1252", "^a.c$", std::string("a\0c", 3), true},  // any byte, NUL included
        {"1252", "b", "abc", true},                        // unanchored: anywhere in the subject
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(std::string(c.codePage) + " " + c.expression);
        Motif motif(c.expression, c.codePage);
        ASSERT_TRUE(motif.Valide()) << motif.MessageErreur();
        EXPECT_EQ(motif.Cherche(c.sujet),
                  c.correspond ? Motif::Resultat::Correspond : Motif::Resultat::NeCorrespondPas);
    }
}

TEST(Motif, AsciiPartOfTheTablesIsPcre2sOwn)
{
    // The tables of a code page keep PCRE2's classes of the C locale for ASCII: lower-case and
    // flip maps, the ten class bitmaps and the type bytes.
    const char *avant = std::setlocale(LC_CTYPE, nullptr);
    const std::string garde = avant ? avant : "C";
    std::setlocale(LC_CTYPE, "C");
    const std::uint8_t *reference = pcre2_maketables(nullptr);
    std::setlocale(LC_CTYPE, garde.c_str());
    ASSERT_NE(reference, nullptr);
    const std::uint8_t *nos = Motif::Tables("1252");
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(nos[i], reference[i]) << "lcc " << i;
        EXPECT_EQ(nos[256 + i], reference[256 + i]) << "fcc " << i;
        EXPECT_EQ(nos[832 + i], reference[832 + i]) << "ctypes " << i;
    }
    for (int carte = 0; carte < 10; ++carte)
        for (int octet = 0; octet < 16; ++octet)
            EXPECT_EQ(nos[512 + carte * 32 + octet], reference[512 + carte * 32 + octet])
                << "class map " << carte << " byte " << octet;
    pcre2_maketables_free(nullptr, reference);
    EXPECT_EQ(Motif::Tables("1252"), nos);  // built once
}

TEST(Motif, CompileErrorGivesMessageAndOffsetAndNeverMatches)
{
    Motif motif("ab(c", "1252");
    EXPECT_FALSE(motif.Valide());
    EXPECT_EQ(motif.MessageErreur(), "missing closing parenthesis");
    EXPECT_EQ(motif.PositionErreur(), 4u);
    EXPECT_EQ(motif.Cherche("abc"), Motif::Resultat::Erreur);
    EXPECT_EQ(motif.Cherche(""), Motif::Resultat::Erreur);

    Motif quantifieur("*a", "1252");
    EXPECT_FALSE(quantifieur.Valide());
    EXPECT_EQ(quantifieur.MessageErreur(), "quantifier does not follow a repeatable item");
    EXPECT_EQ(quantifieur.PositionErreur(), 0u);
}

TEST(Motif, MatchLimitIsAnErrorNotAMatchNorANoMatch)
{
    // Nested quantifiers on a subject that almost matches: the search gives up at the match limit.
    Motif motif("^(a+)+$", "1252");
    ASSERT_TRUE(motif.Valide());
    EXPECT_EQ(motif.Cherche(std::string(20, 'a')), Motif::Resultat::Correspond);
    EXPECT_EQ(motif.Cherche(std::string(40, 'a') + "b"), Motif::Resultat::Erreur);
    EXPECT_EQ(motif.CodeDerniereErreur(), PCRE2_ERROR_MATCHLIMIT);
    EXPECT_FALSE(motif.MessageDerniereErreur().empty());
    // The same object goes on matching afterwards.
    EXPECT_EQ(motif.Cherche("aaa"), Motif::Resultat::Correspond);
    EXPECT_EQ(motif.Cherche("aab"), Motif::Resultat::NeCorrespondPas);
}

TEST(Motif, LiteralTextMatchesOnlyItself)
{
    const std::string textes[] = {"c++", "etc.", "[x]", "a|b", "(?i)", "\\Q\\E", "$1^", std::string("a\0b", 3),
                                  "\xE9t\xE9 ?"};
    for (const std::string &t : textes) {
        SCOPED_TRACE(t);
        Motif motif("^" + MotifLitteral(t) + "$", "1252");
        ASSERT_TRUE(motif.Valide()) << motif.MessageErreur();
        EXPECT_EQ(motif.Cherche(t), Motif::Resultat::Correspond);
        EXPECT_EQ(motif.Cherche(t + "x"), Motif::Resultat::NeCorrespondPas);
        EXPECT_EQ(motif.Cherche(t.substr(1)), Motif::Resultat::NeCorrespondPas);
    }
    Motif c("^" + MotifLitteral("c++") + "$", "1252");
    EXPECT_EQ(c.Cherche("ccc"), Motif::Resultat::NeCorrespondPas);
    EXPECT_EQ(c.Cherche("c"), Motif::Resultat::NeCorrespondPas);
}

// Key checker: fault count and trace lines byte for byte.
#include "engine/verifcles.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using talmer::test::InTempDir;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

const std::string kDebut = "\r\n*****COMPTE-RENDU DE LA SEGMENTATION*****\r\n\r\n"
                           "Fichier -- t.txt -- ouvert pour v\xE9rification";
const std::string kFin = "\r\n*****Fin de la v\xE9rification******";

} // namespace

class KeyCheck : public InTempDir {};

TEST_F(KeyCheck, FaultsAndTraceLines)
{
    struct Case {
        const char *name;
        std::string text;
        std::int32_t faults;
        std::string lines;  // trace between the opening and the closing lines
    };
    const std::vector<Case> cases = {
        {"well formed", "<auteur=Hugo> <auteur = Hugo >", 0, ""},
        {"blank in type", "<au teur=Hugo>", 1,
         "\r\nL    1 Cl\xE9 incorrecte (espace dans type) \t\t: <au teur=Hugo>"},
        {"blank in content", "<auteur=Victor Hugo>", 1,
         "\r\nL    1 Cl\xE9 incorrecte (espace dans contenu)  : <auteur=Victor Hugo>"},
        {"no content", "<auteur=>", 1, "\r\nL    1 Cl\xE9 incorrecte (pas de contenu) \t\t: <auteur=>"},
        {"no equals sign", "<auteur>", 1, "\r\nL    1 Cl\xE9 incorrecte (pas d'=)\t\t\t\t\t: <auteur>"},
        // The unclosed stretch ends at the next '<', which opens the next stretch; the line feed
        // inside it is counted.
        {"unclosed", "<auteur=Hugo\n<date=1830>", 1,
         "\r\nL    2 Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: <auteur=Hugo\r\n<"},
        // A stray '>' is reported but is no fault.
        {"stray closing", "a > b", 0,
         "\r\nL    1 Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: Mauvais emplacement de balise de fermeture"},
        // Line numbers count CR LF as one line feed.
        {"crlf lines", "<a=b>\r\n\r\n<a b=c>", 1, "\r\nL    3 Cl\xE9 incorrecte (espace dans type) \t\t: <a b=c>"},
        // Empty type and blank value pass the checker.
        {"empty parts pass", "<=x> <x= >", 0, ""},
        // Several lines from one stretch: no '=' and nothing after the '<'.
        {"empty marker", "<>", 2,
         "\r\nL    1 Cl\xE9 incorrecte (pas d'=)\t\t\t\t\t: <>"
         "\r\nL    1 Cl\xE9 incorrecte (pas de contenu) \t\t: <>"},
        // Without '=' the checks on the content look at the whole stretch.
        {"unclosed with blank", "<auteur Victor Hugo", 2,
         "\r\nL    1 Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: <auteur Victor Hugo"
         "\r\nL    1 Cl\xE9 incorrecte (espace dans contenu)  : <auteur Victor Hugo"},
        // A stretch is cut after 249 characters; the '>' left behind is then a stray one.
        {"long stretch", "<" + std::string(260, 'a') + ">", 1,
         "\r\nL    1 Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: <" + std::string(249, 'a') +
             "\r\nL    1 Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: Mauvais emplacement de balise de fermeture"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("t.txt", c.text);
        EXPECT_EQ(VerifCles("t.txt"), c.faults);
        EXPECT_EQ(readFile("atrace.txt"), kDebut + c.lines + kFin);
    }
}

TEST_F(KeyCheck, SecondCheckStartsAfresh)
{
    writeFile("t.txt", "\n\n<a b=c>");
    EXPECT_EQ(VerifCles("t.txt"), 1);
    EXPECT_EQ(VerifCles("t.txt"), 1);
    EXPECT_EQ(readFile("atrace.txt"), kDebut + "\r\nL    3 Cl\xE9 incorrecte (espace dans type) \t\t: <a b=c>" + kFin);
}

TEST_F(KeyCheck, UnreadableTextIsAFailureNotAnExit)
{
    EXPECT_EQ(VerifCles("absent.txt"), -1);
    EXPECT_EQ(readFile("atrace.txt"), "\r\n*****COMPTE-RENDU DE LA SEGMENTATION*****\r\n\r\n"
                                      "\r\nfichier absent.txt pas ouvert !");
}

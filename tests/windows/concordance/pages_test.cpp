// Concordance pages of a small base, byte for byte: contexts cut to their length, the three
// orders, grouping by part, the report page and its XML fragment; the history of requests.
#include "windows/concordance/historique.h"
#include "windows/concordance/pages.h"

#include "engine/base_fixture.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "services/affichage.h"
#include "services/jeu_affichage.h"
#include "support/jeu_affichage.h"
#include "windows/segments/ordre_segments.h"

#include <QDateTime>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using talmer::Concordance;
using talmer::Contexte;
using talmer::ContexteOccurrence;
using talmer::Entete;

namespace {

// Positions: 0 debut, 1-2 <p=un>, 3 le, 4 chien, 5 voit, 6 le, 7 chat, 8 ".", 9 line break,
// 10-11 <p=deux>, 12 le, 13 chat, 14 voit, 15 r&d, 16 ".", 17 line break.
// Forms: 0 le (3), 1 chat (2), 2 voit (2), 3 chien, 4 debut, 5 r&d; alphabetical order chat,
// chien, debut, le, r&d, voit.
const char *const Texte = "debut <p=un> le chien voit le chat .\n<p=deux> le chat voit r&d .\n";

// The three lines of "le" with contexts of 10 bytes.
const std::string L3 = "     debut&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chien voit \n";
const std::string L6 = "chien voit&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chat . le \n";
const std::string L12 = " le chat .&nbsp;<span class=\"tgenstyle\">le</span>&nbsp;chat voit \n";

const std::string Tete = "<html>\n<head>\n"
                         "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />"
                         "<title>Concordance</title>\n</head>\n"
                         "<style type=\"text/css\">\n.tgenstyle {font-weight: bold;\ncolor: #0000ff;}\n</style>"
                         "<body bgcolor=\"#ffffff\" dir=\"LTR\">\n";
const std::string Fin = "</font></pre></body></html>";

class PagesTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base_ = talmer::test::makeBase(Texte, ".");
        ASSERT_TRUE(base_);
        const char *formes[] = {"le", "chat", "voit", "chien", "debut", "r&d"};
        for (std::int32_t n = 0; n < 6; ++n)
            ASSERT_EQ(base_->LocFormDic(formes[n], true), n) << formes[n];
        entete_.couleur = "#0000ff";
    }

    std::unique_ptr<charg1> base_;
    Entete entete_;
};

} // namespace

TEST_F(PagesTest, ContextsAreCutToTheirLengthBeforeEscaping)
{
    const struct {
        std::int32_t position, n;
        const char *gauche, *pole, *droite;
    } cas[] = {
        {3, 10, "     debut", "le", "chien voit "},   // keys give nothing; padded in front
        {6, 10, "chien voit", "le", "chat . le "},     // cut inside a word; line break and key skipped
        {12, 10, " le chat .", "le", "chat voit "},     // punctuation is a word with its blanks
        {0, 10, "          ", "debut", "le chien voit "}, // nothing before: all blanks; last word whole
        {15, 2, "it", "r&d", ". "},
        {16, 2, "&d", ".", ""},                         // the end of the text ends the right context
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.position);
        const Contexte x = ContexteOccurrence(*base_, c.position, c.n, "1252");
        EXPECT_EQ(x.gauche, c.gauche);
        EXPECT_EQ(x.pole, c.pole);
        EXPECT_EQ(x.droite, c.droite);
    }
    // The cut falls inside "r&d": the entity that escapes '&' stays whole.
    EXPECT_EQ(talmer::LigneHtml(ContexteOccurrence(*base_, 16, 2, "1252")),
              "&amp;d&nbsp;<span class=\"tgenstyle\">.</span>&nbsp;\n");
    EXPECT_EQ(talmer::LigneHtml(ContexteOccurrence(*base_, 15, 10, "1252")),
              " chat voit&nbsp;<span class=\"tgenstyle\">r&amp;d</span>&nbsp;. \n");
}

TEST_F(PagesTest, LinesInTextRightAndLeftOrder)
{
    Concordance c(*base_, {12, 3, 6, 3}); // a position given twice is shown once
    EXPECT_EQ(c.NbOccurrences(), 3);
    const struct {
        int sens;
        std::string lignes;
    } cas[] = {
        {0, L3 + L6 + L12},
        {1, L6 + L12 + L3},  // chat le < chat voit < chien
        {-1, L12 + L3 + L6}, // chat < debut < voit, read leftward
        {0, L3 + L6 + L12},  // back to text order: no trace of the sort
    };
    for (const auto &x : cas) {
        SCOPED_TRACE(x.sens);
        c.Trie(x.sens);
        EXPECT_EQ(talmer::PageEcran(*base_, c, entete_, 0, 1000, 10, "1252"),
                  Tete + "<pre><font size=2>" + x.lignes + Fin);
    }
}

TEST_F(PagesTest, ScreenPagesSplitTheLinesKeepingPartHeadings)
{
    Partition p(base_.get(), base_->LocFormDic("p", false));
    Concordance c(*base_, {3, 6, 12});
    c.Regroupe(&p);
    EXPECT_EQ(talmer::NbPagesEcran(c, 2), 2);
    const std::string un = "\n<br><b>Partie : un, Nombre de contextes : 2</b><br>\n";
    EXPECT_EQ(talmer::PageEcran(*base_, c, entete_, 1, 2, 10, "1252"),
              Tete + "<pre><font size=2>" + un + L6 + Fin);
}

TEST_F(PagesTest, ReportPageGroupedByPartAndItsXmlFragment)
{
    const std::int32_t formes[] = {0, 4}; // le, debut
    Tgen groupe(base_.get(), formes, 2);
    Partition p(base_.get(), base_->LocFormDic("p", false));
    ASSERT_EQ(p.NbParties(), 2);
    Concordance c(*base_, groupe.PositionsTriees());
    c.Trie(1);
    c.Regroupe(&p);

    Entete e = entete_;
    e.avecEntete = true;
    e.titreFenetre = "Concordances";
    e.nomBase = base_->NomBase();
    e.date = "jeudi 10 d\xE9" "cembre 2026 - 16:05";
    e.partition = "p";
    const std::string attendu =
        Tete + "<center><h3>Concordances</h3></center><br>"
        "<table width=100% align=\"center\" border=\"1\"><td>Corpus : corpus</td>\n"
        "<td>Date : jeudi 10 d\xE9" "cembre 2026 - 16:05</td>\n<td>Partition = p</td>\n</table>"
        "<pre><font size=2>Concordance de : le+<br> (tri apr\xE8s)<br><br>\n"
        "\n<br><b>Partie : deux, Nombre de contextes : 1</b><br>\n" + L12 +
        "\n<br><b>Partie : un, Nombre de contextes : 2</b><br>\n" + L6 + L3 + Fin;
    EXPECT_EQ(talmer::PageConcordance(*base_, c, e, "Concordance de : le+", 10, "1252"), attendu);
    // "debut" lies before the first key marker: in no part, here as in the partition's counts.
    EXPECT_EQ(c.NbDansPartie(0), p.NbPositionsDansPartie(&groupe, 0));
    EXPECT_EQ(c.NbDansPartie(1), p.NbPositionsDansPartie(&groupe, 1));

    // The fragment lists every occurrence in the current order, without part headings.
    const std::string xml = talmer::FragmentXml(*base_, c, 10, "1252");
    EXPECT_EQ(xml, "<documentation>\n<concordance>\n"
                   "<ligContConcordance><contexte>chien voit</contexte><pole>le</pole><contexte>chat . le "
                   "</contexte></ligContConcordance>\n"
                   "<ligContConcordance><contexte> le chat .</contexte><pole>le</pole><contexte>chat voit "
                   "</contexte></ligContConcordance>\n"
                   "<ligContConcordance><contexte>     debut</contexte><pole>le</pole><contexte>chien voit "
                   "</contexte></ligContConcordance>\n"
                   "<ligContConcordance><contexte>          </contexte><pole>debut</pole><contexte>le chien "
                   "voit </contexte></ligContConcordance>\n"
                   "</concordance>\n</documentation>\n");
}

TEST_F(PagesTest, XmlFragmentIsWellFormedWithMarkupCharacters)
{
    Concordance c(*base_, {15, 16, 14});
    const std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + talmer::FragmentXml(*base_, c, 10, "1252");
    QXmlStreamReader lecteur(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    QStringList poles;
    while (!lecteur.atEnd()) {
        if (lecteur.readNext() == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("pole"))
            poles << lecteur.readElementText();
    }
    EXPECT_FALSE(lecteur.hasError()) << lecteur.errorString().toStdString();
    EXPECT_EQ(poles, (QStringList{"voit", "r&d", "."}));
}

TEST(LignesConcordance, OnlyAmpersandAndAnglesAreEscapedInContent)
{
    const struct {
        Contexte c;
        const char *html, *xml;
    } cas[] = {
        {{" il dit \"", "oui\"", "R&D <b> "},
         " il dit \"&nbsp;<span class=\"tgenstyle\">oui\"</span>&nbsp;R&amp;D &lt;b&gt; \n",
         "<ligContConcordance><contexte> il dit \"</contexte><pole>oui\"</pole><contexte>R&amp;D &lt;b&gt; "
         "</contexte></ligContConcordance>\n"},
        {{"'a'", "\"", ""},
         "'a'&nbsp;<span class=\"tgenstyle\">\"</span>&nbsp;\n",
         "<ligContConcordance><contexte>'a'</contexte><pole>\"</pole><contexte></contexte></ligContConcordance>\n"},
    };
    for (const auto &x : cas) {
        SCOPED_TRACE(x.c.pole);
        EXPECT_EQ(talmer::LigneHtml(x.c), x.html);
        EXPECT_EQ(talmer::LigneXml(x.c), x.xml);
    }
}

TEST(EnteteConcordance, HeadingInACodePageWithoutEAcuteKeepsItsReferencesWhole)
{
    const talmer::test::JeuDAffichageTest cyrillique(1); // no "é"
    Entete e;
    e.charset = JeuDAffichage().GetHtmlCharset();
    e.avecEntete = true;
    e.titreFenetre = EnCodePageTexteHtml(QString::fromUtf8("Spécial « R&D »"));
    e.nomBase = "\"R&D\"";
    e.date = talmer::DateDePage(QDateTime(QDate(2026, 12, 10), QTime(16, 5)));
    e.partition = "cl\xE9";
    EXPECT_EQ(e.date, "jeudi 10 d&#233;cembre 2026 - 16:05");
    EXPECT_EQ(talmer::EnteteHtml(e),
              "<html>\n<head>\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1251\" />"
              "<title>Concordance</title>\n</head>\n"
              "<style type=\"text/css\">\n.tgenstyle {font-weight: bold;\ncolor: #000000;}\n</style>"
              "<body bgcolor=\"#ffffff\" dir=\"LTR\">\n"
              "<center><h3>Sp&#233;cial \xAB R&amp;D \xBB</h3></center><br>"
              "<table width=100% align=\"center\" border=\"1\"><td>Corpus : \"R&amp;D\"</td>\n"
              "<td>Date : jeudi 10 d&#233;cembre 2026 - 16:05</td>\n<td>Partition = cl\xE9</td>\n</table>"
              "<pre><font size=2>");
}

TEST_F(PagesTest, DoubleByteCodePagesCutBetweenCharacters)
{
    // A form of five two-byte characters followed by 'w' ("\xE0" "A" is one Shift-JIS character).
    auto base = talmer::test::makeBase("xx \xE0" "A\xE0" "A\xE0" "A\xE0" "A\xE0" "Aw yy\n", ".", "sjis");
    ASSERT_TRUE(base);
    const std::int32_t yy = 2;
    ASSERT_STREQ(base->RetourneGraphieAtPos(yy, true), "yy");
    // The last ten bytes would begin with the second byte of the first character.
    EXPECT_EQ(ContexteOccurrence(*base, yy, 10, "1252").gauche, "A\xE0" "A\xE0" "A\xE0" "A\xE0" "Aw");
    for (const char *cp : {"932", "936", "949", "950"}) {
        SCOPED_TRACE(cp);
        EXPECT_EQ(ContexteOccurrence(*base, yy, 10, cp).gauche, " \xE0" "A\xE0" "A\xE0" "A\xE0" "Aw");
    }
}

TEST(Historique, NewRequestsGoAfterTheCurrentOne)
{
    // Each step: 'A' adds the next entry (numbered by its sort index), '<' goes back, '>' forward.
    const struct {
        const char *pas;
        std::vector<int> entrees; // sort indexes in history order
        int courant;
        bool recule, avance;
    } cas[] = {
        {"", {}, -1, false, false},
        {"A", {1}, 0, false, false},
        {"AA", {1, 2}, 1, true, false},
        {"AA<", {1, 2}, 0, false, true},
        {"AA<A", {1, 3, 2}, 1, true, true},
        {"AA<A>", {1, 3, 2}, 2, true, false},
        {"AA<<<", {1, 2}, 0, false, true},
        {"AA>>", {1, 2}, 1, true, false},
        {"AAA<<A>A", {1, 4, 2, 5, 3}, 3, true, true},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.pas);
        talmer::Historique h;
        int n = 0;
        for (const char *p = c.pas; *p; ++p) {
            if (*p == 'A')
                h.Ajoute({nullptr, ++n});
            else if (*p == '<')
                h.Recule();
            else
                h.Avance();
        }
        std::vector<int> entrees;
        for (int i = 0; i < h.Taille(); ++i)
            entrees.push_back(h.Entree(i).tri);
        EXPECT_EQ(entrees, c.entrees);
        EXPECT_EQ(h.Courant(), c.courant);
        EXPECT_EQ(h.PeutReculer(), c.recule);
        EXPECT_EQ(h.PeutAvancer(), c.avance);
        EXPECT_EQ(h.EntreeCourante() != nullptr, c.courant >= 0);
    }
}

// Long texts fitted to the screen: one line of a width, the lines of a tooltip.
#include "windows/commun/textes_longs.h"

#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(TexteElude, FitsTheWidthAndMeasuresOnlyWhatCanShow)
{
    QFont police;
    const QFontMetrics mesure(police);
    QString mille;
    for (int k = 0; k < 1000; ++k)
        mille += (k ? QStringLiteral(", ") : QString()) + QStringLiteral("page-%1").arg(k);
    const QString ellipse(QChar(0x2026));
    const struct {
        QString texte;
        int largeur;
        bool entier;
    } cas[] = {
        {QStringLiteral("x, y"), 300, true},
        {QString(), 300, true},
        {mille, 300, false},
        {mille, 5, false},
        {mille, 0, false},
        {mille, -20, false},
        {mille, 100000, true},
        // A beginning of characters of no width fits whole, yet the text goes on.
        {QString(700, QChar(0x200B)) + QStringLiteral("suite"), 300, false},
    };
    for (const auto &c : cas) {
        const QString elude = talmer::TexteElude(c.texte, police, c.largeur);
        const std::string quoi = c.texte.left(20).toStdString() + " in " + std::to_string(c.largeur);
        EXPECT_LE(mesure.horizontalAdvance(elude), std::max(0, c.largeur)) << quoi;
        if (c.entier) {
            EXPECT_EQ(elude, c.texte) << quoi;
            continue;
        }
        EXPECT_NE(elude, c.texte) << quoi;
        if (!elude.isEmpty()) {
            EXPECT_TRUE(elude.endsWith(ellipse)) << quoi;
            EXPECT_TRUE(c.texte.startsWith(elude.chopped(1))) << quoi;
        }
    }
    // As Qt elides the whole text, at a width where it does not fit.
    EXPECT_EQ(talmer::TexteElude(mille, police, 300), mesure.elidedText(mille, Qt::ElideRight, 300));
}

TEST(TexteInfobulle, LinesCutAtBlanksAndAtMostAScreenOfThem)
{
    EXPECT_EQ(talmer::TexteInfobulle(QStringLiteral("x, y"), 10, 3), QStringLiteral("x, y"));
    EXPECT_EQ(talmer::TexteInfobulle(QStringLiteral("aa, bb, cc, dd"), 7, 3), QStringLiteral("aa, bb,\ncc, dd"));
    // No blank: cut at the width.
    EXPECT_EQ(talmer::TexteInfobulle(QStringLiteral("abcdefgh"), 3, 5), QStringLiteral("abc\ndef\ngh"));
    // Beyond the last line the name goes on: "…".
    EXPECT_EQ(talmer::TexteInfobulle(QStringLiteral("aa, bb, cc, dd, ee"), 7, 2),
              QStringLiteral("aa, bb,\ncc, dd,") + QChar(0x2026));

    QString mille;
    for (int k = 0; k < 1000; ++k)
        mille += (k ? QStringLiteral(", ") : QString()) + QStringLiteral("page-%1").arg(k);
    const QStringList lignes = talmer::TexteInfobulle(mille, 100, 30).split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 30);
    for (const QString &ligne : lignes.first(29))
        EXPECT_LE(ligne.size(), 100);
    EXPECT_TRUE(mille.startsWith(lignes.first(29).join(QLatin1Char(' '))));
}

TEST(NomsInfobulle, ALongListEndsWithHowManyNamesItLeavesOut)
{
    // Short: the list as it reads, each name followed by ", ".
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("a"), QStringLiteral("c")}, 10, 3), QStringLiteral("a, c, "));
    EXPECT_EQ(talmer::NomsInfobulle({}, 10, 3), QString());
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("aa"), QStringLiteral("bb"), QStringLiteral("cc")}, 7, 3),
              QStringLiteral("aa, bb,\ncc, "));
    // Two lines for names that need three: one of names, one that counts the others.
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("aa"), QStringLiteral("bb"), QStringLiteral("cc"),
                                     QStringLiteral("dd"), QStringLiteral("ee")},
                                    7, 2),
              QStringLiteral("aa, bb,\n… et 3 autres"));
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("aa"), QStringLiteral("bb"), QStringLiteral("cc")}, 7, 1),
              QStringLiteral("… et 3 autres"));
    // A name longer than a line, cut short on the last line of names, is counted as left out.
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("aa"), QStringLiteral("abcdefghij")}, 7, 2),
              QStringLiteral("aa,\n… et 1 autre"));
    EXPECT_EQ(talmer::NomsInfobulle({QStringLiteral("abcdefghij"), QStringLiteral("b"), QStringLiteral("c")}, 7, 2),
              QStringLiteral("abcdefg\n… et 3 autres"));

    // The 523 pages of a manual: a screen of lines, the names they show and the count adding up.
    QStringList pages;
    for (int k = 0; k < 523; ++k)
        pages.push_back(QStringLiteral("page_%1").arg(k));
    const QStringList lignes = talmer::NomsInfobulle(pages, 100, 30).split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 30);
    for (const QString &ligne : lignes)
        EXPECT_LE(ligne.size(), 100);
    const QString montres = lignes.first(29).join(QLatin1Char(' '));
    const auto nbMontres = montres.count(QStringLiteral(","));
    EXPECT_TRUE(pages.join(QStringLiteral(", ")).startsWith(montres.chopped(1)));
    EXPECT_EQ(lignes.back(), QStringLiteral("… et %1 autres").arg(523 - nbMontres));
}

} // namespace

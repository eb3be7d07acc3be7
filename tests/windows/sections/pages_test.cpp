// The page of a section and the names and heading of the map's report items.
#include "engine/base_fixture.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/tgen.h"
#include "windows/sections/pages_sections.h"

#include <gtest/gtest.h>

using namespace talmer;

namespace {

class PagesSectionTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        // Sections at ".": " le chat.", "<titre=intro> le "R&D"\nchien.", and the line break after.
        base = talmer::test::makeBase("x. le chat. <titre=intro> le \"R&D\"\nchien.\n");
        ASSERT_TRUE(base);
        const std::int32_t point = base->LocFormDic(".", true);
        section = std::make_unique<Section>(base.get(), &point, 1);
        ASSERT_EQ(section->NbSections(), 3);
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Section> section;
};

const std::string Entete =
    "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />";

TEST_F(PagesSectionTest, GroupOccurrencesInBold)
{
    const std::int32_t chat = base->LocFormDic("chat", true);
    Tgen groupe(base.get(), &chat, 1);
    EXPECT_EQ(PageSection(*base, *section, &groupe, 0, false, 12, "windows-1252", "LTR"),
              Entete + "<title>Section 0</title></head>\n<body bgcolor=\"#ffffff\" dir=\"LTR\">\n<font size=12>\n"
                       "le <b>chat</b> . </font>\n</body>\n</html>");
}

TEST_F(PagesSectionTest, KeyMarkerInBlueOnceHeadingEscapesContentAndNoLineBreak)
{
    EXPECT_EQ(PageSection(*base, *section, nullptr, 1, true, -2, "windows-1252", "RTL"),
              Entete + "<title>Section 1</title></head>\n<body bgcolor=\"#ffffff\" dir=\"RTL\">\n"
                       "<h2>Section 1</h2><br>\n<font size=-2>\n"
                       "<font color=\"#0000FF\">&lt;titre=intro&gt;</font>le \"R&amp;D\" chien . </font>\n</body>\n</html>");
}

TEST_F(PagesSectionTest, EmptySectionAndSectionOutsideGiveAnEmptyBody)
{
    const std::string vide = Entete + "<title>Section 2</title></head>\n<body bgcolor=\"#ffffff\" dir=\"LTR\">\n"
                                      "<font size=12>\n</font>\n</body>\n</html>";
    EXPECT_EQ(PageSection(*base, *section, nullptr, 2, false, 12, "windows-1252", "LTR"), vide);
    const std::string dehors = PageSection(*base, *section, nullptr, 3, false, 12, "windows-1252", "LTR");
    EXPECT_NE(dehors.find("<font size=12>\n</font>"), std::string::npos);
}

TEST(NomsCarte, PageAndPictureNamesDifferPerSectioningAndView)
{
    EXPECT_EQ(NomImageCarte(QStringLiteral("corpus"), {812}, 2, 1), QStringLiteral("corpus_img-section-812_2_1.jpg"));
    EXPECT_EQ(NomImageCarte(QStringLiteral("corpus"), {812}, 2, 2), QStringLiteral("corpus_img-section-812_2_2.jpg"));
    EXPECT_EQ(NomImageCarte(QStringLiteral("corpus"), {812, 815}, 2, 1),
              QStringLiteral("corpus_img-section-812-815_2_1.jpg"));
    EXPECT_EQ(NomPageSection(QStringLiteral("corpus"), {812}, 1, 5), QStringLiteral("corpus_section-812_1_5"));
    EXPECT_EQ(NomPageSection(QStringLiteral("corpus"), {812, 815}, 3, 5), QStringLiteral("corpus_section-812-815_3_5"));
}

TEST(NomsCarte, PictureBlockNamesTheGroupsOnlyWhenThereAreSome)
{
    EXPECT_EQ(BlocImageCarte(QStringLiteral("Carte(1)"), QString(), QString(), QStringLiteral("corpus"),
                             QStringLiteral("jeudi 10 décembre 2026 - 16:05"), QString()),
              QStringLiteral("<center><h3>Carte(1)</h3></center><br />\n"
                             "<table width=\"100%\" align=\"CENTER\" border=\"1\"><td>Corpus : corpus</td>\n"
                             "<td>Date : jeudi 10 décembre 2026 - 16:05</td>\n</table><br />\n"));
    // The caption is the item's HTML caption; names are plain texts, escaped for content only.
    EXPECT_EQ(BlocImageCarte(QStringLiteral("C&lt;2&gt;"), QStringLiteral("R&D+"), QStringLiteral("\"le\""),
                             QStringLiteral("corpus"), QStringLiteral("d"), QStringLiteral("titre")),
              QStringLiteral("<center><h3>C&lt;2&gt;</h3></center><br />\nTerme = R&amp;D+, \"le\"<br />"
                             "<table width=\"100%\" align=\"CENTER\" border=\"1\"><td>Corpus : corpus</td>\n"
                             "<td>Date : d</td>\n<td>Partition = titre</td>\n</table><br />\n"));
}

} // namespace

// The workspace registry: identity of partitions and sectionings, per base, and purging.
#include "services/corpus_registry.h"

#include "engine/partition.h"
#include "engine/section.h"
#include "engine/base_fixture.h"

#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

// The registry only keeps and compares addresses: distinct dummy objects stand for bases,
// partitions and sectionings.
template <typename T>
T *objet(int &o)
{
    return reinterpret_cast<T *>(&o);
}

} // namespace

TEST(Corpus, PartitionsAreTheSameOnTheSameBaseAndKey)
{
    int b1 = 0, p1 = 0, p2 = 0, p3 = 0, p4 = 0;
    Corpus corpus;
    const charg1 *base = objet<const charg1>(b1);
    EXPECT_TRUE(corpus.AjouteBase(base));
    EXPECT_EQ(corpus.IndexPartition(base, 7), -1);
    EXPECT_TRUE(corpus.AjoutePartition(objet<Partition>(p1), base, 7));
    EXPECT_FALSE(corpus.AjoutePartition(objet<Partition>(p2), base, 7));
    EXPECT_EQ(corpus.NbPartitions(), 1);
    EXPECT_EQ(corpus.IndexPartition(base, 7), 0);
    EXPECT_EQ(corpus.EntreePartition(0)->partition, objet<Partition>(p1));
    EXPECT_TRUE(corpus.AjoutePartition(objet<Partition>(p3), base, 8));
    EXPECT_EQ(corpus.IndexPartition(base, 8), 1);

    // A partition of another base never matches one of an earlier base.
    int b2 = 0;
    const charg1 *autre = objet<const charg1>(b2);
    corpus.AjouteBase(autre);
    EXPECT_EQ(corpus.IndexPartition(autre, 7), -1);
    EXPECT_TRUE(corpus.AjoutePartition(objet<Partition>(p4), autre, 7));
    EXPECT_EQ(corpus.IndexPartition(autre, 7), 2);
    EXPECT_EQ(corpus.IndexPartition(base, 7), 0);

    EXPECT_EQ(corpus.EntreePartition(3), nullptr);
    EXPECT_EQ(corpus.EntreePartition(-1), nullptr);
}

TEST(Corpus, SectioningsAreTheSameWithTheSameDelimitersInTheSameOrder)
{
    int b = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    Corpus corpus;
    const charg1 *base = objet<const charg1>(b);
    EXPECT_EQ(corpus.IndexSection(base, {10, 11}), -1);
    EXPECT_TRUE(corpus.AjouteSection(objet<Section>(s1), base, {10, 11}));
    EXPECT_TRUE(corpus.AjouteSection(objet<Section>(s2), base, {11, 10}));
    EXPECT_TRUE(corpus.AjouteSection(objet<Section>(s3), base, {10, 11, 12}));
    EXPECT_FALSE(corpus.AjouteSection(objet<Section>(s4), base, {10, 11}));
    EXPECT_EQ(corpus.NbSections(), 3);
    EXPECT_EQ(corpus.IndexSection(base, {10, 11}), 0);
    EXPECT_EQ(corpus.IndexSection(base, {11, 10}), 1);
    EXPECT_EQ(corpus.IndexSection(base, {10, 11, 12}), 2);
    EXPECT_EQ(corpus.IndexSection(base, {10}), -1);
    EXPECT_EQ(corpus.EntreeSection(1)->section, objet<Section>(s2));
}

TEST(Corpus, ViewsAndTreeNodes)
{
    int b = 0, p = 0;
    Corpus corpus;
    const charg1 *base = objet<const charg1>(b);
    corpus.AjoutePartition(objet<Partition>(p), base, 3);
    InfoPartition *info = corpus.EntreePartition(corpus.IndexPartition(base, 3));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->vues.empty());
    EXPECT_FALSE(info->noeud.isValid());

    // A closed view leaves a null entry that still counts for the next view's number.
    auto *vue = new QWidget;
    info->vues.emplace_back(vue);
    info->vues.emplace_back(new QWidget);
    delete vue;
    EXPECT_EQ(info->vues.size(), 2u);
    EXPECT_TRUE(info->vues[0].isNull());
    delete info->vues[1].data();

    // A tree node that goes away is no longer reachable.
    QStandardItemModel arbre;
    auto *graphiques = new QStandardItem(QStringLiteral("Graphiques"));
    arbre.appendRow(graphiques);
    info->noeud = graphiques->index();
    EXPECT_TRUE(info->noeud.isValid());
    arbre.removeRow(0);
    EXPECT_FALSE(info->noeud.isValid());
}

TEST(Corpus, ClosingABasePurgesItsEntries)
{
    int b1 = 0, b2 = 0, p1 = 0, p2 = 0, p3 = 0, s1 = 0, s2 = 0;
    Corpus corpus;
    const charg1 *base1 = objet<const charg1>(b1);
    const charg1 *base2 = objet<const charg1>(b2);
    corpus.AjouteBase(base1);
    corpus.AjoutePartition(objet<Partition>(p1), base1, 3);
    corpus.AjouteSection(objet<Section>(s1), base1, {4});
    corpus.AjouteBase(base2);
    corpus.AjoutePartition(objet<Partition>(p2), base2, 3);
    corpus.AjoutePartition(objet<Partition>(p3), base1, 5);
    corpus.AjouteSection(objet<Section>(s2), base2, {4});

    const Corpus::EntreesPurgees purgees = corpus.PurgeBase(base1);
    EXPECT_EQ(purgees.partitions, (std::vector<Partition *>{objet<Partition>(p1), objet<Partition>(p3)}));
    EXPECT_EQ(purgees.sections, (std::vector<Section *>{objet<Section>(s1)}));
    EXPECT_EQ(corpus.Bases(), (std::vector<const charg1 *>{base2}));
    EXPECT_EQ(corpus.NbPartitions(), 1);
    EXPECT_EQ(corpus.IndexPartition(base2, 3), 0);
    EXPECT_EQ(corpus.IndexPartition(base1, 3), -1);
    EXPECT_EQ(corpus.IndexSection(base2, {4}), 0);
    EXPECT_EQ(corpus.IndexSection(base1, {4}), -1);

    // A new base at the address of a freed one starts with no entries.
    corpus.AjouteBase(base2);
    EXPECT_EQ(corpus.NbPartitions(), 0);
    EXPECT_EQ(corpus.NbSections(), 0);
    EXPECT_EQ(corpus.Bases(), (std::vector<const charg1 *>{base2}));
}

TEST(Corpus, ProgramWideRegistry)
{
    EXPECT_EQ(CorpusProgramme(), nullptr);
    Corpus corpus;
    FixeCorpusProgramme(&corpus);
    EXPECT_EQ(CorpusProgramme(), &corpus);
    FixeCorpusProgramme(nullptr);
}

// With real objects of a loaded base.

class CorpusSurUneBase : public talmer::test::InTempDir {};

TEST_F(CorpusSurUneBase, PartitionsAndSectioningsOfALoadedBase)
{
    auto base = talmer::test::makeBase("<auteur=A> Le chat dort. <auteur=B> Le chien dort ? Oui.\r\n");
    ASSERT_TRUE(base);
    const std::int32_t cle = base->LocFormDic("auteur", false);
    ASSERT_GE(cle, 0);
    const std::int32_t point = base->LocFormDic(".", true);
    const std::int32_t question = base->LocFormDic("?", true);
    ASSERT_GE(point, 0);
    ASSERT_GE(question, 0);

    Corpus corpus;
    corpus.AjouteBase(base.get());
    Partition p1(base.get(), cle);
    auto p2 = std::make_unique<Partition>(base.get(), cle);
    EXPECT_TRUE(corpus.AjoutePartition(&p1));
    EXPECT_FALSE(corpus.AjoutePartition(p2.get()));
    EXPECT_EQ(corpus.IndexPartition(p2.get()), 0);
    EXPECT_EQ(corpus.IndexPartition(base.get(), cle), 0);
    EXPECT_EQ(corpus.NbPartitions(), 1);

    const std::int32_t d1[] = {point, question};
    const std::int32_t d2[] = {question, point};
    Section s1(base.get(), d1, 2);
    Section s2(base.get(), d2, 2);
    Section s3(base.get(), d1, 2);
    EXPECT_TRUE(corpus.AjouteSection(&s1));
    EXPECT_TRUE(corpus.AjouteSection(&s2));
    EXPECT_FALSE(corpus.AjouteSection(&s3));
    EXPECT_EQ(corpus.IndexSection(&s3), 0);
    EXPECT_EQ(corpus.IndexSection(&s2), 1);

    // A partition of a second base of the same text is another partition.
    talmer::test::TempDir ailleurs;
    auto autre = talmer::test::makeBase("<auteur=A> Le chat dort. <auteur=B> Le chien dort ? Oui.\r\n");
    ASSERT_TRUE(autre);
    Partition p3(autre.get(), autre->LocFormDic("auteur", false));
    EXPECT_EQ(corpus.IndexPartition(&p3), -1);
    EXPECT_TRUE(corpus.AjoutePartition(&p3));
}

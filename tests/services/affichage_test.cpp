// The display character set applied to widgets: fonts, right-to-left columns and edits.
#include "services/affichage.h"

#include "services/configuration.h"
#include "support/tempdir.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeView>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>

#include <gtest/gtest.h>

namespace {

class AffichageTest : public talmer::test::InTempDir {
protected:
    void SetUp() override { FixeConfigurationProgramme(&config_); }
    void TearDown() override { FixeConfigurationProgramme(nullptr); }
    ConfigurationT3 config_;
};

Qt::Alignment alignementColonne(QAbstractItemView *vue, int colonne)
{
    auto *d = dynamic_cast<DelegueAlignement *>(vue->itemDelegateForColumn(colonne));
    return d ? d->Alignement() : Qt::Alignment();
}

} // namespace

TEST_F(AffichageTest, RightToLeftSetRightJustifiesTheColumn)
{
    QStandardItemModel modele(3, 2);
    QTreeView liste;
    liste.setModel(&modele);

    config_.SetCharsetIndex(4); // Arabe
    EXPECT_EQ(DirectionAffichage(), Qt::RightToLeft);
    ApplyCharsetToListView(&liste, 1);
    EXPECT_EQ(alignementColonne(&liste, 1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(liste.itemDelegateForColumn(0), nullptr);

    // Back to a left-to-right set: the same column is left-justified again.
    config_.SetCharsetIndex(0);
    ApplyCharsetToListView(&liste, 1);
    EXPECT_EQ(alignementColonne(&liste, 1), Qt::AlignLeft | Qt::AlignVCenter);

    // -1: only the font, no column touched.
    QTreeView autre;
    autre.setModel(&modele);
    config_.SetCharsetIndex(5);
    ApplyCharsetToListView(&autre, -1);
    EXPECT_EQ(autre.itemDelegateForColumn(0), nullptr);
    EXPECT_EQ(autre.itemDelegateForColumn(1), nullptr);
}

TEST_F(AffichageTest, EditsFollowTheDirection)
{
    QLineEdit edition;
    config_.SetCharsetIndex(5); // Hébreu
    ApplyCharsetToEdit(&edition);
    EXPECT_EQ(edition.layoutDirection(), Qt::RightToLeft);
    config_.SetCharsetIndex(1);
    ApplyCharsetToEdit(&edition);
    EXPECT_EQ(edition.layoutDirection(), Qt::LeftToRight);
}

TEST_F(AffichageTest, FontCoversTheScriptWhenAFontDoes)
{
    const struct {
        int index;
        QFontDatabase::WritingSystem ecriture;
    } cas[] = {{0, QFontDatabase::Latin}, {1, QFontDatabase::Cyrillic}, {2, QFontDatabase::Greek},
               {4, QFontDatabase::Arabic}, {5, QFontDatabase::Hebrew}, {3, QFontDatabase::Japanese}};
    for (const auto &c : cas) {
        config_.SetCharsetIndex(c.index);
        const QFont police = PoliceAffichage(QFont());
        if (QFontDatabase::families(c.ecriture).isEmpty())
            continue; // no font of that script on this machine: the base font is kept
        EXPECT_TRUE(QFontDatabase::writingSystems(police.families().value(0, police.family())).contains(c.ecriture))
            << c.index;
    }

    // Grids and legends get the display font.
    config_.SetCharsetIndex(1);
    QTableView grille;
    ApplyCharsetToGrid(&grille);
    EXPECT_EQ(grille.font(), PoliceAffichage(QTableView().font()));
    QChart graphique;
    ApplyCharsetToLegend(graphique.legend());
    EXPECT_EQ(graphique.legend()->font(), PoliceAffichage(QChart().legend()->font()));
}

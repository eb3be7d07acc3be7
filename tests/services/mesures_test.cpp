#include "services/mesures.h"

#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

// The room a table cell leaves its text, as the style draws it.
int PlaceDuTexte(const QTableView &vue, int colonne)
{
    const int marge = vue.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &vue) + 1;
    return vue.visualRect(vue.model()->index(0, colonne)).width() - 2 * marge;
}

} // namespace

// Values are laid out with fractional advances: a column sized from widths rounded to whole
// pixels can lack a fraction of one, and the view then draws "493…" for 49375.
TEST(Mesures, EveryValueOfASizedColumnIsDrawnWhole)
{
    const QStringList valeurs = {"49375", "221948", "1185771", "38", "Bérénice - Martin", "_.1_c0", "e2scrub_all"};
    for (const int taille : {8, 9, 10, 11, 12, 14, 17}) {
        QStandardItemModel modele(0, static_cast<int>(valeurs.size()));
        QList<QStandardItem *> ligne;
        for (const QString &v : valeurs)
            ligne << new QStandardItem(v);
        modele.appendRow(ligne);
        QTableView vue;
        QFont police = vue.font();
        police.setPointSize(taille);
        vue.setFont(police);
        vue.setModel(&modele);
        talmer::DimensionneGrille(&vue, {});
        vue.resize(2000, 200);
        const QFontMetrics mesure(vue.font());
        for (int c = 0; c < modele.columnCount(); ++c)
            EXPECT_EQ(mesure.elidedText(valeurs[c], Qt::ElideRight, PlaceDuTexte(vue, c)), valeurs[c])
                << valeurs[c].toStdString() << " at " << taille << " points";
    }
}

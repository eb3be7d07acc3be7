#include "services/mesures.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <vector>

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

namespace {

// A sentence as wide as `largeur` pixels at least in the font of `vue`.
QString TexteDe(const QWidget &vue, int largeur)
{
    QString texte;
    const QFontMetrics mesure(vue.font());
    for (int i = 0; mesure.horizontalAdvance(texte) < largeur; ++i)
        texte += QStringLiteral("segment%1 ").arg(i);
    return texte;
}

// The tool tip the view shows when the mouse rests at the middle of `rect` of `surface`.
QString BulleMontree(QWidget *surface, const QRect &rect)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        return QStringLiteral("(a tool tip stays)");
    QHelpEvent aide(QEvent::ToolTip, rect.center(), surface->mapToGlobal(rect.center()));
    QCoreApplication::sendEvent(surface, &aide);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

// A column of free text stops at a third of its view, the whole text in its tool tip; the
// columns of numbers beside it are as wide as their widest value.
TEST(Mesures, AColumnOfTextStopsAtAThirdOfItsView)
{
    QTableView vue;
    vue.resize(900, 300);
    const QString longue = TexteDe(vue, 600);
    const QString nombre = QStringLiteral("123456789012345678901234567890");
    QStandardItemModel modele(0, 3);
    modele.appendRow({new QStandardItem(longue), new QStandardItem(nombre), new QStandardItem(QStringLiteral("court"))});
    modele.appendRow({new QStandardItem(QStringLiteral("mot")), new QStandardItem(QStringLiteral("1")), new QStandardItem(longue)});
    modele.setHeaderData(0, Qt::Horizontal, true, talmer::RoleTexteLibre);
    vue.setModel(&modele);
    talmer::DimensionneGrille(&vue, {100, 30});
    vue.show();
    QCoreApplication::processEvents();

    const QModelIndex texte = modele.index(0, 0);
    EXPECT_LE(vue.columnWidth(0), 900 / 3);
    EXPECT_GE(vue.columnWidth(0), vue.viewport()->width() / 3 - 1);
    EXPECT_EQ(talmer::BulleCellule(vue, texte), longue);
    EXPECT_EQ(BulleMontree(vue.viewport(), vue.visualRect(texte)), longue);
    // A text that fits has no tool tip.
    EXPECT_EQ(talmer::BulleCellule(vue, modele.index(1, 0)), QString());
    EXPECT_EQ(BulleMontree(vue.viewport(), vue.visualRect(modele.index(1, 0))), QString());
    // Numbers, and a column of text not said to be free text, are whole however wide.
    EXPECT_EQ(QFontMetrics(vue.font()).elidedText(nombre, Qt::ElideRight, PlaceDuTexte(vue, 1)), nombre);
    EXPECT_GT(vue.columnWidth(2), 600);

    // The column follows the view as it narrows and widens again...
    vue.resize(450, 300);
    QCoreApplication::processEvents();
    EXPECT_LE(vue.columnWidth(0), 150);
    EXPECT_GE(vue.columnWidth(0), 100); // never below the designed width
    vue.resize(900, 300);
    QCoreApplication::processEvents();
    EXPECT_GE(vue.columnWidth(0), vue.viewport()->width() / 3 - 1);
    // ...until the user sizes it by hand: then it keeps his width.
    QHeaderView *entete = vue.horizontalHeader();
    const int bord = entete->sectionViewportPosition(0) + entete->sectionSize(0) - 1;
    const int y = entete->height() / 2;
    QTest::mousePress(entete->viewport(), Qt::LeftButton, {}, QPoint(bord, y));
    QTest::mouseMove(entete->viewport(), QPoint(bord + 200, y));
    QTest::mouseRelease(entete->viewport(), Qt::LeftButton, {}, QPoint(bord + 200, y));
    const int choisie = vue.columnWidth(0);
    EXPECT_GT(choisie, 900 / 3);
    vue.resize(600, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(vue.columnWidth(0), choisie);
}

// A list a little too narrow for its columns, docked in the side panel say: the text gives up its
// room, below its designed width, so that the numbers stay in sight; when even its title would
// not leave them room, the list scrolls instead.
TEST(Mesures, InAListTooNarrowForItsColumnsTheTextGivesUpItsRoom)
{
    QTableView vue;
    vue.resize(600, 300);
    const QString texte = TexteDe(vue, 180);
    QStandardItemModel modele(0, 3);
    modele.appendRow({new QStandardItem(texte), new QStandardItem(QStringLiteral("123456")),
                      new QStandardItem(QStringLiteral("7890123"))});
    modele.setHorizontalHeaderLabels({QStringLiteral("Terme"), QStringLiteral("Frq"), QStringLiteral("Spécif")});
    modele.setHeaderData(0, Qt::Horizontal, true, talmer::RoleTexteLibre);
    vue.setModel(&modele);
    talmer::DimensionneGrille(&vue, {100, 58, 58});
    vue.show();
    QCoreApplication::processEvents();
    const int nombres = vue.columnWidth(1) + vue.columnWidth(2);
    const int titre = vue.horizontalHeader()->sectionSizeHint(0);
    ASSERT_LT(titre, 80);
    EXPECT_GT(vue.columnWidth(0), 180); // room enough: the whole text
    const auto pourUneVue = [&](int largeur) {
        vue.resize(vue.width() - vue.viewport()->width() + largeur, 300);
        QCoreApplication::processEvents();
    };
    pourUneVue(nombres + 80);
    EXPECT_EQ(vue.columnWidth(0), 80);
    EXPECT_EQ(talmer::BulleCellule(vue, modele.index(0, 0)), texte);
    pourUneVue(nombres + titre - 1);
    EXPECT_EQ(vue.columnWidth(0), 100);
}

// Texts give way so that the numbers that can show show whole: T = free text (asked, floor), N =
// a column of numbers.
TEST(Mesures, TextsGiveWaySoThatTheNumbersThatCanShowShowWhole)
{
    using C = talmer::ColonneAPartager;
    const auto T = [](int demande, int plancher) { return C{demande, true, plancher}; };
    const auto N = [](int largeur) { return C{largeur, false, 0}; };
    const struct {
        const char *cas;
        std::vector<C> colonnes;
        int place;
        std::vector<int> attendu;
    } cas[] = {
        {"all fit", {T(120, 50), N(40), T(60, 40)}, 220, {120, 40, 60}},
        // A chronological grid in a window 300 pixels wide: the spellings give way to F, f and
        // coeff; the runs beyond the edge keep their room.
        {"first texts give way", {T(204, 75), N(44), N(38), N(40), T(71, 62)}, 215, {93, 44, 38, 40, 71}},
        {"widest first", {T(200, 50), T(80, 50), N(50)}, 230, {100, 80, 50}},
        {"not below a floor", {T(200, 120), T(80, 50), N(50)}, 230, {120, 60, 50}},
        {"the pixels left go one each", {T(100, 10), T(100, 10), N(10)}, 111, {51, 50, 10}},
        // A factor table at its smallest: the names give way so that "Distance" shows whole, the
        // factors beyond are scrolled to.
        {"as many numbers as can show", {T(101, 45), N(100), N(100), N(100), N(100)}, 260, {60, 100, 100, 100, 100}},
        {"a text as wide as the view", {T(190, 175), N(75)}, 183, {183, 75}},
        {"even the first floor too wide", {T(200, 175), N(75)}, 150, {200, 75}},
        {"a first number too wide", {N(300), T(100, 50)}, 200, {300, 100}},
    };
    for (const auto &c : cas)
        EXPECT_EQ(talmer::PartageLargeurs(c.colonnes, c.place), c.attendu) << c.cas;
}

// Row titles of free text (the spellings down a table's side) stop at a third of the view too.
TEST(Mesures, RowTitlesOfTextStopAtAThirdOfTheirView)
{
    QTableView vue;
    vue.resize(900, 300);
    const QString longue = TexteDe(vue, 600);
    QStandardItemModel modele(2, 2);
    modele.setVerticalHeaderLabels({QStringLiteral("mot"), longue});
    modele.setHeaderData(0, Qt::Vertical, true, talmer::RoleTexteLibre);
    vue.setModel(&modele);
    talmer::DimensionneGrille(&vue);
    vue.show();
    QCoreApplication::processEvents();
    QHeaderView *lignes = vue.verticalHeader();
    EXPECT_LE(lignes->width(), 900 / 3);
    EXPECT_EQ(lignes->textElideMode(), Qt::ElideRight);
    const auto rangee = [lignes](int l) {
        return QRect(0, lignes->sectionViewportPosition(l), lignes->width(), lignes->sectionSize(l));
    };
    EXPECT_EQ(BulleMontree(lignes->viewport(), rangee(1)), longue);
    EXPECT_EQ(BulleMontree(lignes->viewport(), rangee(0)), QString());
}

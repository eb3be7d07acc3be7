// The partition statistics window: the memo and the counts grid, the check and selection rules
// under the mouse, the drag of the partition, its buttons and the clustering program.
#include "engine/base_fixture.h"
#include "support/poste_test.h"

#include "engine/partition.h"
#include "shell/fenprinc.h"
#include "windows/partitions/comptes_parties.h"
#include "windows/partitions/fabriques_statpart.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/partitions/grillepclc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolButton>

#include <memory>

using talmer::test::DialoguesTest;

namespace {

// Parts x (one zone: le chien et le gros chat .) and y (two zones: le chat dort . | un chat .).
// Forms by number: chat 0, le 1 (3 each, alphabetical), then chien, dort, et, gros, un.
const char *const Texte = "<a=y> le chat dort. <a=x> le chien et le gros chat. <a=y> un chat.\n";

class StatPartTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base = talmer::test::makeBase(Texte);
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("a", false));
        ASSERT_EQ(partition->NbParties(), 2);
    }
    void TearDown() override
    {
        talmer::ExtensionStatistiques() = nullptr;
        talmer::FabriquesStatistiques() = {};
    }

    std::unique_ptr<TFenStatPart> Fenetre()
    {
        auto f = std::make_unique<TFenStatPart>(nullptr, *partition);
        f->resize(658, 440);
        f->show();
        return f;
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

// A mouse event on the grid's cells, with the buttons held after it.
void Souris(GrillePCLC *grille, QEvent::Type type, QPoint point, Qt::MouseButton bouton, Qt::MouseButtons tenus)
{
    QWidget *vue = grille->viewport();
    QMouseEvent e(type, point, vue->mapToGlobal(point), bouton, tenus, Qt::NoModifier);
    QApplication::sendEvent(vue, &e);
}

QPoint Centre(GrillePCLC *grille, int ligne, int colonne)
{
    return grille->visualRect(grille->model()->index(ligne, colonne)).center();
}

void Clic(GrillePCLC *grille, QPoint appui, QPoint relache, Qt::MouseButton bouton = Qt::LeftButton)
{
    Souris(grille, QEvent::MouseButtonPress, appui, bouton, bouton);
    Souris(grille, QEvent::MouseButtonRelease, relache, bouton, Qt::NoButton);
}

TEST_F(StatPartTest, CaptionMemoAndCountsOfEachPart)
{
    auto f = Fenetre();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Principales caractéristiques de la partition : a"));
    // The whole corpus: 11 occurrences, 7 forms, 5 hapax (chien dort et gros un), Fmax 3.
    EXPECT_EQ(f->MemoResum()->toPlainText(),
              QStringLiteral("Nombre d'occurrences:\t11\tNombre de formes:\t\t7\n"
                             "Nombre d'hapax:\t\t5\tFréquence maximale:\t3"));
    EXPECT_TRUE(f->MemoResum()->isReadOnly());

    ModelePCLC *m = f->ModeleComptes();
    ASSERT_EQ(m->rowCount(), 2);
    const QStringList entetes = {"", "Num", "Partie", "Occurences", "Formes", "Hapax", "Fmax", "Forme"};
    const QStringList x = {"", "1", "x", "6", "5", "4", "2", "le"};
    const QStringList y = {"", "2", "y", "5", "4", "3", "2", "chat"};
    for (int c = 0; c < ModelePCLC::NbColonnes; ++c) {
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), entetes[c]) << c;
        EXPECT_EQ(m->index(0, c).data().toString(), x[c]) << c;
        EXPECT_EQ(m->index(1, c).data().toString(), y[c]) << c;
        EXPECT_GE(f->GrdPCLC()->columnWidth(c), ModelePCLC::Largeurs[static_cast<std::size_t>(c)]);
    }
    // The designed height, or a line of the grid's font when it needs more.
    EXPECT_GE(f->GrdPCLC()->rowHeight(0), 16);
    EXPECT_GE(f->GrdPCLC()->rowHeight(0), QFontMetrics(f->GrdPCLC()->font()).lineSpacing());
}

TEST_F(StatPartTest, AnUnderscoreShowsWholeInItsRowWhateverTheFont)
{
    // A part named "_" shows nothing but its underscore, at the very bottom of the line.
    base = talmer::test::makeBase("<a=_> le chat. <a=e2scrub_all> un chien.\n");
    ASSERT_TRUE(base);
    partition = std::make_unique<Partition>(base.get(), base->LocFormDic("a", false));
    ASSERT_EQ(partition->NbParties(), 2);
    ASSERT_EQ(std::string(partition->NomPartie(0)), "_");
    auto f = Fenetre();
    GrillePCLC *grille = f->GrdPCLC();
    QFont grande = grille->font();
    for (int taille : {grande.pixelSize() > 0 ? grande.pixelSize() : 12, 24}) {
        grande.setPixelSize(taille);
        grille->setFont(grande);
        QCoreApplication::processEvents();
        EXPECT_GE(grille->rowHeight(0), QFontMetrics(grande).lineSpacing()) << taille;
        const QImage image = grille->viewport()->grab().toImage();
        // Dark pixels inside the name's cell (its grid lines lie outside).
        const QRect cellule = grille->visualRect(grille->model()->index(0, 2));
        int sombres = 0;
        for (int y = cellule.top(); y <= cellule.bottom(); ++y)
            for (int x = cellule.left(); x <= cellule.right(); ++x)
                sombres += qGray(image.pixel(x, y)) < 160;
        EXPECT_GT(sombres, 0) << "font of " << taille << " px, row of " << grille->rowHeight(0);
    }
}

TEST_F(StatPartTest, TheMemoKeepsAGapAfterEveryCountOfAMillion)
{
    std::string texte = "<a=x> ";
    for (int i = 0; i < 500000; ++i)
        texte += "le chat ";
    base = talmer::test::makeBase(texte);
    ASSERT_TRUE(base);
    ASSERT_GE(base->Nbocc(), 1000000);
    partition = std::make_unique<Partition>(base.get(), base->LocFormDic("a", false));
    auto f = Fenetre();
    QCoreApplication::processEvents();
    QPlainTextEdit *memo = f->MemoResum();
    const QFontMetricsF mesure(memo->font());
    EXPECT_GE(memo->height(), 2 * mesure.lineSpacing());
    // Line 1: "Nombre d'occurrences:", the count, "Nombre de formes:", the count.
    const QTextBlock ligne = memo->document()->firstBlock();
    const QString texteLigne = ligne.text();
    const QTextLine disposee = ligne.layout()->lineAt(0);
    ASSERT_TRUE(disposee.isValid());
    int debut = 0;
    for (const QString &champ : texteLigne.split(QLatin1Char('\t'))) {
        if (!champ.isEmpty() && champ.front().isDigit()) {
            const qreal fin = disposee.cursorToX(debut + static_cast<int>(champ.size()));
            const int suivant = static_cast<int>(texteLigne.indexOf(QLatin1Char('N'), debut));
            if (suivant > 0) {
                EXPECT_GE(disposee.cursorToX(suivant) - fin, mesure.horizontalAdvance(QLatin1Char(' ')))
                    << champ.toStdString();
            }
        }
        debut += static_cast<int>(champ.size()) + 1;
    }
}

TEST_F(StatPartTest, PagesAndButtonsAtOpening)
{
    auto f = Fenetre();
    EXPECT_EQ(f->PCStat()->currentWidget(), f->TabPCLC());
    EXPECT_EQ(f->PCStat()->tabPosition(), QTabWidget::South);
    EXPECT_FALSE(f->TabTFGVisible());
    EXPECT_FALSE(f->TabSCVisible());
    f->MontreTabTFG();
    EXPECT_TRUE(f->TabTFGVisible());
    EXPECT_FALSE(f->TabSCVisible());

    const std::vector<std::pair<QToolButton *, QString>> boutons = {
        {f->BtnSpecif(), "Spécifs"}, {f->BtnSpEvol(), "Sp Diac."}, {f->BtnAFC(), "AFC"}, {f->SpeedButton5(), "CAH"},
        {f->BtnZipf(), "Pareto"},    {f->BtnAcroiVoc(), ""},       {f->BtnSpTot(), "Sp. Tot"}};
    int y = -1;
    for (const auto &[b, texte] : boutons) {
        EXPECT_EQ(b->text(), texte);
        EXPECT_GT(b->y(), y) << "top to bottom";
        y = b->y();
        // Nothing is installed: only the clustering program can be started.
        EXPECT_EQ(b->isEnabled(), b == f->SpeedButton5()) << texte.toStdString();
    }
    EXPECT_EQ(f->BtnAcroiVoc()->toolTip(), QStringLiteral("Accroissement de vocabulaire"));
    EXPECT_GE(f->SpeedButton5()->parentWidget()->width(), 52);
}

// The rules of a click: which flag a press and a release change, for each starting state.
TEST_F(StatPartTest, ClicksToggleCheckAndSelectionByTheRules)
{
    struct Cas {
        const char *nom;
        bool coche, selection;        // part 1 (row 1) before
        int ligneAppui, colonneAppui; // press cell
        int ligneRelache, colonneRelache;
        Qt::MouseButton bouton;
        bool cocheApres, selectionApres;
    };
    const Cas cas[] = {
        {"select a checked part", true, false, 1, 3, 1, 3, Qt::LeftButton, true, true},
        {"unselect it", true, true, 1, 2, 1, 2, Qt::LeftButton, true, false},
        {"uncheck a selected part: it loses its selection", true, true, 1, 0, 1, 0, Qt::LeftButton, false, false},
        {"check again", false, false, 1, 0, 1, 0, Qt::LeftButton, true, false},
        {"an unchecked part cannot be selected", false, false, 1, 5, 1, 5, Qt::LeftButton, false, false},
        {"right press on another row, same column: the release row", true, false, 0, 4, 1, 4, Qt::RightButton, true, true},
        {"right press on another column, same row", true, false, 1, 2, 1, 6, Qt::RightButton, true, true},
        {"neither row nor column in common", true, false, 0, 2, 1, 6, Qt::RightButton, true, false},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        partition->Coche(0, true);
        partition->Selectionne(0, false);
        partition->Coche(1, c.coche);
        partition->Selectionne(1, c.selection);
        auto f = Fenetre();
        GrillePCLC *g = f->GrdPCLC();
        QSignalSpy change(g, &GrillePCLC::flagsChanges);
        Clic(g, Centre(g, c.ligneAppui, c.colonneAppui), Centre(g, c.ligneRelache, c.colonneRelache), c.bouton);
        EXPECT_EQ(partition->EstCochee(1), c.cocheApres);
        EXPECT_EQ(partition->EstSelectionnee(1), c.selectionApres);
        EXPECT_TRUE(partition->EstCochee(0));
        EXPECT_FALSE(partition->EstSelectionnee(0));
        EXPECT_EQ(g->model()->index(1, 0).data(ModelePCLC::RoleSelectionnee).toBool(), c.selectionApres);
        EXPECT_EQ(change.count(), (c.coche != c.cocheApres || c.selection != c.selectionApres) ? 1 : 0);
    }
}

TEST_F(StatPartTest, ReleasesOffTheDataRowsChangeNothing)
{
    auto f = Fenetre();
    GrillePCLC *g = f->GrdPCLC();
    const QPoint cellule = Centre(g, 0, 3);
    const QPoint dessous(cellule.x(), g->visualRect(g->model()->index(1, 3)).bottom() + 30);
    // Released below the last row, and pressed there then released on a cell.
    Clic(g, cellule, dessous);
    Clic(g, dessous, cellule);
    EXPECT_FALSE(partition->EstSelectionnee(0));
    // The header row is no data row: a click there selects nothing either.
    QHeaderView *entete = g->horizontalHeader();
    const QPoint surEntete(entete->sectionViewportPosition(3) + 5, entete->height() / 2);
    QMouseEvent appui(QEvent::MouseButtonPress, surEntete, entete->viewport()->mapToGlobal(surEntete), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(entete->viewport(), &appui);
    QMouseEvent relache(QEvent::MouseButtonRelease, surEntete, entete->viewport()->mapToGlobal(surEntete),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(entete->viewport(), &relache);
    EXPECT_FALSE(partition->EstSelectionnee(0));
    EXPECT_TRUE(partition->EstCochee(0));
}

TEST_F(StatPartTest, MovingWithTheLeftButtonCancelsTheClickAndDragsAfterTenPixels)
{
    auto f = Fenetre();
    GrillePCLC *g = f->GrdPCLC();
    int glisses = 0;
    g->FixeGlisser([&] { ++glisses; });
    const QPoint depart = Centre(g, 0, 2);

    // A few pixels: no drag yet, but the click is gone.
    Souris(g, QEvent::MouseButtonPress, depart, Qt::LeftButton, Qt::LeftButton);
    Souris(g, QEvent::MouseMove, depart + QPoint(4, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(g->LigneEnCours(), -1);
    EXPECT_EQ(glisses, 0);
    Souris(g, QEvent::MouseButtonRelease, depart, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(partition->EstSelectionnee(0));

    // Ten pixels: one drag of the partition, however far the pointer goes on.
    Souris(g, QEvent::MouseButtonPress, depart, Qt::LeftButton, Qt::LeftButton);
    Souris(g, QEvent::MouseMove, depart + QPoint(9, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(glisses, 0);
    Souris(g, QEvent::MouseMove, depart + QPoint(10, 0), Qt::NoButton, Qt::LeftButton);
    Souris(g, QEvent::MouseMove, depart + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(glisses, 1);
    Souris(g, QEvent::MouseButtonRelease, depart + QPoint(30, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(partition->EstSelectionnee(0));

    // Held with the right button, moving over other rows keeps the click.
    Souris(g, QEvent::MouseButtonPress, depart, Qt::RightButton, Qt::RightButton);
    Souris(g, QEvent::MouseMove, Centre(g, 1, 2), Qt::NoButton, Qt::RightButton);
    Souris(g, QEvent::MouseButtonRelease, Centre(g, 1, 2), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(glisses, 1);
    EXPECT_TRUE(partition->EstSelectionnee(1));
}

TEST_F(StatPartTest, SpecificityButtonsCallTheInstalledActions)
{
    std::vector<std::string> appels;
    TFenStatPart *vue = nullptr;
    talmer::ExtensionStatistiques() = [&](TFenStatPart &f) {
        vue = &f;
        EXPECT_EQ(&f.PartitionStat(), partition.get());
        talmer::ActionsStatPart a;
        a.spTot = [&] { appels.push_back("spTot"); };
        a.exportePage = [&] { appels.push_back("page"); };
        f.FixeActions(std::move(a));
    };
    auto f = Fenetre();
    EXPECT_EQ(vue, f.get());
    EXPECT_TRUE(f->BtnSpTot()->isEnabled());
    EXPECT_FALSE(f->BtnSpecif()->isEnabled());
    EXPECT_FALSE(f->BtnSpEvol()->isEnabled());
    f->BtnSpTot()->click();
    f->BtnSpecif()->click();
    static_cast<ContributeurRapport *>(f.get())->AjouteAuRapport();
    EXPECT_EQ(appels, (std::vector<std::string>{"spTot", "page"}));
}

TEST_F(StatPartTest, AnalysisButtonsNeedTheMainWindowAndTheirFactory)
{
    TFenPrinc fenPrinc;
    Partition *recue = nullptr;
    talmer::FabriquesStatistiques().zipf = [&](TFenPrinc &, Partition &p) { recue = &p; };
    TFenStatPart f(&fenPrinc, *partition);
    EXPECT_TRUE(f.BtnZipf()->isEnabled());
    EXPECT_FALSE(f.BtnAFC()->isEnabled());
    EXPECT_FALSE(f.BtnAcroiVoc()->isEnabled());
    f.BtnZipf()->click();
    EXPECT_EQ(recue, partition.get());
    // Without a main window there is nowhere to open the curves.
    TFenStatPart seule(nullptr, *partition);
    EXPECT_FALSE(seule.BtnZipf()->isEnabled());
}

class CAHTest : public StatPartTest {
protected:
    void SetUp() override
    {
        StatPartTest::SetUp();
        ancienPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QString::fromStdString(dir_.path().string())));
    }
    void TearDown() override
    {
        qputenv("PATH", ancienPath);
        StatPartTest::TearDown();
    }
    QByteArray ancienPath;
    DialoguesTest dialogues;
};

TEST_F(CAHTest, AMissingProgramIsToldInFrench)
{
    ASSERT_TRUE(TFenStatPart::CheminProgrammeCAH().isEmpty());
    auto f = Fenetre();
    f->SpeedButton5()->click();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("«\u00A0ta3cah\u00A0» est introuvable")));
    EXPECT_FALSE(f->CAHEnCours());
    EXPECT_TRUE(f->SpeedButton5()->isEnabled());
}

TEST_F(CAHTest, TheProgramRunsFoundOnThePathWhileTheWindowStaysAlive)
{
    // The program ends only once the test lets it go (or after half a minute, should the test
    // fail first), so what the test sees while it runs does not depend on the machine's speed.
    const std::string libere = (dir_.path() / "libere").string();
    const std::string marque = (dir_.path() / "fini").string();
    talmer::test::writeFile(dir_.path() / "ta3cah",
                            "#!/bin/sh\ni=0\nwhile [ ! -e '" + libere + "' ] && [ $i -lt 3000 ]; do\n"
                            "  /bin/sleep 0.01; i=$((i+1))\ndone\n"
                            "[ -e '" + libere + "' ] && /usr/bin/touch '" + marque + "'\n");
    QFile::setPermissions(QString::fromStdString((dir_.path() / "ta3cah").string()),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto f = Fenetre();
    QSignalSpy fin(f.get(), &TFenStatPart::finCAH);
    f->SpeedButton5()->click();
    EXPECT_TRUE(f->CAHEnCours());
    EXPECT_FALSE(f->SpeedButton5()->isEnabled());
    EXPECT_EQ(f->cursor().shape(), Qt::WaitCursor);
    f->SpeedButton5()->click(); // disabled: no second program

    // The interface goes on while the program runs: an event posted now is handled while it
    // still runs, and that event is what lets it end.
    bool enCours = false;
    QMetaObject::invokeMethod(
        f.get(),
        [&] {
            enCours = f->CAHEnCours();
            talmer::test::writeFile(libere, "");
        },
        Qt::QueuedConnection);
    ASSERT_TRUE(fin.wait(60000));
    EXPECT_TRUE(enCours);
    EXPECT_TRUE(std::filesystem::exists(marque));
    EXPECT_FALSE(f->CAHEnCours());
    EXPECT_TRUE(f->SpeedButton5()->isEnabled());
    EXPECT_NE(f->cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(dialogues.messages.empty());
}

} // namespace

// The file dialogs of the program: the folder chooser's title and text, and columns wide enough
// for their titles and rows.
#include "services/dialogues.h"

#include "services/translation.h"
#include "support/tempdir.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using talmer::test::writeFile;

namespace {

TEST(DialoguesFichier, TheFolderChooserTitleHoldsOneLineAndItsTextTheWhole)
{
    const QString texte = QStringLiteral("Répertoire de destination du rapport.\nUn Sous répertoire sera créé.");
    std::unique_ptr<QFileDialog> dialogue = DialogueDossier(nullptr, texte);
    EXPECT_EQ(dialogue->windowTitle(), QStringLiteral("Répertoire de destination du rapport."));
    EXPECT_EQ(dialogue->fileMode(), QFileDialog::Directory);
    auto *etiquette = dialogue->findChild<QLabel *>(QStringLiteral("texteDossier"));
    ASSERT_NE(etiquette, nullptr);
    EXPECT_EQ(etiquette->text(), texte);
    // Above everything else of the dialog.
    auto *grille = qobject_cast<QGridLayout *>(dialogue->layout());
    ASSERT_NE(grille, nullptr);
    int ligne = -1, colonne = -1, lignes = 0, colonnes = 0;
    grille->getItemPosition(grille->indexOf(etiquette), &ligne, &colonne, &lignes, &colonnes);
    EXPECT_EQ(ligne, 0);
    for (int i = 0; i < grille->count(); ++i) {
        int l, c, ls, cs;
        grille->getItemPosition(i, &l, &c, &ls, &cs);
        if (grille->itemAt(i)->widget() != etiquette) {
            EXPECT_GE(l, 1);
        }
    }

    // The detailed list's columns get room for their titles.
    dialogue->setViewMode(QFileDialog::Detail);
    auto *vue = dialogue->findChild<QTreeView *>();
    ASSERT_NE(vue, nullptr);
    for (int i = 0; i < vue->header()->count(); ++i)
        vue->header()->resizeSection(i, 10);
    ElargitColonnes(*dialogue);
    for (int i = 0; i < vue->header()->count(); ++i)
        EXPECT_GE(vue->header()->sectionSize(i), vue->header()->sectionSizeHint(i)) << i;
}

TEST(DialoguesFichier, ColumnsWidenToTheirRowsOnceTheListHasFilledIn)
{
    talmer::test::TempDir ici;
    InitialiseTraduction(QStringLiteral("fr")); // a French user's start
    fs::create_directory("un dossier");
    writeFile("ville.par", std::string(447, 'x'));
    ColonnesDialoguesFichier filtre;
    qApp->installEventFilter(&filtre);
    QFileDialog dialogue(nullptr, QStringLiteral("Ouverture d'une base Talmer"), QDir::currentPath());
    dialogue.setOption(QFileDialog::DontUseNativeDialog, true);
    dialogue.setViewMode(QFileDialog::Detail);
    dialogue.show();
    auto *vue = dialogue.findChild<QTreeView *>();
    ASSERT_NE(vue, nullptr);
    // Qt's widths are those of short English samples ("128.88 GB", "mp3Folder"): too narrow for
    // "447 octets" and the types of the user's language.
    auto ligneDe = [vue](const QString &nom) {
        const QModelIndex racine = vue->rootIndex();
        for (int r = 0; r < vue->model()->rowCount(racine); ++r)
            if (vue->model()->index(r, 0, racine).data().toString() == nom)
                return r;
        return -1;
    };
    auto contenu = [vue](int colonne) { return static_cast<const QAbstractItemView *>(vue)->sizeHintForColumn(colonne); };
    const bool rempli = QTest::qWaitFor([&] {
        const int r = ligneDe(QStringLiteral("ville.par"));
        if (r < 0 || vue->model()->index(r, 1, vue->rootIndex()).data().toString().isEmpty())
            return false;
        for (int c = 0; c < vue->header()->count() - 1; ++c)
            if (vue->header()->sectionSize(c) < contenu(c))
                return false;
        return true;
    }, 5000);
    EXPECT_TRUE(rempli);
    for (int c = 0; c < vue->header()->count() - 1; ++c)
        EXPECT_GE(vue->header()->sectionSize(c), contenu(c)) << c;
    // A folder's type in the user's language (the interface is French here).
    const int dossier = ligneDe(QStringLiteral("un dossier"));
    ASSERT_GE(dossier, 0);
    EXPECT_EQ(vue->model()->index(dossier, 2, vue->rootIndex()).data().toString(), QStringLiteral("Dossier"));
    qApp->removeEventFilter(&filtre);
}

} // namespace

// The message catalogue shipped with the program (English) and the translation of widget trees.
#include "services/translation.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Restores LANG after a test that changes it.
class LangGarde {
public:
    LangGarde() : avant_(qgetenv("LANG")), avait_(qEnvironmentVariableIsSet("LANG")) {}
    ~LangGarde()
    {
        if (avait_)
            qputenv("LANG", avant_);
        else
            qunsetenv("LANG");
        InitialiseTraduction(QStringLiteral("fr"));
    }

private:
    QByteArray avant_;
    bool avait_;
};

} // namespace

TEST(Traduction, CatalogueBuiltBesideTheProgram)
{
    EXPECT_EQ(DossierCatalogues(), QCoreApplication::applicationDirPath() + QStringLiteral("/locale"));
    EXPECT_TRUE(QFile::exists(DossierCatalogues() + QStringLiteral("/en/LC_MESSAGES/default.mo")));
}

TEST(Traduction, QtsOwnTextsFollowTheInterfacesLanguage)
{
    LangGarde garde;
    auto annuler = [] {
        QDialogButtonBox boutons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        return boutons.button(QDialogButtonBox::Cancel)->text() + QLatin1Char('|') +
               boutons.button(QDialogButtonBox::Open)->text();
    };
    // No catalogue for French: the interface shows its French texts, and so do Qt's dialogs.
    EXPECT_FALSE(InitialiseTraduction(QStringLiteral("fr_FR")));
    EXPECT_EQ(annuler(), QStringLiteral("Annuler|Ouvrir"));
    EXPECT_TRUE(InstalleTraductionsQt());
    ASSERT_TRUE(InitialiseTraduction(QStringLiteral("en")));
    EXPECT_EQ(annuler(), QStringLiteral("Cancel|Open"));
}

TEST(Traduction, QtTextsItsOwnCatalogueLacksComeFromOurs)
{
    LangGarde garde;
    auto qt = [](const char *contexte, const char *texte) { return QCoreApplication::translate(contexte, texte); };
    EXPECT_FALSE(InitialiseTraduction(QStringLiteral("fr_FR")));
    // The type of a folder in the file dialogs, which Qt's French catalogue leaves in English.
    EXPECT_EQ(qt("QAbstractFileIconProvider", "Folder"), QStringLiteral("Dossier"));
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("Dossier"));
    // Qt's catalogue still answers for its own texts; a text neither holds stays as it is.
    EXPECT_EQ(qt("QFileDialog", "Look in:"), QStringLiteral("Voir dans :"));
    EXPECT_EQ(qt("QAbstractFileIconProvider", "Nothing of the kind"), QStringLiteral("Nothing of the kind"));
    EXPECT_EQ(qt("QFileDialog", "Folder"), QStringLiteral("Dossier"));
    // In English, Qt's own texts.
    ASSERT_TRUE(InitialiseTraduction(QStringLiteral("en")));
    EXPECT_EQ(qt("QAbstractFileIconProvider", "Folder"), QStringLiteral("Folder"));
}

TEST(Traduction, EnglishCatalogue)
{
    LangGarde garde;
    ASSERT_TRUE(InitialiseTraduction(QStringLiteral("en")));
    EXPECT_EQ(LangueTraduction(), QStringLiteral("en"));
    EXPECT_EQ(Traduit("Elements du rapport"), QStringLiteral("Report items"));
    EXPECT_EQ(Traduit("Hébreu"), QStringLiteral("Hebrew"));
    EXPECT_EQ(Traduit("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"),
              QStringLiteral("The report has been modified.\nDo you want to save it?"));
    EXPECT_EQ(Traduit(QStringLiteral("Impossible de créer le dossier «\u00A0%1\u00A0».")).arg(QStringLiteral("/x")),
              QString::fromUtf8("Cannot create the folder “/x”."));
    // Texts the catalogue lacks are shown as they are; the empty text stays empty.
    EXPECT_EQ(Traduit("Texte absent du catalogue"), QStringLiteral("Texte absent du catalogue"));
    EXPECT_EQ(Traduit(""), QString());
    EXPECT_EQ(Traduit(QString()), QString());
}

TEST(Traduction, LanguageFromLangWithTwoLetterFallback)
{
    LangGarde garde;
    struct Cas {
        const char *lang;
        bool trouve;
        const char *langue;
    };
    const Cas cas[] = {
        {"en_GB.UTF-8", true, "en"},
        {"en", true, "en"},
        {"en_US@euro", true, "en"},
        {"fr_FR.UTF-8", false, ""},
        {"C", false, ""},
    };
    for (const Cas &c : cas) {
        qputenv("LANG", c.lang);
        EXPECT_EQ(InitialiseTraduction(), c.trouve) << c.lang;
        EXPECT_EQ(LangueTraduction(), QString::fromLatin1(c.langue)) << c.lang;
        EXPECT_EQ(Traduit("Enregistrer"), c.trouve ? QStringLiteral("Save") : QStringLiteral("Enregistrer")) << c.lang;
    }
}

TEST(Traduction, WidgetTreeTranslatedOnceWithTheHtmlViewExcluded)
{
    LangGarde garde;
    ASSERT_TRUE(InitialiseTraduction(QStringLiteral("en")));
    ExclutClasseDeTraduction("QTextBrowser");

    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("Options"));
    auto *disposition = new QVBoxLayout(&fenetre);
    auto *menus = new QMenuBar(&fenetre);
    QMenu *fichier = menus->addMenu(QStringLiteral("Rapport"));
    QAction *quitter = fichier->addAction(QStringLiteral("&Quitter"));
    quitter->setStatusTip(QStringLiteral("Quitter"));

    auto *etiquette = new QLabel(QStringLiteral("Police d'affichage :"));
    auto *bouton = new QPushButton(QStringLiteral("Nouveau"));
    bouton->setToolTip(QStringLiteral("Créer un nouveau rapport"));
    auto *liste = new QComboBox;
    liste->addItems({QStringLiteral("Grec"), QStringLiteral("Arabe"), QStringLiteral("Inconnu")});
    auto *onglets = new QTabWidget;
    onglets->addTab(new QWidget, QStringLiteral("Segmentation"));
    onglets->addTab(new QWidget, QStringLiteral("Musiques"));
    onglets->setTabToolTip(0, QStringLiteral("Enregistrer le rapport"));
    auto *groupe = new QGroupBox(QStringLiteral("Rapport"));
    auto *dedans = new QVBoxLayout(groupe);
    auto *edition = new QLineEdit;
    edition->setPlaceholderText(QStringLiteral("Nombre maximum d'articles :"));
    edition->setText(QStringLiteral("Enregistrer")); // what the user typed is data, not a caption
    dedans->addWidget(edition);
    auto *elements = new QListWidget;
    elements->addItems({QStringLiteral("Turc"), QStringLiteral("Texte DOS")});
    auto *arbre = new QTreeWidget;
    arbre->setHeaderLabels({QStringLiteral("Navigation")});
    auto *noeud = new QTreeWidgetItem(arbre, {QStringLiteral("Elements du rapport")});
    new QTreeWidgetItem(noeud, {QStringLiteral("Rapport")});
    auto *page = new QTextBrowser;
    page->setToolTip(QStringLiteral("Enregistrer"));
    page->setPlainText(QStringLiteral("Nouveau"));
    auto *dansPage = new QLabel(QStringLiteral("Annuler"), page);

    for (QWidget *w : std::initializer_list<QWidget *>{etiquette, bouton, liste, onglets, groupe, elements, arbre, page})
        disposition->addWidget(w);

    TraduitComposants(&fenetre);

    EXPECT_EQ(fenetre.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(fichier->title(), QStringLiteral("Report"));
    EXPECT_EQ(quitter->text(), QStringLiteral("&Quit"));
    EXPECT_EQ(quitter->statusTip(), QStringLiteral("Quit"));
    EXPECT_EQ(etiquette->text(), QStringLiteral("Display font:"));
    EXPECT_EQ(bouton->text(), QStringLiteral("New"));
    EXPECT_EQ(bouton->toolTip(), QStringLiteral("Create a new report"));
    EXPECT_EQ(liste->itemText(0), QStringLiteral("Greek"));
    EXPECT_EQ(liste->itemText(1), QStringLiteral("Arabic"));
    EXPECT_EQ(liste->itemText(2), QStringLiteral("Inconnu"));
    EXPECT_EQ(onglets->tabText(0), QStringLiteral("Segmentation"));
    EXPECT_EQ(onglets->tabText(1), QStringLiteral("Music"));
    EXPECT_EQ(onglets->tabToolTip(0), QStringLiteral("Save the report"));
    EXPECT_EQ(groupe->title(), QStringLiteral("Report"));
    EXPECT_EQ(edition->placeholderText(), QStringLiteral("Maximum number of articles:"));
    EXPECT_EQ(edition->text(), QStringLiteral("Enregistrer"));
    EXPECT_EQ(elements->item(0)->text(), QStringLiteral("Turkish"));
    EXPECT_EQ(elements->item(1)->text(), QStringLiteral("DOS text"));
    EXPECT_EQ(arbre->headerItem()->text(0), QStringLiteral("Navigation"));
    EXPECT_EQ(noeud->text(0), QStringLiteral("Report items"));
    EXPECT_EQ(noeud->child(0)->text(0), QStringLiteral("Report"));
    // The HTML view and what it holds keep their texts.
    EXPECT_EQ(page->toolTip(), QStringLiteral("Enregistrer"));
    EXPECT_EQ(page->toPlainText(), QStringLiteral("Nouveau"));
    EXPECT_EQ(dansPage->text(), QStringLiteral("Annuler"));

    // Once: a caption set in French after the translation is not translated by a second pass,
    // and a widget added later is.
    bouton->setText(QStringLiteral("Enregistrer"));
    auto *tardive = new QLabel(QStringLiteral("Enregistrer"), groupe);
    TraduitComposants(&fenetre);
    EXPECT_EQ(bouton->text(), QStringLiteral("Enregistrer"));
    EXPECT_EQ(etiquette->text(), QStringLiteral("Display font:"));
    EXPECT_EQ(tardive->text(), QStringLiteral("Save"));
}

TEST(Traduction, WithoutCatalogueTheFrenchTextsStay)
{
    LangGarde garde;
    EXPECT_FALSE(InitialiseTraduction(QStringLiteral("de")));
    QLabel etiquette(QStringLiteral("Police d'affichage :"));
    TraduitComposants(&etiquette);
    EXPECT_EQ(etiquette.text(), QStringLiteral("Police d'affichage :"));
    EXPECT_EQ(Traduit("Elements du rapport"), QStringLiteral("Elements du rapport"));
}

// The real main window with the analysis windows installed: opening a base docks its dictionary
// and opens its reading view, and opening another base replaces both.
#include "shell/poste_test.h"
#include "windows/fenprinc_echantillon.h"

#include "engine/charg1.h"
#include "shell/fenprinc.h"
#include "shell/rapport.h"
#include "windows/commun/vuehtml.h"
#include "windows/dictionnaire/fendicnum.h"
#include "windows/dictionnaire/modeledico.h"
#include "windows/installation.h"
#include "windows/liseuse/fenliseuse.h"

#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace talmer;

namespace {

class FenetresBaseTest : public talmer::test::FenPrincEchantillon {
protected:
    void SetUp() override
    {
        Prepare(false);
        fen->show();
    }

    std::vector<TFenDicNum *> Dictionnaires() const
    {
        std::vector<TFenDicNum *> v;
        for (QWidget *page : fen->ListesGauche()->Pages())
            if (auto *d = qobject_cast<TFenDicNum *>(page))
                v.push_back(d);
        return v;
    }
    std::vector<QMdiSubWindow *> Liseuses() const
    {
        std::vector<QMdiSubWindow *> v;
        for (QMdiSubWindow *s : fen->ZoneMdi()->subWindowList())
            if (qobject_cast<TFenLiseuse *>(s->widget()))
                v.push_back(s);
        return v;
    }

};

} // namespace

TEST_F(FenetresBaseTest, OuvrirLaBaseDockeLeDictionnaireEtOuvreLaLecture)
{
    const QString par = QString::fromStdString(talmer::test::FabriqueBaseEchantillon(dir_.path() / "base"));
    ASSERT_FALSE(par.isEmpty());
    ASSERT_TRUE(fen->OuvreBase(par));
    talmer::test::TraiteEvenements();
    EXPECT_TRUE(dialogues.messages.empty());

    std::vector<TFenDicNum *> dicos = Dictionnaires();
    ASSERT_EQ(dicos.size(), 1u);
    TFenDicNum *dico = dicos.front();
    EXPECT_TRUE(fen->ListesGauche()->EstDevant(dico));
    ASSERT_NE(fen->ListesGauche()->Dock(dico), nullptr);
    EXPECT_EQ(fen->ListesGauche()->Dock(dico)->windowTitle(), QStringLiteral("Dictionnaire"));
    const charg1 *base = fen->Base();
    EXPECT_EQ(dico->Modele()->rowCount(), base->Nbform() + base->Nbartponct());
    // The sample's accented forms reach the list as Unicode.
    const std::int32_t riviere = dico->Modele()->Ordre().Cherche("rivi\xE8re", -1);
    ASSERT_GE(riviere, 0);
    EXPECT_EQ(dico->Modele()->data(dico->Modele()->index(riviere, 0)).toString(), QStringLiteral("rivière"));

    std::vector<QMdiSubWindow *> liseuses = Liseuses();
    ASSERT_EQ(liseuses.size(), 1u);
    EXPECT_TRUE(liseuses.front()->isMaximized());
    auto *liseuse = qobject_cast<TFenLiseuse *>(liseuses.front()->widget());
    EXPECT_EQ(liseuse->windowTitle(), QStringLiteral("Lectorium"));
    const QString texte = liseuse->HTMLEdit()->Navigateur()->toPlainText();
    EXPECT_TRUE(texte.startsWith(QStringLiteral("<auteur=Martin><date=1890>\nLe matin , la rivière descend")))
        << texte.left(80).toStdString();
    const QString page = liseuse->CheminPage();
    EXPECT_TRUE(QFile::exists(page));

    // Another base replaces both windows.
    const QString autre = QString::fromStdString(talmer::test::FabriqueBaseEchantillon(dir_.path() / "autre"));
    ASSERT_TRUE(fen->OuvreBase(autre));
    talmer::test::TraiteEvenements();
    EXPECT_EQ(Dictionnaires().size(), 1u);
    EXPECT_NE(Dictionnaires().front(), dico);
    EXPECT_EQ(Liseuses().size(), 1u);
    EXPECT_FALSE(QFile::exists(page));
}

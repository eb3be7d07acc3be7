// The reading view: the page bytes for small bases, and the window with its page file and drops.
#include "engine/base_fixture.h"
#include "support/glisser.h"
#include "support/poste_test.h"

#include "engine/tgen.h"
#include "services/utilitaires.h"
#include "shell/dragobjects.h"
#include "windows/commun/decoupagehtml.h"
#include "windows/commun/barreparties.h"
#include "windows/commun/vuehtml.h"
#include "windows/liseuse/fenliseuse.h"
#include "windows/liseuse/pagelecture.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QMimeData>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace talmer;

namespace {

// Entities: le 0 (twice), then a&b 1, chat 2, chien 3 (equal frequencies alphabetically),
// ',' 4, '.' 5, the key type t 6, the key contents A&B 7 and C 8.
const char *const Texte = "<t=A&B> le chat, a&b\nle chien.\n\n<t=C>";

const std::string Entete =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />"
    "<title>PLOVA</title><style type=\"text/css\">\r\n"
    ".tgenstyle {font-weight: bold;\r\ncolor: #ff0000;}\r\n"
    ".partie {background-color: #ffff00;\r\nfont-weight: bold;\r\ncolor: #0000ff;}\r\n"
    "</style></head><body dir=\"LTR\">\r\n";
const std::string Fin = "</body></html>\r\n";

class LiseuseTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        temp_.emplace("TEMP", dir_.path().string());
        base = talmer::test::makeBase(Texte, ".,");
        ASSERT_TRUE(base);
    }
    void TearDown() override { temp_.reset(); }

    // A drop of a group on the window, as a drag from the dictionary makes it.
    void Depose(TFenLiseuse &fen, std::vector<std::int32_t> entites, std::int32_t couleur, charg1 *de = nullptr)
    {
        auto objet = std::make_unique<TTgenDragObject>(nullptr, de ? de : base.get(), std::string(), couleur,
                                                       static_cast<std::int32_t>(entites.size()));
        objet->Entites() = std::move(entites);
        TMimeTalmer donnees(std::move(objet));
        accepte = talmer::test::Depose(fen, donnees, QPoint(10, 10));
    }

    std::unique_ptr<charg1> base;
    bool accepte = false;
    talmer::test::DialoguesTest dialogues;
    std::optional<talmer::test::VariableEnv> temp_;
};

} // namespace

TEST_F(LiseuseTest, PageSansGroupe)
{
    ASSERT_EQ(base->Nbform(), 4);
    const std::string attendu = Entete +
        "<span class=\"partie\">&lt;t=A&amp;B&gt;</span> le chat , a&amp;b<br />\r\n"
        " le chien .<br />\r\n"
        "<br />\r\n"
        "<span class=\"partie\">&lt;t=C&gt;</span>" + Fin;
    EXPECT_EQ(PageLecture(*base, nullptr, ParametresPage{}), attendu);
}

TEST_F(LiseuseTest, PageAvecGroupeEtJeuDeDroiteAGauche)
{
    const std::int32_t formes[] = {2, 0}; // chat, le
    Tgen groupe(base.get(), formes, 2);
    groupe.FixeCouleur(0x563412);
    ParametresPage p;
    p.charset = "windows-1256";
    p.direction = "RTL";
    const std::string attendu =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1256\" />"
        "<title>PLOVA</title><style type=\"text/css\">\r\n"
        ".tgenstyle {font-weight: bold;\r\ncolor: #123456;}\r\n"
        ".partie {background-color: #ffff00;\r\nfont-weight: bold;\r\ncolor: #0000ff;}\r\n"
        "</style></head><body dir=\"RTL\">\r\n"
        "<span class=\"partie\">&lt;t=A&amp;B&gt;</span><span class=\"tgenstyle\"> le</span>"
        "<span class=\"tgenstyle\"> chat</span> , a&amp;b<br />\r\n"
        "<span class=\"tgenstyle\"> le</span> chien .<br />\r\n"
        "<br />\r\n"
        "<span class=\"partie\">&lt;t=C&gt;</span>" + Fin;
    EXPECT_EQ(PageLecture(*base, &groupe, p), attendu);
}

TEST_F(LiseuseTest, TypeDeCleEnFinDeTexteSansValeur)
{
    // The last two items become "le" and the key type: the key has no value to read.
    const std::int32_t n = base->Nbitem();
    base->SetTnum(n - 2, 0);
    base->SetTnum(n - 1, 6);
    const std::string page = PageLecture(*base, nullptr, ParametresPage{});
    const std::string fin = "<br />\r\n le<span class=\"partie\">&lt;t=&gt;</span>" + Fin;
    ASSERT_GE(page.size(), fin.size());
    EXPECT_EQ(page.substr(page.size() - fin.size()), fin);
}

TEST_F(LiseuseTest, FenetreEcritSaPageEtRemplaceLeGroupeDepose)
{
    QString chemin;
    {
        TFenLiseuse fen(*base);
        EXPECT_EQ(fen.windowTitle(), QStringLiteral("Lectorium"));
        chemin = fen.CheminPage();
        EXPECT_TRUE(QFileInfo(chemin).fileName().startsWith(QStringLiteral("t3th")));
        EXPECT_EQ(QFileInfo(chemin).absolutePath(), QFileInfo(QString::fromStdString(dir_.path().string())).absoluteFilePath());
        EXPECT_EQ(talmer::test::readFile(chemin.toStdString()), PageLecture(*base, nullptr, ParametresPage{}));
        EXPECT_EQ(fen.HTMLEdit()->Navigateur()->toPlainText().left(14), QStringLiteral("<t=A&B> le cha"));

        // A group in white takes its palette colour; the page is written again with it.
        Depose(fen, {3}, TTgenDragObject::SansCouleur);
        ASSERT_TRUE(accepte);
        ASSERT_NE(fen.Groupe(), nullptr);
        const std::int32_t palette = fen.Groupe()->Couleur();
        std::string page = talmer::test::readFile(chemin.toStdString());
        EXPECT_NE(page.find("<span class=\"tgenstyle\"> chien</span>"), std::string::npos);
        EXPECT_NE(palette, static_cast<std::int32_t>(TTgenDragObject::SansCouleur));
        EXPECT_NE(page.find("color: " + CouleurHtml(static_cast<std::uint32_t>(palette)) + ";}"), std::string::npos);
        EXPECT_EQ(page, PageLecture(*base, fen.Groupe(), ParametresPage{}));

        // A second drop replaces the first group.
        Depose(fen, {2}, 0x00FF00);
        ASSERT_TRUE(accepte);
        page = talmer::test::readFile(chemin.toStdString());
        EXPECT_EQ(page.find("> chien</span>"), std::string::npos);
        EXPECT_NE(page.find("<span class=\"tgenstyle\"> chat</span>"), std::string::npos);
        EXPECT_NE(page.find("color: #00ff00;"), std::string::npos);
        EXPECT_NE(fen.HTMLEdit()->HtmlPartie().indexOf(QStringLiteral("color: #00ff00;")), -1);

        // A group of another base is refused and the page stays.
        talmer::test::TempDir ailleurs;
        auto autre = talmer::test::makeBase("x y z\n", ".");
        ASSERT_TRUE(autre);
        Depose(fen, {0}, 0x0000FF, autre.get());
        EXPECT_FALSE(accepte);
        EXPECT_EQ(talmer::test::readFile(chemin.toStdString()), page);
        EXPECT_TRUE(dialogues.messages.empty());
    }
    EXPECT_FALSE(QFile::exists(chemin));
}

TEST_F(LiseuseTest, LaPageSeCoupeEnSEcrivantCommeLaPageEntiere)
{
    // Keys, line breaks, escaped spellings and a group: the parts found while writing, in pieces
    // of any size, are those of the whole page.
    std::string texte;
    for (int i = 0; i < 40; ++i)
        texte += Texte;
    base = talmer::test::makeBase(texte, ".,");
    ASSERT_TRUE(base);
    const std::int32_t formes[] = {2, 0};
    Tgen groupe(base.get(), formes, 2);
    for (const Tgen *g : {static_cast<const Tgen *>(nullptr), static_cast<const Tgen *>(&groupe)})
        for (std::size_t taille : {1, 5, 40, 300, 1 << 20})
            for (std::size_t seuil : {1, 17, 1 << 20}) {
                ParametresPage p;
                p.taillePartie = taille;
                p.seuilVidage = seuil;
                std::string page, tampon;
                DecoupageHtml d;
                ASSERT_TRUE(ProduitPageLecture(*base, g, p, tampon, [&](std::string &t) {
                    page += t;
                    t.clear();
                    return true;
                }, &d));
                ASSERT_EQ(page, PageLecture(*base, g, ParametresPage{}));
                const DecoupageHtml attendu = DecoupeHtml(page, taille);
                EXPECT_EQ(d.finEntete, attendu.finEntete);
                EXPECT_EQ(d.debutFin, attendu.debutFin);
                EXPECT_EQ(d.debuts, attendu.debuts) << "parts of " << taille << ", pieces of " << seuil;
                if (taille == 40) {
                    EXPECT_GT(d.NbParties(), 10u);
                }
            }
}

TEST_F(LiseuseTest, FenetreVaDirectementALaPartieTapee)
{
    // A text of a dozen parts or more.
    std::string texte = "<t=A> ";
    for (int i = 0; i < 200000; ++i)
        texte += "mot" + std::to_string(i % 5000) + (i % 20 == 19 ? "\n" : " ");
    base = talmer::test::makeBase(texte, ".,");
    ASSERT_TRUE(base);
    TFenLiseuse fen(*base);
    fen.resize(696, 480);
    fen.show();
    QCoreApplication::processEvents();
    VueHtml *vue = fen.HTMLEdit();
    const std::string page = talmer::test::readFile(fen.CheminPage().toStdString());
    const DecoupageHtml d = DecoupeHtml(page, VueHtml::TaillePartieParDefaut);
    const int n = static_cast<int>(d.NbParties());
    ASSERT_GE(n, 12);

    // Every part is known from the start: the count is exact.
    EXPECT_TRUE(vue->Barre()->isVisible());
    EXPECT_EQ(vue->NombreParties()->text(), QStringLiteral("sur %1").arg(n));
    EXPECT_EQ(vue->NumeroPartie()->maximum(), n);
    EXPECT_EQ(vue->NumeroPartie()->value(), 1);
    const QRect precedent = vue->BoutonPrecedent()->geometry(), suivant = vue->BoutonSuivant()->geometry();

    // Typing a number goes to that part at once; the arrows stay where they were.
    const auto partieAttendue = [&](int k) {
        const auto kk = static_cast<std::size_t>(k);
        return page.substr(0, d.finEntete) + page.substr(d.DebutPartie(kk), d.FinPartie(kk) - d.DebutPartie(kk)) +
               page.substr(d.debutFin);
    };
    vue->NumeroPartie()->setValue(11);
    QCoreApplication::processEvents();
    EXPECT_EQ(vue->PartieCourante(), 10);
    EXPECT_EQ(vue->HtmlPartie().toStdString(), partieAttendue(10));
    EXPECT_EQ(vue->BoutonPrecedent()->geometry(), precedent);
    EXPECT_EQ(vue->BoutonSuivant()->geometry(), suivant);
    vue->BoutonSuivant()->click();
    EXPECT_EQ(vue->NumeroPartie()->value(), 12);

    // The last part: no further; a number past it stops there.
    vue->NumeroPartie()->setValue(n + 5);
    EXPECT_EQ(vue->PartieCourante(), n - 1);
    EXPECT_EQ(vue->HtmlPartie().toStdString(), partieAttendue(n - 1));
    EXPECT_FALSE(vue->BoutonSuivant()->isEnabled());

    // A dropped group rewrites the page: the same part stays in view, the count stays exact.
    vue->NumeroPartie()->setValue(3);
    Depose(fen, {0}, 0x00FF00);
    ASSERT_TRUE(accepte);
    EXPECT_EQ(vue->PartieCourante(), 2);
    const std::string nouvelle = talmer::test::readFile(fen.CheminPage().toStdString());
    EXPECT_EQ(vue->NombreParties()->text(),
              QStringLiteral("sur %1").arg(DecoupeHtml(nouvelle, VueHtml::TaillePartieParDefaut).NbParties()));
    EXPECT_NE(vue->HtmlPartie().indexOf(QStringLiteral("color: #00ff00;")), -1);
}

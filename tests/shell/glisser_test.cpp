// Drag objects and the group container: what the objects carry, which drops a window takes
// (through synthetic drag events), the history of the 20 most recent groups, and forms handed by
// their spelling.
#include "shell/conteneur.h"
#include "shell/deposeforme.h"
#include "shell/dragobjects.h"

#include "engine/base_fixture.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "support/glisser.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>

#include <gtest/gtest.h>

using talmer::TConteneur;
using talmer::TMimeTalmer;
using talmer::TPartDragObject;
using talmer::TTalmerDragObject;
using talmer::TTgenDragObject;
using talmer::test::Depose;

namespace {

const char *const Texte = "<titre=un> le chat et le chien.\n<titre=deux> la pie et le chat.\n";

class GlisserTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base_ = talmer::test::makeBase(Texte, ".");
        ASSERT_TRUE(base_);
        autre_ = talmer::test::makeBase("un autre texte, tout autre.", ".,", "autre");
        ASSERT_TRUE(autre_);
    }

    std::int32_t Forme(const char *s) const { return base_->LocFormDic(s, true); }

    std::unique_ptr<TTgenDragObject> Groupe(std::vector<std::int32_t> entites, std::string nom = "",
                                            std::int32_t couleur = TTgenDragObject::SansCouleur,
                                            charg1 *base = nullptr, QObject *source = nullptr)
    {
        auto o = std::make_unique<TTgenDragObject>(source, base ? base : base_.get(), std::move(nom), couleur,
                                                   static_cast<std::int32_t>(entites.size()));
        std::copy(entites.begin(), entites.end(), o->Entites().begin());
        return o;
    }

    TConteneur &Conteneur()
    {
        conteneur_.FixeBase(base_.get());
        return conteneur_;
    }

    std::unique_ptr<charg1> base_;
    std::unique_ptr<charg1> autre_;
    TConteneur conteneur_;
};

} // namespace

TEST_F(GlisserTest, ObjetsEtCeQuIlsPortent)
{
    TTalmerDragObject simple(nullptr, base_.get());
    EXPECT_EQ(simple.Kind(), 0);
    EXPECT_EQ(simple.RetourneObjet(), nullptr);

    Partition partition(base_.get(), base_->LocFormDic("titre", false));
    TPartDragObject p(nullptr, &partition);
    EXPECT_EQ(p.Kind(), 3);
    EXPECT_EQ(p.Base(), base_.get());
    EXPECT_EQ(p.RetourneObjet(), &partition);

    auto g = Groupe({Forme("le"), Forme("chat")});
    EXPECT_EQ(g->Kind(), 1);
    EXPECT_EQ(g->Count(), 2);
    Selection *s = g->RetourneObjet();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->EstGroupeFormes());
    EXPECT_EQ(g->RetourneObjet(), s); // built once, however often it is asked
    const auto *t = static_cast<Tgen *>(s);
    EXPECT_STREQ(t->Nom(), "le+");
    EXPECT_EQ(t->NbOcc(), 5);

    auto vide = Groupe({});
    auto *tv = static_cast<Tgen *>(vide->RetourneObjet());
    ASSERT_NE(tv, nullptr);
    EXPECT_EQ(tv->NbFormes(), 0);
    EXPECT_EQ(tv->NbOcc(), 0);

    auto negatif = std::make_unique<TTgenDragObject>(nullptr, base_.get(), "", 0, -3);
    EXPECT_EQ(negatif->Count(), 0);
}

TEST_F(GlisserTest, CurseurDeGlisserTrace)
{
    auto g = Groupe({Forme("chat")});
    const QCursor c = g->GetDragCursor();
    g->GetDragCursor();
    EXPECT_FALSE(c.pixmap().isNull());
    EXPECT_EQ(talmer::test::readFile("atrace.txt").substr(talmer::test::readFile("atrace.txt").size() - 30),
              "GetDragCursor\r\nGetDragCursor\r\n");
}

TEST_F(GlisserTest, GroupeConstruitParLeRecepteur)
{
    auto blanc = Groupe({Forme("le"), Forme("pie")}, "bestiaire");
    const std::int32_t attendue = Tgen::Palette[Tgen::IndexCouleurSuivante()];
    auto g1 = blanc->ConstruitGroupe(base_.get(), true);
    EXPECT_EQ(g1->Couleur(), attendue); // white: the palette's next colour
    EXPECT_STREQ(g1->Nom(), "bestiaire");
    EXPECT_EQ(g1->NbOcc(), 4);
    auto g2 = blanc->ConstruitGroupe(base_.get(), false);
    EXPECT_STREQ(g2->Nom(), "le+");

    auto colore = Groupe({Forme("chien")}, "", 0x123456);
    auto g3 = colore->ConstruitGroupe(base_.get(), true);
    EXPECT_EQ(g3->Couleur(), 0x123456);
    EXPECT_STREQ(g3->Nom(), "chien");
}

TEST_F(GlisserTest, CeQuUneFenetreAccepte)
{
    QObject fenetre;
    QMimeData texte;
    texte.setText("chat");
    EXPECT_EQ(talmer::GroupeAcceptable(&texte, base_.get()), nullptr);
    EXPECT_EQ(talmer::SelectionAcceptable(&texte, base_.get()), nullptr);

    TMimeTalmer bon(Groupe({Forme("chat")}));
    EXPECT_NE(talmer::GroupeAcceptable(&bon, base_.get()), nullptr);
    EXPECT_NE(talmer::SelectionAcceptable(&bon, base_.get()), nullptr);
    EXPECT_EQ(talmer::PartitionAcceptable(&bon, base_.get()), nullptr);
    EXPECT_EQ(talmer::GroupeAcceptable(&bon, nullptr), nullptr);
    // A window of another base never rebuilds the numbers in its own.
    EXPECT_EQ(talmer::GroupeAcceptable(&bon, autre_.get()), nullptr);
    EXPECT_EQ(talmer::SelectionAcceptable(&bon, autre_.get()), nullptr);
    // Nor from the window itself when it refuses its own drags.
    TMimeTalmer propre(Groupe({Forme("chat")}, "", TTgenDragObject::SansCouleur, nullptr, &fenetre));
    EXPECT_EQ(talmer::GroupeAcceptable(&propre, base_.get(), &fenetre), nullptr);
    EXPECT_NE(talmer::GroupeAcceptable(&propre, base_.get()), nullptr);

    // Numbers that name no entity of the base are refused.
    const std::int32_t nbart = base_->Nbart();
    for (std::int32_t e : {-1, nbart, nbart + 1, 1 << 30}) {
        TMimeTalmer faux(Groupe({Forme("chat"), e}));
        EXPECT_EQ(talmer::GroupeAcceptable(&faux, base_.get()), nullptr) << e;
        EXPECT_EQ(talmer::SelectionAcceptable(&faux, base_.get()), nullptr) << e;
    }
    TMimeTalmer cle(Groupe({nbart - 1}));
    EXPECT_NE(talmer::GroupeAcceptable(&cle, base_.get()), nullptr);

    Partition partition(base_.get(), base_->LocFormDic("titre", false));
    TMimeTalmer part(std::make_unique<TPartDragObject>(nullptr, &partition));
    EXPECT_EQ(static_cast<TTalmerDragObject *>(talmer::PartitionAcceptable(&part, base_.get())), talmer::ObjetGlisse(&part));
    EXPECT_EQ(talmer::PartitionAcceptable(&part, autre_.get()), nullptr);
    EXPECT_EQ(talmer::GroupeAcceptable(&part, base_.get()), nullptr);
    EXPECT_NE(talmer::SelectionAcceptable(&part, base_.get()), nullptr);

    // What another program sees of our data says nothing about the object.
    EXPECT_EQ(bon.formats(), QStringList{TMimeTalmer::Format()});
    EXPECT_TRUE(bon.data(TMimeTalmer::Format()).isEmpty());
    EXPECT_FALSE(bon.hasText());
}

TEST_F(GlisserTest, DepotSurLeConteneur)
{
    TConteneur &c = Conteneur();
    EXPECT_EQ(c.toolTip(), "Vide");
    EXPECT_EQ(c.ContainerStartDrag(), nullptr); // nothing to carry before the first group

    const std::int32_t attendue = Tgen::Palette[Tgen::IndexCouleurSuivante()];
    TMimeTalmer blanc(Groupe({Forme("le"), Forme("chat")}));
    ASSERT_TRUE(Depose(c, blanc));
    ASSERT_NE(c.GroupeCourant(), nullptr);
    EXPECT_STREQ(c.GroupeCourant()->Nom(), "le+");
    EXPECT_EQ(c.GroupeCourant()->Couleur(), attendue);
    EXPECT_EQ(c.toolTip(), "le+");

    TMimeTalmer nomme(Groupe({Forme("pie")}, "oiseaux", 0x00FF00));
    ASSERT_TRUE(Depose(c, nomme));
    EXPECT_STREQ(c.GroupeCourant()->Nom(), "oiseaux");
    EXPECT_EQ(c.GroupeCourant()->Couleur(), 0x00FF00);

    // Dragging the current group out carries its numbers, colour and name.
    std::unique_ptr<TTgenDragObject> sortant = c.ContainerStartDrag();
    ASSERT_NE(sortant, nullptr);
    EXPECT_EQ(sortant->Source(), &c);
    EXPECT_EQ(sortant->Base(), base_.get());
    EXPECT_EQ(sortant->Nom(), "oiseaux");
    EXPECT_EQ(sortant->Couleur(), 0x00FF00);
    EXPECT_EQ(sortant->Entites(), std::vector<std::int32_t>{Forme("pie")});
    // ... and dropping it back on the container is refused.
    TMimeTalmer retour(std::move(sortant));
    EXPECT_FALSE(Depose(c, retour));
    EXPECT_EQ(c.Historique().Taille(), 2);

    // Foreign drops are refused: another base, data of another program.
    TMimeTalmer etranger(Groupe({0, 1}, "", TTgenDragObject::SansCouleur, autre_.get()));
    EXPECT_FALSE(Depose(c, etranger));
    QMimeData texte;
    texte.setText("chat");
    EXPECT_FALSE(Depose(c, texte));
    Partition partition(base_.get(), base_->LocFormDic("titre", false));
    TMimeTalmer part(std::make_unique<TPartDragObject>(nullptr, &partition));
    EXPECT_FALSE(Depose(c, part));
    EXPECT_EQ(c.Historique().Taille(), 2);
    EXPECT_STREQ(c.GroupeCourant()->Nom(), "oiseaux");
}

TEST_F(GlisserTest, HistoriqueDesVingtDerniers)
{
    TConteneur &c = Conteneur();
    TMimeTalmer meme(Groupe({Forme("chien")}));
    ASSERT_TRUE(Depose(c, meme));
    ASSERT_TRUE(Depose(c, meme)); // the same object twice: two entries of the same name
    ASSERT_EQ(c.Historique().Taille(), 2);
    EXPECT_NE(c.Historique().Entree(0), c.Historique().Entree(1));
    EXPECT_STREQ(c.Historique().Entree(1)->Nom(), "chien");

    for (int i = 0; i < 19; ++i) {
        TMimeTalmer g(Groupe({Forme("chat")}, "g" + std::to_string(i)));
        ASSERT_TRUE(Depose(c, g));
    }
    // 21 groups dropped: the first one has gone.
    const talmer::HistoriqueGroupes &h = c.Historique();
    ASSERT_EQ(h.Taille(), 20);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(std::string(h.Entree(i)->Nom()), "g" + std::to_string(18 - i));
    EXPECT_STREQ(h.Entree(19)->Nom(), "chien");
    EXPECT_EQ(h.Courant(), h.Entree(0));

    c.PMnuQueuePopup();
    QList<QAction *> items = c.PMnuQueue()->actions();
    ASSERT_EQ(items.size(), 20);
    EXPECT_EQ(items[0]->text(), "g18");
    EXPECT_EQ(items[19]->text(), "chien");
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[5]->isChecked());

    // Choosing an entry changes the current group only.
    items[5]->trigger();
    EXPECT_EQ(h.Courant(), h.Entree(5));
    EXPECT_EQ(c.toolTip(), "g13");
    EXPECT_STREQ(h.Entree(0)->Nom(), "g18");
    c.PMnuQueuePopup();
    items = c.PMnuQueue()->actions();
    ASSERT_EQ(items.size(), 20);
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[5]->isChecked());
    EXPECT_EQ(c.ContainerStartDrag()->Nom(), "g13");

    // A further drop becomes current at the front, the oldest leaves.
    TMimeTalmer der(Groupe({Forme("pie")}, "dernier"));
    ASSERT_TRUE(Depose(c, der));
    EXPECT_EQ(h.Taille(), 20);
    EXPECT_STREQ(h.Courant()->Nom(), "dernier");
    EXPECT_STREQ(h.Entree(19)->Nom(), "g0");
}

TEST_F(GlisserTest, FormeRemiseParSaGraphie)
{
    TConteneur &c = Conteneur();
    c.DeposeForme("  chat \t\r\n");
    ASSERT_NE(c.GroupeCourant(), nullptr);
    EXPECT_STREQ(c.GroupeCourant()->Nom(), "chat");
    EXPECT_EQ(c.GroupeCourant()->NbFormes(), 1);
    EXPECT_EQ(c.GroupeCourant()->NbOcc(), 2);

    c.DeposeForme("absent");
    c.DeposeForme("   ");
    c.DeposeForme("titre"); // a key type is no form
    EXPECT_EQ(c.Historique().Taille(), 1);

    EXPECT_TRUE(talmer::EnvoieForme(&c, "."));
    EXPECT_STREQ(c.GroupeCourant()->Nom(), ".");
    QObject autre;
    EXPECT_FALSE(talmer::EnvoieForme(&autre, "chat"));
    EXPECT_EQ(talmer::EntiteDeGraphie(*base_, "\x01le\x7F"), Forme("le"));
}

TEST_F(GlisserTest, ChangementDeBase)
{
    TConteneur &c = Conteneur();
    TMimeTalmer g(Groupe({Forme("chat")}));
    ASSERT_TRUE(Depose(c, g));
    c.DeposeForme("le");
    ASSERT_EQ(c.Historique().Taille(), 2);
    // The base is about to be deleted: none of its groups may reach it again.
    c.OublieBase(base_.get());
    EXPECT_EQ(c.Historique().Taille(), 0);
    EXPECT_EQ(c.GroupeCourant(), nullptr);
    EXPECT_EQ(c.ContainerStartDrag(), nullptr);
    EXPECT_EQ(c.toolTip(), "Vide");
    EXPECT_FALSE(Depose(c, g)); // no open base: nothing is taken
    c.FixeBase(autre_.get());
    EXPECT_FALSE(Depose(c, g));
    TMimeTalmer a(Groupe({0}, "", TTgenDragObject::SansCouleur, autre_.get()));
    EXPECT_TRUE(Depose(c, a));
}

// The specificity parameter dialogs and the runs they start.
#include "windows/specificites/paramspec.h"

#include "windows/specificites/fenspecgrp.h"
#include "windows/specificites/pagesc.h"

#include "corpus_parties.h"
#include "dialogues_muets.h"

#include "engine/primspec.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

using namespace talmer;
using talmer::test::DialoguesMuets;

// Four parts in text order a, b, c, d: a 2 words, b 3, c 4, d 5.
class QuatreParties : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base = talmer::test::makeBase("<p=a> x y . <p=b> x z z . <p=c> y y x w . <p=d> z z w w w .", ".");
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
        ASSERT_EQ(partition->NbParties(), 4);
        ASSERT_EQ(partition->NbOccPartie(3), 5);
    }
    std::vector<bool> Drapeaux() const
    {
        std::vector<bool> d;
        for (std::int32_t k = 0; k < 4; ++k) {
            d.push_back(partition->EstCochee(k));
            d.push_back(partition->EstSelectionnee(k));
        }
        return d;
    }
    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

TEST_F(QuatreParties, ListsOfPartNamesEndWithASeparator)
{
    partition->Coche(1, false);
    partition->Selectionne(2, true);
    const ListesParties l = ListesDesParties(*partition);
    EXPECT_EQ(l.reference, "a, c, d, ");
    EXPECT_EQ(l.selection, "c, ");
    partition->Selectionne(2, false);
    EXPECT_EQ(ListesDesParties(*partition).selection, "");
}

TEST_F(QuatreParties, EvolutiveRunComparesTheTargetAloneWithThePartsUpToIt)
{
    // c selected: c (4 words) against a, b, c (9 words).
    partition->Selectionne(2, true);
    std::vector<bool> avant = Drapeaux();
    std::int32_t partie = -1;
    std::unique_ptr<PrimSpec> calcul = CalculeSpecEvolutive(*partition, nullptr, &partie);
    ASSERT_TRUE(calcul);
    EXPECT_EQ(partie, 2);
    EXPECT_EQ(calcul->TailleCorpus(), 9);
    EXPECT_EQ(calcul->TaillePartie(), 4);
    EXPECT_EQ(Drapeaux(), avant);

    // b and d selected: b alone against a and b; d, out of the reference, is out of the target.
    partition->Selectionne(2, false);
    partition->Selectionne(1, true);
    partition->Selectionne(3, true);
    avant = Drapeaux();
    calcul = CalculeSpecEvolutive(*partition, nullptr, &partie);
    ASSERT_TRUE(calcul);
    EXPECT_EQ(partie, 1);
    EXPECT_EQ(calcul->TailleCorpus(), 5);
    EXPECT_EQ(calcul->TaillePartie(), 3);
    EXPECT_EQ(Drapeaux(), avant);
}

void Echoue(std::int32_t)
{
    throw std::runtime_error("interrompu");
}

TEST_F(QuatreParties, RunsWithoutTargetAndFailuresPutTheFlagsBack)
{
    std::int32_t partie = 0;
    EXPECT_EQ(CalculeSpecEvolutive(*partition, nullptr, &partie), nullptr);
    EXPECT_EQ(partie, -1);
    // The group run on an empty target: a part of size 0, where nothing departs from chance,
    // at the most lenient threshold too.
    partition->FixeSeuil(100);
    partition->FixeFreqMin(1);
    std::unique_ptr<PrimSpec> groupe = CalculeSpecGroupe(*partition, 1, nullptr);
    ASSERT_TRUE(groupe);
    EXPECT_EQ(groupe->TailleCorpus(), 14);
    EXPECT_EQ(groupe->TaillePartie(), 0);
    EXPECT_TRUE(groupe->Liste().empty());

    partition->Selectionne(1, true);
    partition->Coche(3, false);
    const std::vector<bool> avant = Drapeaux();
    EXPECT_THROW(CalculeSpecEvolutive(*partition, Echoue, &partie), std::runtime_error);
    EXPECT_EQ(Drapeaux(), avant);
}

TEST_F(QuatreParties, GroupDialogStartsFromItsOwnValuesAndStoresThemOnOk)
{
    DialoguesMuets dialogues;
    partition->FixeSeuil(7);
    partition->FixeFreqMin(3);
    TFenParamSpec dialogue(nullptr, partition.get());
    EXPECT_EQ(dialogue.SpinSeuil()->value(), 5);
    EXPECT_EQ(dialogue.SpinFreqMin()->value(), 10 < base->Fmax() ? 10 : base->Fmax());
    EXPECT_EQ(dialogue.SpinSeuil()->maximum(), 100);
    EXPECT_EQ(dialogue.SpinFreqMin()->minimum(), 1);
    EXPECT_EQ(dialogue.SpinFreqMin()->maximum(), base->Fmax());

    // No selected part: the list opens, empty, and says so; the parameters are stored.
    dialogue.SpinSeuil()->setValue(40);
    dialogue.SpinFreqMin()->setValue(1);
    dialogue.BtnOKClick();
    EXPECT_TRUE(dialogues.messages.isEmpty());
    EXPECT_EQ(partition->Seuil(), 40);
    EXPECT_EQ(partition->FreqMin(), 1);
    TFenSpecGrp *vide = dialogue.Liste();
    ASSERT_NE(vide, nullptr);
    EXPECT_EQ(vide->LbCorpRef()->text(), QString::fromUtf8("Corpus de référence : a, b, c, d, "));
    EXPECT_EQ(vide->LbParties()->text(), QString::fromUtf8("Parties sélectionnées : "));
    EXPECT_EQ(vide->Modele()->rowCount(), 0);
    EXPECT_EQ(vide->Calcul()->TaillePartie(), 0);
    delete vide;

    TFenParamSpec encore(nullptr, partition.get());
    encore.SpinSeuil()->setValue(40);
    encore.SpinFreqMin()->setValue(1);
    partition->FixeSeuil(7);
    partition->Selectionne(2, true);
    partition->Coche(1, false);
    encore.BtnOKClick();
    EXPECT_EQ(partition->Seuil(), 40);
    EXPECT_EQ(partition->FreqMin(), 1);
    TFenSpecGrp *liste = encore.Liste();
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->LbCorpRef()->text(), QString::fromUtf8("Corpus de référence : a, c, d, "));
    EXPECT_EQ(liste->LbParties()->text(), QString::fromUtf8("Parties sélectionnées : c, "));
    EXPECT_EQ(liste->LbParties()->toolTip(),
              QString::fromUtf8("Corpus de référence : \na, c, d, \nParties sélectionnées : \nc, "));
    EXPECT_EQ(liste->windowTitle(), QString::fromUtf8("Spécifs - Part : p"));
    EXPECT_EQ(liste->Calcul()->TaillePartie(), 4);
    delete liste;
}

TEST_F(QuatreParties, DiachronicRunWithoutSelectionSelectsTheFirstPartForGood)
{
    DialoguesMuets dialogues;
    partition->Coche(1, false);
    std::vector<bool> pendant;
    QString liste;
    dialogues.repond = [&](QDialog &d) {
        pendant = Drapeaux();
        auto &diac = static_cast<TFenParamSpecDiac &>(d);
        diac.ChkSpChr()->setChecked(false);
        diac.SpinFreqMin()->setValue(1);
        diac.BitBtnOKClick();
        if (diac.Liste()) {
            liste = diac.Liste()->windowTitle() + "|" + diac.Liste()->LbCorpRef()->text() + "|" +
                    diac.Liste()->LbParties()->text();
            delete diac.Liste();
        }
        return d.result();
    };
    PageSC page(partition.get());
    page.LanceSpDiac(nullptr);
    // a, the first part, is selected before the dialog opens and stays selected.
    const std::vector<bool> selectionA = {true, true, false, false, true, false, true, false};
    EXPECT_EQ(pendant, selectionA);
    EXPECT_EQ(Drapeaux(), selectionA);
    EXPECT_EQ(liste, QString::fromUtf8("Spécifs évolutives - p|Partie : a|"));
    // The chronological specificities were not asked for.
    EXPECT_EQ(page.Resultat(), nullptr);
}

// The labels' hint of a list of 523 parts stays within a screen: 30 lines of at most 100
// characters, each list ending with how many names it leaves out.
TEST(BulleLibellesSpec, ManyPartsHoldOnAScreen)
{
    QStringList pages, une{QStringLiteral("page_3")};
    for (int k = 0; k < 523; ++k)
        pages.push_back(QStringLiteral("page_%1").arg(k));
    const struct {
        QStringList reference, selection;
    } cas[] = {{pages, une}, {pages, pages}, {une, pages}};
    for (const auto &c : cas) {
        const QStringList lignes = BulleLibellesSpec(c.reference, c.selection).split(QLatin1Char('\n'));
        EXPECT_LE(lignes.size(), 30);
        for (const QString &ligne : lignes)
            EXPECT_LE(ligne.size(), 100) << ligne.toStdString();
        ASSERT_EQ(lignes.count(QString::fromUtf8("Parties sélectionnées : ")), 1);
        EXPECT_EQ(lignes.front(), QString::fromUtf8("Corpus de référence : "));
        const auto titre = lignes.indexOf(QString::fromUtf8("Parties sélectionnées : "));
        // Each list: the names it shows and the count of the others add up to it.
        for (const auto &[debut, fin, noms] : {std::tuple(qsizetype(1), titre, c.reference),
                                               std::tuple(titre + 1, lignes.size(), c.selection)}) {
            const QStringList liste = lignes.mid(debut, fin - debut);
            const bool coupee = liste.back().startsWith(QChar(0x2026));
            const auto montres = liste.join(QLatin1Char(' ')).count(QLatin1Char(','));
            const auto restants = coupee ? liste.back().section(QLatin1Char(' '), 2, 2).toLongLong() : 0;
            EXPECT_EQ(montres + restants, noms.size()) << liste.back().toStdString();
            EXPECT_EQ(coupee, noms.size() > 1);
        }
    }
}

} // namespace

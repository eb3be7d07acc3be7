// The group being built: the five request types on a small base with segments, the result
// without duplicates, and the form lists (.lst) byte for byte.
#include "windows/groupes/resultatgroupe.h"

#include "engine/base_fixture.h"
#include "engine/segrep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using talmer::BilanChargement;
using talmer::BilanRecherche;
using talmer::BilanSauvegarde;
using talmer::ResultatGroupe;
using talmer::TypeRequete;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

// Forms by decreasing frequency, ties in alphabetical order:
//   0 le (5), 1 chat (3), 2 cc (2), 3 chien (2), 4 c++, 5 etc., 6 été, 7 Été (1 each).
// Segments attached by hand: 0 "le chat ", 1 "le chien ".
const char *const Texte = "<t=a> le chat le chat le chien , c++ etc. \xE9t\xE9 cc\n"
                          "<t=b> le chat , le chien \xC9t\xE9 cc\n";

class ResultatGroupeTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base_ = talmer::test::makeBase(Texte, ",");
        ASSERT_TRUE(base_);
        const char *formes[] = {"le", "chat", "cc", "chien", "c++", "etc.", "\xE9t\xE9", "\xC9t\xE9"};
        for (std::int32_t n = 0; n < 8; ++n)
            ASSERT_EQ(base_->LocFormDic(formes[n], true), n) << formes[n];
        ASSERT_EQ(base_->Nbform(), 8);
        segments_ = std::make_unique<SegRep>(base_.get(), std::set<std::int32_t>{});
        segments_->AjouteSegment({0, 1}, {});
        segments_->AjouteSegment({0, 3}, {});
        base_->AssigneSR(segments_.get());
    }
    void TearDown() override
    {
        if (base_)
            base_->AssigneSR(nullptr);
    }

    std::int32_t Seg(std::int32_t k) const { return base_->Nbart() + 1 + k; }

    // The rows' texts, in result order.
    static std::vector<std::string> Textes(const ResultatGroupe &r)
    {
        std::vector<std::string> t;
        for (int i = 0; i < r.Taille(); ++i)
            t.push_back(r.Graphie(i));
        return t;
    }

    std::unique_ptr<charg1> base_;
    std::unique_ptr<SegRep> segments_;
};

} // namespace

TEST_F(ResultatGroupeTest, EachRequestTypeFindsFormsThenSegmentsInOrder)
{
    using V = std::vector<std::string>;
    const struct {
        TypeRequete type;
        std::string motif;
        V attendu;
    } cas[] = {
        {TypeRequete::Exacte, "chat", {"chat"}},
        {TypeRequete::Exacte, "cha", {}},
        {TypeRequete::Exacte, "c++", {"c++"}},           // literal, not "one c or more then c"
        {TypeRequete::Exacte, ",", {","}},               // punctuation counts
        {TypeRequete::Exacte, "a", {}},                  // a key value is no form
        {TypeRequete::Debut, "le", {"le", "le chat ", "le chien "}},
        {TypeRequete::Debut, "c+", {"chat", "cc", "chien", "c++"}}, // "+" repeats the c
        {TypeRequete::Debut, "c\\+", {"c++"}},
        {TypeRequete::Debut, "le$", {"le"}},             // the anchor keeps its meaning
        {TypeRequete::Fin, "at", {"chat"}},              // a segment's text ends with a blank
        {TypeRequete::Fin, "chat ", {"le chat "}},
        {TypeRequete::Contenu, ".", {"le", "chat", "cc", "chien", "c++", "etc.", "\xE9t\xE9", "\xC9t\xE9",
                                     "le chat ", "le chien "}}, // any byte
        {TypeRequete::Contenu, "\\.", {"etc."}},
        {TypeRequete::Contenu, "hi", {"chien", "le chien "}},
        {TypeRequete::Contenu, "\xE9t", {"\xE9t\xE9"}},  // bytes: é is not É
        {TypeRequete::Expression, "^c", {"chat", "cc", "chien", "c++"}},
        {TypeRequete::Expression, "^[[:alpha:]]+$", {"le", "chat", "cc", "chien", "\xE9t\xE9", "\xC9t\xE9"}},
        {TypeRequete::Expression, "(?i)^\xE9t\xE9$", {"\xE9t\xE9", "\xC9t\xE9"}},
        {TypeRequete::Expression, "chien$", {"chien"}},
        {TypeRequete::Expression, "chien $", {"le chien "}},
        {TypeRequete::Expression, "t ", {"le chat "}},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.type)) + " " + c.motif);
        ResultatGroupe r(base_.get());
        const BilanRecherche b = r.Recherche(c.motif, c.type, "1252");
        EXPECT_TRUE(b.motifValide);
        EXPECT_EQ(b.echecs, 0);
        EXPECT_EQ(Textes(r), c.attendu);
        EXPECT_EQ(b.ajoutes, static_cast<std::int32_t>(c.attendu.size()));
    }
}

TEST_F(ResultatGroupeTest, SegmentsAreEntitiesAfterNbart)
{
    ResultatGroupe r(base_.get());
    r.Recherche("le", TypeRequete::Debut, "1252");
    EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{0, Seg(0), Seg(1)}));
    EXPECT_EQ(r.Frequence(0), 5);
    EXPECT_EQ(r.Frequence(1), 0); // made by hand without positions

    // Without segments attached only forms are searched, and segment rows are left empty.
    base_->AssigneSR(nullptr);
    EXPECT_EQ(r.Graphie(1), "");
    EXPECT_EQ(r.Frequence(1), -1);
    ResultatGroupe formes(base_.get());
    formes.Recherche("le", TypeRequete::Debut, "1252");
    EXPECT_EQ(formes.Entites(), (std::vector<std::int32_t>{0}));
}

TEST_F(ResultatGroupeTest, PatternThatDoesNotCompileAddsNothingAndSaysWhere)
{
    ResultatGroupe r(base_.get());
    r.AjouteResultat(1);
    for (const char *motif : {"(chat", "[a-", "*"}) {
        SCOPED_TRACE(motif);
        const BilanRecherche b = r.Recherche(motif, TypeRequete::Expression, "1252");
        EXPECT_FALSE(b.motifValide);
        EXPECT_FALSE(b.erreurMotif.empty());
        EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{1}));
    }
    EXPECT_EQ(r.Recherche("(chat", TypeRequete::Expression, "1252").positionErreur, 5u);
    // Types 1 to 3 compile the pattern too; the fault is placed in the pattern as typed, not in
    // the expression built around it.
    for (TypeRequete type : {TypeRequete::Debut, TypeRequete::Fin, TypeRequete::Contenu}) {
        SCOPED_TRACE(static_cast<int>(type));
        const BilanRecherche b = r.Recherche("(chat", type, "1252", false);
        EXPECT_FALSE(b.motifValide);
        EXPECT_EQ(b.positionErreur, 5u);
        EXPECT_EQ(r.Recherche("ch)at", type, "1252", false).positionErreur, 2u);
        // A result to be replaced is kept when the pattern does not compile.
        EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{1}));
    }
    // A pattern that compiles replaces it.
    r.Recherche("^le$", TypeRequete::Expression, "1252", false);
    EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{0}));
}

TEST_F(ResultatGroupeTest, BeginsEndsAndContainsKeepThePatternARegularExpression)
{
    // Every form once, so the forms come in alphabetical order.
    auto fiches = talmer::test::makeBase("fichier fiche fich fichu ficha affiche\n", ".", "fiches");
    ASSERT_TRUE(fiches);
    using V = std::vector<std::string>;
    const struct {
        TypeRequete type;
        const char *motif;
        V attendu;
    } cas[] = {
        {TypeRequete::Debut, "fich[a-z]", {"ficha", "fiche", "fichier", "fichu"}},
        {TypeRequete::Fin, "ch[a-z]", {"affiche", "ficha", "fiche", "fichu"}},
        {TypeRequete::Contenu, "ich[a-z]", {"affiche", "ficha", "fiche", "fichier", "fichu"}},
        {TypeRequete::Debut, "fich(e|u)", {"fiche", "fichu"}},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.motif);
        ResultatGroupe r(fiches.get());
        EXPECT_TRUE(r.Recherche(c.motif, c.type, "1252").motifValide);
        EXPECT_EQ(Textes(r), c.attendu);
    }
    EXPECT_EQ(talmer::ExpressionDe("p", TypeRequete::Debut).texte, "^p.*");
    EXPECT_EQ(talmer::ExpressionDe("p", TypeRequete::Fin).texte, ".*p$");
    EXPECT_EQ(talmer::ExpressionDe("p", TypeRequete::Contenu).texte, ".*p.*");
    EXPECT_EQ(talmer::ExpressionDe("p", TypeRequete::Expression).texte, "p");
}

TEST_F(ResultatGroupeTest, MatchFailuresAreCountedNotAdded)
{
    // Every subject is short, so only a pattern that explodes on each one fails: a long run of
    // optional parts tries every split of the subject among them before it gives up.
    ResultatGroupe r(base_.get());
    const BilanRecherche b = r.Recherche("^(?:(?:.?){30}){30}(?!)", TypeRequete::Expression, "1252");
    EXPECT_TRUE(b.motifValide);
    EXPECT_EQ(r.Taille(), 0);
    EXPECT_EQ(b.echecs, base_->Nbform() + 2);
    EXPECT_FALSE(b.messageEchec.empty());
}

TEST_F(ResultatGroupeTest, ResultKeepsInsertionOrderWithoutDuplicates)
{
    ResultatGroupe r(base_.get());
    EXPECT_EQ(r.Recherche("^c", TypeRequete::Expression, "1252").ajoutes, 4);
    const BilanRecherche encore = r.Recherche("^c", TypeRequete::Expression, "1252");
    EXPECT_EQ(encore.trouves, 4);
    EXPECT_EQ(encore.ajoutes, 0);
    EXPECT_EQ(r.AjouteResultats({7, 1, 7, Seg(1)}), 2);
    EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{1, 2, 3, 4, 7, Seg(1)}));

    r.SupprimeLignes({4, 0, 99, -1});
    EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{2, 3, 4, Seg(1)}));
    EXPECT_TRUE(r.AjouteResultat(1)); // a removed number may come back, at the end
    EXPECT_EQ(r.Entites().back(), 1);
    r.Vide();
    EXPECT_EQ(r.Taille(), 0);
    EXPECT_TRUE(r.AjouteResultat(2));
}

TEST_F(ResultatGroupeTest, ListIsWrittenByteForByteAndReadBack)
{
    ResultatGroupe r(base_.get());
    const std::int32_t virgule = base_->LocFormDic(",", true);
    const std::int32_t valeurA = base_->LocFormDic("a", false);
    ASSERT_GE(valeurA, base_->Nbform() + base_->Nbartponct());
    r.AjouteResultats({1, virgule, Seg(1), 7, valeurA});
    const BilanSauvegarde s = r.SauveListe(QStringLiteral("groupe.lst"));
    ASSERT_TRUE(s.ecrit) << s.erreur.toStdString();
    EXPECT_EQ(s.lignes, 5);
    EXPECT_EQ(s.segmentsOmis, 0);
    EXPECT_EQ(readFile("groupe.lst"), "chat\r\n,\r\nle chien \r\n\xC9t\xE9\r\na\r\n");

    ResultatGroupe relu(base_.get());
    const BilanChargement c = relu.ChargeListe(QStringLiteral("groupe.lst"));
    EXPECT_TRUE(c.lu);
    EXPECT_EQ(c.inconnues, 0);
    EXPECT_EQ(relu.Entites(), r.Entites()); // the key value comes back too

    // An empty result writes an empty file.
    ResultatGroupe vide(base_.get());
    ASSERT_TRUE(vide.SauveListe(QStringLiteral("vide.lst")).ecrit);
    EXPECT_EQ(readFile("vide.lst"), "");
}

TEST_F(ResultatGroupeTest, LoadingAddsKnownLinesAndCountsTheOthers)
{
    writeFile("main.lst", "chat\n"           // LF alone
                          "zzz\r\n"          // not in the base
                          "\r\n"             // empty: skipped
                          "le chat\r\n"      // a segment needs its final blank
                          "chien \r\n"       // a form has none
                          "le chien \r\n"
                          "chat\r\n"         // already there
                          "cc");             // no line end at the end of the file
    ResultatGroupe r(base_.get());
    r.AjouteResultat(0);
    const BilanChargement c = r.ChargeListe(QStringLiteral("main.lst"));
    EXPECT_TRUE(c.lu);
    EXPECT_EQ(c.lignes, 7);
    EXPECT_EQ(c.inconnues, 3);
    EXPECT_EQ(c.ajoutes, 3);
    EXPECT_EQ(r.Entites(), (std::vector<std::int32_t>{0, 1, Seg(1), 2}));

    // Segment lines name nothing while no segments are attached.
    base_->AssigneSR(nullptr);
    ResultatGroupe sans(base_.get());
    EXPECT_EQ(sans.ChargeListe(QStringLiteral("main.lst")).inconnues, 4);

    const BilanChargement absent = sans.ChargeListe(QStringLiteral("absent.lst"));
    EXPECT_FALSE(absent.lu);
    EXPECT_FALSE(absent.erreur.isEmpty());
}

TEST_F(ResultatGroupeTest, SavingSegmentsThatAreNoLongerAttachedSaysSo)
{
    ResultatGroupe r(base_.get());
    r.AjouteResultats({Seg(0), 1, Seg(1)});
    base_->AssigneSR(nullptr);
    const BilanSauvegarde s = r.SauveListe(QStringLiteral("sans.lst"));
    EXPECT_TRUE(s.ecrit);
    EXPECT_EQ(s.segmentsOmis, 2);
    EXPECT_EQ(readFile("sans.lst"), "chat\r\n");

    const BilanSauvegarde echec = r.SauveListe(QStringLiteral("pas/de/dossier/x.lst"));
    EXPECT_FALSE(echec.ecrit);
    EXPECT_FALSE(echec.erreur.isEmpty());
}

TEST_F(ResultatGroupeTest, TextOfADroppedGroupIsItsFirstEntity)
{
    EXPECT_EQ(talmer::TexteDuGroupe(*base_, {Seg(1), 1}), "le chien ");
    EXPECT_EQ(talmer::TexteDuGroupe(*base_, {7}), "\xC9t\xE9");
    EXPECT_EQ(talmer::TexteDuGroupe(*base_, {}), "");
}

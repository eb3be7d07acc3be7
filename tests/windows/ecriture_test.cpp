// The files of the windows on a disk that takes only part of them (a file-size limit): each
// failure says why and names the file that failed, leaves no file and adds nothing to the report.
#include "engine/base_fixture.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"
#include "platform/qt/ecriture_sure.h"
#include "services/corpus_registry.h"
#include "services/rapport.h"
#include "services/utilitaires.h"
#include "support/limites.h"
#include "support/poste_test.h"
#include "windows/afc/donnees_afc.h"
#include "windows/afc/fenparamafc.h"
#include "windows/concordance/fenconcor.h"
#include "windows/groupes/resultatgroupe.h"
#include "windows/liseuse/pagelecture.h"
#include "windows/sections/selection_fichier.h"
#include "windows/segments/frmsr.h"
#include "windows/specificites/pages_statpart.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QStandardItemModel>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>

namespace fs = std::filesystem;
using namespace talmer;

namespace {

const auto Fichiers = talmer::test::FichiersIci;

class EcritureFenetres : public test::InTempDir {
protected:
    void SetUp() override
    {
        fs::create_directory("tmp");
        temp_.emplace("TEMP", (fs::current_path() / "tmp").string());
        base_ = test::makeBase(
            "<p=un> le chien voit le chat .\n<p=deux> le chat voit le chien .\n<p=trois> le chien dort .\n", ".");
        ASSERT_TRUE(base_);
        partition_ = std::make_unique<Partition>(base_.get(), base_->LocFormDic("p", false));
        ASSERT_EQ(partition_->NbParties(), 3);
        registre_.AjouteBase(base_.get());
        Rapport::InitArbreRapport(&arbre_);
        rapport_.emplace(&arbre_, base_.get());
        FixeRapportCourant(&*rapport_);
    }
    void TearDown() override
    {
        FixeRapportCourant(nullptr);
        rapport_->Abandonne();
        rapport_.reset();
        partition_.reset();
        temp_.reset();
    }

    // The table's rows, every form `fois` times, and the sizes of its page and fragment.
    std::vector<std::int32_t> Lignes(int fois, std::size_t *html, std::size_t *xml) const
    {
        std::vector<std::int32_t> lignes;
        DonneesTFG d = EnteteTFG(*partition_, "T", "windows-1252");
        LignesTFG source(*partition_, nullptr);
        for (int i = 0; i < fois; ++i)
            for (std::int32_t e = 0; e < base_->Nbform(); ++e) {
                lignes.push_back(e);
                d.lignes.push_back(source.Ligne(e));
            }
        *html = PageTFGHtml(d).size();
        *xml = PageTFGXml(d).size();
        return lignes;
    }

    std::optional<test::VariableEnv> temp_;
    test::DialoguesTest dialogues_;
    std::unique_ptr<charg1> base_;
    std::unique_ptr<Partition> partition_;
    Corpus registre_;
    QStandardItemModel arbre_;
    std::optional<Rapport> rapport_;
};

} // namespace

TEST_F(EcritureFenetres, EachWriterSaysWhyAndWhichFileAndLeavesNothing)
{
    const QString dossier = rapport_->DossierTemporaire();
    const DonneesTFG entete = EnteteTFG(*partition_, "T", "windows-1252");
    // A table whose page is the larger file (a single row), and one whose fragment is: between
    // their sizes the limit lets the page through and stops the fragment.
    std::size_t htmlPetit = 0, xmlPetit = 0, htmlGrand = 0, xmlGrand = 0;
    const std::vector<std::int32_t> uneLigne{0};
    const std::vector<std::int32_t> beaucoup = Lignes(20, &htmlGrand, &xmlGrand);
    {
        DonneesTFG d = entete;
        LignesTFG source(*partition_, nullptr);
        d.lignes.push_back(source.Ligne(0));
        htmlPetit = PageTFGHtml(d).size();
        xmlPetit = PageTFGXml(d).size();
    }
    ASSERT_GT(htmlPetit, xmlPetit);
    ASSERT_LT(htmlGrand, xmlGrand);

    SegRep segments(base_.get(), std::set<std::int32_t>{});
    ASSERT_TRUE(segments.OuvreFichiers());
    segments.AjouteSegment({0, 1}, {0, 4});
    TfrmSR liste(segments);
    TFenConcor concordance(base_.get(), &registre_);
    concordance.SpinLgCont->setValue(10);
    concordance.EdForme->setText(QStringLiteral("le"));
    concordance.Recherche();
    ASSERT_FALSE(concordance.CheminPage().isEmpty());
    TFenParamAFC parametresAfc(*partition_, nullptr);
    parametresAfc.CSpinEdit1()->setValue(1);
    ResultatGroupe groupe(base_.get());
    groupe.AjouteResultats({0, 1, 2, 3});
    const auto dernierMessage = [&] {
        return dialogues_.messages.empty() ? QString() : dialogues_.messages.back().texte;
    };

    struct Cas {
        const char *nom;
        std::function<QString()> ecrit;
        QString fichier;    // named in the message, between guillemets
        rlim_t limite = 16;
    };
    const auto tfg = [&](const std::vector<std::int32_t> &lignes) {
        return [&, lignes] {
            QString erreur;
            EcritPagesTFG(QStringLiteral("tfg.html"), QStringLiteral("tfg.xml"), entete, *partition_, lignes, nullptr,
                          nullptr, &erreur);
            return erreur;
        };
    };
    const Cas cas[] = {
        {"table page", tfg(uneLigne), QStringLiteral("tfg.html"), static_cast<rlim_t>((htmlPetit + xmlPetit) / 2)},
        {"table fragment", tfg(beaucoup), QStringLiteral("tfg.xml"), static_cast<rlim_t>((htmlGrand + xmlGrand) / 2)},
        {"counts page",
         [&] {
             QString erreur;
             ExportePCLC(*rapport_, *partition_, QStringLiteral("T"), &erreur);
             return erreur;
         },
         dossier + QStringLiteral("pclcp.html")},
        {"reading page",
         [&] {
             QString erreur;
             EcritPageLecture(*base_, nullptr, ParametresPage{}, QStringLiteral("lecture.html"), &erreur);
             return erreur;
         },
         QStringLiteral("lecture.html")},
        {"saved selection",
         [] {
             QString erreur;
             EcritFichierTexte(FichierSelection(), std::string(100, 'x'), &erreur);
             return erreur;
         },
         FichierSelection()},
        {"form list", [&] { return groupe.SauveListe(QStringLiteral("formes.lst")).erreur; },
         QStringLiteral("formes.lst")},
        {"correspondence table",
         [&] {
             parametresAfc.EcritDonnees();
             return parametresAfc.ErreurEcriture();
         },
         QStringLiteral("coran.don")},
        {"segments page",
         [&] {
             liste.AjouteAuRapport();
             return dernierMessage();
         },
         dossier + QStringLiteral("sr")},
        {"concordance page",
         [&] {
             concordance.Recherche();  // shown again: its page written again
             return concordance.TexteStatut();
         },
         concordance.CheminPage()},
        {"concordance item",
         [&] {
             concordance.AjouteAuRapport();
             return dernierMessage();
         },
         dossier + QStringLiteral("conc0.html")},
    };
    for (const Cas &c : cas) {
        const std::set<std::string> avant = Fichiers();
        const std::string pageConcordance = test::readFile(concordance.CheminPage().toStdString());
        QString message;
        {
            test::LimiteTailleFichiers limite(c.limite);
            message = c.ecrit();
        }
        EXPECT_TRUE(message.contains(QStringLiteral("«\u00A0") + c.fichier)) << c.nom << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral(" : fichier trop volumineux"))) << c.nom << ": " << message.toStdString();
        EXPECT_EQ(Fichiers(), avant) << c.nom;
        EXPECT_EQ(test::readFile(concordance.CheminPage().toStdString()), pageConcordance) << c.nom;
        EXPECT_EQ(rapport_->NbElements(), 0) << c.nom;
    }
}

// Long work the user stops, whatever the work and whenever the request comes: before its first
// step, at its first step, halfway or at its last step, Escape or a click on "Annuler" stops it,
// what was there before stays, and the status bar says "Calcul interrompu". The requests wait in
// the queue of events as a user's do, until the work lets the windows repaint.
#include "fenprinc_echantillon.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"
#include "engine/section.h"
#include "engine/segrep.h"
#include "engine/tgen.h"
#include "services/corpus_registry.h"
#include "services/rapport.h"
#include "shell/barre_etat.h"
#include "shell/ouverture_base.h"
#include "shell/zone_fenetres.h"
#include "windows/afc/fenparamafc.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/partitions/ouverture.h"
#include "windows/sections/dialogues_carte.h"
#include "windows/sections/fencarteparag.h"
#include "windows/specificites/installation_specificites.h"
#include "windows/specificites/pagesc.h"
#include "windows/specificites/pagetfg.h"
#include "windows/specificites/paramspec.h"

#include <QDir>
#include <QMdiArea>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

using namespace talmer;

// A base of 24 parts, 400 forms of decreasing frequency and a phrase that recurs: enough for
// every long work to step a hundred times or so.
std::string TexteGenere()
{
    std::string texte;
    std::uint32_t graine = 12345;
    const auto suivant = [&graine] {
        graine = graine * 1103515245u + 12345u;
        return (graine >> 16) & 0x7FFF;
    };
    for (int partie = 0; partie < 24; ++partie) {
        texte += "<partie=p" + std::to_string(10 + partie) + ">\n";
        for (int phrase = 0; phrase < 40; ++phrase) {
            for (int mot = 0; mot < 8; ++mot) {
                // Ranks spread evenly on a logarithmic scale: rank r comes about as often as 1 / r.
                const double x = suivant() / 32768.0;
                texte += "m" + std::to_string(static_cast<int>(std::pow(600.0, x))) + " ";
            }
            if (phrase % 4 == 0)
                texte += "le petit chat noir ";
            texte += ".\n";
        }
    }
    return texte;
}

enum class Moment { Avant, Premier, Milieu, Dernier };

const char *Nom(Moment m)
{
    switch (m) {
    case Moment::Avant: return "before the first step";
    case Moment::Premier: return "at the first step";
    case Moment::Milieu: return "halfway";
    case Moment::Dernier: return "at the last step";
    }
    return "";
}

class ArretTravaux : public talmer::test::FenPrincEchantillon {
protected:
    void SetUp() override
    {
        Prepare(false);
        fen->show();
        const std::filesystem::path dossier = dir_.path() / "base";
        std::filesystem::create_directories(dossier);
        talmer::test::writeFile((dossier / "corpus.txt").string(), TexteGenere());
        talmer::test::writeFile((dossier / "autre.txt").string(), TexteGenere());
        const auto ici = std::filesystem::current_path();
        std::filesystem::current_path(dossier);
        ParametresSegm p;
        p.delimiteurs = ".";
        ASSERT_EQ(SegmPrinc("corpus.txt", p), ResultatSegm::Reussie);
        std::filesystem::current_path(ici);
        cheminBase = QString::fromStdString((dossier / "corpus.par").string());
        ASSERT_TRUE(fen->Ouverture().OuvreBase(cheminBase));
        base = fen->Base();
        annuler = fen->findChild<QToolButton *>(QStringLiteral("BtnInterrompre"));
        ASSERT_NE(annuler, nullptr);
    }

    // The user's gesture: Escape on the main window, or a click on the cancel button.
    void Geste(bool clic)
    {
        if (!clic) {
            talmer::test::AppuieEchap(fen.get());
            return;
        }
        const QPoint local = annuler->rect().center();
        const QPoint global = annuler->mapToGlobal(local);
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(annuler, new QMouseEvent(t, local, global, Qt::LeftButton,
                                                                 t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                                 Qt::NoModifier));
    }

    // Runs `lance`, making the gesture at the moment given of its `nbPas` steps (the bar's
    // changes of value); with no moment, only counts the steps.
    int Lance(const std::function<void()> &lance, std::optional<Moment> moment = {}, int nbPas = 0, bool clic = false)
    {
        int pas = 0;
        int voulu = 0;
        if (moment == Moment::Premier)
            voulu = 1;
        else if (moment == Moment::Milieu)
            voulu = std::max(1, nbPas / 2);
        else if (moment == Moment::Dernier)
            voulu = nbPas;
        const QMetaObject::Connection c =
            QObject::connect(fen->Etat().Progression(), &QProgressBar::valueChanged, [&](int valeur) {
                if (valeur != 0 && ++pas == voulu)
                    Geste(clic);
            });
        // Before the first step: as soon as the cancel button shows, the work has started.
        struct Montre : QObject {
            std::function<void()> geste;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Show && geste) {
                    geste();
                    geste = nullptr;
                }
                return false;
            }
        } montre;
        if (moment == Moment::Avant)
            montre.geste = [&] { Geste(clic); };
        annuler->installEventFilter(&montre);
        lance();
        annuler->removeEventFilter(&montre);
        QObject::disconnect(c);
        talmer::test::TraiteEvenements();
        return pas;
    }

    // One work: what starts it, and what it leaves that must not change when it is stopped.
    struct Travail {
        const char *nom;
        std::function<void()> lance;
        std::function<std::string()> etat;
    };

    void Verifie(const Travail &t)
    {
        SCOPED_TRACE(t.nom);
        // A whole run first: the earlier result, and the number of its steps.
        const int nbPas = Lance(t.lance);
        ASSERT_GE(nbPas, 4) << "steps";
        EXPECT_NE(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
        bool clic = false;
        for (Moment m : {Moment::Avant, Moment::Premier, Moment::Milieu, Moment::Dernier}) {
            SCOPED_TRACE(std::string(Nom(m)) + (clic ? ", a click on Annuler" : ", Escape"));
            const std::string avant = t.etat();
            Lance(t.lance, m, nbPas, clic);
            EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
            EXPECT_EQ(t.etat(), avant);
            EXPECT_FALSE(annuler->isVisible());
            clic = !clic;
        }
    }

    static std::string Adresse(const void *p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

    QString cheminBase;
    QToolButton *annuler = nullptr;
};

TEST_F(ArretTravaux, EveryAnalysisStopsWheneverTheUserAsks)
{
    const std::int32_t cle = base->Nbform() + base->Nbartponct();
    InfoPartition *entree = OuvrePartition(*fen, *base, cle);
    ASSERT_NE(entree, nullptr);
    TFenStatPart *statistiques = FenetreStatistiques(*fen, *entree);
    ASSERT_NE(statistiques, nullptr);
    Partition &partition = *entree->partition;
    PageTFG *tfg = PageTFGDe(*statistiques);
    PageSC *sc = PageSCDe(*statistiques);
    ASSERT_TRUE(tfg && sc);
    Rapport *rapport = fen->Rapports().Courant();
    ASSERT_NE(rapport, nullptr);
    const std::int32_t point = base->LocFormDic(".", true);
    Section section(base, &point, 1);
    TFenCarteParag carte(fen.get(), section, *base);
    const std::int32_t forme = 1;
    carte.AppliqueTgen(std::make_unique<Tgen>(base, &forme, 1));
    int listes = 0;
    FabriqueSpecifsSections() = [&](TFenPrinc *, charg1 &, std::vector<StructSpec>, std::int32_t) { ++listes; };
    TFenParamAFC::FixeProgramme(QStringLiteral(TALMER_BIN_DIR "/ta3afc"));
    const auto plans = [&] {
        return std::to_string(fen->Zone().Mdi()->subWindowList().size()) + " " + talmer::test::readFile("facteurs.txt") +
               talmer::test::readFile("vp.txt");
    };

    const Travail travaux[] = {
        {"Sp. Tot", [&] { tfg->Calcule(false, 5, 1); }, [&] { return Adresse(tfg->Calcul()); }},
        {"repeated segments",
         [&] {
             ParametresSegmentsRepetes p;
             p.delimiteurs = {point};
             fen->Ouverture().CalculeSegments(p);
         },
         [&] { return Adresse(base->SegmentsAttaches()); }},
        {"Sp. Tot with the segments", [&] { tfg->Calcule(false, 5, 1); }, [&] { return Adresse(tfg->Calcul()); }},
        {"the table page into the report",
         [&] {
             QString erreur;
             tfg->ExporteAuRapport(*rapport, QStringLiteral("Tableau"), &erreur);
         },
         [&] {
             return std::to_string(rapport->NbElements()) + " " +
                    QDir(rapport->DossierTemporaire()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
         }},
        {"chronological specificities", [&] { sc->CalculeChrono(5, 1); }, [&] { return Adresse(sc->Resultat()); }},
        {"group specificities",
         [&] {
             partition.Selectionne(1, true);
             TFenParamSpec dialogue(nullptr, &partition);
             dialogue.SpinSeuil()->setValue(50);
             dialogue.SpinFreqMin()->setValue(1);
             dialogue.BtnOKClick();
             listes += dialogue.Liste() != nullptr ? 1 : 0;
             delete dialogue.Liste();
         },
         [&] { return std::to_string(listes); }},
        {"sectional specificities", [&] { carte.BtnSpfSectTgenClick(); }, [&] { return std::to_string(listes); }},
        {"the correspondence analysis",
         [&] {
             TFenParamAFC dialogue(partition, fen.get());
             dialogue.BitBtn1Click();
         },
         plans},
    };
    for (const Travail &t : travaux)
        Verifie(t);
    FabriqueSpecifsSections() = nullptr;
    TFenParamAFC::FixeProgramme({});
    EXPECT_TRUE(dialogues.messages.empty()) << dialogues.messages.front().texte.toStdString();
}

TEST_F(ArretTravaux, OpeningABaseStopsWheneverTheUserAsks)
{
    const QString dossierBase = QFileInfo(cheminBase).absolutePath();
    const Travail travaux[] = {
        {"loading a base", [&] { fen->Ouverture().OuvreBase(cheminBase); },
         [&] { return Adresse(fen->Base()) + " " + fen->Etat().TexteCheminBase().toStdString(); }},
        {"segmenting a text", [&] { fen->Ouverture().SegmenteTexte(dossierBase + QStringLiteral("/autre.txt")); },
         [&] {
             // A whole run opens the new base; stopped, none is opened and no file of it is left.
             return Adresse(fen->Base()) + " " +
                    QDir(dossierBase).entryList({QStringLiteral("autre*")}, QDir::Files).join(' ').toStdString();
         }},
    };
    for (const Travail &t : travaux)
        Verifie(t);
    EXPECT_TRUE(dialogues.messages.empty()) << dialogues.messages.front().texte.toStdString();
}

} // namespace

#include "windows/specificites/installation_specificites.h"

#include "windows/partitions/extensions_statpart.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/specificites/pages_statpart.h"
#include "windows/specificites/pagesc.h"
#include "windows/specificites/pagetfg.h"
#include "windows/specificites/paramspec.h"

#include "services/dialogues.h"
#include "services/rapport.h"
#include "shell/occupation.h"

#include <QLayout>
#include <QTabWidget>

namespace talmer {

namespace {

void Installe(TFenStatPart &f)
{
    Partition *partition = &f.PartitionStat();
    auto *tfg = new PageTFG(partition, f.TabTFG());
    f.TabTFG()->layout()->addWidget(tfg);
    auto *sc = new PageSC(partition, f.TabSC());
    f.TabSC()->layout()->addWidget(sc);
    TFenStatPart *fenetre = &f;
    QObject::connect(tfg, &PageTFG::calcule, &f, [fenetre] {
        fenetre->MontreTabTFG(true);
        fenetre->PCStat()->setCurrentWidget(fenetre->TabTFG());
    });
    QObject::connect(sc, &PageSC::calcule, &f, [fenetre] {
        fenetre->MontreTabSC(true);
        fenetre->PCStat()->setCurrentWidget(fenetre->TabSC());
    });

    ActionsStatPart actions;
    actions.specifs = [fenetre, partition] {
        TFenParamSpec dialogue(fenetre, partition);
        LesDialogues().execute(dialogue);
        fenetre->RafraichitComptes();
    };
    actions.spDiac = [fenetre, sc] {
        sc->LanceSpDiac(fenetre);
        fenetre->RafraichitComptes();
    };
    actions.spTot = [fenetre, tfg] {
        tfg->LanceSpTot(fenetre);
        fenetre->RafraichitComptes();
    };
    actions.exportePage = [fenetre, tfg, partition] {
        Rapport *rapport = ::RapportCourant();
        if (rapport == nullptr)
            return;
        QString erreur;
        bool ok;
        if (fenetre->PCStat()->currentWidget() == fenetre->TabPCLC()) {
            Occupation occupation;
            ok = ExportePCLC(*rapport, *partition, fenetre->windowTitle(), &erreur);
        } else {
            ok = tfg->ExporteAuRapport(*rapport, fenetre->windowTitle(), &erreur);
        }
        // Without a reason the user gave up: nothing to say.
        if (!ok && !erreur.isEmpty())
            LesDialogues().message(fenetre, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
    };
    f.FixeActions(std::move(actions));
}

} // namespace

void InstalleSpecificites()
{
    ExtensionStatistiques() = Installe;
}

PageTFG *PageTFGDe(const TFenStatPart &fenetre)
{
    return fenetre.TabTFG() ? fenetre.TabTFG()->findChild<PageTFG *>() : nullptr;
}

PageSC *PageSCDe(const TFenStatPart &fenetre)
{
    return fenetre.TabSC() ? fenetre.TabSC()->findChild<PageSC *>() : nullptr;
}

} // namespace talmer

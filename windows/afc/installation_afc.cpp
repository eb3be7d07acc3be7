#include "windows/afc/installation_afc.h"

#include "shell/dialogues.h"
#include "shell/fenprinc.h"
#include "windows/afc/fabriques_afc.h"
#include "windows/afc/fenparamafc.h"
#include "windows/partitions/fabriques_statpart.h"
#include "windows/specificites/paramspec.h"

namespace talmer {

void InstalleAFC()
{
    FabriquesStatistiques().afc = [](TFenPrinc &fen, Partition &partition, QWidget *parent) {
        // Every part of the partition is active in an analysis started from its statistics.
        TFenParamAFC dialogue(partition, &fen, parent);
        dialogue.FixeTag(0);
        LesDialogues().execute(dialogue);
        dialogue.AmenePlanDevant();
    };
    // The plane reopens the specificity dialogs on its partition.
    FabriquesAFC &plan = FabriquesPlanAFC();
    plan.specificites = [](Partition &partition, QWidget *parent) {
        TFenParamSpec dialogue(parent, &partition);
        LesDialogues().execute(dialogue);
    };
    plan.specificitesEvolutives = [](Partition &partition, QWidget *parent) {
        TFenParamSpecDiac dialogue(parent, &partition);
        LesDialogues().execute(dialogue);
    };
}

} // namespace talmer

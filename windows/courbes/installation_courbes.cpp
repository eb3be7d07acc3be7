#include "windows/courbes/installation_courbes.h"

#include "engine/partition.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/courbes/fengrapheac.h"
#include "windows/courbes/fenzipf.h"
#include "windows/partitions/fabriques_statpart.h"

#include <QMdiSubWindow>

namespace talmer {

void InstalleCourbes()
{
    FabriquesStatPart &fabriques = FabriquesStatistiques();
    fabriques.zipf = [](TFenPrinc &fen, Partition &partition) {
        QMdiSubWindow *sous = fen.Zone().AjouteFenetre(new TFenZipf(partition));
        FenCourbes::Place(fen, sous);
    };
    fabriques.accroissement = [](TFenPrinc &fen, Partition &partition) {
        if (!partition.Base())
            return;
        QMdiSubWindow *sous = fen.Zone().AjouteFenetre(new TFenGrapheAC(partition, *partition.Base()));
        FenCourbes::Place(fen, sous);
    };
}

} // namespace talmer

#include "windows/installation.h"

#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/afc/installation_afc.h"
#include "windows/concordance/installation_concordance.h"
#include "windows/courbes/installation_courbes.h"
#include "windows/dictionnaire/fendicnum.h"
#include "windows/groupes/installation_groupes.h"
#include "windows/liseuse/fenliseuse.h"
#include "windows/partitions/fenchoixpart.h"
#include "windows/sections/installation_sections.h"
#include "windows/segments/installation_segments.h"
#include "windows/specificites/installation_specificites.h"

#include <QMdiSubWindow>

namespace talmer {

void InstalleFenetres(TFenPrinc &fenPrinc)
{
    // Each family of windows fills its own entries; a command stays disabled while its entry is
    // empty.
    FabriquesFenetres &fabriques = fenPrinc.Fabriques();
    fabriques.dictionnaire = [](TFenPrinc &fen, charg1 &base) {
        auto *dictionnaire = new TFenDicNum(base);
        fen.AjoutePageLaterale(dictionnaire, dictionnaire->windowTitle());
    };
    fabriques.liseuse = [](TFenPrinc &fen, charg1 &base) {
        auto *liseuse = new TFenLiseuse(base);
        // Its designed size, that it gave itself, is the one it gets back from maximised.
        fen.Zone().AjouteFenetre(liseuse)->showMaximized();
    };
    fabriques.partitions = ChoisitPartition;
    InstalleSegments(fenPrinc);
    InstalleSpecificites();
    InstalleCourbes();
    InstalleAFC();
    InstalleGroupes(fenPrinc);
    InstalleConcordance(fenPrinc);
    InstalleSections(fenPrinc);
    fenPrinc.ActualiseCommandes();
}

} // namespace talmer

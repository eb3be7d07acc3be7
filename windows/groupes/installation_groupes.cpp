#include "windows/groupes/installation_groupes.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/groupes/fenselecformes.h"

#include <QGroupBox>
#include <QMdiSubWindow>

namespace talmer {

void InstalleGroupes(TFenPrinc &fenPrinc)
{
    // A new window at each click, on the open base, at the top left, as wide as its options.
    fenPrinc.Fabriques().groupeFormes = [](TFenPrinc &principale, charg1 &base) {
        auto *fenetre = new TFenSelecFormes(&base);
        // Its segment numbers name the segments of the computation attached now.
        QObject::connect(&principale, &TFenPrinc::segmentsRemplaces, fenetre,
                         [fenetre](charg1 *b, const SegRep *anciens, const SegRep &nouveaux) {
                             if (b == fenetre->Resultat().Base())
                                 fenetre->SegmentsRemplaces(anciens, nouveaux);
                         });
        QMdiSubWindow *sous = principale.Zone().AjouteFenetre(fenetre);
        // Opened while another window is maximised, the area maximises it too: placed in its
        // normal state, or it would keep the maximised state, without its title bar, at that size.
        if (sous->isMaximized() || sous->isMinimized())
            sous->showNormal();
        sous->resize(fenetre->GrpBoxOptions->sizeHint().width() + 16, sous->height());
        sous->move(0, 0);
        principale.Zone().GardeDansZoneMdi(sous);
    };
}

} // namespace talmer

#include "windows/installation.h"

#include "shell/fenprinc.h"
#include "windows/groupes/fenselecformes.h"

#include <QGroupBox>
#include <QMdiSubWindow>

namespace talmer {

void InstalleFenetres(TFenPrinc &fenPrinc)
{
    // Each family of windows fills its own entries; a command stays disabled while its entry is
    // empty.
    FabriquesFenetres &fabriques = fenPrinc.Fabriques();
    fabriques.groupeFormes = [](TFenPrinc &principale, charg1 &base) {
        auto *fenetre = new TFenSelecFormes(&base);
        QMdiSubWindow *sous = principale.AjouteFenetre(fenetre);
        sous->resize(fenetre->GrpBoxOptions->sizeHint().width() + 16, sous->height());
        sous->move(0, 0);
    };
    fenPrinc.ActualiseCommandes();
}

} // namespace talmer

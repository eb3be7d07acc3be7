#include "windows/concordance/installation_concordance.h"

#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/concordance/fenconcor.h"

#include <QMdiSubWindow>

namespace talmer {

void InstalleConcordance(TFenPrinc &fenPrinc)
{
    // A new window at each click, on the open base, maximised.
    fenPrinc.Fabriques().concordance = [](TFenPrinc &principale, charg1 &base) {
        auto *fenetre = new TFenConcor(&base, &principale.Registre());
        QMdiSubWindow *sous = principale.Zone().AjouteFenetre(fenetre);
        sous->showMaximized();
    };
}

} // namespace talmer

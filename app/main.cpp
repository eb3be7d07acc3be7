// Talmer3: the workbench of lexical statistics.
#include "shell/demarrage.h"
#include "shell/fenprinc.h"
#include "shell/installation_glisser.h"
#include "windows/installation.h"

int main(int argc, char **argv)
{
    ApplicationTalmer application(argc, argv);
    OptionsDemarrage options;
    // The group container, the corpus-open dialog and the analysis windows install themselves
    // on the main window here.
    options.installe = [](TFenPrinc &f) {
        talmer::InstalleConteneurEtCorpus(f);
        talmer::InstalleFenetres(f);
    };
    return LanceTalmer(application, options);
}

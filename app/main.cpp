// Talmer3: the workbench of lexical statistics.
#include "shell/demarrage.h"
#include "shell/fenprinc.h"
#include "shell/installation_glisser.h"
#include "windows/installation.h"

#include <csignal>

int main(int argc, char **argv)
{
    // Past a file-size limit (ulimit -f) a write fails and the program says why, rather than
    // being ended by the signal with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
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

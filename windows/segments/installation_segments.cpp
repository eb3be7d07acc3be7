#include "windows/segments/installation_segments.h"

#include "engine/segrep.h"
#include "shell/dialogues.h"
#include "shell/fenprinc.h"
#include "windows/segments/fenprepsr.h"
#include "windows/segments/frmsr.h"

#include <QTabWidget>

#include <vector>

namespace talmer {

namespace {

bool PrepareSegments(TFenPrinc &fen, charg1 &base, ParametresSegmentsRepetes &parametres)
{
    TFenPrepSR dialogue(base, &fen);
    // Centred on the main window.
    const QRect cadre = fen.frameGeometry();
    dialogue.move(cadre.left() + cadre.width() / 2 - dialogue.width() / 2,
                  cadre.top() + cadre.height() / 2 - dialogue.height() / 2);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted || !dialogue.CalculPossible())
        return false;
    parametres.delimiteurs = dialogue.Delimiteurs();
    parametres.editForme = dialogue.ValeurEditForme();
    parametres.freqMin = dialogue.ValeurEditSR();
    return true;
}

void ListeSegments(TFenPrinc &fen, SegRep &segments)
{
    // The segment numbers of an older list now name the new computation's segments: such a list
    // would hand out the wrong segments, so it goes.
    std::vector<TfrmSR *> anciennes;
    QTabWidget *pages = fen.ListesGauche();
    for (int i = 0; i < pages->count(); ++i)
        if (auto *liste = qobject_cast<TfrmSR *>(pages->widget(i)))
            anciennes.push_back(liste);
    for (TfrmSR *liste : anciennes)
        delete liste;
    fen.AjoutePageLaterale(new TfrmSR(segments), TfrmSR::Titre());
}

} // namespace

void InstalleSegments(TFenPrinc &fenPrinc)
{
    FabriquesFenetres &fabriques = fenPrinc.Fabriques();
    fabriques.prepareSegments = PrepareSegments;
    fabriques.listeSegments = ListeSegments;
}

} // namespace talmer

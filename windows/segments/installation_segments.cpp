#include "windows/segments/installation_segments.h"

#include "engine/segrep.h"
#include "shell/dialogues.h"
#include "shell/fenprinc.h"
#include "windows/segments/fenprepsr.h"
#include "windows/segments/frmsr.h"


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
    PanneauLateral *panneau = fen.ListesGauche();
    for (QWidget *page : panneau->Pages())
        if (qobject_cast<TfrmSR *>(page))
            panneau->Ferme(page);
    fen.AjoutePageLaterale(new TfrmSR(segments), TfrmSR::Titre(), GenrePage::Fermable);
}

} // namespace

void InstalleSegments(TFenPrinc &fenPrinc)
{
    FabriquesFenetres &fabriques = fenPrinc.Fabriques();
    fabriques.prepareSegments = PrepareSegments;
    fabriques.listeSegments = ListeSegments;
}

} // namespace talmer

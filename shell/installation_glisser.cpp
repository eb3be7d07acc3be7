#include "shell/installation_glisser.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "shell/conteneur.h"
#include "shell/dialogues.h"
#include "shell/fenprinc.h"
#include "shell/optionsopendialog.h"

namespace talmer {

QString ChoisitTexteAvecOptions(QWidget *parent)
{
    TOptionsOpenDialog dialogue(parent);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return {};
    const QStringList fichiers = dialogue.selectedFiles();
    return fichiers.isEmpty() ? QString() : fichiers.front();
}

TConteneur *InstalleConteneurEtCorpus(TFenPrinc &fenPrinc)
{
    auto *conteneur = new TConteneur;
    fenPrinc.InstalleConteneur(conteneur);
    conteneur->FixeBase(fenPrinc.Base());
    // Groups are built on the open base; those of a base about to be closed leave the history.
    QObject::connect(&fenPrinc, &TFenPrinc::baseOuverte, conteneur, &TConteneur::FixeBase);
    QObject::connect(&fenPrinc, &TFenPrinc::fermetureBase, conteneur, &TConteneur::OublieBase);
    // A new computation of the repeated segments renumbers them: the groups follow, and the status
    // says what changed.
    QObject::connect(&fenPrinc, &TFenPrinc::segmentsRemplaces, conteneur,
                     [&fenPrinc, conteneur](charg1 *base, const SegRep *anciens, const SegRep &nouveaux) {
                         const QString texte = conteneur->SegmentsRemplaces(base, anciens, nouveaux);
                         if (!texte.isEmpty())
                             fenPrinc.AfficheStatut(texte);
                     });
    fenPrinc.FixeChoixTexte(ChoisitTexteAvecOptions);
    return conteneur;
}

} // namespace talmer

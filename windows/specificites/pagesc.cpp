#include "windows/specificites/pagesc.h"

#include "windows/specificites/paramspec.h"

#include "engine/partition.h"
#include "engine/primspecchr.h"

#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/occupation.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <exception>

namespace talmer {

namespace {
TFenParamSpecDiac *dialogueEnCours = nullptr;
}

PageSC::PageSC(Partition *partition, QWidget *parent) : QWidget(parent), partition_(partition)
{
    setObjectName(QStringLiteral("PageSC"));
    modele_ = new ModeleSC(partition, this);
    grille_ = new QTableView(this);
    grille_->setObjectName(QStringLiteral("GridSC"));
    grille_->setModel(modele_);
    grille_->setWordWrap(false);
    grille_->setSelectionMode(QAbstractItemView::NoSelection);
    grille_->verticalHeader()->hide();
    DimensionneGrille(grille_, {204, 36, 35, 34, 68}, 16);
    ApplyCharsetToGrid(grille_);
    auto *tout = new QVBoxLayout(this);
    tout->setContentsMargins(0, 0, 0, 0);
    tout->addWidget(grille_);
    connect(grille_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int colonne) {
        Occupation occupation;
        modele_->ClicEntete(colonne);
    });
}

PageSC::~PageSC()
{
    modele_->FixeResultat(nullptr);
}

TFenParamSpecDiac *PageSC::DialogueEnCours()
{
    return dialogueEnCours;
}

void PageSC::LanceSpDiac(QWidget *parent)
{
    if (partition_ == nullptr)
        return;
    // The evolutive run needs a target: with none selected, the first part becomes selected,
    // and stays so.
    if (partition_->NbParties() > 0 &&
        partition_->CopieSelection() == std::vector<char>(static_cast<std::size_t>(partition_->NbParties()), 0))
        partition_->Selectionne(0, true);
    TFenParamSpecDiac dialogue(parent, partition_);
    dialogueEnCours = &dialogue;
    const int resultat = LesDialogues().execute(dialogue);
    dialogueEnCours = nullptr;
    if (resultat != QDialog::Accepted || !dialogue.ChkSpChr()->isChecked())
        return;
    CalculeChrono(dialogue.SpinSeuil()->value(), dialogue.SpinFreqMin()->value());
}

void PageSC::CalculeChrono(std::int32_t seuil, std::int32_t freqMin)
{
    if (partition_ == nullptr)
        return;
    std::unique_ptr<PrimSpecChr> nouveau;
    QString echec;
    {
        TravailLong travail(Traduit("Calcul des spécificités chronologiques…"));
        // The computation steps 100 to 200 times, by 2.
        if (BarreEtat *f = BarreEtatProgramme())
            f->FixeEtendue(0, 400);
        try {
            if (!travail.Execute([&] {
                    nouveau = std::make_unique<PrimSpecChr>(partition_, seuil, freqMin);
                    nouveau->Calcule(PasProgression2);
                }))
                return;
        } catch (const std::exception &e) {
            echec = QString::fromLocal8Bit(e.what());
        }
        if (echec.isEmpty()) {
            const std::int32_t n = nouveau->NbLignes();
            travail.FixeResultat(n == 0   ? Traduit("Aucune spécificité chronologique")
                                 : n == 1 ? Traduit("Spécificités chronologiques : 1 ligne")
                                          : Traduit("Spécificités chronologiques : %1 lignes").arg(n));
        }
    }
    if (!echec.isEmpty()) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), Traduit("Le calcul des spécificités a échoué : %1").arg(echec),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    modele_->FixeResultat(nouveau.get());
    resultat_ = std::move(nouveau);
    if (resultat_->NbLignes() > 0)
        emit calcule();
}

} // namespace talmer

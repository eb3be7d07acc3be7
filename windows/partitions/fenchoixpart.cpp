#include "windows/partitions/fenchoixpart.h"

#include "engine/charg1.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/translation.h"
#include "shell/fenopt.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "windows/partitions/ouverture.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFenChoixPart::TFenChoixPart(TFenPrinc &fenPrinc, charg1 &base, QWidget *parent)
    : QDialog(parent ? parent : &fenPrinc), fenPrinc_(fenPrinc), base_(base)
{
    setObjectName(QStringLiteral("TFenChoixPart"));
    setWindowTitle(QStringLiteral("Choix de la partition"));
    resize(281, 135);

    listParts_ = new QListWidget(this);
    listParts_->setObjectName(QStringLiteral("ListParts"));
    listParts_->setSelectionMode(QAbstractItemView::SingleSelection);
    listParts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    btnValide_ = new QPushButton(QStringLiteral("Créer"), this);
    btnValide_->setObjectName(QStringLiteral("BtnValide"));
    btnValide_->setDefault(true);
    btnAnnule_ = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnule_->setObjectName(QStringLiteral("BtnAnnule"));

    auto *boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(btnValide_);
    boutons->addWidget(btnAnnule_);
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(listParts_, 1);
    colonne->addLayout(boutons);

    TraduitComposants(this);
    ApplyCharsetToListView(listParts_, -1);
    // The key types, in entity order (that is, alphabetically).
    const std::int32_t premiere = base_.Nbform() + base_.Nbartponct();
    for (std::int32_t e = premiere; e < premiere + base_.Nbcle(); ++e) {
        auto *item = new QListWidgetItem(EnUnicode(base_.RetourneGraphie(e, false)), listParts_);
        item->setData(Qt::UserRole, e);
    }

    connect(btnValide_, &QPushButton::clicked, this, &TFenChoixPart::BtnValideClick);
    connect(btnAnnule_, &QPushButton::clicked, this, &TFenChoixPart::BtnAnnuleClick);
    connect(listParts_, &QListWidget::itemDoubleClicked, this, &TFenChoixPart::ListPartsDblClick);
}

void TFenChoixPart::BtnValideClick()
{
    // The flag is raised whatever is chosen; it only enables the main window's "PCLC" menu,
    // which lists the partitions that exist.
    creation_ = true;
    if (!listParts_->selectedItems().isEmpty())
        CreePartition();
    else
        accept();
}

void TFenChoixPart::ListPartsDblClick()
{
    if (listParts_->selectedItems().isEmpty())
        return;
    creation_ = true;
    CreePartition();
}

void TFenChoixPart::BtnAnnuleClick()
{
    creation_ = false;
    reject();
}

void TFenChoixPart::CreePartition()
{
    QListWidgetItem *choisi = nullptr;
    for (int i = 0; i < listParts_->count() && !choisi; ++i)
        if (listParts_->item(i)->isSelected())
            choisi = listParts_->item(i);
    if (!choisi)
        return;
    const std::int32_t cle = choisi->data(Qt::UserRole).toInt();
    {
        Occupation occupation;
        hide();
        talmer::OuvrePartition(fenPrinc_, base_, cle);
    }
    accept();
}

namespace talmer {

bool ChoisitPartition(TFenPrinc &fenPrinc, charg1 &base)
{
    TFenChoixPart dialogue(fenPrinc, base);
    CentreSurEcran(&dialogue);
    LesDialogues().execute(dialogue);
    return dialogue.Creation();
}

} // namespace talmer

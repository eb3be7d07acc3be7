#include "windows/segments/fenprepsr.h"

#include "engine/charg1.h"
#include "services/affichage.h"
#include "services/translation.h"
#include "windows/segments/ordre_segments.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int RoleEntite = Qt::UserRole + 1;

QListWidget *NouvelleListe(QWidget *parent)
{
    auto *liste = new QListWidget(parent);
    liste->setViewMode(QListView::ListMode);
    liste->setFlow(QListView::TopToBottom);
    liste->setWrapping(true);
    liste->setResizeMode(QListView::Adjust);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste->setToolTip(QStringLiteral("Cochez les délimiteurs de séquence"));
    return liste;
}

void Remplit(QListWidget *liste, const charg1 &base, std::int32_t debut, std::int32_t fin)
{
    for (std::int32_t e = debut; e < fin; ++e) {
        auto *item = new QListWidgetItem(EnUnicode(base.RetourneGraphie(e, false)), liste);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(RoleEntite, e);
    }
    ApplyCharsetToListView(liste, -1);
}

} // namespace

TFenPrepSR::TFenPrepSR(charg1 &base, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFenPrepSR"));
    setWindowTitle(QStringLiteral("Paramétrage du calcul des segments répétés"));
    resize(403, 262);

    auto *grille = new QGridLayout(this);
    auto *lbDelimSq = new QLabel(QStringLiteral("Délimiteurs de séquence :"), this);
    listDelims_ = NouvelleListe(this);
    listDelims_->setObjectName(QStringLiteral("ListDelims"));
    listCles_ = NouvelleListe(this);
    listCles_->setObjectName(QStringLiteral("ListCles"));
    grille->addWidget(lbDelimSq, 0, 0, 1, 2);
    grille->addWidget(listDelims_, 1, 0);
    grille->addWidget(listCles_, 1, 1);

    auto *label2 = new QLabel(QStringLiteral("Seuil de sélection des segments :"), this);
    editSR_ = new QSpinBox(this);
    editSR_->setObjectName(QStringLiteral("EditSR"));
    auto *label1 = new QLabel(QStringLiteral("Seuil de sélection des formes :"), this);
    editForme_ = new QSpinBox(this);
    editForme_->setObjectName(QStringLiteral("EditForme"));
    label1->hide();
    editForme_->hide();
    grille->addWidget(label2, 2, 0);
    grille->addWidget(editSR_, 2, 1);
    grille->addWidget(label1, 3, 0);
    grille->addWidget(editForme_, 3, 1);

    avertissement_ = new QLabel(this);
    avertissement_->setWordWrap(true);
    avertissement_->hide();
    grille->addWidget(avertissement_, 4, 0, 1, 2);

    boutons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    boutons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    boutons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    grille->addWidget(boutons_, 5, 0, 1, 2);
    connect(boutons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    FormCreate(base);
}

void TFenPrepSR::FormCreate(charg1 &base)
{
    TraduitComposants(this);

    const talmer::SeuilsPrepSR seuils = talmer::SeuilsSegments(base.Fmax());
    for (QSpinBox *spin : {editForme_, editSR_}) {
        spin->setRange(seuils.minimum, seuils.maximum);
        spin->setValue(seuils.valeur);
    }
    possible_ = seuils.possible;
    if (!possible_) {
        // Every form occurs once at most: no sequence of forms can occur twice.
        avertissement_->setText(Traduit("Aucune forme de ce corpus n'apparaît deux fois : "
                                        "aucun segment ne peut s'y répéter."));
        avertissement_->show();
        editSR_->setEnabled(false);
        boutons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    }

    const std::int32_t ponct = base.Nbform();
    const std::int32_t cles = ponct + base.Nbartponct();
    Remplit(listDelims_, base, ponct, cles);
    Remplit(listCles_, base, cles, cles + base.Nbcle());
}

std::set<std::int32_t> TFenPrepSR::Delimiteurs() const
{
    std::set<std::int32_t> delimiteurs;
    for (int i = 0; i < listDelims_->count(); ++i) {
        const QListWidgetItem *item = listDelims_->item(i);
        if (item->checkState() == Qt::Checked)
            delimiteurs.insert(item->data(RoleEntite).toInt());
    }
    return delimiteurs;
}

std::int32_t TFenPrepSR::ValeurEditForme() const { return editForme_->value(); }
std::int32_t TFenPrepSR::ValeurEditSR() const { return editSR_->value(); }

#include "shell/fenchoixdelimforme.h"

#include "engine/segmenteur.h"
#include "shell/affichage.h"
#include "shell/aide.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFenChoixDelimForme::TFenChoixDelimForme(QWidget *parent) : QDialog(parent)
{
    // The dialog's texts are not translated: the delimiters are the text's own characters.
    setObjectName(QStringLiteral("FenChoixDelimForme"));
    setWindowTitle(QStringLiteral("Choix des délimiteurs de forme"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lbDelims_ = new QLabel(QStringLiteral("Délimiteurs :"), this);
    lbDelims_->setObjectName(QStringLiteral("LbDelims"));
    QFont gras = lbDelims_->font();
    gras.setBold(true);
    lbDelims_->setFont(gras);

    edDelims_ = new QLineEdit(this);
    edDelims_->setObjectName(QStringLiteral("EdDelims"));
    edDelims_->setText(EnUnicode(DelimiteursDefaut));
    edDelims_->setMinimumWidth(320);

    auto *boutons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    boutons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    boutons->button(QDialogButtonBox::Help)->setText(QStringLiteral("Aide"));
    connect(boutons, &QDialogButtonBox::helpRequested, this, [this] { OuvreAide(this); });
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(lbDelims_);
    disposition->addWidget(edDelims_);
    disposition->addWidget(boutons);
    // Shown, it is widened to its title like every dialog.
    setFixedSize(sizeHint());
}

std::string TFenChoixDelimForme::Delimiteurs() const
{
    return EnCodePage(edDelims_->text());
}

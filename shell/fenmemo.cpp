#include "shell/fenmemo.h"

#include "services/translation.h"

#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

TFenMemo::TFenMemo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FenMemo"));
    setWindowTitle(QStringLiteral("Mémos"));
    setFixedSize(421, 310);
    QFont police(QStringLiteral("Tahoma"));
    police.setPointSize(8);
    setFont(police);

    texteMemo_ = new QPlainTextEdit(this);
    texteMemo_->setObjectName(QStringLiteral("TexteMemo"));
    texteMemo_->setGeometry(0, 0, 420, 241);
    QPalette pal = texteMemo_->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::Text, pal.color(QPalette::ToolTipText));
    texteMemo_->setPalette(pal);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("BtnOk"));
    ok_->setGeometry(120, 260, 80, 28);
    ok_->setDefault(true);
    annuler_ = new QPushButton(QStringLiteral("Annuler"), this);
    annuler_->setObjectName(QStringLiteral("BtnAnnuler"));
    annuler_->setGeometry(220, 260, 80, 28);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(annuler_, &QPushButton::clicked, this, &QDialog::reject);

    TraduitComposants(this);
}

QString TFenMemo::TexteNote() const
{
    const QString texte = texteMemo_->toPlainText();
    if (texte.isEmpty())
        return QString();
    QString note;
    for (const QString &ligne : texte.split(QLatin1Char('\n')))
        note += ligne + QStringLiteral("\r\n");
    return note;
}

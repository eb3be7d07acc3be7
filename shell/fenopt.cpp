#include "shell/fenopt.h"

#include "services/configuration.h"
#include "services/dialogues.h"
#include "services/parametres.h"
#include "services/translation.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

void CentreSurEcran(QWidget *fenetre)
{
    QScreen *ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    const QRect r = ecran->geometry();
    const QSize taille = fenetre->frameGeometry().size();
    fenetre->move(r.x() + r.width() / 2 - taille.width() / 2,
                  r.y() + r.height() / 2 - taille.height() / 2);
}

TFenOpt::TFenOpt(ConfigurationT3 &configuration, QWidget *parent)
    : QDialog(parent), configuration_(configuration)
{
    setObjectName(QStringLiteral("FenOpt"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    pages_ = new QTabWidget(this);

    auto *segmentation = new QWidget;
    auto *ds = new QVBoxLayout(segmentation);
    ds->addWidget(new QLabel(QStringLiteral("Nombre maximum d'articles :")));
    edMaxart_ = new QLineEdit;
    edMaxart_->setObjectName(QStringLiteral("EdMaxart"));
    ds->addWidget(edMaxart_);
    ds->addWidget(new QLabel(QStringLiteral("Nombre des étiquettes : (en test)")));
    // The labels count is a trial setting: the box starts from 1 at every opening, so OK
    // without editing puts it back to 1.
    edEtiqs_ = new QLineEdit(QStringLiteral("1"));
    edEtiqs_->setObjectName(QStringLiteral("EdEtiqs"));
    ds->addWidget(edEtiqs_);
    ds->addWidget(new QLabel(QStringLiteral("Police d'affichage :")));
    cbCharset_ = new QComboBox;
    cbCharset_->setObjectName(QStringLiteral("cbCharset"));
    cbCharset_->setEditable(false);
    ds->addWidget(cbCharset_);
    ds->addStretch();
    pages_->addTab(segmentation, QStringLiteral("Segmentation"));

    auto *musiques = new QWidget;
    auto *dm = new QVBoxLayout(musiques);
    dm->addWidget(new QLabel(QStringLiteral("Sélectionnez un titre :")));
    cbMusiques_ = new QComboBox;
    cbMusiques_->setObjectName(QStringLiteral("CBMusiques"));
    cbMusiques_->setEditable(false);
    dm->addWidget(cbMusiques_);
    dm->addStretch();
    pages_->addTab(musiques, QStringLiteral("Musiques"));

    bitBtn1_ = new QPushButton(QStringLiteral("OK"));
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setDefault(true);
    bitBtn2_ = new QPushButton(QStringLiteral("Annuler"));
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    connect(bitBtn1_, &QPushButton::clicked, this, &TFenOpt::BitBtn1Click);
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::reject);
    auto *barre = new QHBoxLayout;
    barre->addStretch();
    barre->addWidget(bitBtn1_);
    barre->addWidget(bitBtn2_);

    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(pages_);
    disposition->addLayout(barre);

    // The character-set names are listed before the texts are translated, so that they are
    // translated with the rest; the current set is chosen once the list is complete.
    RemplitCharsets();
    edMaxart_->setText(QString::number(MaxArt()));
    TraduitComposants(this);
    RemplitMusiques();
    cbCharset_->setCurrentIndex(configuration_.GetCharsetIndex());

    setFixedSize(qMax(288, sizeHint().width()), qMax(206, sizeHint().height()));
}

void TFenOpt::RemplitCharsets()
{
    cbCharset_->clear();
    for (const ConfigurationDeFonte &jeu : configuration_.GetCharsetTable())
        cbCharset_->addItem(QString::fromStdString(jeu.GetName()));
}

void TFenOpt::RemplitMusiques()
{
    // The "Musiques" folder beside the program; its choice is read by nothing.
    cbMusiques_->clear();
    QDir dossier(QCoreApplication::applicationDirPath() + QStringLiteral("/Musiques"));
    if (!dossier.exists())
        return;
    const QStringList sons = dossier.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Unsorted);
    cbMusiques_->addItems(sons);
}

namespace {
// A signed 32-bit decimal integer, blanks around it allowed; nothing else.
std::optional<std::int32_t> EntierDecimal(const QString &texte)
{
    bool ok = false;
    const int valeur = texte.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return static_cast<std::int32_t>(valeur);
}
} // namespace

void TFenOpt::BitBtn1Click()
{
    const std::optional<std::int32_t> etiquettes = EntierDecimal(edEtiqs_->text());
    if (!etiquettes) {
        LesDialogues().message(this, windowTitle(),
                               Traduit("«\u00A0%1\u00A0» n'est pas une valeur entière correcte.")
                                   .arg(edEtiqs_->text()),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        edEtiqs_->setFocus();
        return;
    }
    // Each entry is taken as soon as it is read: a wrong maximum leaves the new labels count in
    // place, and stops before the character set and the file.
    FixeNbEtiquettes(*etiquettes);
    const std::optional<std::int32_t> maxart = EntierDecimal(edMaxart_->text());
    if (!maxart) {
        LesDialogues().message(this, windowTitle(),
                               Traduit("«\u00A0%1\u00A0» n'est pas une valeur entière correcte.")
                                   .arg(edMaxart_->text()),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        edMaxart_->setFocus();
        return;
    }
    // The segmenter sizes its tables from this number: only a usable capacity is taken.
    if (!ConfigurationT3::NumartValide(*maxart)) {
        LesDialogues().message(this, windowTitle(),
                               Traduit("Le nombre maximum d'articles doit être compris entre 1 et %1.")
                                   .arg(ConfigurationT3::NumartMaximum),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        edMaxart_->setFocus();
        return;
    }

    FixeMaxArt(*maxart);
    configuration_.SetCharsetIndex(cbCharset_->currentIndex() < 0 ? 0 : cbCharset_->currentIndex());
    configuration_.SetNumart(MaxArt());
    QString erreur;
    if (!configuration_.Save(&erreur))
        LesDialogues().message(this, windowTitle(),
                               Traduit("La configuration n'a pas pu être enregistrée.") +
                                   QStringLiteral("\n") + erreur,
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
    accept();
}

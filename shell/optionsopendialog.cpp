#include "shell/optionsopendialog.h"

#include "services/creationcorpus.h"
#include "services/translation.h"
#include "shell/fencreercorpus.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace talmer {

TOptionsOpenDialog::TOptionsOpenDialog(QWidget *parent) : QFileDialog(parent)
{
    setObjectName(QStringLiteral("OptionsOpenDialog"));
    // The strip is added to the dialog's own layout, which only the non-native dialog has.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({Traduit("Documents textes et word (*.txt *.doc)"), Traduit("Documents Word (*.doc)"),
                    Traduit("Fichiers Texte (*.txt)")});

    PanneauOptions = new QFrame(this);
    PanneauOptions->setObjectName(QStringLiteral("PanneauOptions"));
    PanneauOptions->setFrameShape(QFrame::NoFrame);
    PanneauOptions->setFixedHeight(HauteurSupplementaire);

    BtnOptions = new QPushButton(QStringLiteral("Options..."), PanneauOptions);
    BtnOptions->setObjectName(QStringLiteral("BtnOptions"));
    BtnOptions->setToolTip(QStringLiteral("Options avancées (Regroupement de textes, etc.)"));
    BtnOptions->setAutoDefault(false);

    auto *titre = new QLabel(QStringLiteral("Talmer 3"), PanneauOptions);
    titre->setObjectName(QStringLiteral("TitreOptions"));
    QFont police(QStringLiteral("Times New Roman"));
    police.setPointSize(14);
    titre->setFont(police);
    titre->setStyleSheet(QStringLiteral("color: blue;"));
    titre->setAlignment(Qt::AlignCenter);

    auto *ligne = new QHBoxLayout(PanneauOptions);
    ligne->setContentsMargins(2, 2, 2, 2);
    ligne->addWidget(BtnOptions);
    ligne->addWidget(titre, 1);
    // Keeps the caption centred on the strip, as wide as the button on its left.
    ligne->addSpacing(BtnOptions->sizeHint().width());

    if (auto *grille = qobject_cast<QGridLayout *>(layout()))
        grille->addWidget(PanneauOptions, grille->rowCount(), 0, 1, grille->columnCount());
    else if (layout())
        layout()->addWidget(PanneauOptions);

    connect(BtnOptions, &QPushButton::clicked, this, &TOptionsOpenDialog::OptionsClick);
    TraduitComposants(this);
}

TOptionsOpenDialog::~TOptionsOpenDialog() = default;

QString TOptionsOpenDialog::FichierChoisi() const
{
    if (result() != QDialog::Accepted)
        return {};
    const QStringList fichiers = selectedFiles();
    return fichiers.isEmpty() ? QString() : fichiers.front();
}

void TOptionsOpenDialog::showEvent(QShowEvent *event)
{
    QFileDialog::showEvent(event);
    if (place_ || event->spontaneous())
        return;
    place_ = true;
    // Centred vertically on the screen, left edge kept.
    if (const QScreen *ecran = screen()) {
        const QRect zone = ecran->availableGeometry();
        move(x(), zone.top() + (zone.height() - frameGeometry().height()) / 2);
    }
}

std::unique_ptr<TFenCreerCorpus> TOptionsOpenDialog::CreeFenCreerCorpus()
{
    return std::make_unique<TFenCreerCorpus>(this);
}

void TOptionsOpenDialog::ExecuteFenCreerCorpus(TFenCreerCorpus &fenetre) { fenetre.exec(); }

void TOptionsOpenDialog::Selectionne(const QString &chemin)
{
    const QFileInfo info(chemin);
    setDirectory(info.absolutePath());
    selectFile(info.absoluteFilePath());
}

void TOptionsOpenDialog::OptionsClick()
{
    std::unique_ptr<TFenCreerCorpus> fenetre = CreeFenCreerCorpus();
    ExecuteFenCreerCorpus(*fenetre);
    const QString nom = fenetre->NomSauve();
    if (!nom.isEmpty())
        Selectionne(nom);
}

void TOptionsOpenDialog::accept()
{
    const QStringList fichiers = selectedFiles();
    if (fichiers.size() == 1 && TypeDeFichier(fichiers.front()) == FicWord && QFileInfo(fichiers.front()).isFile()) {
        std::unique_ptr<TFenCreerCorpus> fenetre = CreeFenCreerCorpus();
        fenetre->AjouteFichiers({fichiers.front()});
        ExecuteFenCreerCorpus(*fenetre);
        const QString nom = fenetre->NomSauve();
        if (nom.isEmpty())
            return; // nothing gathered: the dialog stays open
        Selectionne(nom);
    }
    QFileDialog::accept();
}

} // namespace talmer

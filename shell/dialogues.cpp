#include "shell/dialogues.h"

#include "shell/translation.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

Dialogues::~Dialogues() = default;

ReponseMessage DialoguesBureau::message(QWidget *parent, const QString &titre, const QString &texte,
                                        BoutonsMessage boutons, IconeMessage icone)
{
    QMessageBox boite(parent);
    boite.setWindowTitle(titre);
    boite.setText(texte);
    switch (icone) {
    case IconeMessage::Aucune: boite.setIcon(QMessageBox::NoIcon); break;
    case IconeMessage::Information: boite.setIcon(QMessageBox::Information); break;
    case IconeMessage::Exclamation: boite.setIcon(QMessageBox::Warning); break;
    case IconeMessage::Erreur: boite.setIcon(QMessageBox::Critical); break;
    }
    if (boutons == BoutonsMessage::OuiNonAnnuler) {
        boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        boite.setDefaultButton(QMessageBox::Yes);
        boite.setEscapeButton(QMessageBox::Cancel);
    } else {
        boite.setStandardButtons(QMessageBox::Ok);
    }
    if (boutons == BoutonsMessage::OuiNonAnnuler) {
        boite.button(QMessageBox::Yes)->setText(Traduit("&Oui"));
        boite.button(QMessageBox::No)->setText(Traduit("&Non"));
        boite.button(QMessageBox::Cancel)->setText(Traduit("Annuler"));
    }
    switch (boite.exec()) {
    case QMessageBox::Yes: return ReponseMessage::Oui;
    case QMessageBox::No: return ReponseMessage::Non;
    case QMessageBox::Cancel: return ReponseMessage::Annuler;
    default: return boutons == BoutonsMessage::OuiNonAnnuler ? ReponseMessage::Annuler : ReponseMessage::Ok;
    }
}

QString DialoguesBureau::choisitFichierBase(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, Traduit("Ouverture d'une base Talmer"),
                                        QDir::currentPath(),
                                        Traduit("Fichiers paramètres (*.par)"));
}

QString DialoguesBureau::choisitTexte(QWidget *parent)
{
    return QFileDialog::getOpenFileName(
        parent, Traduit("Nouvelle base (segmentation)"), QDir::currentPath(),
        Traduit("Documents textes et word (*.txt *.doc);;Documents Word (*.doc);;"
                    "Fichiers Texte (*.txt)"));
}

QString DialoguesBureau::choisitDossier(QWidget *parent, const QString &titre)
{
    return QFileDialog::getExistingDirectory(parent, titre, QDir::currentPath(),
                                             QFileDialog::ShowDirsOnly);
}

int DialoguesBureau::execute(QDialog &dialogue)
{
    return dialogue.exec();
}

bool DialoguesBureau::ouvreDocument(const QString &chemin)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(chemin));
}

namespace {
DialoguesBureau dialoguesBureau;
Dialogues *dialoguesInstalles = nullptr;
} // namespace

Dialogues &LesDialogues()
{
    return dialoguesInstalles ? *dialoguesInstalles : dialoguesBureau;
}

void FixeDialogues(Dialogues *dialogues)
{
    dialoguesInstalles = dialogues;
}

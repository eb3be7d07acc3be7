// Everything the workbench asks the user through a standard box or dialog goes through this
// interface, so that a test can answer in the user's place and nothing opens on its own.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QWidget;

enum class BoutonsMessage { Ok, OuiNon, OuiNonAnnuler };
enum class IconeMessage { Aucune, Information, Exclamation, Erreur };
enum class ReponseMessage { Ok, Oui, Non, Annuler };

class Dialogues {
public:
    virtual ~Dialogues();

    // A message box; the answer is the button pressed (closing the box answers Annuler when it
    // has that button, Non for a yes-or-no box, else Ok).
    virtual ReponseMessage message(QWidget *parent, const QString &titre, const QString &texte,
                                   BoutonsMessage boutons = BoutonsMessage::Ok,
                                   IconeMessage icone = IconeMessage::Aucune) = 0;
    // The open dialog of a base's parameter file; empty when cancelled.
    virtual QString choisitFichierBase(QWidget *parent) = 0;
    // The open dialog of a text to segment; empty when cancelled.
    virtual QString choisitTexte(QWidget *parent) = 0;
    // The folder browser; empty when cancelled. `texte` may hold several lines.
    virtual QString choisitDossier(QWidget *parent, const QString &texte) = 0;
    // Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int execute(QDialog &dialogue) = 0;
    // Opens a file with the desktop's program for it (a browser for a page); `resultat` learns
    // whether that worked, at once or from the event loop a few seconds later (LanceDocument).
    virtual void ouvreDocument(const QString &chemin, std::function<void(bool)> resultat) = 0;
};

// The real boxes and dialogs of the desktop.
class DialoguesBureau : public Dialogues {
public:
    ReponseMessage message(QWidget *parent, const QString &titre, const QString &texte,
                           BoutonsMessage boutons, IconeMessage icone) override;
    QString choisitFichierBase(QWidget *parent) override;
    QString choisitTexte(QWidget *parent) override;
    QString choisitDossier(QWidget *parent, const QString &texte) override;
    int execute(QDialog &dialogue) override;
    void ouvreDocument(const QString &chemin, std::function<void(bool)> resultat) override;
};

// The program-wide dialogs: the desktop's unless a test installed its own (not owned).
Dialogues &LesDialogues();
void FixeDialogues(Dialogues *dialogues);

// Opens a file with the desktop's program for it. When the file is missing, or nothing could open
// it, a message over `parent` (when it is still there) says so: `absent` or `echec`, texts in
// which %1 stands for the file's path, so that the user can open it himself.
void OuvreDocumentOuDit(QWidget *parent, const QString &chemin, const QString &echec, const QString &absent);

// The folder chooser: a window title holds one line, so the first line of `texte` is the title
// and the whole text stands above the folder list.
std::unique_ptr<QFileDialog> DialogueDossier(QWidget *parent, const QString &texte);

// Gives each column of a file dialog's detailed list at least the room its title and its rows
// need (the translated titles, sizes and types are longer than Qt's default widths).
void ElargitColonnes(QFileDialog &dialogue);

// Applies ElargitColonnes to every file dialog of the program when it is shown, those opened
// through Qt's static functions included, and again once its list has filled in.
class ColonnesDialoguesFichier : public QObject {
public:
    explicit ColonnesDialoguesFichier(QObject *parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;
};

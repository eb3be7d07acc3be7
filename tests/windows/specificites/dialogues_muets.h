// Answers every message box with OK (recording its text) and every dialog through a function the
// test sets (Rejected by default), so that nothing opens on the screen.
#pragma once

#include "services/dialogues.h"

#include <QDialog>
#include <QStringList>

#include <functional>

namespace talmer::test {

class DialoguesMuets : public Dialogues {
public:
    DialoguesMuets() { FixeDialogues(this); }
    ~DialoguesMuets() override { FixeDialogues(nullptr); }
    ReponseMessage message(QWidget *, const QString &, const QString &texte, BoutonsMessage, IconeMessage) override
    {
        messages << texte;
        return ReponseMessage::Ok;
    }
    QString choisitFichierBase(QWidget *) override { return {}; }
    QString choisitTexte(QWidget *) override { return {}; }
    QString choisitDossier(QWidget *, const QString &) override { return {}; }
    int execute(QDialog &dialogue) override { return repond ? repond(dialogue) : int(QDialog::Rejected); }
    void ouvreDocument(const QString &, std::function<void(bool)> resultat) override { resultat(false); }

    QStringList messages;
    std::function<int(QDialog &)> repond;
};

} // namespace talmer::test

// Helpers of the workbench tests: dialogs answered in the user's place, and the sample base.
#pragma once

#include "engine/segmenteur.h"
#include "engine/verifcles.h"
#include "services/dialogues.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace talmer::test {

// The user presses Escape: the key waits in the queue, as on a screen, until work lets the
// windows repaint (or the event loop runs).
inline void AppuieEchap(QObject *cible)
{
    QCoreApplication::postEvent(cible, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}

// Records every message box and answers from a queue (Ok, or Annuler when the queue is empty
// for a three-button box); the other dialogs answer what the test set.
class DialoguesTest : public Dialogues {
public:
    struct Message {
        QString titre;
        QString texte;
        BoutonsMessage boutons;
        IconeMessage icone;
    };

    DialoguesTest() { FixeDialogues(this); }
    ~DialoguesTest() override { FixeDialogues(nullptr); }

    ReponseMessage message(QWidget *, const QString &titre, const QString &texte, BoutonsMessage boutons,
                           IconeMessage icone) override
    {
        messages.push_back({titre, texte, boutons, icone});
        if (!reponses.empty()) {
            const ReponseMessage r = reponses.front();
            reponses.pop_front();
            return r;
        }
        return boutons == BoutonsMessage::OuiNonAnnuler ? ReponseMessage::Annuler
               : boutons == BoutonsMessage::OuiNon      ? ReponseMessage::Non
                                                        : ReponseMessage::Ok;
    }
    QString choisitFichierBase(QWidget *) override { return fichierBase; }
    QString choisitTexte(QWidget *) override { return texte; }
    QString choisitDossier(QWidget *, const QString &titre) override
    {
        titresDossier.push_back(titre);
        return dossier;
    }
    int execute(QDialog &dialogue) override
    {
        dialoguesVus.push_back(dialogue.metaObject()->className());
        if (repondDialogue)
            return repondDialogue(dialogue);
        return QDialog::Accepted;
    }
    void ouvreDocument(const QString &chemin, std::function<void(bool)> resultat) override
    {
        documents.push_back(chemin);
        if (lanceurBureau)
            DialoguesBureau().ouvreDocument(chemin, std::move(resultat));
        else
            resultat(documentsOuverts);
    }

    std::vector<Message> messages;
    std::deque<ReponseMessage> reponses;
    QString fichierBase;
    QString texte;
    QString dossier;
    std::vector<QString> titresDossier;
    std::vector<std::string> dialoguesVus;
    std::function<int(QDialog &)> repondDialogue;
    std::vector<QString> documents;
    // What opening a document answers; with lanceurBureau, the desktop's launcher found on the
    // PATH answers instead.
    bool documentsOuverts = true;
    bool lanceurBureau = false;
};

inline std::string CheminEchantillon()
{
    return std::string(TALMER_SOURCE_DIR) + "/samples/ville.txt";
}

// Copies the sample corpus into `dossier` as <nom>.txt and builds its base there; returns the
// path of the parameter file ("" with a test failure when a step fails). The current directory
// is left as it was.
inline std::string FabriqueBaseEchantillon(const std::filesystem::path &dossier, const std::string &nom = "ville")
{
    const auto avant = std::filesystem::current_path();
    std::filesystem::create_directories(dossier);
    std::filesystem::current_path(dossier);
    const std::string txt = nom + ".txt";
    writeFile(txt, readFile(CheminEchantillon()));
    std::string resultat;
    if (VerifCles(txt.c_str()) != 0) {
        ADD_FAILURE() << "key check of the sample failed";
    } else {
        ParametresSegm parametres;
        parametres.delimiteurs = DelimiteursDefaut;
        const ResultatSegm r = SegmPrinc(txt.c_str(), parametres);
        if (r != ResultatSegm::Reussie)
            ADD_FAILURE() << "segmentation of the sample failed: " << MessageSegmentation(r);
        else
            resultat = (std::filesystem::absolute(dossier) / (nom + ".par")).string();
    }
    std::filesystem::current_path(avant);
    return resultat;
}

inline void TraiteEvenements()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace talmer::test

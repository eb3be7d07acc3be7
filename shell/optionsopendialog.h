// The open dialog of a new base: the file dialog with a strip at its bottom that carries the
// button "Options...", which opens corpus building ("Création de Corpus"). Once a corpus has been
// saved there, it is the file selected in this dialog, which the user then confirms.
#pragma once

#include <QFileDialog>

#include <memory>

class QFrame;
class QPushButton;

namespace talmer {

class TFenCreerCorpus;

class TOptionsOpenDialog : public QFileDialog {
    Q_OBJECT
public:
    // Extra height of the strip, in pixels.
    static constexpr int HauteurSupplementaire = 32;

    explicit TOptionsOpenDialog(QWidget *parent = nullptr);
    ~TOptionsOpenDialog() override;

    // The file chosen, once the dialog has been confirmed; empty otherwise.
    QString FichierChoisi() const;

    // "Options...": corpus building, then the saved corpus selected here.
    void OptionsClick();

    // A Word document is not a text: confirming one first gathers it into a corpus text (the
    // corpus window opens with it), and that text is what the dialog gives.
    void accept() override;

    QFrame *PanneauOptions = nullptr;
    QPushButton *BtnOptions = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Runs the corpus window modally; tests drive it in place of the user.
    virtual void ExecuteFenCreerCorpus(TFenCreerCorpus &fenetre);
    virtual std::unique_ptr<TFenCreerCorpus> CreeFenCreerCorpus();

private:
    // Selects a file in the dialog's list, in its own folder.
    void Selectionne(const QString &chemin);
    bool place_ = false;
};

} // namespace talmer

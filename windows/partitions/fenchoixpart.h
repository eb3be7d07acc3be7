// "Choix de la partition": the key types of the open base, one of which the user divides the
// corpus by.
#pragma once

#include <QDialog>

#include <cstdint>

class QListWidget;
class QPushButton;
class TFenPrinc;
class charg1;

class TFenChoixPart : public QDialog {
    Q_OBJECT
public:
    TFenChoixPart(TFenPrinc &fenPrinc, charg1 &base, QWidget *parent = nullptr);

    // The creation flag: true once "Créer" was pressed (a key selected or not) or a key
    // double-clicked; false after "Annuler".
    bool Creation() const { return creation_; }

    QListWidget *ListParts() const { return listParts_; }
    QPushButton *BtnValide() const { return btnValide_; }
    QPushButton *BtnAnnule() const { return btnAnnule_; }

    // "Créer": creates the partition of the selected key, if any, and closes the dialog.
    void BtnValideClick();
    // A double click on a key: the same, when a key is selected.
    void ListPartsDblClick();
    void BtnAnnuleClick();

private:
    // Opens the partition of the first selected key (OuvrePartition), then closes the dialog.
    void CreePartition();

    TFenPrinc &fenPrinc_;
    charg1 &base_;
    bool creation_ = false;
    QListWidget *listParts_ = nullptr;
    QPushButton *btnValide_ = nullptr;
    QPushButton *btnAnnule_ = nullptr;
};

namespace talmer {
// The main window's "Partitions" command: runs the dialog modally; its creation flag.
bool ChoisitPartition(TFenPrinc &fenPrinc, charg1 &base);
} // namespace talmer

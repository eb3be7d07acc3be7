// "Création de Corpus": the user gathers .txt and .doc files into one corpus text, each file
// preceded by a key marker naming it. The computation is CreationCorpus; this window shows the
// list and the options.
#pragma once

#include "services/creationcorpus.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace talmer {

// The rows of the source list, read from the CreationCorpus on demand.
class ModeleFichiers : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeleFichiers(const CreationCorpus &creation, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The list changed: rows are read again.
    void Actualise();

    // "Inconnu", "Texte" or "Doc. Word".
    static QString TexteType(std::int32_t type);

private:
    const CreationCorpus &creation_;
};

class TFenCreerCorpus : public QDialog {
    Q_OBJECT
public:
    explicit TFenCreerCorpus(QWidget *parent = nullptr);
    ~TFenCreerCorpus() override;

    // The file the open dialog is to select once this window has closed: the corpus just written,
    // or the one .txt source used as it is; empty when nothing was saved.
    QString NomSauve() const { return nomSauve_; }

    const CreationCorpus &Creation() const { return *creation_; }

    // Handlers.
    void BtnAddClick();
    void BtnDelClick();
    void BtnSaveClick();
    void ChkTraitClick();

    // Adds sources as "&Ajouter" does with the paths chosen.
    void AjouteFichiers(const QStringList &chemins);

    QTreeView *LVFiles = nullptr;
    QPushButton *BtnAdd = nullptr;
    QPushButton *BtnDel = nullptr;
    QPushButton *BtnSave = nullptr;
    QPushButton *BtnAnnuler = nullptr;
    QLineEdit *EdNomCle = nullptr;
    QCheckBox *ChkTrait = nullptr;
    QRadioButton *RBCar = nullptr;
    QLineEdit *EdCar = nullptr;
    QRadioButton *RBCle = nullptr;
    QLineEdit *EdCle = nullptr;

protected:
    // The file dialogs and the message box, which tests answer in place of the user.
    // "Ajouter un ou des fichiers": the chosen paths (none when cancelled).
    virtual QStringList ChoisitSources();
    // "Sauvegarder le corpus sous...": the chosen name, empty when cancelled.
    virtual QString ChoisitDestination();
    virtual void Signale(const QString &message);

private:
    std::unique_ptr<CreationCorpus> creation_;
    ModeleFichiers *modele_ = nullptr;
    QString nomSauve_;
};

} // namespace talmer

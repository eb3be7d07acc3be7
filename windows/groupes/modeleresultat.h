// The rows of the group-of-forms result, read from the ResultatGroupe on demand: column 0 the
// spelling ("Forme"), column 1 the frequency ("Fréquence"); each row carries its entity number.
#pragma once

#include <QAbstractTableModel>

namespace talmer {

class ResultatGroupe;

class ModeleResultat : public QAbstractTableModel {
    Q_OBJECT
public:
    // The role under which a row gives its entity number.
    static constexpr int RoleEntite = Qt::UserRole + 1;

    explicit ModeleResultat(const ResultatGroupe &resultat, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The result changed: every row is read again.
    void Actualise();

private:
    const ResultatGroupe &resultat_;
};

} // namespace talmer

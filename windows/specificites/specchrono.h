// The chronological specificity grid: for each form, the run of consecutive parts where it is
// most specific, sorted by clicks on the column headers.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>

class Partition;
class PrimSpecChr;

namespace talmer {

// The sort code a click on the header of grid column `colonne` gives after `codeCourant`
// (PrimSpecChr::Trie codes): a first click sorts the text, frequency and run columns ascending
// and the coefficient column descending, a further click on the same column reverses it. -1 for
// a column that does not exist.
int NouveauCodeTriSC(int colonne, int codeCourant);

// The "Partie(s)" cell of a run: the first part's name, and " - " and the last one's when the
// run has more than one part (`derniere` empty).
QString TexteParties(const QString &premiere, const QString &derniere);

class ModeleSC : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeleSC(Partition *partition, QObject *parent = nullptr);

    // The result shown (not owned; null for none).
    void FixeResultat(PrimSpecChr *resultat);
    PrimSpecChr *Resultat() const { return resultat_; }
    // A click on a column header: the rows take the new order; returns the new code (-1: no
    // change).
    int ClicEntete(int colonne);
    int CodeTri() const { return code_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // What the grid's column may show at its widest (see RoleValeursLarges).
    QVariant ValeursLarges(int section) const;

    Partition *partition_;
    PrimSpecChr *resultat_ = nullptr;
    int code_ = -1;
};

} // namespace talmer

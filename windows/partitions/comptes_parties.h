// What the partition statistics window shows on its first page: the counts of the whole corpus
// (the memo) and the counts of each part (a grid model over the partition), with the rule a
// click follows on the part flags.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>

class Partition;
class charg1;

// The two memo lines of the whole corpus's counts, separated by a line feed.
QString TexteResume(const charg1 &base);

// What a click released on column `colonne` of part `partie` does to the flags: column 0 toggles
// the checked flag (a part unchecked loses its selection too); any other column toggles the
// selected flag, but only on a checked part. True when a flag changed.
bool BasculePartie(Partition &partition, std::int32_t partie, int colonne);

// The counts grid: one row per part (the header is the view's), 8 columns.
class ModelePCLC : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int NbColonnes = 8;
    static constexpr std::array<int, NbColonnes> Largeurs = {16, 29, 224, 50, 49, 48, 54, 64};
    // True on the rows of checked parts (column 0 draws its mark from it) and of selected parts.
    static constexpr int RoleCochee = Qt::UserRole + 1;
    static constexpr int RoleSelectionnee = Qt::UserRole + 2;

    explicit ModelePCLC(Partition &partition, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    Partition &PartitionComptee() const { return partition_; }
    // The flags changed (here or in another window of the partition): every row is redrawn.
    void FlagsChanges();

private:
    // What column `section` may show at its widest (see RoleValeursLarges).
    QVariant ValeursLarges(int section) const;

    Partition &partition_;
};

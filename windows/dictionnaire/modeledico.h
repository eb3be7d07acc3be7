// The dictionary list as a table model over the base: one row per form or punctuation entity,
// read on demand (no item per row), in the order the OrdreDictionnaire gives.
#pragma once

#include "windows/dictionnaire/ordredico.h"

#include <QAbstractTableModel>

class charg1;

namespace talmer {

class ModeleDictionnaire : public QAbstractTableModel {
    Q_OBJECT
public:
    // The role that gives a row's entity number.
    static constexpr int RoleEntite = Qt::UserRole;

    ModeleDictionnaire(const charg1 &base, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Rows can be dragged: a press on a selected row followed by a move starts a drag of the
    // selection instead of extending it.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const OrdreDictionnaire &Ordre() const { return ordre_; }
    // Switches between frequency and alphabetical order; the views are reset.
    void FixeAlphabetique(bool alphabetique);

private:
    const charg1 &base_;
    OrdreDictionnaire ordre_;
};

} // namespace talmer

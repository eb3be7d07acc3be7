// The rows of the segment list: length, text and frequency of each segment, shown through an
// order array of the list's own (the segment set itself is never reordered, so segment k stays
// entity Nbart+1+k). Rows are produced only when the view asks for them.
#pragma once

#include "windows/segments/ordre_segments.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

class SegRep;

namespace talmer {

class ModeleSegments : public QAbstractTableModel {
    Q_OBJECT
public:
    // The entity number of the row's segment.
    static constexpr int RoleEntite = Qt::UserRole + 1;

    // The segment set is not owned; it must outlive the model.
    explicit ModeleSegments(SegRep *segments, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // A click on a column's header: sorts the display order from its current arrangement.
    void TrieColonne(int colonne);

    SegRep *Segments() const { return segments_; }
    const std::vector<std::int32_t> &Ordre() const { return ordre_; }
    // The segment shown at row r (-1 outside the list).
    std::int32_t SegmentDeLigne(int r) const;
    // The entity number of segment s: Nbart + 1 + s.
    std::int32_t EntiteDeSegment(std::int32_t s) const;

private:
    SegRep *segments_;
    std::vector<std::int32_t> ordre_;
};

} // namespace talmer

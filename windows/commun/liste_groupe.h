// The lists whose selected rows are dragged out as one group of forms (the dictionary, the
// group-of-forms search, the repeated segments, the specificities): a table view that selects
// whole rows, several at a time, and whose drag carries the group its window builds.
#pragma once

#include <QTableView>

#include <functional>
#include <memory>

namespace talmer {

class TTgenDragObject;

class ListeGroupe : public QTableView {
    Q_OBJECT
public:
    // What a drag carries, built when the drag starts; null: nothing to drag (no row selected).
    using FabriqueGroupe = std::function<std::unique_ptr<TTgenDragObject>()>;

    explicit ListeGroupe(QWidget *parent = nullptr);
    void FixeFabriqueGroupe(FabriqueGroupe fabrique) { fabrique_ = std::move(fabrique); }

protected:
    void startDrag(Qt::DropActions actions) override;

private:
    FabriqueGroupe fabrique_;
};

} // namespace talmer

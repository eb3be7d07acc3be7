// The group container of the main window's button bar: the user drops a group of forms on it
// (the group becomes the current group and goes into the history of the 20 most recent), drags
// the current group from it onto any window that takes groups, and picks an older group again
// from the history popup.
#pragma once

#include "shell/deposeforme.h"

#include <QLabel>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class QMenu;
class QMimeData;
class SegRep;
class charg1;
class Tgen;

namespace talmer {

class TTgenDragObject;

// What a new computation of a base's repeated segments did to the groups of the history.
struct BilanSegmentsRemplaces {
    std::int32_t renumerotes = 0;  // segment numbers carried to the same segment's new number
    std::int32_t retires = 0;      // segment numbers dropped: the new set has no such segment
    std::int32_t groupesVides = 0; // groups left with no entity, removed from the history
};

// The history: most recent first, at most 20 groups; the current group is always one of them.
class HistoriqueGroupes {
public:
    static constexpr int Capacite = 20;

    HistoriqueGroupes();
    ~HistoriqueGroupes();
    HistoriqueGroupes(const HistoriqueGroupes &) = delete;
    HistoriqueGroupes &operator=(const HistoriqueGroupes &) = delete;

    // The group becomes current and goes to the front; beyond 20 the oldest are deleted.
    void Range(std::unique_ptr<Tgen> groupe);
    // The entry at index becomes current; the order is kept. False when index is out of range.
    bool Choisit(int index);
    // Deletes every group built on the base (before that base is deleted); the current group goes
    // with them when it was one.
    void OublieBase(const charg1 *base);
    // The repeated segments of the base have been computed again, so a segment number
    // (Nbart+1+k) of a group built on it would name another segment. `correspondance` gives for
    // each segment k of the set replaced its index in the new set, or -1: each group keeps its
    // segments under their new numbers and drops those the new set lacks; a group left empty
    // leaves the history (when it was the current group, there is none afterwards).
    BilanSegmentsRemplaces RemplaceSegments(const charg1 &base, const std::vector<std::int32_t> &correspondance);

    Tgen *Courant() const { return courant_; }
    int Taille() const { return static_cast<int>(entrees_.size()); }
    Tgen *Entree(int index) const;

private:
    std::deque<std::unique_ptr<Tgen>> entrees_;
    Tgen *courant_ = nullptr;
};

class TConteneur : public QLabel, public RecepteurForme {
    Q_OBJECT
public:
    static constexpr int Cote = 36;

    explicit TConteneur(QWidget *parent = nullptr);
    ~TConteneur() override;

    // The main window's open base, on which dropped groups are built (none: drops are refused).
    void FixeBase(charg1 *base);
    charg1 *Base() const { return base_; }
    // Before a base is deleted: its groups leave the history, so none of them can reach it again.
    void OublieBase(const charg1 *base);
    // After a new computation of the base's repeated segments replaced `anciens` (none at the
    // first): the groups follow their segments (HistoriqueGroupes::RemplaceSegments). Returns
    // what the status should say, empty when no group held a segment that changed.
    QString SegmentsRemplaces(const charg1 *base, const SegRep *anciens, const SegRep &nouveaux);

    const HistoriqueGroupes &Historique() const { return historique_; }
    Tgen *GroupeCourant() const { return historique_.Courant(); }

    // Makes a group current and records it in the history.
    void RangeConteneur(std::unique_ptr<Tgen> groupe);
    // The spelling of a form, taken as a one-form group with no name.
    void DeposeForme(std::string_view graphie) override;

    // What a drag from the container carries: the current group, none before the first group.
    std::unique_ptr<TTgenDragObject> ContainerStartDrag();
    // Fills the history popup: one item per group, newest first, the current one checked.
    void PMnuQueuePopup();
    // The history entry at index becomes the current group.
    void ElemMenuClick(int index);
    QMenu *PMnuQueue() const { return menu_; }

protected:
    // Accepts a group of forms of the open base that was not dragged from the container itself.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool ContainerDragOver(const QMimeData *donnees) const;
    void ContainerDragDrop(TTgenDragObject &objet);
    void MontreCourant();

    charg1 *base_ = nullptr;
    HistoriqueGroupes historique_;
    QMenu *menu_ = nullptr;
    QPoint pressee_;
    bool glissable_ = false;
};

} // namespace talmer

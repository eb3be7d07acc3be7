// The counts grid of the partition statistics window: one row per part, drawn from the part
// flags (checked parts carry a mark in column 0, selected parts are highlighted), with the mouse
// rules that toggle the flags and start a drag of the partition.
#pragma once

#include <QPoint>
#include <QTableView>

#include <functional>

class ModelePCLC;
class Partition;

class GrillePCLC : public QTableView {
    Q_OBJECT
public:
    // How far the pointer must move, button held, before the partition is dragged.
    static constexpr int SeuilGlisser = 10;

    GrillePCLC(ModelePCLC *modele, QWidget *parent = nullptr);

    // The press being followed (row and column of the model), -1 when none.
    int LigneEnCours() const { return ligne_; }
    int ColonneEnCours() const { return colonne_; }

    // What a drag of the partition does; by default it hands a TPartDragObject to the toolkit.
    void FixeGlisser(std::function<void()> glisser) { glisser_ = std::move(glisser); }
    // The picture drawn in column 0 of a checked part.
    static QPixmap MarqueCochee();

signals:
    // A flag of a part changed by a click.
    void flagsChanges();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    ModelePCLC *modele_;
    int ligne_ = -1;
    int colonne_ = -1;
    QPoint depart_;
    bool gauchePressee_ = false;
    std::function<void()> glisser_;
};

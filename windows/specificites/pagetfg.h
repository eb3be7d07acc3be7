// The page "TFG / Spécificités par partie" of the partition statistics window: the grid of the
// table of forms by parts, the "Tri par :" mode buttons, the "Sp. Tot" run and the table's
// report pages.
#pragma once

#include "windows/specificites/tfg.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

#include <memory>

class CalcSpecTot;
class Partition;
class QRadioButton;
class QAbstractButton;
class Rapport;

namespace talmer {

// A part cell: its frequency on the left, its coefficient (red or blue) on the right.
class DelegueTFG : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The grid: takes a dropped group of forms of its base as its rows.
class GrilleTFG : public QTableView {
    Q_OBJECT
public:
    GrilleTFG(Partition *partition, QWidget *parent = nullptr);

signals:
    void groupeDepose(std::vector<std::int32_t> entites);
    // A click on the corner over the spellings.
    void coinClique();

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    Partition *partition_;
    QAbstractButton *coin_ = nullptr;
};

class PageTFG : public QWidget {
    Q_OBJECT
public:
    PageTFG(Partition *partition, QWidget *parent = nullptr);
    ~PageTFG() override;

    // "Sp. Tot": the parameter dialog over `parent`, then the run; true when it computed.
    bool LanceSpTot(QWidget *parent);
    // The run itself with these parameters (stored in the partition first); true when it
    // computed. The previous result stays when it fails.
    bool Calcule(bool restreindre, std::int32_t seuil, std::int32_t freqMin);

    // Header clicks (grid column 0: the corner over the spellings; c: computed part c - 1) and
    // mode buttons.
    void ClicEntete(int colonne);
    void RadFrqClick();
    void RadSpecClick();
    // A dropped group: its entities become the rows, in its order.
    void DeposeGroupe(std::vector<std::int32_t> entites);

    // The table's page and fragment, written to the report's folder as they are made (with the
    // progress bar and the cancel button) and added with the caption `titre`. A page of more
    // than about 200 MB is written only when the user agrees. False when nothing was added:
    // with the reason in *erreur when a file could not be written, with *erreur untouched when
    // the user refused or stopped the writing (no file is left then either).
    bool ExporteAuRapport(Rapport &rapport, const QString &titre, QString *erreur) const;

    ModeleTFG *Modele() const { return modele_; }
    GrilleTFG *Grille() const { return grille_; }
    const EtatTriTFG &Etat() const { return etat_; }
    const CalcSpecTot *Calcul() const { return calcul_.get(); }
    QRadioButton *RadFrq() const { return radFrq_; }
    QRadioButton *RadSpec() const { return radSpec_; }

signals:
    // A run computed: the page is to be shown and made active.
    void calcule();

private:
    Partition *partition_;
    std::unique_ptr<CalcSpecTot> calcul_;
    EtatTriTFG etat_;
    ModeleTFG *modele_ = nullptr;
    GrilleTFG *grille_ = nullptr;
    QRadioButton *radFrq_ = nullptr;
    QRadioButton *radSpec_ = nullptr;
};

} // namespace talmer

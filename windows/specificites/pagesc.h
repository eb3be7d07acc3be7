// The page "Spécificités Chronologiques" of the partition statistics window: the grid of the
// chronological specificities and the "Sp Diac." run that fills it.
#pragma once

#include "windows/specificites/specchrono.h"

#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <memory>

class Partition;
class PrimSpecChr;

namespace talmer {

class TFenParamSpecDiac;

class PageSC : public QWidget {
    Q_OBJECT
public:
    PageSC(Partition *partition, QWidget *parent = nullptr);
    ~PageSC() override;

    // "Sp Diac.": the dialog (which may compute the evolutive specificities) over `parent`, then
    // the chronological specificities when it asks for them. With no part selected, the first
    // part is selected first, and stays selected.
    void LanceSpDiac(QWidget *parent);
    // The chronological specificities with these parameters; they replace the grid's rows.
    void CalculeChrono(std::int32_t seuil, std::int32_t freqMin);

    ModeleSC *Modele() const { return modele_; }
    QTableView *Grille() const { return grille_; }
    PrimSpecChr *Resultat() const { return resultat_.get(); }
    // The dialog of the run in progress (null outside a run), for the tests.
    static TFenParamSpecDiac *DialogueEnCours();

signals:
    // A run yielded rows: the page is to be shown and made active.
    void calcule();

private:
    Partition *partition_;
    std::unique_ptr<PrimSpecChr> resultat_;
    ModeleSC *modele_ = nullptr;
    QTableView *grille_ = nullptr;
};

} // namespace talmer

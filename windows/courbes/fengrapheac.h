// Vocabulary growth: how many distinct forms have appeared against how many word occurrences
// have been read, for the parts selected in a partition, then for each selection dropped on the
// chart (a group of forms or a partition of the same base).
#pragma once

#include "windows/courbes/fencourbes.h"

class Partition;
class QValueAxis;
class Selection;
class charg1;

class TFenGrapheAC : public talmer::FenCourbes {
    Q_OBJECT
public:
    // Neither is owned; both outlive the window (they go with the base).
    TFenGrapheAC(Partition &partition, charg1 &base, QWidget *parent = nullptr);

    QValueAxis *AxeOccurrences() const { return axeOccurrences_; }
    QValueAxis *AxeFormes() const { return axeFormes_; }

    void TraceCourbePartition(Partition &partition);
    // False, nothing drawn, when the selection does not fit the text of the window's base.
    bool TraceCourbeSelection(const Selection &selection);

    static int &Compteur();

protected:
    void AjusteAxes() override;
    bool Accepte(const QMimeData *donnees) const override;
    void Depose(const QMimeData *donnees) override;
    QString PrefixeImage() const override { return QStringLiteral("img-grapheAC-"); }
    int &CompteurImages() const override { return Compteur(); }

private:
    void Ajoute(const talmer::Courbe &courbe);

    Partition &partition_;
    charg1 &base_;
    QValueAxis *axeOccurrences_ = nullptr;
    QValueAxis *axeFormes_ = nullptr;
};

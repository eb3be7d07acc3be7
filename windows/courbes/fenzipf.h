// The Zipf (Pareto) diagram of a partition: for chosen parts, how many forms reach each
// frequency, on logarithmic axes. The partition dragged again from its statistics window adds a
// curve of the parts selected there at that moment.
#pragma once

#include "windows/courbes/fencourbes.h"

#include <cstdint>

class Partition;
class QLogValueAxis;

class TFenZipf : public talmer::FenCourbes {
    Q_OBJECT
public:
    // The partition is not owned; it outlives the window (both go with the base).
    explicit TFenZipf(Partition &partition, QWidget *parent = nullptr);

    Partition &PartitionPortee() const { return partition_; }
    QLogValueAxis *AxeFormes() const { return axeFormes_; }
    QLogValueAxis *AxeFrequences() const { return axeFrequences_; }

    // Adds the curve of the parts selected in the partition (all when none is).
    void TraceCourbe(Partition &partition);

    // The picture counter shared by every Zipf window (the next picture's number).
    static int &Compteur();

protected:
    void AjusteAxes() override;
    bool Accepte(const QMimeData *donnees) const override;
    void Depose(const QMimeData *donnees) override;
    QString PrefixeImage() const override { return QStringLiteral("img-grapheZipf-"); }
    int &CompteurImages() const override { return Compteur(); }

private:
    Partition &partition_;
    QLogValueAxis *axeFormes_ = nullptr;     // bottom: "Nombre de formes >= F"
    QLogValueAxis *axeFrequences_ = nullptr; // left: "Fréquence (F)"
};

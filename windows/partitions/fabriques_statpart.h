// The analyses the partition statistics window starts from its tool panel and that live in other
// families of windows. A button stays disabled while its entry is empty; each family fills its
// entry at start-up (InstalleFenetres).
#pragma once

#include <functional>

class Partition;
class QWidget;
class TFenPrinc;

namespace talmer {

struct FabriquesStatPart {
    // "AFC": the correspondence-analysis dialog, shown modally over `parent`.
    std::function<void(TFenPrinc &, Partition &, QWidget *parent)> afc;
    // "Pareto": a new Zipf window for the partition.
    std::function<void(TFenPrinc &, Partition &)> zipf;
    // The vocabulary-growth button: a new growth window for the partition and its base.
    std::function<void(TFenPrinc &, Partition &)> accroissement;
};

// The one set of the run.
FabriquesStatPart &FabriquesStatistiques();

} // namespace talmer

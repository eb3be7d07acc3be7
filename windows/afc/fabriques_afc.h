// The specificity dialogs the factor plane reopens on its partition; they live in another family
// of windows, which fills these entries at start-up. A button stays disabled while its entry is
// empty.
#pragma once

#include <functional>

class Partition;
class QWidget;

namespace talmer {

struct FabriquesAFC {
    // "Spécifs": the specificity parameter dialog, modal over `parent`.
    std::function<void(Partition &, QWidget *parent)> specificites;
    // "Sp ch ev": the chronological-specificity dialog, modal over `parent`.
    std::function<void(Partition &, QWidget *parent)> specificitesEvolutives;
};

// The one set of the run.
FabriquesAFC &FabriquesPlanAFC();

} // namespace talmer

// What the specificity windows add to a partition statistics window: the three specificity
// buttons, the report pages, and their own views in the "TFG / Spécificités par partie" and
// "Spécificités Chronologiques" pages.
//
// Each new statistics window calls the installed set-up once its layout is built; the set-up
// keeps whatever per-window state it needs (a QObject child of the window, for instance) and
// fills the window's actions with TFenStatPart::FixeActions. A button stays disabled while its
// action is empty.
#pragma once

#include <functional>

class TFenStatPart;

namespace talmer {

struct ActionsStatPart {
    std::function<void()> specifs;     // "Spécifs": the specificity dialog of the selected parts
    std::function<void()> spDiac;      // "Sp Diac.": evolutive and chronological specificities
    std::function<void()> spTot;       // "Sp. Tot": the table of forms by parts
    std::function<void()> exportePage; // "Ajouter au rapport": the pages of the window
};

// Run on every new statistics window (nothing when empty).
using InstallationStatPart = std::function<void(TFenStatPart &)>;
// The one set-up of the run, filled at start-up (InstalleFenetres).
InstallationStatPart &ExtensionStatistiques();

} // namespace talmer

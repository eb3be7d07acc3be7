// Installs the specificity windows on every partition statistics window: its "Spécifs",
// "Sp Diac." and "Sp. Tot" buttons, the table of forms by parts and the chronological grid in its
// pages, and its report pages.
#pragma once

class TFenStatPart;

namespace talmer {

class PageSC;
class PageTFG;

void InstalleSpecificites();

// What the set-up put in a statistics window (null when none).
PageTFG *PageTFGDe(const TFenStatPart &fenetre);
PageSC *PageSCDe(const TFenStatPart &fenetre);

} // namespace talmer

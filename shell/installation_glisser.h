// Puts the group container on the main window's button bar, keeps it on the open base, and makes
// the corpus-open dialog (with corpus building) the way a new base's text is chosen.
#pragma once

class QWidget;
class QString;
class TFenPrinc;

namespace talmer {

class TConteneur;

// The container installed (owned by the main window).
TConteneur *InstalleConteneurEtCorpus(TFenPrinc &fenPrinc);

// Runs the corpus-open dialog; the chosen text, empty when cancelled.
QString ChoisitTexteAvecOptions(QWidget *parent);

} // namespace talmer

// The colour dialog of the windows' swatches and "Couleur du graphique" buttons, behind one call
// that a test can answer in the user's place.
#pragma once

#include <QColor>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace talmer {

// Asks the user for a colour, starting from `initiale`; nothing when cancelled.
std::optional<QColor> ChoisitCouleur(QWidget *parent, const QColor &initiale);

// Replaces the dialog (a test's answer); an empty function restores the real dialog.
using FnChoixCouleur = std::function<std::optional<QColor>(QWidget *, const QColor &)>;
void FixeChoixCouleur(FnChoixCouleur choix);

// The 0x00BBGGRR value of a colour (red in the lowest byte), as drag objects and groups carry it.
std::int32_t ValeurCouleur(const QColor &couleur);
QColor CouleurDeValeur(std::int32_t valeur);

} // namespace talmer

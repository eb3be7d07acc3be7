#include "windows/commun/choixcouleur.h"

#include <QColorDialog>

namespace talmer {

namespace {
FnChoixCouleur &choixInstalle()
{
    static FnChoixCouleur choix;
    return choix;
}
} // namespace

std::optional<QColor> ChoisitCouleur(QWidget *parent, const QColor &initiale)
{
    if (const FnChoixCouleur &choix = choixInstalle())
        return choix(parent, initiale);
    const QColor c = QColorDialog::getColor(initiale, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

void FixeChoixCouleur(FnChoixCouleur choix) { choixInstalle() = std::move(choix); }

std::int32_t ValeurCouleur(const QColor &couleur)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(couleur.red()) |
                                     (static_cast<std::uint32_t>(couleur.green()) << 8) |
                                     (static_cast<std::uint32_t>(couleur.blue()) << 16));
}

QColor CouleurDeValeur(std::int32_t valeur)
{
    const auto u = static_cast<std::uint32_t>(valeur);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF));
}

} // namespace talmer

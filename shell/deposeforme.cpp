#include "shell/deposeforme.h"

#include "engine/charg1.h"

#include <QObject>

#include <string>

namespace talmer {

std::int32_t EntiteDeGraphie(const charg1 &base, std::string_view graphie)
{
    auto blanc = [](char c) { return static_cast<unsigned char>(c) <= 32 || c == '\x7F'; };
    while (!graphie.empty() && blanc(graphie.front()))
        graphie.remove_prefix(1);
    while (!graphie.empty() && blanc(graphie.back()))
        graphie.remove_suffix(1);
    if (graphie.empty())
        return -1;
    const std::string texte(graphie);
    return base.LocFormDic(texte.c_str(), true);
}

bool EnvoieForme(QObject *fenetre, std::string_view graphie)
{
    auto *recepteur = dynamic_cast<RecepteurForme *>(fenetre);
    if (!recepteur)
        return false;
    recepteur->DeposeForme(graphie);
    return true;
}

} // namespace talmer

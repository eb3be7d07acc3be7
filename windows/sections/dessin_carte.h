// Painting a section map with QPainter from its layout and its flags, only the part that a
// clipping rectangle asks for (the window paints what is in view, the report picture all of it).
#pragma once

#include "windows/sections/disposition.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

namespace talmer {

// What a map shows, besides where its boxes stand. Vectors hold one entry per section.
struct DonneesCarte {
    std::vector<char> selection;
    std::vector<char> touche;          // hit by the main group
    std::vector<char> toucheSup;       // hit by the second group
    std::vector<std::int32_t> specif;  // the main group's coefficient in each section
    std::int32_t courante = -1;
    bool groupe = false;               // a main group is applied
    std::int32_t couleurGroupe = 0;
    bool groupeSup = false;
    std::int32_t couleurSup = 0;
    bool seuillage = false;
    Teintes teintes;
    std::int32_t seuilHaut = 5;
    std::int32_t seuilBas = 2;

    // Every flag of n sections cleared.
    void Dimensionne(std::int32_t n);
};

// The headings of a map by parts: the key's spelling and each zone's part (Unicode).
struct EtiquettesZones {
    QString cle;
    std::vector<QString> parties;
};

// The colour value (0x00BBGGRR) a section's box is filled with.
std::int32_t RemplissageSection(const DonneesCarte &donnees, std::int32_t i);

// Paints the boxes, row numbers and headings that meet `zone` (the caller fills the background).
void DessineCarte(QPainter &peintre, const DispositionCarte &d, const DonneesCarte &donnees,
                  const EtiquettesZones *etiquettes, const QRect &zone);

} // namespace talmer

// Program-wide settings of the run that are not kept in the configuration file's object itself.
#pragma once

#include <cstdint>

// Capacity of the segmenter's article table (distinct forms, punctuation, key types and contents):
// the configuration's numart, copied at start-up and changed by the options dialog.
std::int32_t MaxArt();
void FixeMaxArt(std::int32_t n);

// Labels count of the options dialog (1 at start, never saved): the group and section
// specificities divide the corpus and part sizes by it when it is above 1.
std::int32_t NbEtiquettes();
void FixeNbEtiquettes(std::int32_t n);

// Searching the forms and the attached repeated segments of a base by their text: the subjects
// are the spellings of the forms 0 to Nbform-1, in that order, then, when segments are attached,
// each segment's forms each followed by one blank, in list order (entity Nbart+1+k).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class charg1;

namespace talmer::platform {
class Motif;
}

namespace talmer {

// What a pattern search found.
struct Correspondances {
    std::vector<std::int32_t> entites; // matching entities, in the order of the subjects
    std::int32_t echecs = 0;           // subjects whose match could not be decided (match limit...)
    std::string messageEchec;          // PCRE2's message for the first of them
};

// Every form and attached segment whose subject the (valid) pattern matches.
Correspondances EntitesCorrespondantes(const charg1 &base, platform::Motif &motif);

// Calls f(entity, subject) for every subject in order; the subject is valid during the call only.
template <class F>
void ParcourtSujets(const charg1 &base, F &&f);

// The number of attached segments whose text charg1::RetourneGraphie gives (0 when none).
std::int32_t NbSegmentsAttaches(const charg1 &base);

} // namespace talmer

#include "engine/charg1.h"

#include <cstring>

namespace talmer {

template <class F>
void ParcourtSujets(const charg1 &base, F &&f)
{
    for (std::int32_t n = 0; n < base.Nbform(); ++n) {
        const char *g = base.RetourneGraphie(n, false);
        f(n, std::string_view(g, std::strlen(g)));
    }
    const std::int32_t nbSeg = NbSegmentsAttaches(base);
    for (std::int32_t k = 0; k < nbSeg; ++k) {
        const std::int32_t n = base.Nbart() + 1 + k;
        const char *g = base.RetourneGraphie(n, false);
        f(n, std::string_view(g, std::strlen(g)));
    }
}

} // namespace talmer

// A base built from a small text in the current directory, for engine tests.
//
//   talmer::test::InTempDir fixture, then:
//     auto base = talmer::test::makeBase("Le chat, le chat.", ".,");
//     ASSERT_TRUE(base);
#pragma once

#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/verifcles.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace talmer::test {

// Writes the text as <name>.txt in the current directory (bytes as given: Windows-1252, LF or
// CR LF), checks its keys, segments it with the delimiters and loads <name>.par. Returns nullptr,
// with a test failure, when any step fails.
inline std::unique_ptr<charg1> makeBase(const std::string &text, const std::string &delimiters = ".,;:!?",
                                        const std::string &name = "corpus",
                                        std::int32_t maxArt = MaxArtDefaut)
{
    const std::string txt = name + ".txt";
    writeFile(txt, text);
    const std::int32_t faults = VerifCles(txt.c_str());
    if (faults != 0) {
        ADD_FAILURE() << "key check of " << txt << " found " << faults << " fault(s)";
        return nullptr;
    }
    ParametresSegm params;
    params.delimiteurs = delimiters;
    params.maxArt = maxArt;
    const ResultatSegm r = SegmPrinc(txt.c_str(), params);
    if (r != ResultatSegm::Reussie) {
        ADD_FAILURE() << "segmentation of " << txt << " failed: " << MessageSegmentation(r);
        return nullptr;
    }
    auto base = std::make_unique<charg1>();
    const std::string par = name + ".par";
    const int code = base->ChargeBase(par.c_str());
    if (code != ChargeReussie) {
        ADD_FAILURE() << "loading " << par << " returned " << code;
        return nullptr;
    }
    return base;
}

} // namespace talmer::test

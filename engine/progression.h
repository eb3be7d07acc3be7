// Progress callback of the long computations of the engine: a plain function taking one integer,
// called about a hundred times per phase (the argument tells the phase; the shell ignores it).
#pragma once

#include <cstdint>

using FnProgression = void (*)(std::int32_t);

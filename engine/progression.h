// Progress callback of the long computations of the engine: a plain function taking one integer,
// called about a hundred times per phase (the argument tells the phase; the shell ignores it).
#pragma once

#include <cstdint>

using FnProgression = void (*)(std::int32_t);

// Thrown by a progress callback to stop the computation that called it (the user asked for it).
// The engine lets it through: a computation that takes a callback leaves what it had computed
// before the call as it was, and never a half-made result.
struct CalculInterrompu {};

// Progress callback of the long computations of the engine: a plain function taking one integer,
// called about a hundred times per phase (the argument tells the phase; the shell ignores it).
#pragma once

#include <cstdint>

using FnProgression = void (*)(std::int32_t);

// Thrown by a progress callback to stop the computation that called it (the user asked for it).
// The engine lets it through: a computation that takes a callback leaves what it had computed
// before the call as it was, and never a half-made result.
struct CalculInterrompu {};

// Calls a progress callback about a hundred times over a walk of n steps: after a step, when a
// counter started at 0 equals n / 100, the callback is called with the phase and the counter
// reset; then the counter grows. With fewer than 100 steps it is called once, after the first.
class PasCentiemes {
public:
    PasCentiemes(FnProgression pas, std::int32_t n, std::int32_t phase = 0)
        : pas_(pas), intervalle_(n / 100), phase_(phase)
    {
    }
    // After each step.
    void Avance()
    {
        if (compteur_ == intervalle_) {
            if (pas_ != nullptr)
                pas_(phase_);
            compteur_ = 0;
        }
        ++compteur_;
    }

private:
    FnProgression pas_;
    std::int32_t intervalle_;
    std::int32_t phase_;
    std::int32_t compteur_ = 0;
};

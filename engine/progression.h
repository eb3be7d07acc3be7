// Progress callback of the long computations of the engine: a plain function taking one integer,
// called about a hundred times per phase (the argument tells the phase; the shell ignores it).
#pragma once

#include <cstdint>

using FnProgression = void (*)(std::int32_t);

// Thrown by a progress callback to stop the computation that called it (the user asked for it).
// The engine lets it through: a computation that takes a callback leaves what it had computed
// before the call as it was, and never a half-made result.
struct CalculInterrompu {};

// The watch of long work: the engine's long loops call Veille() often (every few thousand items,
// between their progress steps as well), so that the program that set a watch can let its windows
// repaint and stop the work at any moment, not only at a step. The watch is called only on the
// thread that set it; it may throw CalculInterrompu, which the loops let through like a step's.
// The other threads of a computation learn of the stop from the thread that follows them.
// `maintenant`: the work is about to put its result in place, past which it can no longer be
// stopped; the watch then looks at once for a request, however recently it last looked.
using FnVeille = void (*)(bool maintenant);
// Sets the watch (null: none) for the calling thread.
void FixeVeille(FnVeille veille);
// Calls the watch when one is set and the calling thread is the one that set it.
void Veille(bool maintenant = false);

// Calls Veille() once every 4096 steps of a loop: cheap enough for the innermost loops.
class VeilleBoucle {
public:
    void Avance()
    {
        if ((++compteur_ & 0xFFFu) == 0)
            Veille();
    }

private:
    std::uint32_t compteur_ = 0;
};

// The number of calls a PasCentiemes of n steps makes.
constexpr std::int64_t NbAppelsCentiemes(std::int64_t n)
{
    if (n <= 0)
        return 0;
    const std::int64_t intervalle = n / 100;
    return intervalle == 0 ? 1 : (n - 1) / intervalle;
}

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

// The calls of a progress callback made as the work advances rather than as a walk counts its
// steps: `appels` calls in all (those a counted walk would make, so that the bar's course stays
// the same), the k-th once the work done reaches k / appels of `total`. Work whose first steps
// cost the most (the most frequent forms come first) thus moves the bar from its start.
class PasRepartis {
public:
    PasRepartis(FnProgression pas, std::int64_t appels, std::int64_t total, std::int32_t phase = 0)
        : pas_(pas), appels_(appels < 0 ? 0 : appels), total_(total), phase_(phase)
    {
    }
    // The work done so far (out of `total`): makes the calls due. Past the total, all are made.
    void Atteint(std::int64_t fait)
    {
        const std::int64_t dus = fait >= total_ ? appels_ : (fait <= 0 ? 0 : fait * appels_ / total_);
        for (; faits_ < dus; ++faits_)
            if (pas_ != nullptr)
                pas_(phase_);
    }

private:
    FnProgression pas_;
    std::int64_t appels_;
    std::int64_t total_;
    std::int32_t phase_;
    std::int64_t faits_ = 0;
};

// Timing, memory readings and command-line values for the benchmarks.
//
// Processor time is the figure to trust on a machine shared with other work: it says what a
// computation costs rather than how long it waited for a processor. Wall-clock time is given
// beside it where threads or a window's painting make it the figure a user sees.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <type_traits>

#include <time.h>

namespace bench {

// Processor time as a clock: of the calling thread (HorlogeProcesseur), or of every thread of the
// process (HorlogeProcessus, for the computations that spread over the cores).
template <clockid_t Id>
struct HorlogeCpu {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<HorlogeCpu>;
    static constexpr bool is_steady = true;
    static time_point now()
    {
        timespec t{};
        clock_gettime(Id, &t);
        return time_point(duration(std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec));
    }
};
using HorlogeProcesseur = HorlogeCpu<CLOCK_THREAD_CPUTIME_ID>;
using HorlogeProcessus = HorlogeCpu<CLOCK_PROCESS_CPUTIME_ID>;
using HorlogeMur = std::chrono::steady_clock;

// Seconds of that instant's clock since the instant.
template <class Instant>
double Secondes(Instant debut)
{
    return std::chrono::duration<double>(Instant::clock::now() - debut).count();
}

// Seconds on the three clocks: wall-clock, processor time of the calling thread, of the process.
struct Temps {
    double mur = 1e30, processeur = 1e30, processus = 1e30;

    // Keeps, clock by clock, the smaller of these times and t.
    void GardeMeilleur(const Temps &t)
    {
        mur = std::min(mur, t.mur);
        processeur = std::min(processeur, t.processeur);
        processus = std::min(processus, t.processus);
    }
};

// The three clocks started together; Ecoule() gives the time since on each.
class Chronometre {
public:
    Chronometre() : mur_(HorlogeMur::now()), processeur_(HorlogeProcesseur::now()), processus_(HorlogeProcessus::now()) {}

    Temps Ecoule() const
    {
        Temps t;
        t.processus = Secondes(processus_);
        t.processeur = Secondes(processeur_);
        t.mur = Secondes(mur_);
        return t;
    }

private:
    HorlogeMur::time_point mur_;
    HorlogeProcesseur::time_point processeur_;
    HorlogeProcessus::time_point processus_;
};

// The best of `tours` runs of fn, each clock's best over the runs. What fn returns is kept until
// the clocks are read, so that its destruction is not timed; apres(i), when given, runs once the
// clocks of run i are read (a memory reading, say), untimed too.
template <class Fn, class Apres>
Temps MeilleurDe(int tours, Fn &&fn, Apres &&apres)
{
    Temps meilleur;
    for (int i = 0; i < tours; ++i) {
        const Chronometre chrono;
        if constexpr (std::is_void_v<std::invoke_result_t<Fn &>>) {
            fn();
            meilleur.GardeMeilleur(chrono.Ecoule());
            apres(i);
        } else {
            [[maybe_unused]] const auto resultat = fn();
            meilleur.GardeMeilleur(chrono.Ecoule());
            apres(i);
        }
    }
    return meilleur;
}
template <class Fn>
Temps MeilleurDe(int tours, Fn &&fn)
{
    return MeilleurDe(tours, fn, [](int) {});
}

// The process's resident memory in MB as /proc/self/status tells it: "VmRSS" now, "VmHWM" the
// peak since the start or since the last RemetPicMemoire(); -1 where the system does not say.
double MemoireMo(const char *champ = "VmHWM");

// Makes the peak start again from the memory in use now, so that the next MemoireMo() tells the
// peak of the steps since (false where the system cannot).
bool RemetPicMemoire();

// The i-th command-line value as a whole number, defaut where there is none.
std::int64_t Argument(int argc, char **argv, int i, std::int64_t defaut);

// The environment variable's value as a whole number, defaut where it is not set.
int Environnement(const char *nom, int defaut);

} // namespace bench

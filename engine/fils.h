// Threads of the engine's parallel computations: how many the machine offers, and a group of
// threads that is always joined, also when an exception leaves the scope that started them.
#pragma once

#include <system_error>
#include <thread>
#include <utility>
#include <vector>

// The number of threads the machine runs at once (at least 1).
unsigned FilsMachine();

class Fils {
public:
    Fils() = default;
    ~Fils() { Attend(); }
    Fils(const Fils &) = delete;
    Fils &operator=(const Fils &) = delete;

    // Runs fn on a new thread; false when the system refuses one, and the caller then does that
    // work itself.
    template <class Fn>
    bool Lance(Fn &&fn)
    {
        try {
            fils_.emplace_back(std::forward<Fn>(fn));
            return true;
        } catch (const std::system_error &) {
            return false;
        } catch (const std::bad_alloc &) {
            return false;
        }
    }
    // Waits for every thread started.
    void Attend()
    {
        for (std::thread &t : fils_)
            if (t.joinable())
                t.join();
        fils_.clear();
    }

private:
    std::vector<std::thread> fils_;
};

// Runs f(k) for k = 0..n-1, each on a thread of its own, the calling thread taking the first (and
// any that no thread could be started for); returns once all are done.
template <class F>
void SurLesFils(std::size_t n, F f)
{
    Fils fils;
    std::vector<std::size_t> restes;
    for (std::size_t k = 1; k < n; ++k)
        if (!fils.Lance([&f, k] { f(k); }))
            restes.push_back(k);
    if (n > 0)
        f(0);
    for (std::size_t k : restes)
        f(k);
}

#include "engine/progression.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<FnVeille> veilleProgramme{nullptr};
std::atomic<std::thread::id> filsVeille{};

} // namespace

void FixeVeille(FnVeille veille)
{
    filsVeille.store(std::this_thread::get_id());
    veilleProgramme.store(veille);
}

void Veille(bool maintenant)
{
    const FnVeille veille = veilleProgramme.load(std::memory_order_relaxed);
    if (veille != nullptr && std::this_thread::get_id() == filsVeille.load(std::memory_order_relaxed))
        veille(maintenant);
}

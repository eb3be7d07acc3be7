#include "engine/fils.h"

unsigned FilsMachine()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : n;
}

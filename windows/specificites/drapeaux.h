// Keeps the checked and selected flags of every part of a partition as they stand, and puts them
// back when it goes, however the run that changed them in between ends.
#pragma once

#include <vector>

class Partition;

namespace talmer {

class GardeDrapeaux {
public:
    explicit GardeDrapeaux(Partition &partition);
    ~GardeDrapeaux();
    GardeDrapeaux(const GardeDrapeaux &) = delete;
    GardeDrapeaux &operator=(const GardeDrapeaux &) = delete;

    // Puts the flags back now (again in the destructor).
    void Restaure();

private:
    Partition &partition_;
    std::vector<char> cochees_;
    std::vector<char> selection_;
};

} // namespace talmer

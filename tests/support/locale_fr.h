// The French locale of a user's session (decimal comma) for the life of a test: what the
// workbench writes and reads in its exchange files must not change with it.
#pragma once

#include <clocale>
#include <cstring>
#include <string>

namespace talmer::test {

class LocaleFrancaise {
public:
    LocaleFrancaise()
    {
        const char *avant = std::setlocale(LC_ALL, nullptr);
        avant_ = avant ? avant : "C";
        active_ = std::setlocale(LC_ALL, "fr_FR.UTF-8") != nullptr &&
                  std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    }
    ~LocaleFrancaise() { std::setlocale(LC_ALL, avant_.c_str()); }
    LocaleFrancaise(const LocaleFrancaise &) = delete;
    LocaleFrancaise &operator=(const LocaleFrancaise &) = delete;

    // False when the machine lacks fr_FR.UTF-8 (scripts/install-deps.sh generates it).
    bool Active() const { return active_; }

private:
    std::string avant_;
    bool active_ = false;
};

} // namespace talmer::test

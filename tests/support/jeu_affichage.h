// A display character set for the length of a test: installs a configuration with that row as
// the program's one and takes it away again, even when the test stops early.
#pragma once

#include "services/configuration.h"

namespace talmer::test {

class JeuDAffichageTest {
public:
    explicit JeuDAffichageTest(int index)
    {
        FixeConfigurationProgramme(&config_);
        config_.SetCharsetIndex(index);
    }
    ~JeuDAffichageTest() { FixeConfigurationProgramme(nullptr); }
    JeuDAffichageTest(const JeuDAffichageTest &) = delete;
    JeuDAffichageTest &operator=(const JeuDAffichageTest &) = delete;

private:
    ConfigurationT3 config_;
};

} // namespace talmer::test

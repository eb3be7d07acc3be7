// A launcher of our own in place of the desktop's xdg-open: a shell script in a folder of the
// test, which the PATH then names alone.
#pragma once

#include "support/tempdir.h"

#include <filesystem>
#include <string>

namespace talmer::test {

// Writes `dossier`/xdg-open running `corps` (shell commands; "$1" is the file to open; the PATH
// holds nothing else, so other programs are named by their full path). Returns the folder.
inline std::filesystem::path FauxLanceur(const std::filesystem::path &dossier, const std::string &corps)
{
    std::filesystem::create_directories(dossier);
    const std::filesystem::path script = dossier / "xdg-open";
    writeFile(script, "#!/bin/sh\n" + corps + "\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec);
    return dossier;
}

} // namespace talmer::test

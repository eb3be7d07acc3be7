// A fresh temporary folder that becomes the current directory for the life of a test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include <unistd.h>

namespace talmer::test {

class TempDir {
public:
    TempDir()
    {
        old_ = std::filesystem::current_path();
        std::string templ = (std::filesystem::temp_directory_path() / "t3test-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = templ;
        std::filesystem::current_path(path_);
        // The program's settings go to the user's configuration folder: each test gets its own.
        if (const char *ancien = std::getenv("XDG_CONFIG_HOME"))
            ancienneConfig_ = ancien;
        ::setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
    }
    ~TempDir()
    {
        if (ancienneConfig_)
            ::setenv("XDG_CONFIG_HOME", ancienneConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
    std::optional<std::string> ancienneConfig_;
};

// An environment variable set (or left as it is) for the life of the object; what it held
// before, or its absence, comes back afterwards. TEMP, for one, is where the program makes its
// temporary folders and pages.
class VariableEnv {
public:
    explicit VariableEnv(const char *nom) : nom_(nom)
    {
        if (const char *ancien = std::getenv(nom))
            ancien_ = ancien;
    }
    VariableEnv(const char *nom, const std::string &valeur) : VariableEnv(nom) { ::setenv(nom, valeur.c_str(), 1); }
    ~VariableEnv()
    {
        if (ancien_)
            ::setenv(nom_.c_str(), ancien_->c_str(), 1);
        else
            ::unsetenv(nom_.c_str());
    }
    VariableEnv(const VariableEnv &) = delete;
    VariableEnv &operator=(const VariableEnv &) = delete;

private:
    std::string nom_;
    std::optional<std::string> ancien_;
};

// A test fixture whose every test runs in its own temporary current directory.
class InTempDir : public ::testing::Test {
protected:
    TempDir dir_;
};

inline std::string readFile(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path &p, const std::string &bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The files (not the folders) under the current directory, by their paths from it.
inline std::set<std::string> FichiersIci()
{
    std::set<std::string> noms;
    for (const auto &e : std::filesystem::recursive_directory_iterator("."))
        if (!e.is_directory())
            noms.insert(e.path().generic_string());
    return noms;
}

} // namespace talmer::test

#include "engine/trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace talmer::trace {

namespace {

void ecrit(const char *mode, std::string_view message)
{
    std::FILE *f = std::fopen(NomFichier, mode);
    if (!f)
        return;  // the trace is a courtesy: a folder that refuses it must not stop the work
    std::string texte;
    texte.reserve(message.size() + 16);
    for (char c : message) {
        if (c == '\n')
            texte.push_back('\r');
        texte.push_back(c);
    }
    std::fwrite(texte.data(), 1, texte.size(), f);
    std::fclose(f);
}

} // namespace

void Demarre(std::string_view message) { ecrit("wb", message); }

void Ajoute(std::string_view message) { ecrit("ab", message); }

void Ajoutef(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copie;
    va_copy(copie, args);
    const int n = std::vsnprintf(nullptr, 0, format, copie);
    va_end(copie);
    if (n > 0) {
        std::string texte(static_cast<std::size_t>(n) + 1, '\0');
        std::vsnprintf(texte.data(), texte.size(), format, args);
        texte.resize(static_cast<std::size_t>(n));
        Ajoute(texte);
    }
    va_end(args);
}

} // namespace talmer::trace

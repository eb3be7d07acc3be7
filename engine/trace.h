// The trace file "atrace.txt" of the current directory: the engine's only channel for messages.
//
// The key checker and the loader start it afresh; every other writer appends, opening and closing
// the file for each message so that it is complete even if the program stops right after. Messages
// are Windows-1252 bytes with their own line feeds; each line feed is written as CR LF, as in every
// text-mode file of the program.
#pragma once

#include <string_view>

namespace talmer::trace {

inline constexpr const char *NomFichier = "atrace.txt";

// Truncates the trace file and writes the message.
void Demarre(std::string_view message);
// Appends the message.
void Ajoute(std::string_view message);
// Appends a printf-formatted message.
void Ajoutef(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace talmer::trace

// The trace file "atrace.txt" of the current directory: the engine's only channel for messages.
//
// The key checker and the loader start it afresh; every other writer appends, opening and closing
// the file for each message so that it is complete even if the program stops right after. Messages
// are Windows-1252 bytes with their own line feeds; each line feed is written as CR LF, as in every
// text-mode file of the program.
//
// The file is never opened through a symbolic link, nor when it is not a regular file. When the
// current directory refuses it (a read-only folder, a link planted under its name), the message
// goes to "atrace.txt" in the fallback folder instead, and Chemin() says where.
#pragma once

#include <string>
#include <string_view>

namespace talmer::trace {

inline constexpr const char *NomFichier = "atrace.txt";

// Truncates the trace file and writes the message.
void Demarre(std::string_view message);
// Appends the message.
void Ajoute(std::string_view message);
// Appends a printf-formatted message.
void Ajoutef(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Where the last message went: "atrace.txt" (the current directory) or the full path of the trace
// file in the fallback folder; "atrace.txt" when nothing was written yet.
std::string Chemin();
// True when the last message went to the current directory's trace file.
bool DansDossierCourant();

// The folder used when the current directory refuses the trace file: by default the user's home
// folder ($HOME), else the system's temporary folder. An empty path restores the default.
void DefinitDossierRepli(const std::string &dossier);
std::string DossierRepli();

} // namespace talmer::trace

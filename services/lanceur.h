// Hands a file to the desktop's launcher (xdg-open), which starts the program that opens it (a
// browser for a page), and learns whether that worked without holding the interface up.
#pragma once

#include <QString>

#include <functional>

// How long a launcher is watched: one still running after that has started a program that is in
// use (a browser that xdg-open waits for), so the file was opened.
inline constexpr int DureeSurveillanceLanceur = 10000;

// Runs `lanceur` (a program found on the PATH, or a path) on `chemin` and tells `resultat` once
// whether the file was opened: false when the launcher cannot start, crashes or exits with a
// failure status within `surveillanceMs` (xdg-open does so when no program could open the file,
// or when the browser it started failed); true when it exits with success or is still running
// then. `resultat` runs on the GUI thread: at once when the launcher is missing, else from the
// event loop. A launcher still running is never stopped, not even when the program ends: the
// program it started stays open.
void LanceDocument(const QString &lanceur, const QString &chemin, std::function<void(bool)> resultat,
                   int surveillanceMs = DureeSurveillanceLanceur);

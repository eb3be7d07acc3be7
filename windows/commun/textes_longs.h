// Texts that can be as long as a thousand part names, fitted to what a screen shows: on one line
// of a given width, or as the lines of a tooltip that stays within the screen.
#pragma once

#include <QString>
#include <QStringList>

class QFont;

namespace talmer {

// The text as it fits on one line of `largeur` pixels in that font: whole when it fits, else its
// beginning followed by "…". Only the beginning that can fit is measured, so that a name of a
// thousand parts costs no more than one line of that width.
QString TexteElude(const QString &texte, const QFont &police, int largeur);

// The text of a tooltip that shows a long name on screen: lines of at most `colonnes`
// characters, cut after a ", " or a blank where there is one, at most `lignes` of them, the last
// ended by "…" when the name goes on. A name of one line stays as it is.
QString TexteInfobulle(const QString &nom, int colonnes = 100, int lignes = 30);

// Names, each followed by ", " as a list of parts reads, as the lines of a tooltip: cut as
// TexteInfobulle cuts, at most `lignes` lines in all; when names remain, the last line says how
// many ("… et 412 autres"). A list that holds on its lines stays as it is ("" for no name).
QString NomsInfobulle(const QStringList &noms, int colonnes = 100, int lignes = 30);

} // namespace talmer

// Files for the user are written under a temporary name in their own folder and renamed over the
// final name only once complete: a failure or a crash never leaves a half-written file, and an
// earlier file of that name stays as it was until the new one is whole.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace talmer {

// Writes `contenu` to `chemin`. False, with the system's reason in *raison, when the file cannot
// be written; nothing is left behind then.
bool EcritFichierSur(const QString &chemin, const QByteArray &contenu, QString *raison = nullptr);

// The same for a content produced piece by piece: `ecrit` writes into the temporary file and
// returns false to give up (then *raison stays empty unless the file itself failed).
bool EcritFichierSur(const QString &chemin, const std::function<bool(QIODevice &)> &ecrit,
                     QString *raison = nullptr);

} // namespace talmer

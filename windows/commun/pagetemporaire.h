// The temporary file a window writes its HTML page to: made safely in the TEMP folder with the
// window's prefix, deleted with its owner.
#pragma once

#include <QString>

namespace talmer {

class PageTemporaire {
public:
    // Creates an empty file "<prefixe>XXXXXX<suffixe>" (XXXXXX: random characters chosen so the
    // name is new) in the folder named by the TEMP environment variable, or in the system's
    // temporary folder when TEMP is unset or names no folder. The file is created exclusively, so
    // no other file or link of that name can be written through. Valide() is false, with the
    // reason in French in Erreur(), when no file could be made.
    explicit PageTemporaire(const QString &prefixe, const QString &suffixe = QString());
    ~PageTemporaire();
    PageTemporaire(const PageTemporaire &) = delete;
    PageTemporaire &operator=(const PageTemporaire &) = delete;

    bool Valide() const { return !chemin_.isEmpty(); }
    const QString &Erreur() const { return erreur_; }
    // The whole path, '/' as the separator; "" when not valid.
    const QString &Chemin() const { return chemin_; }
    // "file://" followed by the path.
    QString Adresse() const;

    // The folder temporary pages go to.
    static QString DossierTemporaire();

private:
    QString chemin_;
    QString erreur_;
};

} // namespace talmer

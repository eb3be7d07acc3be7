#include "platform/qt/documentword.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace talmer::platform {

namespace {

struct Sortie {
    bool lance = false;   // the program could be started
    bool termine = false; // it ended by itself within the delay
    int code = -1;
    QByteArray sortie;
    QString erreurs;
};

Sortie Execute(const QString &programme, const QStringList &arguments)
{
    Sortie s;
    QProcess p;
    p.setProgram(programme);
    p.setArguments(arguments);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QIODevice::ReadOnly);
    if (!p.waitForStarted())
        return s;
    s.lance = true;
    if (!p.waitForFinished(DelaiLectureWordMs)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    s.termine = p.exitStatus() == QProcess::NormalExit;
    s.code = p.exitCode();
    s.sortie = p.readAllStandardOutput();
    s.erreurs = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return s;
}

// One line of output per paragraph; the last line ends with a line feed of its own.
std::vector<QString> Lignes(const QByteArray &sortie)
{
    std::vector<QString> lignes;
    const QString texte = QString::fromUtf8(sortie);
    if (texte.isEmpty())
        return lignes;
    const QStringList morceaux = texte.split(u'\n');
    for (const QString &m : morceaux)
        lignes.push_back(m);
    if (texte.endsWith(u'\n'))
        lignes.pop_back();
    return lignes;
}

QString Nom(const QString &chemin) { return QFileInfo(chemin).fileName(); }

LectureWord Echec(QString message)
{
    LectureWord r;
    r.erreur = std::move(message);
    return r;
}

LectureWord ParAntiword(const QString &programme, const QString &chemin)
{
    const Sortie s = Execute(programme, {QStringLiteral("-w"), QStringLiteral("0"),
                                         QStringLiteral("-m"), QStringLiteral("UTF-8.txt"), chemin});
    if (!s.lance)
        return Echec(QStringLiteral("Le programme antiword n'a pas pu être lancé."));
    if (!s.termine)
        return Echec(QStringLiteral("La lecture du document Word «\u00A0%1\u00A0» par antiword n'a pas abouti.")
                         .arg(Nom(chemin)));
    if (s.code != 0) {
        QString m = QStringLiteral("Le document Word «\u00A0%1\u00A0» ne peut pas être lu").arg(Nom(chemin));
        if (!s.erreurs.isEmpty())
            m += QStringLiteral(" (antiword : %1)").arg(s.erreurs);
        return Echec(m + QStringLiteral("."));
    }
    LectureWord r;
    r.ok = true;
    r.paragraphes = Lignes(s.sortie);
    // antiword opens its text output with an empty line of its own.
    if (!r.paragraphes.empty() && r.paragraphes.front().isEmpty())
        r.paragraphes.erase(r.paragraphes.begin());
    return r;
}

LectureWord ParCatdoc(const QString &programme, const QString &chemin)
{
    const Sortie s = Execute(programme, {QStringLiteral("-w"), QStringLiteral("-d"),
                                         QStringLiteral("utf-8"), chemin});
    if (!s.lance)
        return Echec(QStringLiteral("Le programme catdoc n'a pas pu être lancé."));
    if (!s.termine)
        return Echec(QStringLiteral("La lecture du document Word «\u00A0%1\u00A0» par catdoc n'a pas abouti.")
                         .arg(Nom(chemin)));
    if (s.code != 0) {
        QString m = QStringLiteral("Le document Word «\u00A0%1\u00A0» ne peut pas être lu").arg(Nom(chemin));
        if (!s.erreurs.isEmpty())
            m += QStringLiteral(" (catdoc : %1)").arg(s.erreurs);
        return Echec(m + QStringLiteral("."));
    }
    LectureWord r;
    r.ok = true;
    r.paragraphes = Lignes(s.sortie);
    return r;
}

} // namespace

bool EstDocumentComposite(const QString &chemin)
{
    static const char signature[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray debut = f.read(8);
    return debut == QByteArray(signature, 8);
}

LectureWord LitParagraphesWord(const QString &chemin, OutilWord outil)
{
    const QFileInfo info(chemin);
    // An absolute path never starts with '-', so neither tool takes it for a switch.
    const QString absolu = info.absoluteFilePath();
    {
        QFile f(absolu);
        if (!info.isFile() || !f.open(QIODevice::ReadOnly))
            return Echec(QStringLiteral("Le document Word «\u00A0%1\u00A0» ne peut pas être ouvert.")
                .arg(info.fileName()));
    }
    if (!EstDocumentComposite(absolu))
        return Echec(QStringLiteral("Le fichier «\u00A0%1\u00A0» n'est pas un document Word (.doc) lisible.")
                         .arg(info.fileName()));

    const QString antiword = QStandardPaths::findExecutable(QStringLiteral("antiword"));
    const QString catdoc = QStandardPaths::findExecutable(QStringLiteral("catdoc"));

    switch (outil) {
    case OutilWord::Antiword:
        if (antiword.isEmpty())
            return Echec(QStringLiteral("Le programme antiword n'est pas installé."));
        return ParAntiword(antiword, absolu);
    case OutilWord::Catdoc:
        if (catdoc.isEmpty())
            return Echec(QStringLiteral("Le programme catdoc n'est pas installé."));
        return ParCatdoc(catdoc, absolu);
    case OutilWord::Automatique:
        break;
    }

    if (antiword.isEmpty() && catdoc.isEmpty())
        return Echec(QStringLiteral("Les documents Word ne peuvent pas être lus : ni antiword ni catdoc "
                                    "n'est installé."));
    LectureWord r;
    if (!antiword.isEmpty()) {
        r = ParAntiword(antiword, absolu);
        if (r.ok || catdoc.isEmpty())
            return r;
    }
    LectureWord r2 = ParCatdoc(catdoc, absolu);
    if (!r2.ok && !r.erreur.isEmpty())
        return r; // antiword's reason is the more telling one
    return r2;
}

LectureWord8 LitParagraphesWord(const QString &chemin, const VersPageAffichage &conversion, OutilWord outil)
{
    LectureWord8 r8;
    LectureWord r = LitParagraphesWord(chemin, outil);
    r8.ok = r.ok;
    r8.erreur = std::move(r.erreur);
    r8.paragraphes.reserve(r.paragraphes.size());
    for (const QString &p : r.paragraphes)
        r8.paragraphes.push_back(conversion(p));
    return r8;
}

} // namespace talmer::platform

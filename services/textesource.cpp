#include "services/textesource.h"

#include "platform/qt/codepage.h"
#include "platform/qt/ecriture_sure.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <vector>

namespace talmer {

namespace {

constexpr qint64 TailleBloc = 1 << 20;

} // namespace

void ValideurUtf8::Ajoute(std::string_view octets)
{
    for (char c : octets) {
        if (!valide_)
            return;
        const auto b = static_cast<unsigned char>(c);
        if (reste_ > 0) {
            if (b < bas_ || b > haut_) {
                valide_ = false;
                return;
            }
            bas_ = 0x80;
            haut_ = 0xBF;
            --reste_;
            continue;
        }
        if (b < 0x80)
            continue;
        nonAscii_ = true;
        if (b >= 0xC2 && b <= 0xDF) {
            reste_ = 1;
        } else if (b == 0xE0) {
            reste_ = 2;
            bas_ = 0xA0; // no overlong form
        } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
            reste_ = 2;
        } else if (b == 0xED) {
            reste_ = 2;
            haut_ = 0x9F; // no surrogate
        } else if (b == 0xF0) {
            reste_ = 3;
            bas_ = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            reste_ = 3;
        } else if (b == 0xF4) {
            reste_ = 3;
            haut_ = 0x8F; // nothing beyond U+10FFFF
        } else {
            valide_ = false;
        }
    }
}

std::string ConvertisseurUtf8::convertitAttente(std::size_t fin)
{
    std::int64_t manquants = 0;
    std::string octets = codePage_.DepuisUtf8(std::string_view(attente_.data(), fin), &manquants);
    manquants_ += manquants;
    attente_.erase(0, fin);
    return octets;
}

std::string ConvertisseurUtf8::Convertit(std::string_view octets)
{
    attente_.append(octets);
    if (debut_) {
        if (attente_.size() < 3)
            return {};
        if (attente_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            attente_.erase(0, 3);
        debut_ = false;
    }
    // Up to the last whole character; one cut by the end of the piece waits for the next.
    std::size_t fin = attente_.size();
    std::size_t i = fin;
    while (i > 0 && fin - i < 3 && (static_cast<unsigned char>(attente_[i - 1]) & 0xC0) == 0x80)
        --i;
    if (i > 0) {
        const auto tete = static_cast<unsigned char>(attente_[i - 1]);
        const std::size_t longueur = tete >= 0xF0 ? 4 : tete >= 0xE0 ? 3 : tete >= 0xC0 ? 2 : 1;
        if (i - 1 + longueur > fin)
            fin = i - 1;
    }
    return convertitAttente(fin);
}

std::string ConvertisseurUtf8::Termine()
{
    if (debut_ && attente_.compare(0, 3, "\xEF\xBB\xBF") == 0)
        attente_.clear();
    debut_ = false;
    return convertitAttente(attente_.size());
}

bool EstTexteUtf8(const QString &chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    ValideurUtf8 valideur;
    std::vector<char> tampon(static_cast<std::size_t>(TailleBloc));
    for (;;) {
        const qint64 lus = f.read(tampon.data(), TailleBloc);
        if (lus < 0)
            return false;
        if (lus == 0)
            break;
        valideur.Ajoute(std::string_view(tampon.data(), static_cast<std::size_t>(lus)));
        if (valideur.Rompu())
            return false;
    }
    return valideur.Valide() && valideur.NonAscii();
}

QString NomTexteConverti(const QString &chemin, const std::string &codePage)
{
    const QFileInfo info(chemin);
    const QString suffixe = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.completeBaseName() + QStringLiteral("_cp") + QString::fromStdString(codePage);
    const QDir dossier = info.absoluteDir();
    QString nom = dossier.filePath(base + suffixe);
    for (int n = 2; QFileInfo::exists(nom) || QFileInfo(nom).isSymLink(); ++n)
        nom = dossier.filePath(base + QLatin1Char('-') + QString::number(n) + suffixe);
    return nom;
}

ResultatConversion ConvertitTexteUtf8(const QString &chemin, const CodePage &codePage)
{
    ResultatConversion r;
    QFile source(chemin);
    if (!source.open(QIODevice::ReadOnly)) {
        r.erreur = Traduit("Le texte «\u00A0%1\u00A0» ne peut pas être lu : %2").arg(chemin, source.errorString());
        return r;
    }
    const QString nom = NomTexteConverti(chemin, codePage.Numero());
    // Named only once whole, and never over an existing file.
    FichierSur cible(nom, FichierSur::Remplacement::JamaisRemplacer);
    auto echecEcriture = [&] {
        r.erreur = Traduit("Le fichier «\u00A0%1\u00A0» ne peut pas être écrit : %2")
                       .arg(nom, RaisonEcriture(cible.Echec()));
        r.manquants = 0;
        return r;
    };
    if (!cible.Ouvre())
        return echecEcriture();

    ConvertisseurUtf8 convertisseur(codePage);
    auto ecrit = [&](const std::string &octets) {
        return cible.write(octets.data(), static_cast<qint64>(octets.size())) == static_cast<qint64>(octets.size());
    };
    std::vector<char> tampon(static_cast<std::size_t>(TailleBloc));
    for (;;) {
        const qint64 lus = source.read(tampon.data(), TailleBloc);
        if (lus < 0) {
            cible.Abandonne();
            r.erreur = Traduit("Le texte «\u00A0%1\u00A0» ne peut pas être lu : %2").arg(chemin, source.errorString());
            return r;
        }
        if (lus == 0)
            break;
        if (!ecrit(convertisseur.Convertit(std::string_view(tampon.data(), static_cast<std::size_t>(lus)))))
            return echecEcriture();
    }
    if (!ecrit(convertisseur.Termine()) || !cible.Termine())
        return echecEcriture();
    r.manquants = convertisseur.Manquants();
    r.chemin = nom;
    return r;
}

FormesDuTexte ChercheForme(const QString &chemin, std::string_view delimiteurs)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return FormesDuTexte::Illisible;
    std::array<bool, 256> ponctuation{};
    ponctuation[static_cast<unsigned char>('>')] = true;
    for (char c : delimiteurs)
        ponctuation[static_cast<unsigned char>(c)] = true;

    // 0: in the text; 1: a marker's type, up to '='; 2: its content, up to '>'.
    int etat = 0;
    std::vector<char> tampon(static_cast<std::size_t>(TailleBloc));
    for (;;) {
        const qint64 lus = f.read(tampon.data(), TailleBloc);
        if (lus < 0)
            return FormesDuTexte::Illisible;
        if (lus == 0)
            break;
        for (qint64 i = 0; i < lus; ++i) {
            const auto b = static_cast<unsigned char>(tampon[static_cast<std::size_t>(i)]);
            if (etat == 1) {
                if (b == '=')
                    etat = 2;
            } else if (etat == 2) {
                if (b == '>')
                    etat = 0;
            } else if (b == '<') {
                etat = 1;
            } else if (b > ' ' && !ponctuation[b]) {
                return FormesDuTexte::AuMoinsUne;
            }
        }
    }
    return etat == 0 ? FormesDuTexte::Aucune : FormesDuTexte::CleInachevee;
}

} // namespace talmer

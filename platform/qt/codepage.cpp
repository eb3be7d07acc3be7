#include "platform/qt/codepage.h"

#include <QByteArray>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <iconv.h>

namespace talmer {

namespace {

const iconv_t aucun = reinterpret_cast<iconv_t>(-1);

// Length of the UTF-8 sequence that starts with byte b (1 for a stray byte, to move on).
std::size_t longueurUtf8(unsigned char b)
{
    if (b >= 0xF0 && b < 0xF8)
        return 4;
    if (b >= 0xE0)
        return b < 0xF0 ? 3 : 1;
    if (b >= 0xC0)
        return 2;
    return 1;
}

// Code point of the UTF-8 sequence at p (at most n bytes available).
char32_t pointDeCode(const unsigned char *p, std::size_t n)
{
    const std::size_t l = longueurUtf8(p[0]);
    if (l == 1 || l > n)
        return p[0];
    char32_t c = p[0] & (l == 2 ? 0x1F : l == 3 ? 0x0F : 0x07);
    for (std::size_t i = 1; i < l; ++i)
        c = (c << 6) | (p[i] & 0x3F);
    return c;
}

} // namespace

struct CodePage::Etat {
    iconv_t versUnicode = aucun;
    iconv_t depuisUnicode = aucun;
    ~Etat()
    {
        if (versUnicode != aucun)
            iconv_close(versUnicode);
        if (depuisUnicode != aucun)
            iconv_close(depuisUnicode);
    }
};

std::string CodePage::NomIconvDe(const std::string &numero)
{
    if (numero.empty() || numero.size() > 5)
        return {};
    for (char c : numero)
        if (c < '0' || c > '9')
            return {};
    // Windows code pages are known to glibc as CP<number>, Korean Johab under its own name.
    const std::string nom = numero == "1361" ? "JOHAB" : "CP" + numero;
    iconv_t essai = iconv_open("UTF-8", nom.c_str());
    if (essai == aucun)
        return {};
    iconv_close(essai);
    return nom;
}

CodePage::CodePage(const std::string &numero) : numero_(numero), etat_(std::make_unique<Etat>())
{
    nomIconv_ = NomIconvDe(numero);
    if (nomIconv_.empty())
        return;
    etat_->versUnicode = iconv_open("UTF-8", nomIconv_.c_str());
    etat_->depuisUnicode = iconv_open(nomIconv_.c_str(), "UTF-8");
    if (etat_->versUnicode == aucun || etat_->depuisUnicode == aucun)
        nomIconv_.clear();
}

CodePage::~CodePage() = default;

bool CodePage::Valide() const
{
    return !nomIconv_.empty();
}

QString CodePage::VersUnicode(std::string_view octets) const
{
    if (!Valide())
        return QString::fromLatin1(octets.data(), static_cast<qsizetype>(octets.size()));
    if (octets.empty())
        return QString();

    iconv_t cd = etat_->versUnicode;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string sortie(octets.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(octets.data());
    std::size_t resteIn = octets.size();
    std::size_t ecrits = 0;
    auto convertit = [&](char **pin, std::size_t *preste) {
        for (;;) {
            char *out = sortie.data() + ecrits;
            std::size_t resteOut = sortie.size() - ecrits;
            const std::size_t r = iconv(cd, pin, preste, &out, &resteOut);
            ecrits = sortie.size() - resteOut;
            if (r != static_cast<std::size_t>(-1))
                return 0;
            if (errno == E2BIG) {
                sortie.resize(sortie.size() * 2);
                continue;
            }
            return errno;
        }
    };
    while (resteIn > 0) {
        const int e = convertit(&in, &resteIn);
        if (e == 0)
            break;
        // A byte the code page does not define, or a sequence cut short: one replacement
        // character, and go on after that byte.
        convertit(nullptr, nullptr);
        if (sortie.size() - ecrits < 3)
            sortie.resize(sortie.size() * 2);
        std::memcpy(sortie.data() + ecrits, "\xEF\xBF\xBD", 3);
        ecrits += 3;
        ++in;
        --resteIn;
    }
    // Stateful code pages may still hold a character waiting for a combining mark.
    convertit(nullptr, nullptr);
    return QString::fromUtf8(sortie.data(), static_cast<qsizetype>(ecrits));
}

std::string CodePage::encode(const QString &texte, Repli repli, bool *complet) const
{
    std::int64_t manquants = 0;
    const QByteArray utf8 = texte.toUtf8();
    std::string sortie = encodeUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), repli, &manquants);
    if (complet)
        *complet = manquants == 0;
    return sortie;
}

std::string CodePage::encodeUtf8(std::string_view utf8, Repli repli, std::int64_t *manquants) const
{
    std::string sortie;
    auto remplace = [&](char32_t c) {
        ++*manquants;
        if (repli == Repli::Reference) {
            char ref[16];
            std::snprintf(ref, sizeof ref, "&#%u;", static_cast<unsigned>(c));
            sortie += ref;
        } else {
            sortie += '?';
        }
    };
    if (!Valide()) {
        const QString texte = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        for (const QChar *p = texte.constData(), *fin = p + texte.size(); p < fin; ++p) {
            char32_t c = p->unicode();
            if (p->isHighSurrogate() && p + 1 < fin && p[1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(p[0], p[1]);
                ++p;
            }
            if (c < 0x100)
                sortie += static_cast<char>(c);
            else
                remplace(c);
        }
        return sortie;
    }
    if (utf8.empty())
        return sortie;

    iconv_t cd = etat_->depuisUnicode;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string tampon(utf8.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t resteIn = utf8.size();
    auto convertit = [&](char **pin, std::size_t *preste) {
        for (;;) {
            char *out = tampon.data();
            std::size_t resteOut = tampon.size();
            const std::size_t r = iconv(cd, pin, preste, &out, &resteOut);
            sortie.append(tampon.data(), tampon.size() - resteOut);
            if (r != static_cast<std::size_t>(-1))
                return 0;
            if (errno == E2BIG)
                continue;
            return errno;
        }
    };
    while (resteIn > 0) {
        if (convertit(&in, &resteIn) == 0)
            break;
        // A character the code page lacks (or a sequence cut short): replace it and go on.
        convertit(nullptr, nullptr);
        const auto *p = reinterpret_cast<const unsigned char *>(in);
        std::size_t l = longueurUtf8(p[0]);
        if (l > resteIn)
            l = resteIn;
        remplace(pointDeCode(p, resteIn));
        in += l;
        resteIn -= l;
    }
    convertit(nullptr, nullptr);
    return sortie;
}

std::string CodePage::DepuisUnicode(const QString &texte, bool *complet) const
{
    return encode(texte, Repli::Interrogation, complet);
}

std::string CodePage::DepuisUtf8(std::string_view utf8, std::int64_t *manquants) const
{
    std::int64_t n = 0;
    std::string sortie = encodeUtf8(utf8, Repli::Interrogation, &n);
    if (manquants)
        *manquants = n;
    return sortie;
}

std::string CodePage::DepuisUnicodeAvecReferences(const QString &texte) const
{
    return encode(texte, Repli::Reference, nullptr);
}

} // namespace talmer

#include "services/utilitaires.h"

#include "services/translation.h"

#include "platform/qt/ecriture_sure.h"

#include <QColor>
#include <QFile>
#include <QImage>

#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <sys/stat.h>

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: jump back to the
// encoding routine, which releases what it holds.
struct ErreurJpeg {
    jpeg_error_mgr mgr;
    std::jmp_buf retour;
    char message[JMSG_LENGTH_MAX];
};

void sortieErreurJpeg(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErreurJpeg *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->retour, 1);
}

// Encodes rows of packed RGB into a memory buffer that the caller frees with free(). Only plain
// C objects live in this frame, so the long jump leaves nothing undestroyed.
bool encodeJpeg(const unsigned char *pixels, int largeur, int hauteur, int pas, int qualite,
                unsigned char **sortie, unsigned long *taille, char *message)
{
    jpeg_compress_struct cinfo;
    ErreurJpeg err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = sortieErreurJpeg;
    err.message[0] = '\0';
    *sortie = nullptr;
    *taille = 0;
    if (setjmp(err.retour)) {
        jpeg_destroy_compress(&cinfo);
        std::free(*sortie);
        *sortie = nullptr;
        *taille = 0;
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, sortie, taille);
    cinfo.image_width = static_cast<JDIMENSION>(largeur);
    cinfo.image_height = static_cast<JDIMENSION>(hauteur);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, qualite, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW ligne = const_cast<JSAMPROW>(pixels + static_cast<std::size_t>(cinfo.next_scanline) * static_cast<std::size_t>(pas));
        jpeg_write_scanlines(&cinfo, &ligne, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

bool SauveBitmapJpeg(const QImage &image, const QString &fichier, int qualite, QString *erreur)
{
    auto echec = [&](const QString &texte) {
        if (erreur)
            *erreur = texte;
        return false;
    };
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return echec(Traduit("Image vide : rien à enregistrer dans %1.").arg(fichier));
    if (qualite < 1)
        qualite = 1;
    if (qualite > 100)
        qualite = 100;

    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char *tampon = nullptr;
    unsigned long taille = 0;
    char message[JMSG_LENGTH_MAX] = {0};
    if (!encodeJpeg(rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine()),
                    qualite, &tampon, &taille, message))
        return echec(Traduit("Erreur de codage JPEG de %1 : %2").arg(fichier, QString::fromLocal8Bit(message)));

    talmer::EchecEcriture ecriture;
    const bool ok = talmer::EcritFichierSur(
        fichier, QByteArray(reinterpret_cast<const char *>(tampon), static_cast<qsizetype>(taille)), &ecriture);
    std::free(tampon);
    if (!ok)
        return echec(Traduit("Impossible d'écrire l'image %1 : %2").arg(fichier, RaisonEcriture(ecriture)));
    return true;
}

QString RaisonEcriture(const talmer::EchecEcriture &echec)
{
    if (const char *francais = talmer::RaisonEnFrancais(echec.code))
        return Traduit(francais);
    if (echec.code != 0)
        return talmer::TexteDuSysteme(echec.code);
    return Traduit("le système n'en a pas donné la raison");
}

QString MessageEcriture(const talmer::EchecEcriture &echec)
{
    return Traduit("Impossible d'écrire «\u00A0%1\u00A0» : %2").arg(echec.fichier, RaisonEcriture(echec));
}

void DecoupeChaine(std::string_view texte, std::string_view delimiteurs, std::vector<std::string> &jetons)
{
    std::size_t i = 0;
    while (i < texte.size()) {
        while (i < texte.size() && delimiteurs.find(texte[i]) != std::string_view::npos)
            ++i;
        const std::size_t debut = i;
        while (i < texte.size() && delimiteurs.find(texte[i]) == std::string_view::npos)
            ++i;
        if (i > debut)
            jetons.emplace_back(texte.substr(debut, i - debut));
    }
}

std::string EchappeCaracteres(std::string_view texte)
{
    std::string r;
    r.reserve(texte.size());
    for (char c : texte) {
        if (c == '\\' || c == '{' || c == '|' || c == '}' || c == '~')
            r += '\\';
        r += c;
    }
    return r;
}

bool FichierExiste(const std::string &chemin)
{
    struct stat st;
    return ::stat(chemin.c_str(), &st) == 0;
}

bool FichierExiste(const QString &chemin)
{
    return FichierExiste(std::string(QFile::encodeName(chemin).constData()));
}

std::string CouleurHtml(std::uint32_t couleur)
{
    char tampon[8];
    std::snprintf(tampon, sizeof tampon, "#%02x%02x%02x", couleur & 0xFFu, (couleur >> 8) & 0xFFu,
                  (couleur >> 16) & 0xFFu);
    return tampon;
}

std::string CouleurHtml(const QColor &couleur)
{
    const QColor rgb = couleur.toRgb();
    return CouleurHtml(static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
                       static_cast<std::uint32_t>(rgb.blue()) << 16);
}

std::int32_t EntierLitteralC(std::string_view texte)
{
    const std::string copie(texte);
    errno = 0;
    const long long v = std::strtoll(copie.c_str(), nullptr, 0);
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

std::string NomDeFichierSur(std::string_view texte)
{
    static const char hex[] = "0123456789abcdef";
    std::string r;
    r.reserve(texte.size());
    for (char c : texte) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-') {
            r += c;
        } else {
            r += '_';
            r += hex[b >> 4];
            r += hex[b & 0xF];
        }
    }
    return r;
}

namespace {

void ajouteEchappe(std::string &sortie, std::string_view texte, bool guillemets)
{
    for (const char c : texte) {
        switch (c) {
        case '&': sortie += "&amp;"; break;
        case '<': sortie += "&lt;"; break;
        case '>': sortie += "&gt;"; break;
        case '"':
            if (guillemets) {
                sortie += "&quot;";
                break;
            }
            [[fallthrough]];
        default: sortie += c;
        }
    }
}

} // namespace

void AjouteTexteEchappe(std::string &sortie, std::string_view texte)
{
    ajouteEchappe(sortie, texte, false);
}

std::string EchappeTexte(std::string_view texte)
{
    std::string r;
    r.reserve(texte.size());
    ajouteEchappe(r, texte, false);
    return r;
}

QString EchappeTexte(const QString &texte)
{
    // The three characters are ASCII, which UTF-8 never uses inside another character.
    const QByteArray utf8 = texte.toUtf8();
    const std::string r = EchappeTexte(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return QString::fromUtf8(r.data(), static_cast<qsizetype>(r.size()));
}

std::string EchappeAttribut(std::string_view texte)
{
    std::string r;
    r.reserve(texte.size());
    ajouteEchappe(r, texte, true);
    return r;
}

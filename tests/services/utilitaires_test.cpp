// Small helpers: string cutting and escaping, colours, C integer literals, safe names, JPEG.
#include "services/utilitaires.h"

#include "support/tempdir.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <set>

#include <jpeglib.h>

using talmer::test::InTempDir;

TEST(DecoupeChaine, Cases)
{
    struct Cas {
        const char *texte;
        const char *delims;
        std::vector<std::string> attendu;
    };
    const Cas cas[] = {
        {"==a=b==c", "=", {"a", "b", "c"}},
        {"", "=", {}},
        {"===", "=", {}},
        {"numart = 5000", "=", {"numart ", " 5000"}},
        {"a;b,c", ";,", {"a", "b", "c"}},
        {"abc", "", {"abc"}},
    };
    for (const Cas &c : cas) {
        std::vector<std::string> jetons;
        DecoupeChaine(c.texte, c.delims, jetons);
        EXPECT_EQ(jetons, c.attendu) << c.texte;
    }
    // The vector is appended to, not cleared.
    std::vector<std::string> jetons{"x"};
    DecoupeChaine("=y=", "=", jetons);
    EXPECT_EQ(jetons, (std::vector<std::string>{"x", "y"}));
}

TEST(EchappeCaracteres, Cases)
{
    EXPECT_EQ(EchappeCaracteres("a|b{2}"), "a\\|b\\{2\\}");
    EXPECT_EQ(EchappeCaracteres("a\\b"), "a\\\\b");
    EXPECT_EQ(EchappeCaracteres("~x"), "\\~x");
    EXPECT_EQ(EchappeCaracteres("\xE9t\xE9 (1)"), "\xE9t\xE9 (1)");
    EXPECT_EQ(EchappeCaracteres(""), "");
}

TEST(CouleurHtml, PlatformValueAndQColor)
{
    EXPECT_EQ(CouleurHtml(0x0000FFu), "#ff0000");
    EXPECT_EQ(CouleurHtml(0xFF0000u), "#0000ff");
    EXPECT_EQ(CouleurHtml(0x0A0B0Cu), "#0c0b0a");
    EXPECT_EQ(CouleurHtml(QColor(255, 0, 0)), "#ff0000");
    EXPECT_EQ(CouleurHtml(QColor(0, 0, 255)), "#0000ff");
    EXPECT_EQ(CouleurHtml(QColor(1, 171, 16)), "#01ab10");
}

TEST(EntierLitteralC, Cases)
{
    struct Cas {
        const char *texte;
        std::int32_t attendu;
    };
    const Cas cas[] = {
        {"5000", 5000},       {"0x100", 256},        {"0X1f", 31},          {"0100", 64},
        {"abc", 0},           {"", 0},               {"  42", 42},          {"\t7", 7},
        {"12abc", 12},        {"089", 0},            {"0x", 0},             {"-5", -5},
        {"+9", 9},            {"2147483647", 2147483647},                   {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},        {"-2147483649", INT32_MIN},
        {"300000 ", 300000},  {" 5000", 5000},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(EntierLitteralC(c.texte), c.attendu) << '"' << c.texte << '"';
}

TEST(NomDeFichierSur, KeepsPlainNamesAndIsInjective)
{
    EXPECT_EQ(NomDeFichierSur("auteur"), "auteur");
    EXPECT_EQ(NomDeFichierSur("Jean-Paul2"), "Jean-Paul2");
    EXPECT_EQ(NomDeFichierSur("a/b"), "a_2fb");
    EXPECT_EQ(NomDeFichierSur(".."), "_2e_2e");
    EXPECT_EQ(NomDeFichierSur("\xE9t\xE9"), "_e9t_e9");
    EXPECT_EQ(NomDeFichierSur("a b\n"), "a_20b_0a");
    EXPECT_EQ(NomDeFichierSur("a_b"), "a_5fb");
    EXPECT_EQ(NomDeFichierSur(""), "");

    // No separator, dot, blank or control byte in any result, and no two inputs collide.
    std::set<std::string> vus;
    for (int b = 0; b < 256; ++b) {
        const std::string nom = NomDeFichierSur(std::string(1, static_cast<char>(b)) + "x");
        for (char c : nom) {
            const auto u = static_cast<unsigned char>(c);
            EXPECT_TRUE((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' || u == '_')
                << b;
        }
        EXPECT_TRUE(vus.insert(nom).second) << b;
    }
    EXPECT_NE(NomDeFichierSur("a_e9"), NomDeFichierSur("a\xE9"));
}

TEST(Echappement, ContentKeepsQuotesAttributesEscapeThem)
{
    // Element content: & < > only; a double quote is an ordinary character there.
    EXPECT_EQ(EchappeTexte("a<b>&\"c\""), "a&lt;b&gt;&amp;\"c\"");
    EXPECT_EQ(EchappeTexte("\xE9t\xE9 &#233;"), "\xE9t\xE9 &amp;#233;");
    std::string suite = "x";
    AjouteTexteEchappe(suite, "R&D \"1\"");
    EXPECT_EQ(suite, "xR&amp;D \"1\"");
    EXPECT_EQ(EchappeTexte(QString::fromUtf8("« R&D » <été>")), QString::fromUtf8("« R&amp;D » &lt;été&gt;"));
    // Attribute values between double quotes: the quote too.
    EXPECT_EQ(EchappeAttribut("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
    EXPECT_EQ(EchappeAttribut("\xE9t\xE9"), "\xE9t\xE9");
}

class FichierExisteTest : public InTempDir {};

TEST_F(FichierExisteTest, FilesAndFolders)
{
    EXPECT_FALSE(FichierExiste(std::string("absent.txt")));
    talmer::test::writeFile("present.txt", "x");
    EXPECT_TRUE(FichierExiste(std::string("present.txt")));
    EXPECT_TRUE(FichierExiste(QStringLiteral("present.txt")));
    std::filesystem::create_directory("dossier");
    EXPECT_TRUE(FichierExiste(std::string("dossier")));
}

namespace {

struct ErreurLecture {
    jpeg_error_mgr mgr;
    std::jmp_buf retour;
};

void sortieLecture(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErreurLecture *>(cinfo->err)->retour, 1);
}

// Reads the header of a JPEG file: size, components and the two quantisation tables (natural order).
bool litEntete(const std::string &octets, int &largeur, int &hauteur, int &composantes, unsigned (&lum)[64],
               unsigned (&chrom)[64], bool &chromPresente)
{
    jpeg_decompress_struct cinfo;
    ErreurLecture err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = sortieLecture;
    if (setjmp(err.retour)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(octets.data()), static_cast<unsigned long>(octets.size()));
    jpeg_read_header(&cinfo, TRUE);
    largeur = static_cast<int>(cinfo.image_width);
    hauteur = static_cast<int>(cinfo.image_height);
    composantes = cinfo.num_components;
    bool ok = cinfo.quant_tbl_ptrs[0] != nullptr;
    chromPresente = cinfo.quant_tbl_ptrs[1] != nullptr;
    for (int i = 0; i < 64 && ok; ++i) {
        lum[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
        chrom[i] = chromPresente ? cinfo.quant_tbl_ptrs[1]->quantval[i] : 0;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

// The example tables of the JPEG standard (Annex K), natural order.
const unsigned luminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const unsigned chrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The standard's scaling for a quality below 50: 5000 / quality percent, rounded, kept in 1..255.
unsigned echelle(unsigned base, int qualite)
{
    const unsigned facteur = static_cast<unsigned>(5000 / qualite);
    unsigned v = (base * facteur + 50) / 100;
    if (v < 1)
        v = 1;
    if (v > 255)
        v = 255;
    return v;
}

QImage imageTest(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::blue, 3));
    p.drawLine(0, 0, w - 1, h - 1);
    p.fillRect(5, 5, 20, 10, Qt::red);
    return image;
}

} // namespace

class SauveBitmapJpegTest : public InTempDir {};

TEST_F(SauveBitmapJpegTest, DecodesWithStandardTablesScaledForQuality30)
{
    QString erreur;
    ASSERT_TRUE(SauveBitmapJpeg(imageTest(123, 45), QStringLiteral("img-grapheZipf-0.jpg"), 30, &erreur))
        << erreur.toStdString();
    const std::string octets = talmer::test::readFile("img-grapheZipf-0.jpg");
    ASSERT_GT(octets.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(octets[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(octets[1]), 0xD8);

    int w = 0, h = 0, comp = 0;
    unsigned lum[64], chrom[64];
    bool chromPresente = false;
    ASSERT_TRUE(litEntete(octets, w, h, comp, lum, chrom, chromPresente));
    EXPECT_EQ(w, 123);
    EXPECT_EQ(h, 45);
    EXPECT_EQ(comp, 3);
    ASSERT_TRUE(chromPresente);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(lum[i], echelle(luminance[i], 30)) << i;
        EXPECT_EQ(chrom[i], echelle(chrominance[i], 30)) << i;
    }
    EXPECT_EQ(lum[0], 27u); // 16 * 166 / 100, rounded

    // The picture reads back with its size and, roughly, its colours.
    QImage relue(QStringLiteral("img-grapheZipf-0.jpg"));
    ASSERT_FALSE(relue.isNull());
    EXPECT_EQ(relue.size(), QSize(123, 45));
    const QColor rouge = relue.pixelColor(15, 10);
    EXPECT_GT(rouge.red(), 180);
    EXPECT_LT(rouge.green(), 90);
}

TEST_F(SauveBitmapJpegTest, ReplacesAnOlderFile)
{
    talmer::test::writeFile("a.jpg", std::string(50000, 'x'));
    ASSERT_TRUE(SauveBitmapJpeg(imageTest(20, 20), QStringLiteral("a.jpg"), 30));
    const std::string octets = talmer::test::readFile("a.jpg");
    EXPECT_LT(octets.size(), 50000u);
    EXPECT_EQ(static_cast<unsigned char>(octets[0]), 0xFF);
}

TEST_F(SauveBitmapJpegTest, FailuresAreReportedAndLeaveNothing)
{
    QString erreur;
    EXPECT_FALSE(SauveBitmapJpeg(imageTest(10, 10), QStringLiteral("absent/a.jpg"), 30, &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(std::filesystem::exists("absent"));

    erreur.clear();
    EXPECT_FALSE(SauveBitmapJpeg(QImage(), QStringLiteral("vide.jpg"), 30, &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(std::filesystem::exists("vide.jpg"));

    // A folder in the way of the file.
    std::filesystem::create_directory("dossier.jpg");
    EXPECT_FALSE(SauveBitmapJpeg(imageTest(10, 10), QStringLiteral("dossier.jpg"), 30, &erreur));
    EXPECT_TRUE(std::filesystem::is_directory("dossier.jpg"));
    int restants = 0;
    for (const auto &e : std::filesystem::directory_iterator("."))
        if (e.path().filename() != "dossier.jpg")
            ++restants;
    EXPECT_EQ(restants, 0);
}

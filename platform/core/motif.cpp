#define PCRE2_CODE_UNIT_WIDTH 8
#include "platform/core/motif.h"

#include <pcre2.h>
#include <unicode/uchar.h>

#include <iconv.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace talmer::platform {

namespace {

// Layout of PCRE2's character tables: lower-case map, case-flip map, ten class bitmaps, then
// one type byte per character (the layout pcre2_maketables produces).
constexpr std::size_t kLcc = 0;
constexpr std::size_t kFcc = 256;
constexpr std::size_t kCbits = 512;
constexpr std::size_t kCbitSpace = 0;
constexpr std::size_t kCbitXdigit = 32;
constexpr std::size_t kCbitDigit = 64;
constexpr std::size_t kCbitUpper = 96;
constexpr std::size_t kCbitLower = 128;
constexpr std::size_t kCbitWord = 160;
constexpr std::size_t kCbitGraph = 192;
constexpr std::size_t kCbitPrint = 224;
constexpr std::size_t kCbitPunct = 256;
constexpr std::size_t kCbitCntrl = 288;
constexpr std::size_t kCtypes = kCbits + 320;
constexpr std::size_t kTaille = kCtypes + 256;
constexpr std::uint8_t kCtypeSpace = 0x01;
constexpr std::uint8_t kCtypeLetter = 0x02;
constexpr std::uint8_t kCtypeLcletter = 0x04;
constexpr std::uint8_t kCtypeDigit = 0x08;
constexpr std::uint8_t kCtypeWord = 0x10;

// Stack of the JIT matcher: grown up to this size for deeply nested patterns.
constexpr PCRE2_SIZE kPileJitMax = 4 * 1024 * 1024;

constexpr char32_t kAucun = 0xFFFFFFFF;

// The character each single byte stands for in the code page; kAucun where a byte alone means
// nothing (lead bytes of the double-byte code pages, unassigned codes).
std::array<char32_t, 256> caracteresDe(const std::string &codePage)
{
    std::array<char32_t, 256> car{};
    for (int i = 0; i < 128; ++i)
        car[static_cast<std::size_t>(i)] = static_cast<char32_t>(i);
    for (int i = 128; i < 256; ++i)
        car[static_cast<std::size_t>(i)] = kAucun;

    bool chiffres = !codePage.empty() && codePage.size() <= 5;
    for (char c : codePage)
        chiffres = chiffres && c >= '0' && c <= '9';
    if (!chiffres)
        return car;
    const std::string nom = codePage == "1361" ? "JOHAB" : "CP" + codePage;
    iconv_t cd = iconv_open("UTF-32LE", nom.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return car;
    for (int i = 128; i < 256; ++i) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char octet = static_cast<char>(i);
        char *in = &octet;
        std::size_t resteIn = 1;
        unsigned char sortie[8] = {};
        char *out = reinterpret_cast<char *>(sortie);
        std::size_t resteOut = sizeof sortie;
        if (iconv(cd, &in, &resteIn, &out, &resteOut) == static_cast<std::size_t>(-1) || resteIn != 0
            || sizeof sortie - resteOut != 4)
            continue;
        // A byte the code page leaves pending (a lead byte) produces nothing until flushed.
        const char32_t c = static_cast<char32_t>(sortie[0] | (sortie[1] << 8) | (sortie[2] << 16)
                                                 | (static_cast<std::uint32_t>(sortie[3]) << 24));
        car[static_cast<std::size_t>(i)] = c;
    }
    iconv_close(cd);
    return car;
}

std::unique_ptr<std::uint8_t[]> construitTables(const std::string &codePage)
{
    const std::array<char32_t, 256> car = caracteresDe(codePage);
    std::map<char32_t, int> octetDe;
    for (int i = 0; i < 256; ++i)
        if (car[static_cast<std::size_t>(i)] != kAucun)
            octetDe.emplace(car[static_cast<std::size_t>(i)], i);
    auto versOctet = [&](char32_t c, int defaut) {
        const auto it = octetDe.find(c);
        return it == octetDe.end() ? defaut : it->second;
    };

    auto t = std::make_unique<std::uint8_t[]>(kTaille);
    std::memset(t.get(), 0, kTaille);
    for (int i = 0; i < 256; ++i) {
        const char32_t c = car[static_cast<std::size_t>(i)];
        const bool connu = c != kAucun;
        const UChar32 u = connu ? static_cast<UChar32>(c) : 0;
        // ASCII keeps the C library's classes exactly; above it, the character's Unicode classes.
        const bool ascii = i < 128;
        const bool minuscule = connu && (ascii ? (i >= 'a' && i <= 'z') : u_islower(u) != 0);
        const bool majuscule = connu && (ascii ? (i >= 'A' && i <= 'Z') : u_isupper(u) != 0);
        const bool lettre = connu && (ascii ? (minuscule || majuscule) : u_isalpha(u) != 0);
        const bool chiffre = ascii && i >= '0' && i <= '9';
        const bool espace = connu && (ascii ? (i == ' ' || (i >= 9 && i <= 13)) : u_isspace(u) != 0);
        const bool controle = connu && (ascii ? (i < 32 || i == 127) : u_iscntrl(u) != 0);
        const bool graphique = connu && (ascii ? (i > 32 && i < 127) : (u_isgraph(u) != 0));
        const bool imprimable = connu && (ascii ? (i >= 32 && i < 127) : (u_isprint(u) != 0 && !controle));
        const bool ponctuation = graphique && !lettre && !chiffre
                                 && (ascii || u_isalnum(u) == 0);
        const bool hexa = chiffre || (i >= 'a' && i <= 'f') || (i >= 'A' && i <= 'F');
        const bool alnum = lettre || chiffre || (!ascii && connu && u_isdigit(u) != 0);

        int bas = i;
        int bascule = i;
        if (connu && majuscule)
            bas = versOctet(static_cast<char32_t>(u_tolower(u)), i);
        if (connu && minuscule)
            bascule = versOctet(static_cast<char32_t>(u_toupper(u)), i);
        else if (connu && majuscule)
            bascule = bas;
        t[kLcc + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bas);
        t[kFcc + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bascule);

        auto pose = [&](std::size_t carte, bool oui) {
            if (oui)
                t[kCbits + carte + static_cast<std::size_t>(i) / 8] |= static_cast<std::uint8_t>(1u << (i & 7));
        };
        pose(kCbitDigit, chiffre);
        pose(kCbitUpper, majuscule);
        pose(kCbitLower, minuscule);
        pose(kCbitWord, alnum || i == '_');
        pose(kCbitSpace, espace);
        pose(kCbitXdigit, hexa);
        pose(kCbitGraph, graphique);
        pose(kCbitPrint, imprimable);
        pose(kCbitPunct, ponctuation);
        pose(kCbitCntrl, controle);

        std::uint8_t type = 0;
        if (espace)
            type |= kCtypeSpace;
        if (lettre)
            type |= kCtypeLetter;
        if (minuscule)
            type |= kCtypeLcletter;
        if (chiffre)
            type |= kCtypeDigit;
        if (alnum || i == '_')
            type |= kCtypeWord;
        t[kCtypes + static_cast<std::size_t>(i)] = type;
    }
    return t;
}

} // namespace

const std::uint8_t *Motif::Tables(const std::string &codePage)
{
    static std::mutex verrou;
    static std::map<std::string, std::unique_ptr<std::uint8_t[]>> tables;
    std::lock_guard<std::mutex> garde(verrou);
    auto &t = tables[codePage];
    if (!t)
        t = construitTables(codePage);
    return t.get();
}

std::string Motif::MessagePcre2(int code)
{
    PCRE2_UCHAR tampon[256];
    const int n = pcre2_get_error_message(code, tampon, sizeof tampon);
    if (n < 0)
        return "PCRE2 error " + std::to_string(code);
    return std::string(reinterpret_cast<const char *>(tampon), static_cast<std::size_t>(n));
}

Motif::Motif(std::string_view expression, const std::string &codePage)
{
    pcre2_compile_context *cc = pcre2_compile_context_create(nullptr);
    if (cc == nullptr) {
        messageErreur_ = MessagePcre2(PCRE2_ERROR_NOMEMORY);
        return;
    }
    pcre2_set_character_tables(cc, Tables(codePage));
    int erreur = 0;
    PCRE2_SIZE position = 0;
    pcre2_code *code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(), 0,
                                     &erreur, &position, cc);
    pcre2_compile_context_free(cc);
    if (code == nullptr) {
        messageErreur_ = MessagePcre2(erreur);
        positionErreur_ = position;
        return;
    }
    code_ = code;
    jit_ = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
    donnees_ = pcre2_match_data_create_from_pattern(code, nullptr);
    pcre2_match_context *mc = pcre2_match_context_create(nullptr);
    contexte_ = mc;
    if (jit_ && mc != nullptr) {
        pcre2_jit_stack *pile = pcre2_jit_stack_create(32 * 1024, kPileJitMax, nullptr);
        pileJit_ = pile;
        if (pile != nullptr)
            pcre2_jit_stack_assign(mc, nullptr, pile);
    }
    if (donnees_ == nullptr || contexte_ == nullptr) {
        messageErreur_ = MessagePcre2(PCRE2_ERROR_NOMEMORY);
        pcre2_code_free(code);
        code_ = nullptr;
    }
}

Motif::~Motif()
{
    pcre2_jit_stack_free(static_cast<pcre2_jit_stack *>(pileJit_));
    pcre2_match_context_free(static_cast<pcre2_match_context *>(contexte_));
    pcre2_match_data_free(static_cast<pcre2_match_data *>(donnees_));
    pcre2_code_free(static_cast<pcre2_code *>(code_));
}

Motif::Resultat Motif::Cherche(std::string_view sujet)
{
    if (code_ == nullptr) {
        codeDerniereErreur_ = PCRE2_ERROR_NULL;
        return Resultat::Erreur;
    }
    const int rc = pcre2_match(static_cast<pcre2_code *>(code_), reinterpret_cast<PCRE2_SPTR>(sujet.data()),
                               sujet.size(), 0, 0, static_cast<pcre2_match_data *>(donnees_),
                               static_cast<pcre2_match_context *>(contexte_));
    // 0 means the match succeeded with more captures than the match data holds: still a match.
    if (rc >= 0)
        return Resultat::Correspond;
    if (rc == PCRE2_ERROR_NOMATCH)
        return Resultat::NeCorrespondPas;
    codeDerniereErreur_ = rc;
    return Resultat::Erreur;
}

std::string Motif::MessageDerniereErreur() const
{
    if (codeDerniereErreur_ == 0)
        return {};
    if (code_ == nullptr && !messageErreur_.empty())
        return messageErreur_;
    return MessagePcre2(codeDerniereErreur_);
}

std::string MotifLitteral(std::string_view texte)
{
    static const char hexa[] = "0123456789abcdef";
    std::string sortie;
    sortie.reserve(texte.size() * 2);
    for (char ch : texte) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (alnum || c >= 128) {
            sortie += ch;
        } else if (c < 32 || c == 127) {
            // A control byte (NUL included) as \x{hh}, so the expression never holds it raw.
            sortie += "\\x{";
            sortie += hexa[c >> 4];
            sortie += hexa[c & 15];
            sortie += '}';
        } else {
            sortie += '\\';
            sortie += ch;
        }
    }
    return sortie;
}

} // namespace talmer::platform

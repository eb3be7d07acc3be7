// Bytes of a Windows code page to and from Unicode, at the boundary with Qt (iconv from glibc).
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace talmer {

class CodePage {
public:
    // `numero`: the Windows code page in decimal, as the display character sets give it
    // ("1252", "932", ...). An unknown number gives an invalid converter (Valide() false) whose
    // conversions fall back to Latin-1.
    explicit CodePage(const std::string &numero);
    ~CodePage();
    CodePage(const CodePage &) = delete;
    CodePage &operator=(const CodePage &) = delete;

    bool Valide() const;
    const std::string &Numero() const { return numero_; }
    // The name under which iconv knows the code page ("CP1252", "JOHAB"...), "" when unknown.
    const std::string &NomIconv() const { return nomIconv_; }

    // Bytes to Unicode; a byte sequence the code page does not define gives U+FFFD.
    QString VersUnicode(std::string_view octets) const;
    // Unicode to bytes; a character the code page lacks gives '?' and *complet becomes false.
    std::string DepuisUnicode(const QString &texte, bool *complet = nullptr) const;
    // UTF-8 bytes to bytes of the code page; each character the code page lacks gives '?' and is
    // counted in *manquants.
    std::string DepuisUtf8(std::string_view utf8, std::int64_t *manquants = nullptr) const;
    // Unicode to bytes for an HTML or XML page; a character the code page lacks is written as a
    // numeric character reference ("&#1576;").
    std::string DepuisUnicodeAvecReferences(const QString &texte) const;

    // iconv's name for a Windows code page number, "" when the number is not one we know.
    static std::string NomIconvDe(const std::string &numero);

private:
    enum class Repli { Interrogation, Reference };
    std::string encode(const QString &texte, Repli repli, bool *complet) const;
    std::string encodeUtf8(std::string_view utf8, Repli repli, std::int64_t *manquants) const;

    std::string numero_;
    std::string nomIconv_;
    struct Etat;
    std::unique_ptr<Etat> etat_;
};

} // namespace talmer

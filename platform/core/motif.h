// Regular expressions on 8-bit texts of a display code page (PCRE2, compiled with JIT).
//
// Spellings are bytes of a Windows code page, so a pattern is compiled without UTF support and
// with character tables made for that code page: letter classes, case folding and \w know the
// accented letters of the code page ("[[:alpha:]]" matches "é" in Windows-1252), whatever the
// locale of the machine. The tables of each code page are built once and kept for the run.
//
// A subject matches only when the match succeeds. A match that fails for another reason (the
// match limit, a JIT stack too small...) is neither a match nor silently dropped: Cherche says so,
// and the caller reports it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talmer::platform {

class Motif {
public:
    enum class Resultat {
        Correspond,     // the subject matches
        NeCorrespondPas, // the subject does not match
        Erreur,         // the match could not be decided (see MessageDerniereErreur)
    };

    // Compiles `expression` for the code page given by its Windows number in decimal ("1252",
    // "932"...); an unknown code page gets tables with only the ASCII classes. When the expression
    // does not compile, Valide() is false, MessageErreur() holds PCRE2's message and
    // PositionErreur() the byte offset in the expression where it was detected; Cherche then
    // answers Erreur for every subject.
    Motif(std::string_view expression, const std::string &codePage);
    ~Motif();
    Motif(const Motif &) = delete;
    Motif &operator=(const Motif &) = delete;

    bool Valide() const { return code_ != nullptr; }
    const std::string &MessageErreur() const { return messageErreur_; }
    std::size_t PositionErreur() const { return positionErreur_; }
    // True when the pattern runs through the JIT (false where the platform has none; matching is
    // the same, only slower).
    bool AvecJit() const { return jit_; }

    // Matches the whole subject from its first byte (the subject may hold any byte, NUL included).
    // Not for use from two threads at once on the same Motif.
    Resultat Cherche(std::string_view sujet);
    // PCRE2's code and message of the last Erreur answer (0 and "" before any).
    int CodeDerniereErreur() const { return codeDerniereErreur_; }
    std::string MessageDerniereErreur() const;

    // The text of a PCRE2 error code, in PCRE2's words.
    static std::string MessagePcre2(int code);

    // The 1088-byte character tables PCRE2 uses for a code page (built on first request, then the
    // same for the whole run).
    static const std::uint8_t *Tables(const std::string &codePage);

private:
    void *code_ = nullptr;        // pcre2_code_8
    void *donnees_ = nullptr;     // pcre2_match_data_8
    void *contexte_ = nullptr;    // pcre2_match_context_8
    void *pileJit_ = nullptr;     // pcre2_jit_stack_8
    bool jit_ = false;
    std::string messageErreur_;
    std::size_t positionErreur_ = 0;
    int codeDerniereErreur_ = 0;
};

// An expression that matches `texte` literally, each of its bytes standing for itself.
std::string MotifLitteral(std::string_view texte);

} // namespace talmer::platform

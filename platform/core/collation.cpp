#include "platform/core/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace talmer::platform {

namespace {

// Codes 0x80 to 0x9F of Windows-1252; the rest of the table is Latin-1.
constexpr char16_t kHaut[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// One French collator for the whole program, made on first use. Tertiary strength: case and
// accents count, in French order.
const icu::Collator *collateur()
{
    static std::unique_ptr<icu::Collator> coll;
    static std::once_flag once;
    std::call_once(once, [] {
        UErrorCode err = U_ZERO_ERROR;
        coll.reset(icu::Collator::createInstance(icu::Locale("fr", "FR"), err));
        if (U_FAILURE(err))
            coll.reset();
        else
            coll->setStrength(icu::Collator::TERTIARY);
    });
    return coll.get();
}

int compareOctets(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    if (n > 0) {
        const int c = std::memcmp(a.data(), b.data(), n);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

std::u16string Cp1252VersUtf16(std::string_view octets)
{
    std::u16string out;
    out.reserve(octets.size());
    for (char ch : octets) {
        const unsigned char c = static_cast<unsigned char>(ch);
        out.push_back(c >= 0x80 && c < 0xA0 ? kHaut[c - 0x80] : static_cast<char16_t>(c));
    }
    return out;
}

int CompareGraphies(std::string_view a, std::string_view b)
{
    if (const icu::Collator *coll = collateur()) {
        const std::u16string ua = Cp1252VersUtf16(a);
        const std::u16string ub = Cp1252VersUtf16(b);
        UErrorCode err = U_ZERO_ERROR;
        const UCollationResult r = coll->compare(ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                                 static_cast<int32_t>(ub.size()), err);
        if (U_SUCCESS(err) && r != UCOL_EQUAL)
            return r == UCOL_LESS ? -1 : 1;
    }
    return compareOctets(a, b);
}

std::string CleDeTri(std::string_view graphie)
{
    std::string cle;
    if (const icu::Collator *coll = collateur()) {
        const std::u16string u = Cp1252VersUtf16(graphie);
        const icu::UnicodeString us(false, u.data(), static_cast<int32_t>(u.size()));
        int32_t n = coll->getSortKey(us, nullptr, 0);
        if (n > 0) {
            std::string tmp(static_cast<std::size_t>(n), '\0');
            coll->getSortKey(us, reinterpret_cast<uint8_t *>(tmp.data()), n);
            // The key ends with a zero byte; drop it so that the separator below stays lowest.
            if (!tmp.empty() && tmp.back() == '\0')
                tmp.pop_back();
            cle = std::move(tmp);
        }
    }
    // The collator's key, a separator below every key byte, then the bytes themselves: equal
    // collation keys fall back to byte order, exactly like CompareGraphies.
    cle.push_back('\0');
    cle.append(graphie.data(), graphie.size());
    return cle;
}

} // namespace talmer::platform

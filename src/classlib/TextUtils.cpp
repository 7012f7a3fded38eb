#include "TextUtils.h"

#include "Exceptions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <windows.h>

namespace {

struct TextLeadBytes
{
    std::array<bool, 256> lead{};
    TextLeadBytes()
    {
        for (int c = 0x80; c < 256; ++c)
            lead[c] = IsDBCSLeadByte(static_cast<BYTE>(c)) != 0;
    }
};

// The index of the first character boundary at or after from.
size_t TextBoundaryFrom(const AnsiString& s, size_t from)
{
    size_t i = 0;
    while (i < from && i < s.size())
        i += CharLength(s, i);
    return i;
}

bool TextMatchesAt(const AnsiString& s, size_t at, const AnsiString& sub, bool ignoreCase)
{
    if (s.size() - at < sub.size())
        return false;
    if (!ignoreCase)
        return s.compare(at, sub.size(), sub) == 0;
    return CompareText(s.substr(at, sub.size()), sub) == 0;
}

size_t TextFind(const AnsiString& s, const AnsiString& sub, size_t from, bool ignoreCase)
{
    if (sub.empty())
        return AnsiString::npos;
    // A match starts on a character of s and walks it as sub walks; only a
    // lead byte that ends sub can take the next byte of s with it, so such a
    // match ends inside a character unless it ends s.
    const bool endsInLeadByte =
        ByteType(sub, sub.size() - 1) == mbSingleByte && IsLeadByte(sub.back());
    for (size_t i = TextBoundaryFrom(s, from); i < s.size(); i += CharLength(s, i))
        if (TextMatchesAt(s, i, sub, ignoreCase) && !(endsInLeadByte && i + sub.size() < s.size()))
            return i;
    return AnsiString::npos;
}

[[noreturn]] void TextRaiseNotInteger(const AnsiString& s)
{
    throw EConvertError("'" + s + "' is not a valid integer value");
}

AnsiString TextLocaleInfo(LCTYPE item, const char* fallback)
{
    char buffer[16] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return n > 1 ? AnsiString(buffer, n - 1) : AnsiString(fallback);
}

// One section of a FormatFloat picture, taken apart.
struct TextPicture
{
    AnsiString prefix, suffix; // literal text before and after the number
    bool hasDigits = false;    // any "0" or "#"
    bool grouped = false;      // a "," before the decimal point
    int intMin = 0;            // integer digits always shown
    int fracMin = 0;           // decimals always shown
    int fracMax = 0;           // decimals shown at most
};

TextPicture TextParsePicture(const AnsiString& section)
{
    TextPicture p;
    bool inFraction = false, seenZero = false;
    char quote = 0;
    for (size_t i = 0; i < section.size(); i += CharLength(section, i)) {
        char c = section[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                (p.hasDigits ? p.suffix : p.prefix).append(section, i, CharLength(section, i));
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#') {
            p.hasDigits = true;
            if (inFraction) {
                ++p.fracMax;
                if (c == '0')
                    p.fracMin = p.fracMax;
            } else {
                seenZero = seenZero || c == '0';
                if (seenZero)
                    ++p.intMin;
            }
        } else if (c == '.' && !inFraction) {
            inFraction = true;
        } else if (c == ',' && !inFraction) {
            p.grouped = true;
        } else if (c != '.' && c != ',') {
            (p.hasDigits ? p.suffix : p.prefix).append(section, i, CharLength(section, i));
        }
    }
    return p;
}

std::vector<AnsiString> TextSplitSections(const AnsiString& format)
{
    std::vector<AnsiString> sections(1);
    char quote = 0;
    for (size_t i = 0; i < format.size(); i += CharLength(format, i)) {
        char c = format[i];
        if (quote && c == quote)
            quote = 0;
        else if (!quote && (c == '"' || c == '\''))
            quote = c;
        else if (!quote && c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back().append(format, i, CharLength(format, i));
    }
    return sections;
}

// Rounds digits (0.digits x 10^exponent) to decimals places, half away from
// zero; the result may be "" (zero).
void TextRoundDigits(AnsiString& digits, int& exponent, int decimals)
{
    int keep = exponent + decimals;
    if (keep >= static_cast<int>(digits.size()))
        return;
    if (keep < 0) {
        digits.clear();
        exponent = 0;
        return;
    }
    bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits.insert(digits.begin(), '1');
            ++exponent;
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        exponent = 0;
}

AnsiString TextGroupThousands(const AnsiString& integer)
{
    AnsiString grouped;
    for (size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            grouped += ThousandSeparator();
        grouped += integer[i];
    }
    return grouped;
}

// The number of one picture for |value|; zero tells whether it rounded to 0.
AnsiString TextFormatPicture(const TextPicture& p, double magnitude, bool& zero)
{
    AnsiString digits;
    int exponent;
    DecimalDigits(magnitude, 15, digits, exponent);
    TextRoundDigits(digits, exponent, p.fracMax);
    zero = digits.empty();
    if (!p.hasDigits)
        return p.prefix + p.suffix;

    AnsiString integer, fraction;
    if (exponent > 0) {
        integer = digits.substr(0, exponent);
        integer.append(exponent - integer.size(), '0');
        if (static_cast<size_t>(exponent) < digits.size())
            fraction = digits.substr(exponent);
    } else {
        fraction = AnsiString(-exponent, '0') + digits;
    }
    if (static_cast<int>(integer.size()) < p.intMin)
        integer.insert(0, p.intMin - integer.size(), '0');
    if (p.grouped)
        integer = TextGroupThousands(integer);
    if (static_cast<int>(fraction.size()) < p.fracMin)
        fraction.append(p.fracMin - fraction.size(), '0');
    AnsiString number = integer;
    if (!fraction.empty())
        number += DecimalSeparator() + fraction;
    return p.prefix + number + p.suffix;
}

} // namespace

bool IsLeadByte(char c)
{
    static const TextLeadBytes table;
    return table.lead[static_cast<unsigned char>(c)];
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

size_t AnsiFind(const AnsiString& s, const AnsiString& sub, size_t from)
{
    return TextFind(s, sub, from, false);
}

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern,
                         const AnsiString& newPattern, unsigned flags)
{
    bool ignoreCase = (flags & rfIgnoreCase) != 0;
    AnsiString result;
    size_t from = 0;
    for (;;) {
        size_t at = TextFind(s, oldPattern, from, ignoreCase);
        if (at == AnsiString::npos)
            break;
        result.append(s, from, at - from);
        result += newPattern;
        from = at + oldPattern.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    return result + s.substr(from);
}

AnsiString IntToStr(int value)
{
    return std::to_string(value);
}

AnsiString IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

AnsiString IntToHex(int value, int digits)
{
    return IntToHex(static_cast<std::int64_t>(static_cast<std::uint32_t>(value)), digits);
}

AnsiString IntToHex(std::int64_t value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint64_t>(value);
    AnsiString text;
    do {
        text.insert(text.begin(), hex[bits & 15]);
        bits >>= 4;
    } while (bits);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

int StrToInt(const AnsiString& s)
{
    int value;
    if (!TryStrToInt(s, value))
        TextRaiseNotInteger(s);
    return value;
}

std::int64_t StrToInt64(const AnsiString& s)
{
    std::int64_t value;
    if (!TryStrToInt64(s, value))
        TextRaiseNotInteger(s);
    return value;
}

const AnsiString& DecimalSeparator()
{
    static const AnsiString separator = TextLocaleInfo(LOCALE_SDECIMAL, ".");
    return separator;
}

const AnsiString& ThousandSeparator()
{
    static const AnsiString separator = TextLocaleInfo(LOCALE_STHOUSAND, ",");
    return separator;
}

AnsiString FloatToStr(double value)
{
    return FloatToText(value, DecimalSeparator());
}

bool TryStrToFloat(const AnsiString& s, double& value)
{
    return TryTextToFloat(s, DecimalSeparator(), value);
}

double StrToFloat(const AnsiString& s)
{
    double value;
    if (!TryStrToFloat(s, value))
        throw EConvertError("'" + s + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(const AnsiString& s, double defaultValue)
{
    double value;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

AnsiString FormatFloat(const AnsiString& format, double value)
{
    if (format.empty() || !std::isfinite(value))
        return FloatToStr(value);
    std::vector<AnsiString> sections = TextSplitSections(format);
    bool negative = value < 0;
    bool ownNegative = negative && sections.size() >= 2 && !sections[1].empty();
    bool zero;
    AnsiString text =
        TextFormatPicture(TextParsePicture(sections[ownNegative ? 1 : 0]), std::fabs(value), zero);
    if (zero && sections.size() >= 3 && !sections[2].empty())
        return TextFormatPicture(TextParsePicture(sections[2]), 0.0, zero);
    return (negative && !ownNegative && !zero) ? "-" + text : text;
}

AnsiString Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    AnsiString text;
    if (n > 0) {
        text.resize(static_cast<size_t>(n));
        std::vsnprintf(text.data(), static_cast<size_t>(n) + 1, format, again);
    }
    va_end(again);
    return text;
}

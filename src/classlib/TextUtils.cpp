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

unsigned char TextByte(const AnsiString& s, size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

unsigned char TextUpperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

bool TextIsBlank(unsigned char c)
{
    return c <= ' ';
}

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

// Parses the integer grammar of TryStrToInt for a value of the given width.
bool TextParseInteger(const AnsiString& text, int bits, std::int64_t& out)
{
    size_t i = 0, end = text.size();
    while (i < end && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    bool hasSign = i < end && (text[i] == '+' || text[i] == '-');
    bool negative = hasSign && text[i] == '-';
    if (hasSign)
        ++i;
    unsigned base = 10;
    if (i < end && text[i] == '$') {
        base = 16;
        ++i;
    } else if (end - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == end)
        return false;
    const std::uint64_t signedMax = (std::uint64_t(1) << (bits - 1)) - 1;
    std::uint64_t limit = negative ? signedMax + 1 : signedMax;
    bool pattern = base == 16 && !hasSign;
    if (pattern)
        limit = bits == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << bits) - 1;
    std::uint64_t magnitude = 0;
    for (; i < end; ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        if (magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    if (pattern && bits == 32)
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    else
        out = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
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

// The decimal digits of a finite value >= 0, rounded to significant digits:
// value = 0.digits x 10^exponent, without trailing zeros ("" for zero).
void TextDecimalDigits(double value, int significant, AnsiString& digits, int& exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    digits.clear();
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (digits.empty())
        exponent = 0;
}

AnsiString TextNonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

AnsiString TextGeneral(double value, int significant, const AnsiString& separator)
{
    if (!std::isfinite(value))
        return TextNonFinite(value);
    AnsiString digits;
    int exponent;
    TextDecimalDigits(std::fabs(value), significant, digits, exponent);
    if (digits.empty())
        return "0";
    AnsiString text = value < 0 ? "-" : "";
    if (exponent < -3 || exponent > 15) {
        text += digits[0];
        if (digits.size() > 1)
            text += separator + digits.substr(1);
        return text + "E" + std::to_string(exponent - 1);
    }
    if (exponent <= 0)
        return text + "0" + separator + AnsiString(-exponent, '0') + digits;
    if (static_cast<int>(digits.size()) <= exponent)
        return text + digits + AnsiString(exponent - digits.size(), '0');
    return text + digits.substr(0, exponent) + separator + digits.substr(exponent);
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
    TextDecimalDigits(magnitude, 15, digits, exponent);
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

size_t CharLength(const AnsiString& s, size_t index)
{
    return (index + 1 < s.size() && IsLeadByte(s[index])) ? 2 : 1;
}

TMbcsByteType ByteType(const AnsiString& s, size_t index)
{
    size_t i = 0;
    while (i < s.size()) {
        size_t n = CharLength(s, i);
        if (index < i + n)
            return index == i ? (n == 2 ? mbLeadByte : mbSingleByte) : mbTrailByte;
        i += n;
    }
    return mbSingleByte;
}

bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, size_t index)
{
    return index < s.size() && ByteType(s, index) == mbSingleByte &&
           delimiters.find(s[index]) != AnsiString::npos;
}

size_t LastDelimiter(const AnsiString& delimiters, const AnsiString& s)
{
    size_t found = AnsiString::npos;
    for (size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (CharLength(s, i) == 1 && delimiters.find(s[i]) != AnsiString::npos)
            found = i;
    return found;
}

AnsiString LowerCase(const AnsiString& s)
{
    AnsiString result = s;
    for (size_t i = 0; i < result.size(); i += CharLength(result, i))
        if (result[i] >= 'A' && result[i] <= 'Z')
            result[i] = static_cast<char>(result[i] + 32);
    return result;
}

AnsiString UpperCase(const AnsiString& s)
{
    AnsiString result = s;
    for (size_t i = 0; i < result.size(); i += CharLength(result, i))
        result[i] = static_cast<char>(TextUpperAscii(TextByte(result, i)));
    return result;
}

AnsiString Trim(const AnsiString& s)
{
    return TrimLeft(TrimRight(s));
}

AnsiString TrimLeft(const AnsiString& s)
{
    size_t i = 0;
    while (i < s.size() && TextIsBlank(TextByte(s, i)))
        ++i;
    return s.substr(i);
}

AnsiString TrimRight(const AnsiString& s)
{
    // No lead or trail byte of a double-byte character is a blank.
    size_t end = s.size();
    while (end > 0 && TextIsBlank(TextByte(s, end - 1)))
        --end;
    return s.substr(0, end);
}

int CompareStr(const AnsiString& a, const AnsiString& b)
{
    return a.compare(b);
}

int CompareText(const AnsiString& a, const AnsiString& b)
{
    // While the texts agree, their characters start at the same indexes, so
    // one walk serves both; only single-byte characters are folded.
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; i += CharLength(a, i)) {
        if (CharLength(a, i) == 2) {
            for (size_t k = i; k < i + 2 && k < n; ++k)
                if (a[k] != b[k])
                    return TextByte(a, k) - TextByte(b, k);
            continue;
        }
        int x = TextUpperAscii(TextByte(a, i)), y = TextUpperAscii(TextByte(b, i));
        if (x != y)
            return x - y;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameText(const AnsiString& a, const AnsiString& b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
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

AnsiString ReplaceSingleByteChars(const AnsiString& s, const AnsiString& chars,
                                  const AnsiString& with)
{
    AnsiString result;
    result.reserve(s.size());
    for (size_t i = 0; i < s.size(); i += CharLength(s, i)) {
        if (CharLength(s, i) == 1 && chars.find(s[i]) != AnsiString::npos)
            result += with;
        else
            result.append(s, i, CharLength(s, i));
    }
    return result;
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

bool TryStrToInt(const AnsiString& s, int& value)
{
    std::int64_t wide;
    if (!TextParseInteger(s, 32, wide))
        return false;
    value = static_cast<int>(wide);
    return true;
}

bool TryStrToInt64(const AnsiString& s, std::int64_t& value)
{
    return TextParseInteger(s, 64, value);
}

int StrToInt(const AnsiString& s)
{
    int value;
    if (!TryStrToInt(s, value))
        TextRaiseNotInteger(s);
    return value;
}

int StrToIntDef(const AnsiString& s, int defaultValue)
{
    int value;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::int64_t StrToInt64(const AnsiString& s)
{
    std::int64_t value;
    if (!TryStrToInt64(s, value))
        TextRaiseNotInteger(s);
    return value;
}

std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue)
{
    std::int64_t value;
    return TryStrToInt64(s, value) ? value : defaultValue;
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

AnsiString FloatToText(double value, const AnsiString& decimalSeparator)
{
    return TextGeneral(value, 15, decimalSeparator);
}

AnsiString FloatToRoundTripText(double value, const AnsiString& decimalSeparator)
{
    AnsiString text;
    for (int significant = 15; significant <= 17; ++significant) {
        text = TextGeneral(value, significant, decimalSeparator);
        double back;
        if (TryTextToFloat(text, decimalSeparator, back) && back == value)
            break;
    }
    return text;
}

bool TryTextToFloat(const AnsiString& s, const AnsiString& decimalSeparator, double& value)
{
    AnsiString text = Trim(s), plain;
    size_t i = 0;
    auto digitsAt = [&] {
        size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            plain += text[i++];
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    size_t mantissaDigits = digitsAt();
    if (!decimalSeparator.empty() &&
        text.compare(i, decimalSeparator.size(), decimalSeparator) == 0) {
        i += decimalSeparator.size();
        plain += '.';
        mantissaDigits += digitsAt();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (digitsAt() == 0)
            return false;
    }
    if (i != text.size())
        return false;
    double parsed = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
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

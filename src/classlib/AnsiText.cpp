#include "AnsiText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

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

// CharLength without asking for the lead bytes of ASCII, which none is.
size_t TextCharLength(const AnsiString& s, size_t i)
{
    return TextByte(s, i) < 0x80 ? 1 : CharLength(s, i);
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
    DecimalDigits(std::fabs(value), significant, digits, exponent);
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

} // namespace

size_t CharLength(const AnsiString& s, size_t index)
{
    return (index + 1 < s.size() && IsLeadByte(s[index])) ? 2 : 1;
}

size_t CharCount(const AnsiString& s)
{
    size_t count = 0;
    for (size_t i = 0; i < s.size(); i += CharLength(s, i))
        ++count;
    return count;
}

AnsiString FirstChars(const AnsiString& s, size_t count)
{
    size_t end = 0;
    for (; end < s.size() && count > 0; --count)
        end += CharLength(s, end);
    return s.substr(0, end);
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

AnsiString ReplaceCutCharacters(const AnsiString& s, const AnsiString& with)
{
    AnsiString result;
    result.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (!IsLeadByte(s[i])) {
            result += s[i];
        } else if (i + 1 < s.size() && TextByte(s, i + 1) >= 0x40) {
            result.append(s, i, 2);
            ++i;
        } else {
            result += with;
        }
    }
    return result;
}

std::vector<AnsiString> SplitLines(const AnsiString& text)
{
    // CR and LF are below every trail byte, so a byte scan is safe here.
    std::vector<AnsiString> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == AnsiString::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

AnsiString LowerCase(const AnsiString& s)
{
    AnsiString result = s;
    for (size_t i = 0; i < result.size(); i += TextCharLength(result, i))
        if (result[i] >= 'A' && result[i] <= 'Z')
            result[i] = static_cast<char>(result[i] + 32);
    return result;
}

AnsiString UpperCase(const AnsiString& s)
{
    AnsiString result = s;
    for (size_t i = 0; i < result.size(); i += TextCharLength(result, i))
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

int StrToIntDef(const AnsiString& s, int defaultValue)
{
    int value;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue)
{
    std::int64_t value;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

std::optional<std::int64_t> DigitsValue(const AnsiString& text, std::int64_t ceiling)
{
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), ceiling);
    }
    return value;
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

void DecimalDigits(double value, int significant, AnsiString& digits, int& exponent)
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

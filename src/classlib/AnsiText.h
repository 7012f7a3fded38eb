// The text helpers of the class library that need nothing of the platform:
// character walking in the ANSI code page, casing, trimming, comparing, and
// numbers to and from text with a given decimal separator.
//
//   character walking   IsLeadByte, CharLength, CharCount, FirstChars,
//                       ByteType, IsDelimiter, LastDelimiter,
//                       ReplaceSingleByteChars, ReplaceCutCharacters
//   lines               SplitLines
//   casing, trimming    LowerCase, UpperCase (ASCII letters only), Trim...
//   comparing           CompareStr, CompareText, SameText
//   numbers             TryStrToInt..., StrToIntDef..., DigitsValue,
//                       FloatToText, FloatToRoundTripText, TryTextToFloat,
//                       DecimalDigits
//
// In code page 932 a character is one byte or a lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by a trail byte, and a trail byte may be 0x5C (the
// backslash) or an ASCII letter. So every helper here walks by character: a
// trail byte is never taken for a delimiter, never cased, never matched as
// the start of a searched text. A lead byte at the very end of a text (a cut
// character) counts as a character of its own.
//
// IsLeadByte asks the system which bytes lead in its ANSI code page; it is
// defined with the helpers that need the platform (TextUtils), and a native
// build that has no system supplies the table of code page 932. Everything
// else here builds natively, so that parsers of outside files can use it.
// TextUtils.h includes this header: callers include that one.
#pragma once

#include "StringTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

enum TMbcsByteType
{
    mbSingleByte,
    mbLeadByte,
    mbTrailByte
};

bool IsLeadByte(char c);
// The byte count (1 or 2) of the character starting at index.
size_t CharLength(const AnsiString& s, size_t index);
// The number of characters of s.
size_t CharCount(const AnsiString& s);
// The first count characters of s (all of s when it has fewer).
AnsiString FirstChars(const AnsiString& s, size_t count);
// What the byte at index is, found by walking from the start.
TMbcsByteType ByteType(const AnsiString& s, size_t index);
// Whether the byte at index is a single-byte character found in delimiters.
bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, size_t index);
// The index of the last single-byte character of s that is in delimiters,
// or npos.
size_t LastDelimiter(const AnsiString& delimiters, const AnsiString& s);
// s with every single-byte character found in chars replaced by with (""
// removes it); double-byte characters stay whole.
AnsiString ReplaceSingleByteChars(const AnsiString& s, const AnsiString& chars,
                                  const AnsiString& with);
// s with every lead byte that begins no whole character replaced by with:
// one at the very end, or one before a byte below 0x40 (no double-byte
// character ends in a control character, a blank, a digit or the
// punctuation there). Such bytes are what is left of a character cut in
// two; walked as above, each would take the byte after it along.
AnsiString ReplaceCutCharacters(const AnsiString& s, const AnsiString& with);

// The lines of a text, split at CR LF, CR or LF; a last line break makes no
// empty line, and an empty text has no lines.
std::vector<AnsiString> SplitLines(const AnsiString& text);

// ASCII letters only; double-byte characters stay as they are. Two texts
// are SameText exactly when their UpperCase forms are equal.
AnsiString LowerCase(const AnsiString& s);
AnsiString UpperCase(const AnsiString& s);
inline AnsiString AnsiLowerCase(const AnsiString& s)
{
    return LowerCase(s);
}
inline AnsiString AnsiUpperCase(const AnsiString& s)
{
    return UpperCase(s);
}

// Remove blanks and control characters (bytes up to 0x20) from the ends.
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

// Byte order; negative, zero or positive.
int CompareStr(const AnsiString& a, const AnsiString& b);
// Byte order with ASCII letters compared as upper case.
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// Integers: blanks around, an optional sign, then decimal digits, or
// hexadecimal after "$" or "0x". Without a sign, hexadecimal may use every
// bit ("$FFFFFFFF" is -1 as a 32-bit value); with a sign, and in decimal, the
// value must fit the signed range.
bool TryStrToInt(const AnsiString& s, int& value);
bool TryStrToInt64(const AnsiString& s, std::int64_t& value);
int StrToIntDef(const AnsiString& s, int defaultValue);
std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue);
// The number that text's decimal digits make, held at ceiling once it
// reaches it (ceiling from 0 to a tenth of the largest 64-bit number); none
// when text is empty or holds anything but the digits 0-9 (no blank, no
// sign).
std::optional<std::int64_t> DigitsValue(const AnsiString& text, std::int64_t ceiling);

// Floats in the general form: up to 15 significant digits, scientific
// ("1.5E20", "1E-5") below 0.0001 or from 1E15 on; "NAN", "INF", "-INF".
AnsiString FloatToText(double value, const AnsiString& decimalSeparator);
// The shortest general text that reads back as exactly value.
AnsiString FloatToRoundTripText(double value, const AnsiString& decimalSeparator);
// Blanks around, a sign, digits with at most one separator, and an optional
// exponent ("1.5e-3"); the result must be finite.
bool TryTextToFloat(const AnsiString& s, const AnsiString& decimalSeparator, double& value);
// The decimal digits of a finite value >= 0, rounded to significant digits:
// value = 0.digits x 10^exponent, without trailing zeros ("" for zero).
void DecimalDigits(double value, int significant, AnsiString& digits, int& exponent);

// Text helpers for AnsiString: character walking in the ANSI code page,
// casing, trimming, comparing, searching, and number conversions.
//
//   character walking   IsLeadByte, CharLength, ByteType, LastDelimiter
//   casing, trimming    LowerCase, UpperCase (ASCII letters only), Trim...
//   comparing           CompareStr, CompareText, SameText; the locale's
//                       AnsiCompareStr, AnsiCompareText
//   searching           AnsiFind, StringReplace, ReplaceSingleByteChars
//   numbers             IntToStr, IntToHex, StrToInt..., FloatToStr,
//                       StrToFloat..., FormatFloat, Format
//
// In code page 932 a character is one byte or a lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by a trail byte, and a trail byte may be 0x5C (the
// backslash) or an ASCII letter. So every helper here walks by character: a
// trail byte is never taken for a delimiter, never cased, never matched as
// the start of a searched text. The lead bytes are the system's for the ANSI
// code page. A lead byte at the very end of a text (a cut character) counts
// as a character of its own.
//
// Not here: wide-text helpers, scientific notation in FormatFloat.
#pragma once

#include "Types.h"

#include <cstdint>

// Macros of the system's shell helpers that would rename ours (a unit that
// includes the shell helpers' header after this one gets them back).
#ifdef StrToInt
#undef StrToInt
#endif
#ifdef StrToInt64
#undef StrToInt64
#endif

enum TMbcsByteType
{
    mbSingleByte,
    mbLeadByte,
    mbTrailByte
};

bool IsLeadByte(char c);
// The byte count (1 or 2) of the character starting at index.
size_t CharLength(const AnsiString& s, size_t index);
// What the byte at index is, found by walking from the start.
TMbcsByteType ByteType(const AnsiString& s, size_t index);
// Whether the byte at index is a single-byte character found in delimiters.
bool IsDelimiter(const AnsiString& delimiters, const AnsiString& s, size_t index);
// The index of the last single-byte character of s that is in delimiters,
// or npos.
size_t LastDelimiter(const AnsiString& delimiters, const AnsiString& s);

// ASCII letters only; double-byte characters stay as they are.
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
// The user locale's order (for lists shown to people).
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);

// The index of the first occurrence of sub that starts on a character at or
// after from and ends on one; npos when there is none (or sub is empty).
size_t AnsiFind(const AnsiString& s, const AnsiString& sub, size_t from = 0);
enum TReplaceFlag : unsigned
{
    rfReplaceAll = 1,
    rfIgnoreCase = 2
};
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern,
                         const AnsiString& newPattern, unsigned flags);
// s with every single-byte character found in chars replaced by with (""
// removes it); double-byte characters stay whole.
AnsiString ReplaceSingleByteChars(const AnsiString& s, const AnsiString& chars,
                                  const AnsiString& with);

AnsiString IntToStr(int value);
AnsiString IntToStr(std::int64_t value);
// Upper-case hexadecimal, at least digits long; a negative value shows its
// bit pattern (8 digits for an int, 16 for a 64-bit value).
AnsiString IntToHex(int value, int digits);
AnsiString IntToHex(std::int64_t value, int digits);

// Integers: blanks around, an optional sign, then decimal digits, or
// hexadecimal after "$" or "0x". Without a sign, hexadecimal may use every
// bit ("$FFFFFFFF" is -1 as a 32-bit value); with a sign, and in decimal, the
// value must fit the signed range. StrToInt raises EConvertError
// "'text' is not a valid integer value".
bool TryStrToInt(const AnsiString& s, int& value);
bool TryStrToInt64(const AnsiString& s, std::int64_t& value);
int StrToInt(const AnsiString& s);
int StrToIntDef(const AnsiString& s, int defaultValue);
std::int64_t StrToInt64(const AnsiString& s);
std::int64_t StrToInt64Def(const AnsiString& s, std::int64_t defaultValue);

// The user locale's separators (GetLocaleInfo), read once.
const AnsiString& DecimalSeparator();
const AnsiString& ThousandSeparator();

// Floats in the general form: up to 15 significant digits, scientific
// ("1.5E20", "1E-5") below 0.0001 or from 1E15 on; "NAN", "INF", "-INF".
// FloatToStr and StrToFloat use the locale's decimal separator; the Text
// forms take it as an argument (files use ".").
AnsiString FloatToStr(double value);
AnsiString FloatToText(double value, const AnsiString& decimalSeparator);
// The shortest general text that reads back as exactly value.
AnsiString FloatToRoundTripText(double value, const AnsiString& decimalSeparator);
// Blanks around, a sign, digits with at most one separator, and an optional
// exponent ("1.5e-3"); the result must be finite. StrToFloat raises
// EConvertError "'text' is not a valid floating point value".
bool TryTextToFloat(const AnsiString& s, const AnsiString& decimalSeparator, double& value);
bool TryStrToFloat(const AnsiString& s, double& value);
double StrToFloat(const AnsiString& s);
double StrToFloatDef(const AnsiString& s, double defaultValue);

// A number by a picture: "0" a digit always shown, "#" a digit shown when
// significant, "." the decimal separator, "," anywhere before it groups the
// integer digits by thousands; other text (bare or in quotes) goes before or
// after the number. Up to three sections "positive;negative;zero"; without a
// negative section a minus sign leads. Both separators are the locale's.
// Rounding is half away from zero on the decimal text of the value (15
// significant digits), as a person reads it: 0.125 with "0.00" gives "0.13",
// 1.005 gives "1.01", although their binary values lie just below.
AnsiString FormatFloat(const AnsiString& format, double value);

// printf into an AnsiString ("." as decimal point).
AnsiString Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

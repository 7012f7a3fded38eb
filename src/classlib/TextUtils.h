// Text helpers for AnsiString that need the platform, beside those of
// AnsiText.h (included here): the system's lead bytes, the locale's order
// and separators, searching, and number conversions that raise or use the
// locale.
//
//   comparing           the locale's AnsiCompareStr, AnsiCompareText
//   searching           AnsiFind, StringReplace
//   numbers             IntToStr, IntToHex, StrToInt..., FloatToStr,
//                       StrToFloat..., FormatFloat, Format
//
// Every helper walks by character, as AnsiText.h explains; the lead bytes
// are the system's for the ANSI code page.
//
// Not here: wide-text helpers, scientific notation in FormatFloat.
#pragma once

#include "AnsiText.h"
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

AnsiString IntToStr(int value);
AnsiString IntToStr(std::int64_t value);
// Upper-case hexadecimal, at least digits long; a negative value shows its
// bit pattern (8 digits for an int, 16 for a 64-bit value).
AnsiString IntToHex(int value, int digits);
AnsiString IntToHex(std::int64_t value, int digits);

// Integers in the grammar of TryStrToInt (AnsiText.h). StrToInt raises
// EConvertError "'text' is not a valid integer value".
int StrToInt(const AnsiString& s);
std::int64_t StrToInt64(const AnsiString& s);

// The user locale's separators (GetLocaleInfo), read once.
const AnsiString& DecimalSeparator();
const AnsiString& ThousandSeparator();

// Floats as FloatToText and TryTextToFloat (AnsiText.h) with the locale's
// decimal separator (files use the Text forms with "."). StrToFloat raises
// EConvertError "'text' is not a valid floating point value".
AnsiString FloatToStr(double value);
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

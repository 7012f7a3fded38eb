// ANSI text and wide (UTF-16) text: conversions in the ANSI code page.
//
// A character that the code page lacks becomes the system's best fit or
// "?"; callers that must know test the round trip.
#pragma once

#include "Types.h"

#include <string>

WideString AnsiToWide(const AnsiString& text);
AnsiString WideToAnsi(const WideString& text);
// The ANSI form of UTF-8 bytes, with no best fit: each character the code
// page lacks, and each byte of a malformed sequence, becomes unheld.
AnsiString AnsiFromUtf8(const std::string& bytes, char unheld);

// UTF-16 in the platform's wide string and in the portable one (the
// description stream and the UTF-7 codec work on the latter).
WideString WideFromUtf16(const std::u16string& text);
std::u16string Utf16FromWide(const WideString& text);

// The class library's two string models, apart from everything else so that
// units which include nothing of the platform can name them.
//
// AnsiString holds bytes of the ANSI code page (932 where the program runs): a
// lead byte may be followed by a trail byte that is 0x5C or an ASCII letter, so
// text is walked by character, never by byte, wherever that matters.
// WideString holds UTF-16 text.
#pragma once

#include <string>

using AnsiString = std::string;
using WideString = std::wstring;

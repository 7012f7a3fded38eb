// The lowest layer of the wide-text support: the platform flags, small
// wide-string routines, wide system calls, the wide command line, and the
// UTF-7 form of wide property values.
//
//   PlatformIsNT, PlatformIsXPOrLater   set by InitUniSysUtils; read by the
//                                       toolkit instead of asking the system
//   Wide...                             string routines on UTF-16 text
//   Platform...                         the system calls with wide text
//   EncodeUTF7, DecodeUTF7              UniUTF7's codec, raising on errors
//
// The program runs on NT-family systems only, so the system calls are the
// wide (W) ones throughout.
#pragma once

#include "classlib/Exceptions.h"

#include <windows.h>

ZANDREL_EXCEPTION(EUniGeneralError, Exception);
ZANDREL_EXCEPTION(EUniInternalError, Exception);

// Windows NT; version 5.1 or later. Tests may force the second.
extern bool PlatformIsNT;
extern bool PlatformIsXPOrLater;
// Reads the platform flags (the toolkit's start-up calls it first).
void InitUniSysUtils();

// --- Wide strings
// Copies at most maxLen characters of source, stopping at its terminator,
// and terminates dest (which holds maxLen + 1). Returns dest.
wchar_t* WideCopyBounded(wchar_t* dest, const wchar_t* source, size_t maxLen);
// The first c in the terminated text, or nullptr at the terminator.
const wchar_t* WideFindChar(const wchar_t* text, wchar_t c);
void WideMoveChars(wchar_t* dest, const wchar_t* source, size_t count);
WideString WideUpperCopy(const WideString& text);
// Equal once both are upper-cased.
bool WideSameText(const WideString& a, const WideString& b);
// The 1-based index of the last character of text found in delimiters, 0
// when none.
size_t WideLastSeparatorIndex(const WideString& delimiters, const WideString& text);
// What follows the last "\" or ":".
WideString WidePathTail(const WideString& path);
// The character has a form in the ANSI code page (no best fit).
bool CharFitsAnsi(wchar_t c);

// The full path of a module (0: the program), however long. Raises EOSError.
WideString WideModulePath(HMODULE module);
// Parameter index of the program's command line: 0 is the program's path,
// then as WideCommandLineArg counts them.
WideString WideCommandArg(int index);
// Parameter index (from 1) of a command line whose first token is the
// program: blanks (characters up to 32) separate parameters; a quote opens
// a run copied without its quotes up to the closing quote or the end; a
// parameter that starts with two quotes skips them. Past the last: empty.
WideString WideCommandLineArg(const wchar_t* commandLine, int index);

// --- Wide system calls
BOOL PlatformSetWindowText(HWND window, const WideString& text);
int PlatformDrawText(HDC dc, const wchar_t* text, int count, RECT* rect, UINT format);
DWORD PlatformModuleFileName(HMODULE module, wchar_t* buffer, DWORD size);
wchar_t PlatformCharUpper(wchar_t c);
wchar_t* PlatformCharUpper(wchar_t* text);
DWORD PlatformCharUpperBuff(wchar_t* buffer, DWORD length);

// --- UTF-7
AnsiString EncodeUTF7(const WideString& text);
// Raises EUniGeneralError "Invalid UTF7" for malformed text.
WideString DecodeUTF7(const AnsiString& text);

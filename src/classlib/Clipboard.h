// The system clipboard, for text.
//
//   TClipboard   open/close (nesting), format test, clearing, text
//   Clipboard()  the program's one clipboard object
//
// Text is ANSI text of code page 932; it is put on the clipboard both as
// CF_TEXT and as CF_UNICODETEXT, and read from CF_UNICODETEXT when another
// program left that, so that text from Unicode programs arrives intact.
#pragma once

#include "Exceptions.h"
#include "Object.h"

#include <windows.h>

ZANDREL_EXCEPTION(EClipboardException, Exception);

class TClipboard : public TPersistent
{
public:
    TClipboard();
    ~TClipboard() override;

    // Opens the clipboard for a series of calls; calls nest, and the last
    // Close closes it. Raises EClipboardException when another program
    // keeps it open.
    void Open();
    void Close();
    // Empties the clipboard.
    void Clear();
    bool HasFormat(UINT format) const;

    // The clipboard's text; empty when it holds none.
    AnsiString AsText();
    // Replaces the clipboard's contents with the text (within an Open/Close
    // pair, only the first call empties it).
    void SetAsText(const AnsiString& value);

private:
    HWND OwnerWindow();
    void EmptyOnce();
    void Put(UINT format, const void* data, size_t bytes);

    HWND FWindow = nullptr; // owned: a message-only window that owns what we put
    int FOpenCount = 0;     // nesting depth of Open
    bool FEmptied = false;  // the clipboard was emptied since it was opened
};

TClipboard* Clipboard();

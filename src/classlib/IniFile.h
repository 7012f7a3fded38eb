// INI files held in memory.
//
//   TIniFile     the whole file, read on creation, changed in memory and
//                written back in one piece by UpdateFile
//   TMemIniFile  the same class
//
// The file format, as the settings, toolbar-position and region-list files
// use it:
// - Lines are trimmed and may end in CR LF, CR or LF. "[name]" starts a
//   section (name trimmed); "key=value" splits at the first "=", both sides
//   trimmed; ";" starts a comment. Lines before the first section are kept
//   but never looked up.
// - Section and key names are compared without regard to ASCII case; the
//   first of two equal sections, or of two equal keys in a section, wins.
// - Values are raw bytes of the ANSI code page: no quotes are removed, no
//   escapes, no length limit. Strings lose their outer blanks when read.
// - A new key goes to the end of its section, a new section to the end of
//   the file. Comments, unknown lines, sections and keys survive a write.
// - UpdateFile writes CR LF lines with a blank line between sections into a
//   temporary file beside the target, then puts it in the target's place, so
//   a failed write leaves the old file whole; it raises EIniFileException.
//   A read-only file is not replaced (a failed write too).
// - A missing file reads as empty. A file that exists but cannot be read
//   raises EIniFileException on creation (writing over it would lose it).
//
// Nothing is written unless UpdateFile is called.
#pragma once

#include "Object.h"

#include <vector>

class TStrings;

class TIniFile : public TObject
{
public:
    explicit TIniFile(const AnsiString& FileName);

    const AnsiString& FileName() const { return FFileName; }

    // Default when the key is missing; a present empty value reads as "".
    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Default) const;
    // A sign and decimal digits, or "$"/"0x" hexadecimal; an empty value,
    // anything else, or a value beyond 32 bits gives Default.
    int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) const;
    // An integer as above, true when not 0.
    bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const;
    // "." decimals with an optional exponent; anything else, or a value that
    // is not finite, gives Default.
    double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) const;

    // A name or value that the file could not give back as written (a line
    // break anywhere, "=" in a key, a key that would read as a comment or
    // a section) raises EIniFileException and changes nothing.
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    // "1" or "0".
    void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // The shortest "." text that reads back as the same value ("1", "0.5").
    void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

    // Fill Strings (emptied first): the section's key names; every section's
    // name; the section's "key=value" lines with values as ReadString gives
    // them. Each name once, in file order.
    void ReadSection(const AnsiString& Section, TStrings* Strings) const;
    void ReadSections(TStrings* Strings) const;
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings) const;
    bool SectionExists(const AnsiString& Section) const;
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident) const;

    // Removes every section of that name, with its content.
    void EraseSection(const AnsiString& Section);
    // Removes the key (each copy of it) from the section.
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident);
    // Forgets all content, the lines before the first section included.
    void Clear();

    // Writes the content to FileName (see above).
    void UpdateFile();
    // The file's text as UpdateFile writes it.
    AnsiString FileText() const;

private:
    struct TIniLine
    {
        bool IsPair;      // key=value, or any other line kept as it was
        AnsiString Key;   // trimmed; empty unless IsPair
        AnsiString Value; // as written, or the whole line when not IsPair
    };
    struct TIniSection
    {
        AnsiString Name;
        std::vector<TIniLine> Lines;
    };

    void Load();
    void Parse(const AnsiString& text);
    int FindSection(const AnsiString& Section) const;
    int FindKey(const TIniSection& section, const AnsiString& Ident) const;
    const AnsiString* FindValue(const AnsiString& Section, const AnsiString& Ident) const;

    AnsiString FFileName;
    std::vector<AnsiString> FPreamble;  // lines before the first section, kept as they were
    std::vector<TIniSection> FSections; // in file order, duplicates kept
};

using TMemIniFile = TIniFile;

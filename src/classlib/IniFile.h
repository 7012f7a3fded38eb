// INI files held in memory.
//
//   TIniFile     the whole file, read on creation, changed in memory and
//                written back in one piece by UpdateFile
//   TMemIniFile  the same class
//
// The format and its rules are those of TIniContent (IniContent.h), which
// holds the content. Here:
// - A missing file reads as empty. A file that exists but cannot be read
//   raises EIniFileException on creation (writing over it would lose it).
// - A name or value that the file could not give back as written raises
//   EIniFileException and changes nothing.
// - UpdateFile writes the whole text through WriteFileReplacing (FilePaths):
//   a temporary file beside the target, then put in the target's place, so
//   a failed write leaves the old file whole; it raises EIniFileException.
//   A read-only file is not replaced (a failed write too).
//
// Nothing is written unless UpdateFile is called.
#pragma once

#include "IniContent.h"
#include "Object.h"

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

    // Raise EIniFileException where TIniContent refuses.
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
    AnsiString FileText() const { return FContent.Text(); }

    // The content itself, for readers and writers of a whole file.
    TIniContent& Content() { return FContent; }
    const TIniContent& Content() const { return FContent; }

private:
    void Load();

    AnsiString FFileName;
    TIniContent FContent;
};

using TMemIniFile = TIniFile;

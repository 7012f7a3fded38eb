// The content of an INI file held in memory, read from a byte source and
// given back as text, without the file system (TIniFile puts it on disk).
// It includes nothing of the platform, so that readers of outside INI files
// build natively for fuzzing.
//
// The format, as the settings, toolbar-position and region-list files use
// it:
// - Lines are trimmed and may end in CR LF, CR or LF. "[name]" starts a
//   section (name trimmed); "key=value" splits at the first "=", both sides
//   trimmed; ";" starts a comment. Lines before the first section are kept
//   but never looked up.
// - Section and key names are compared without regard to ASCII case; the
//   first of two equal sections, or of two equal keys in a section, wins.
// - Values are raw bytes of the ANSI code page: no quotes are removed, no
//   escapes, no length limit. Strings lose their outer blanks when read.
// - A new key goes to the end of its section, a new section to the end of
//   the file. Comments, unknown lines, sections and keys survive.
// - Text gives CR LF lines with a blank line between sections.
//
// Sections and keys are found through hash indexes, so a file of many
// thousands of sections reads and writes in time linear in its size.
#pragma once

#include "AnsiText.h"
#include "ByteSource.h"

#include <unordered_map>
#include <vector>

class TIniContent
{
public:
    // Replaces the content with the text of source; false, leaving the
    // content empty, when the source could not be read whole.
    bool Parse(TByteSource& source);
    void ParseText(const AnsiString& text);

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

    // Whether the file could give back the section, key and value as
    // written: no line break anywhere, no "=" in the key, no key that would
    // read as a comment or a section.
    static bool CanHold(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Value);
    // Each changes nothing and answers false when CanHold refuses.
    [[nodiscard]] bool WriteString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Value);
    [[nodiscard]] bool WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    // "1" or "0".
    [[nodiscard]] bool WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // The shortest "." text that reads back as the same value ("1", "0.5").
    [[nodiscard]] bool WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

    // The section's key names; every section's name. Each name once, in
    // file order.
    std::vector<AnsiString> KeyNames(const AnsiString& Section) const;
    std::vector<AnsiString> SectionNames() const;
    bool SectionExists(const AnsiString& Section) const;
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident) const;

    // Removes every section of that name, with its content.
    void EraseSection(const AnsiString& Section);
    // Removes the key (each copy of it) from the section.
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident);
    // Removes every key named (each copy of each) from the section, in one
    // pass over it however many they are.
    void DeleteKeys(const AnsiString& Section, const std::vector<AnsiString>& Idents);
    // Forgets all content, the lines before the first section included.
    void Clear();

    // The content as a file holds it.
    AnsiString Text() const;

private:
    struct TIniLine
    {
        bool IsPair;      // key=value, or any other line kept as it was
        AnsiString Key;   // trimmed; empty unless IsPair
        AnsiString Value; // as written, or the whole line when not IsPair
    };
    // Names in the indexes are folded to upper case (AnsiText's UpperCase):
    // two names are the same exactly when their folded forms are equal.
    using TNameIndex = std::unordered_map<AnsiString, size_t>;
    struct TIniSection
    {
        AnsiString Name;
        std::vector<TIniLine> Lines;
        TNameIndex Keys; // folded key -> its first pair in Lines
    };

    TIniSection* FindSection(const AnsiString& Section);
    const TIniSection* FindSection(const AnsiString& Section) const;
    const AnsiString* FindValue(const AnsiString& Section, const AnsiString& Ident) const;
    static bool CanHoldSection(const AnsiString& Section);
    static bool CanHoldPair(const AnsiString& Ident, const AnsiString& Value);
    TIniSection& AddSection(const AnsiString& name);
    static void AddPair(TIniSection& section, AnsiString key, AnsiString value);
    static void IndexKeys(TIniSection& section);
    void IndexSections();

    std::vector<AnsiString> FPreamble;  // lines before the first section, kept as they were
    std::vector<TIniSection> FSections; // in file order, duplicates kept
    TNameIndex FSectionIndex;           // folded name -> its first section
};

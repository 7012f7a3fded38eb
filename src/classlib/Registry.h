// The system registry.
//
//   TRegistry  one open key under a root key: open, create, test and delete
//              keys; read and write string, integer and boolean values
//
// Key paths starting with "\" count from the root key; others from the key
// that is open (or the root when none is). A missing string value reads as
// ""; a missing integer, a value of another type, and any failed write raise
// ERegistryException naming the value. The name "" is the key's default
// value.
#pragma once

#include "Object.h"

#include <windows.h>

class TStrings;

class TRegistry : public TObject
{
public:
    // HKEY_CURRENT_USER, opened with full access.
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(REGSAM AAccess);
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY value);
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM value) { FAccess = value; }
    // The open key (nullptr when none) and its path from the root.
    HKEY CurrentKey() const { return FCurrentKey; }
    const AnsiString& CurrentPath() const { return FCurrentPath; }

    // Opens Key with Access, making it when CanCreate; false when it cannot.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const AnsiString& Key);
    void CloseKey();
    // Makes Key (and the keys above it) without opening it.
    bool CreateKey(const AnsiString& Key);
    bool KeyExists(const AnsiString& Key);
    // Deletes Key with every key below it.
    bool DeleteKey(const AnsiString& Key);

    bool ValueExists(const AnsiString& Name);
    bool DeleteValue(const AnsiString& Name);
    AnsiString ReadString(const AnsiString& Name);
    int ReadInteger(const AnsiString& Name);
    bool ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    void WriteInteger(const AnsiString& Name, int Value);
    void WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

    // Fill Strings (emptied first) with the names of the open key's subkeys
    // or values.
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);

private:
    // The key a relative path starts from, and the path without its
    // leading and trailing "\".
    HKEY BaseKey(const AnsiString& Key) const;
    static AnsiString RelativePath(const AnsiString& Key);
    HKEY ValueKey() const { return FCurrentKey ? FCurrentKey : FRootKey; }
    bool OpenWith(const AnsiString& Key, REGSAM access, bool create);

    HKEY FRootKey = HKEY_CURRENT_USER; // a predefined key, never closed
    HKEY FCurrentKey = nullptr;        // owned; the open key
    AnsiString FCurrentPath;           // from the root, without leading "\"
    REGSAM FAccess = KEY_ALL_ACCESS;
};

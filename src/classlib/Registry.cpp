#include "Registry.h"

#include "Exceptions.h"
#include "FilePaths.h"
#include "StringList.h"

#include <vector>

namespace {

[[noreturn]] void RegistryRaise(const char* what, const AnsiString& name)
{
    throw ERegistryException(AnsiString(what) + " '" + name + "'");
}

// Deletes key below parent with all its subkeys.
bool RegistryDeleteTree(HKEY parent, const AnsiString& key)
{
    HKEY handle;
    if (RegOpenKeyExA(parent, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return false;
    for (;;) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!RegistryDeleteTree(handle, name))
            break;
    }
    RegCloseKey(handle);
    return RegDeleteKeyA(parent, key.c_str()) == ERROR_SUCCESS;
}

} // namespace

TRegistry::TRegistry(REGSAM AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY value)
{
    CloseKey();
    FRootKey = value;
}

AnsiString TRegistry::RelativePath(const AnsiString& Key)
{
    AnsiString path = ExcludeTrailingBackslash(Key);
    return (!path.empty() && path[0] == '\\') ? path.substr(1) : path;
}

HKEY TRegistry::BaseKey(const AnsiString& Key) const
{
    bool absolute = !Key.empty() && Key[0] == '\\';
    return (absolute || !FCurrentKey) ? FRootKey : FCurrentKey;
}

bool TRegistry::OpenWith(const AnsiString& Key, REGSAM access, bool create)
{
    AnsiString relative = RelativePath(Key);
    HKEY base = BaseKey(Key);
    HKEY opened = nullptr;
    LONG result = create ? RegCreateKeyExA(base, relative.c_str(), 0, nullptr, 0, access, nullptr,
                                           &opened, nullptr)
                         : RegOpenKeyExA(base, relative.c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return false;
    AnsiString path = (base == FRootKey || FCurrentPath.empty())
                          ? relative
                          : FCurrentPath + (relative.empty() ? "" : "\\" + relative);
    CloseKey();
    FCurrentKey = opened;
    FCurrentPath = path;
    return true;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate)
{
    return OpenWith(Key, FAccess, CanCreate);
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key)
{
    return OpenWith(Key, KEY_READ, false);
}

void TRegistry::CloseKey()
{
    if (FCurrentKey)
        RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

bool TRegistry::CreateKey(const AnsiString& Key)
{
    HKEY made;
    if (RegCreateKeyExA(BaseKey(Key), RelativePath(Key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &made, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(made);
    return true;
}

bool TRegistry::KeyExists(const AnsiString& Key)
{
    HKEY found;
    if (RegOpenKeyExA(BaseKey(Key), RelativePath(Key).c_str(), 0, KEY_READ, &found) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(found);
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key)
{
    AnsiString relative = RelativePath(Key);
    return !relative.empty() && RegistryDeleteTree(BaseKey(Key), relative);
}

bool TRegistry::ValueExists(const AnsiString& Name)
{
    return RegQueryValueExA(ValueKey(), Name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const AnsiString& Name)
{
    return RegDeleteValueA(ValueKey(), Name.c_str()) == ERROR_SUCCESS;
}

AnsiString TRegistry::ReadString(const AnsiString& Name)
{
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExA(ValueKey(), Name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return AnsiString();
    if (result != ERROR_SUCCESS)
        RegistryRaise("Failed to get data for", Name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RegistryRaise("Invalid data type for", Name);
    std::vector<BYTE> data(size + 1);
    DWORD got = size;
    if (RegQueryValueExA(ValueKey(), Name.c_str(), nullptr, &type, data.data(), &got) !=
        ERROR_SUCCESS)
        RegistryRaise("Failed to get data for", Name);
    AnsiString value(reinterpret_cast<const char*>(data.data()), got);
    while (!value.empty() && value.back() == '\0')
        value.pop_back();
    return value;
}

int TRegistry::ReadInteger(const AnsiString& Name)
{
    DWORD type = 0, value = 0, size = sizeof value;
    LONG result = RegQueryValueExA(ValueKey(), Name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
    if (result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value)
        return static_cast<int>(value);
    if (result == ERROR_FILE_NOT_FOUND)
        RegistryRaise("Failed to get data for", Name);
    RegistryRaise("Invalid data type for", Name);
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value)
{
    if (RegSetValueExA(ValueKey(), Name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(Value.c_str()),
                       static_cast<DWORD>(Value.size() + 1)) != ERROR_SUCCESS)
        RegistryRaise("Failed to set data for", Name);
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value)
{
    DWORD data = static_cast<DWORD>(Value);
    if (RegSetValueExA(ValueKey(), Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof data) != ERROR_SUCCESS)
        RegistryRaise("Failed to set data for", Name);
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
    TStringsUpdate update(Strings);
    Strings->Clear();
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(ValueKey(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        Strings->Add(AnsiString(name, length));
    }
}

void TRegistry::GetValueNames(TStrings* Strings)
{
    TStringsUpdate update(Strings);
    Strings->Clear();
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(ValueKey(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        Strings->Add(AnsiString(name, length));
    }
}

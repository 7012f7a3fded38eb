// A fresh folder under the system's temporary path for one test; it and
// everything in it are deleted when the object goes.
#pragma once

#include "classlib/Types.h"

#include <vector>

namespace testing_support {

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const AnsiString& Path() const { return FPath; }
    // Path() + name.
    AnsiString operator/(const AnsiString& name) const { return FPath + name; }
    AnsiString File(const AnsiString& name) const { return FPath + name; }

    // Writes bytes into a file of the folder (replacing it) and reads a
    // file back whole; reading a missing file fails the test and gives "".
    void WriteFile(const AnsiString& name, const AnsiString& bytes) const;
    AnsiString ReadFile(const AnsiString& name) const;

private:
    AnsiString FPath; // with trailing backslash
};

// The names in a folder (given with a trailing backslash), "." and ".."
// left out, in the system's order.
std::vector<AnsiString> FileNamesIn(const AnsiString& folder);

// Reads and writes whole files by full path.
void WriteWholeFile(const AnsiString& path, const AnsiString& bytes);
AnsiString ReadWholeFile(const AnsiString& path);

} // namespace testing_support

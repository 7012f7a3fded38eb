// TFileMapping: a file on disk mapped read-only into memory, one window of
// it at a time, for reading large files without copying them.
//
// While any window of a file is mapped, the system refuses to shorten it
// (SetEndOfFile fails), so bytes once shown stay readable; a new window is
// mapped before the old one goes, so from the first View until the mapping
// is freed the file cannot shrink under its reader. Others may still read
// and write it meanwhile, but not delete it.
#pragma once

#include "Types.h"

#include <cstddef>
#include <cstdint>
#include <windows.h>

class TFileMapping
{
public:
    // Windows are at least windowBytes long (tests make them short).
    explicit TFileMapping(const AnsiString& path, std::size_t windowBytes = 32u << 20);
    ~TFileMapping();
    TFileMapping(const TFileMapping&) = delete;
    TFileMapping& operator=(const TFileMapping&) = delete;

    // False when the file could not be opened or mapped (an empty file
    // cannot be); every View then returns null.
    bool IsOpen() const { return FSection != nullptr; }
    // The file's size when it was mapped, in bytes.
    std::uint64_t Size() const { return FSize; }

    // The count bytes at offset as memory, readable until the next View or
    // the end of the mapping; null when they do not all lie in the file or
    // cannot be mapped (the window before stays), and for no bytes.
    const void* View(std::uint64_t offset, std::size_t count);

private:
    bool InWindow(std::uint64_t offset, std::size_t count) const;

    std::size_t FWindowBytes;              // the shortest window, bytes
    HANDLE FFile = INVALID_HANDLE_VALUE;   // owned
    HANDLE FSection = nullptr;             // owned: the mapping of the whole file
    std::uint64_t FSize = 0;               // bytes
    const std::uint8_t* FWindow = nullptr; // owned view of the file, or null
    std::uint64_t FWindowOffset = 0;       // where the view starts in the file, bytes
    std::size_t FWindowSize = 0;           // bytes
};

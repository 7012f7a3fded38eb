// TFileMapping: a file on disk mapped read-only into memory, one window of
// it at a time, for reading large files without copying them.
//
// While any window of a file is mapped, the system refuses to shorten it
// (SetEndOfFile fails); a new window is mapped before the old one goes, so
// from the first View until the mapping is freed no program of the system
// can cut the file under its reader. Others may still read and write it
// meanwhile, but not delete it. What the system does not govern can still
// take the bytes away: under Wine a Linux program cutting the file, under
// Windows a network or removable drive going away. A read of a view then
// faults instead of returning; ReadGuarded turns that fault into a failed
// read.
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

    // Runs read(context), which reads views of this mapping, and returns
    // whether it ran to its end: false when one of its reads of the current
    // window faulted because the bytes are gone (see above). read is then
    // abandoned where it faulted, without unwinding: it must hold nothing
    // that needs destroying (plain values, pointers and references only) and
    // must not change the window; what it wrote until then stays. A C++
    // exception it raises passes through. Reading anything but the current
    // window, or faulting on another thread, is not caught.
    bool ReadGuarded(void (*read)(void* context), void* context) const;
    // Whether address lies in the current window.
    bool WindowHolds(const void* address) const;

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

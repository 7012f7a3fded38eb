// Byte sources: read-only access to the bytes of a file or of memory, by
// offset.
//
//   TByteSource        the interface: Size and ReadAt
//   TMemoryByteSource  a view of bytes in memory (not owned)
//   ReadWholeSource    every byte of a source
//
// Parsers of files that come from outside (WAV headers, draw caches) read
// through this interface, so that they build and run without Windows too
// (the fuzzing build is native). The file adapter lives in FileByteSource.
// This header includes nothing of the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TByteSource
{
public:
    virtual ~TByteSource() = default;

    // The number of bytes in the source.
    virtual std::uint64_t Size() const = 0;
    // Reads up to count bytes at offset into buffer and returns how many it
    // read: fewer than count only at the end of the source (0 at or beyond
    // it) or when the underlying read fails.
    virtual std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;

    // True when all count bytes at offset could be read.
    bool ReadExact(std::uint64_t offset, void* buffer, std::size_t count)
    {
        return ReadAt(offset, buffer, count) == count;
    }
};

class TMemoryByteSource : public TByteSource
{
public:
    TMemoryByteSource(const void* data, std::size_t size)
        : FData(static_cast<const std::uint8_t*>(data)), FSize(size)
    {
    }

    std::uint64_t Size() const override { return FSize; }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override;

private:
    const std::uint8_t* FData; // not owned; outlives the source
    std::size_t FSize;         // bytes at FData
};

// Every byte of source into bytes; false, leaving bytes empty, when the
// source could not be read whole.
bool ReadWholeSource(TByteSource& source, std::string& bytes);

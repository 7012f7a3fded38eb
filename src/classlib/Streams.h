// Byte streams.
//
//   TStream        the abstract stream: Read, Write, Seek, Position, Size, and
//                  the whole-buffer forms that raise on short transfers
//   THandleStream  a stream over a system file handle it does not own
//   TFileStream    a file opened or created by name, with open and share modes
//   TMemoryStream  a growable block of memory; loads and saves whole files
//
// Positions and sizes are 64-bit, so files beyond 2 GiB work in the 32-bit
// program. Single transfers are limited to 32-bit counts.
#pragma once

#include "Object.h"

#include <cstdint>
#include <vector>
#include <windows.h>

enum TSeekOrigin
{
    soFromBeginning = 0,
    soFromCurrent = 1,
    soFromEnd = 2
};

// TFileStream modes: one open mode, or fmCreate, combined with one share mode.
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmCreate = 0xFF00; // create or truncate, for reading and writing
// Share modes: what others may do with the file while it is open.
constexpr unsigned fmShareCompat = 0x0000;    // as exclusive
constexpr unsigned fmShareExclusive = 0x0010; // nothing
constexpr unsigned fmShareDenyWrite = 0x0020; // read only
constexpr unsigned fmShareDenyRead = 0x0030;  // write only
constexpr unsigned fmShareDenyNone = 0x0040;  // read and write

class TStream : public TObject
{
public:
    // Transfers up to Count bytes at the position and advances it; returns the
    // number transferred (0 at the end, or on failure).
    virtual std::int32_t Read(void* Buffer, std::int32_t Count) = 0;
    virtual std::int32_t Write(const void* Buffer, std::int32_t Count) = 0;
    // Moves the position and returns the new one.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(std::int64_t value) { Seek(value, soFromBeginning); }
    virtual std::int64_t Size();
    // Cuts or extends the stream; the position stays unless it lay beyond
    // the new end.
    virtual void SetSize(std::int64_t NewSize) = 0;

    // Transfer exactly Count bytes, or raise EReadError / EWriteError.
    void ReadBuffer(void* Buffer, std::int32_t Count);
    void WriteBuffer(const void* Buffer, std::int32_t Count);
    // Copies Count bytes from Source's position; Count 0 copies the whole of
    // Source from its beginning. Returns the bytes copied.
    std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

// A stream over a handle owned by someone else.
class THandleStream : public TStream
{
public:
    explicit THandleStream(HANDLE AHandle) : FHandle(AHandle) {}

    std::int32_t Read(void* Buffer, std::int32_t Count) override;
    std::int32_t Write(const void* Buffer, std::int32_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;

    HANDLE Handle() const { return FHandle; }

protected:
    HANDLE FHandle = INVALID_HANDLE_VALUE; // not owned here; TFileStream owns its own
};

// A named file. Raises EFCreateError or EFOpenError, naming the file and the
// system's reason, when it cannot be created or opened.
class TFileStream : public THandleStream
{
public:
    TFileStream(const AnsiString& FileName, unsigned Mode);
    ~TFileStream() override;

    const AnsiString& FileName() const { return FFileName; }

private:
    AnsiString FFileName;
};

class TMemoryStream : public TStream
{
public:
    std::int32_t Read(void* Buffer, std::int32_t Count) override;
    std::int32_t Write(const void* Buffer, std::int32_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    // New bytes are zero.
    void SetSize(std::int64_t NewSize) override;

    // The bytes; valid until the size changes.
    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    // Empties the stream.
    void Clear();

    // Replace the content with the whole of Source or of the file; the
    // position is 0 afterwards.
    void LoadFromStream(TStream* Source);
    void LoadFromFile(const AnsiString& FileName);
    // Write the whole content, whatever the position.
    void SaveToStream(TStream* Dest);
    void SaveToFile(const AnsiString& FileName);

private:
    std::vector<unsigned char> FData; // the content; its size is the stream's size
    std::int64_t FPosition = 0;       // bytes from the start; may lie beyond the end
};

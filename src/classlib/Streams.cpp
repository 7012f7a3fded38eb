#include "Streams.h"

#include "Exceptions.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::int32_t kCopyChunk = 256 * 1024;

// The system's sharing flags for the share part of a TFileStream mode.
DWORD StreamShareFlags(unsigned mode)
{
    switch (mode & 0x00F0) {
    case fmShareDenyWrite:
        return FILE_SHARE_READ;
    case fmShareDenyRead:
        return FILE_SHARE_WRITE;
    case fmShareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0; // compatible and exclusive
    }
}

DWORD StreamAccessFlags(unsigned mode)
{
    switch (mode & 0x0003) {
    case fmOpenWrite:
        return GENERIC_WRITE;
    case fmOpenReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

[[noreturn]] void StreamRaiseBadPosition(std::int64_t position)
{
    throw EStreamError("Invalid stream position " + std::to_string(position));
}

} // namespace

std::int64_t TStream::Size()
{
    std::int64_t here = Seek(0, soFromCurrent);
    std::int64_t end = Seek(0, soFromEnd);
    Seek(here, soFromBeginning);
    return end;
}

void TStream::ReadBuffer(void* Buffer, std::int32_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int32_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    std::vector<unsigned char> buffer(
        static_cast<size_t>(std::min<std::int64_t>(std::max<std::int64_t>(Count, 1), kCopyChunk)));
    std::int64_t left = Count;
    while (left > 0) {
        auto n = static_cast<std::int32_t>(std::min<std::int64_t>(left, kCopyChunk));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return Count;
}

std::int32_t THandleStream::Read(void* Buffer, std::int32_t Count)
{
    DWORD done = 0;
    if (Count <= 0 || !ReadFile(FHandle, Buffer, static_cast<DWORD>(Count), &done, nullptr))
        return 0;
    return static_cast<std::int32_t>(done);
}

std::int32_t THandleStream::Write(const void* Buffer, std::int32_t Count)
{
    DWORD done = 0;
    if (Count <= 0 || !WriteFile(FHandle, Buffer, static_cast<DWORD>(Count), &done, nullptr))
        return 0;
    return static_cast<std::int32_t>(done);
}

std::int64_t THandleStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, result;
    distance.QuadPart = Offset;
    if (!SetFilePointerEx(FHandle, distance, &result, methods[Origin]))
        throw EStreamError("Stream seek error: " + SysErrorMessage(GetLastError()));
    return result.QuadPart;
}

void THandleStream::SetSize(std::int64_t NewSize)
{
    std::int64_t here = Position();
    SetPosition(NewSize);
    if (!SetEndOfFile(FHandle)) {
        DWORD error = GetLastError();
        SetPosition(here);
        throw EWriteError("Cannot change the stream size: " + SysErrorMessage(error));
    }
    SetPosition(std::min(here, NewSize));
}

TFileStream::TFileStream(const AnsiString& FileName, unsigned Mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(FileName)
{
    bool create = (Mode & fmCreate) == fmCreate;
    DWORD access = create ? GENERIC_READ | GENERIC_WRITE : StreamAccessFlags(Mode);
    FHandle = CreateFileA(FileName.c_str(), access, StreamShareFlags(Mode), nullptr,
                          create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        AnsiString reason = SysErrorMessage(GetLastError());
        if (create)
            throw EFCreateError("Cannot create file \"" + FileName + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + reason);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle != INVALID_HANDLE_VALUE)
        CloseHandle(FHandle);
}

std::int32_t TMemoryStream::Read(void* Buffer, std::int32_t Count)
{
    std::int64_t available = Size() - FPosition;
    if (Count <= 0 || available <= 0)
        return 0;
    auto n = static_cast<std::int32_t>(std::min<std::int64_t>(Count, available));
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

std::int32_t TMemoryStream::Write(const void* Buffer, std::int32_t Count)
{
    if (Count <= 0)
        return 0;
    std::int64_t end = FPosition + Count;
    if (end > Size())
        SetSize(end);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t base = Origin == soFromBeginning ? 0
                        : Origin == soFromCurrent ? FPosition
                                                  : Size();
    std::int64_t target = base + Offset;
    if (target < 0)
        StreamRaiseBadPosition(target);
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0)
        StreamRaiseBadPosition(NewSize);
    if (static_cast<std::uint64_t>(NewSize) > FData.max_size())
        throw EOutOfMemory("Out of memory while expanding memory stream");
    try {
        FData.resize(static_cast<size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Out of memory while expanding memory stream");
    }
    FPosition = std::min(FPosition, NewSize);
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Source)
{
    Source->SetPosition(0);
    std::int64_t size = Source->Size();
    SetSize(size);
    FPosition = 0;
    std::int64_t done = 0;
    while (done < size) {
        auto n = static_cast<std::int32_t>(std::min<std::int64_t>(size - done, 1 << 30));
        Source->ReadBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream* Dest)
{
    std::int64_t size = Size();
    std::int64_t done = 0;
    while (done < size) {
        auto n = static_cast<std::int32_t>(std::min<std::int64_t>(size - done, 1 << 30));
        Dest->WriteBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::SaveToFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

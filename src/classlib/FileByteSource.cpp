#include "FileByteSource.h"

#include "DateTime.h"
#include "Exceptions.h"

#include <algorithm>

TFileByteSource::TFileByteSource(const AnsiString& path, DWORD shareMode)
{
    FHandle = CreateFileA(path.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
}

TFileByteSource::~TFileByteSource()
{
    if (IsOpen())
        CloseHandle(FHandle);
}

std::uint64_t TFileByteSource::Size() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(FHandle, &size))
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t TFileByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count)
{
    if (!IsOpen())
        return 0;
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at = {};
        std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(FHandle, out + done, want, &got, &at) || got == 0)
            break;
        done += got;
    }
    return done;
}

TDateTime TFileByteSource::LastWriteTime() const
{
    FILETIME written;
    if (!IsOpen() || !GetFileTime(FHandle, nullptr, nullptr, &written))
        return 0;
    try {
        return FileTimeToDateTime(written);
    } catch (const EConvertError&) {
        return 0; // a time the system cannot convert counts as unknown
    }
}

#include "FileMapping.h"

#include <algorithm>

namespace {

std::uint64_t MappingGranularity()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwAllocationGranularity;
}

} // namespace

// Windows of 32 MiB by default: few enough to keep the address space of a
// 32-bit process free, many enough that mapping costs nothing beside
// reading.
TFileMapping::TFileMapping(const AnsiString& path, std::size_t windowBytes)
    : FWindowBytes(windowBytes)
{
    FFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (FFile == INVALID_HANDLE_VALUE || !GetFileSizeEx(FFile, &size) || size.QuadPart <= 0)
        return;
    FSection = CreateFileMappingA(FFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (FSection)
        FSize = static_cast<std::uint64_t>(size.QuadPart);
}

TFileMapping::~TFileMapping()
{
    if (FWindow)
        UnmapViewOfFile(FWindow);
    if (FSection)
        CloseHandle(FSection);
    if (FFile != INVALID_HANDLE_VALUE)
        CloseHandle(FFile);
}

bool TFileMapping::InWindow(std::uint64_t offset, std::size_t count) const
{
    return FWindow && offset >= FWindowOffset && offset - FWindowOffset + count <= FWindowSize;
}

const void* TFileMapping::View(std::uint64_t offset, std::size_t count)
{
    if (!IsOpen() || count == 0 || offset > FSize || count > FSize - offset)
        return nullptr;
    if (!InWindow(offset, count)) {
        const std::uint64_t start = offset - offset % MappingGranularity();
        const std::uint64_t size = std::min<std::uint64_t>(
            std::max<std::uint64_t>(offset - start + count, FWindowBytes), FSize - start);
        void* window = MapViewOfFile(FSection, FILE_MAP_READ, static_cast<DWORD>(start >> 32),
                                     static_cast<DWORD>(start), static_cast<SIZE_T>(size));
        if (!window)
            return nullptr;
        // The old window goes only now: with none mapped, the file could be
        // shortened in between.
        if (FWindow)
            UnmapViewOfFile(FWindow);
        FWindow = static_cast<const std::uint8_t*>(window);
        FWindowOffset = start;
        FWindowSize = static_cast<std::size_t>(size);
    }
    return FWindow + (offset - FWindowOffset);
}

#include "ByteSource.h"

#include <cstring>

std::size_t TMemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count)
{
    if (offset >= FSize)
        return 0;
    std::size_t available = static_cast<std::size_t>(FSize - offset);
    std::size_t n = count < available ? count : available;
    if (n > 0)
        std::memcpy(buffer, FData + offset, n);
    return n;
}

#include "ByteSource.h"

#include <cstring>
#include <limits>

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

bool ReadWholeSource(TByteSource& source, std::string& bytes)
{
    bytes.clear();
    const std::uint64_t size = source.Size();
    if (size > std::numeric_limits<std::size_t>::max() / 2)
        return false;
    bytes.resize(static_cast<std::size_t>(size));
    if (source.ReadExact(0, bytes.data(), bytes.size()))
        return true;
    bytes.clear();
    return false;
}

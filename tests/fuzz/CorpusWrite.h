// What every corpus maker of the fuzz targets shares: writing one starting
// input into the corpus folder. Portable (no Windows).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Writes bytes as folder/name; false when the file cannot be written whole.
inline bool CorpusWrite(const std::string& folder, const std::string& name,
                        const std::vector<std::uint8_t>& bytes)
{
    std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

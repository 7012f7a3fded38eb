// What every corpus maker of the fuzz targets shares: the folders it writes
// into and writing one input there. Portable (no Windows).
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

// Writes the bytes of text as folder/name.
inline bool CorpusWriteText(const std::string& folder, const std::string& name,
                            const std::string& text)
{
    return CorpusWrite(folder, name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// The folder named by a maker's first argument; empty, after saying how to
// call the maker, when there is none.
inline std::string CorpusFolder(int argc, char** argv)
{
    if (argc < 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return {};
    }
    return argv[1];
}

// The folder named by a maker's second argument, for inputs that are only
// replayed before the fuzzing, each once, as the kept regressions are (an
// input too large to mutate quickly); empty when there is none.
inline std::string CorpusReplayFolder(int argc, char** argv)
{
    return argc >= 3 ? argv[2] : std::string();
}

// Writes the starting inputs of the track-file fuzz target into the folder
// named by the first argument: track files of several lengths, each also cut
// short, and the head of a WAV file.
#include "CorpusWrite.h"

#include "support/CdaBytes.h"

#include <cstdio>
#include <string>
#include <vector>

using testing_support::CdaBytes;

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    std::vector<std::uint8_t> wav = CdaBytes(1, 0, 750);
    const char* wavHead = "RIFF\x24\0\0\0WAVEfmt ";
    for (int i = 0; i < 16; ++i)
        wav[i] = static_cast<std::uint8_t>(wavHead[i]);
    const std::pair<std::string, std::vector<std::uint8_t>> inputs[] = {
        {"track1", CdaBytes(1, 0, 75 * 245)},
        {"short-track", CdaBytes(2, 18375, 74)},
        {"long-track", CdaBytes(3, 100, 0x7FFFFFFF)},
        {"negative", CdaBytes(4, 100, 0x80000000u)},
        {"wav-head", wav},
    };
    for (const auto& [name, bytes] : inputs) {
        bool ok = CorpusWrite(folder, name, bytes);
        for (std::size_t cut : {std::size_t{12}, std::size_t{35}, std::size_t{36}}) {
            std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + cut);
            ok = CorpusWrite(folder, name + "-cut" + std::to_string(cut), part) && ok;
        }
        if (!ok) {
            std::fprintf(stderr, "cannot write inputs into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

// Writes the starting inputs of the WAV header fuzz target into the folder named
// by the first argument: the canonical header and the shapes real files take
// (18-byte and extensible format chunks, chunks before the format, many
// chunks, odd sizes with and without their pad bytes), each also cut short.
#include "CorpusWrite.h"

#include "support/WavBytes.h"

#include <cstdio>
#include <string>

using namespace testing_support;

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    auto stereo = [] { return WavBuilder().Pcm16(2, 44100, FrameIndexSamples(16, 2)); };
    WavBuilder twelve = stereo();
    for (int i = 0; i < 12; ++i)
        twelve.ChunkAfterFmt("pad ", 2);
    const std::pair<std::string, Bytes> inputs[] = {
        {"canonical", stereo().Bytes()},
        {"mono8", WavBuilder().Pcm(1, 8000, 8, Bytes(32, 128)).Bytes()},
        {"fmt18", stereo().FmtExtraBytes(0).Bytes()},
        {"junk-before-fmt", stereo().ChunkBeforeFmt("JUNK", 28).Bytes()},
        {"list-after-fmt", stereo().ChunkAfterFmt("LIST", 26).Bytes()},
        {"twelve-chunks", twelve.Bytes()},
        {"odd-sizes", stereo().ChunkAfterFmt("odd ", 3).ChunkAfterFmt("odd2", 5).Bytes()},
        {"odd-sizes-padded",
         stereo().ChunkAfterFmt("LIST", 27).ChunkAfterFmt("odd2", 5).PadOddChunks().Bytes()},
        {"extensible", stereo().FormatTag(0xFFFE).FmtExtraBytes(22).Bytes()},
        {"lying-data-size", stereo().DataSizeField(0x7FFFFFF0).Bytes()},
        {"lying-riff-size", stereo().RiffSizeField(12).Bytes()},
        {"block-size-0", stereo().BlockAlign(0).Bytes()},
    };
    for (const auto& [name, bytes] : inputs) {
        bool ok = CorpusWrite(folder, name, bytes);
        for (std::size_t cut : {std::size_t{20}, std::size_t{41}, bytes.size() / 2})
            ok = CorpusWrite(folder, name + "-cut" + std::to_string(cut), Truncated(bytes, cut)) &&
                 ok;
        if (!ok) {
            std::fprintf(stderr, "cannot write inputs into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

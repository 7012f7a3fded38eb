// Writes the starting inputs of the draw-build fuzz target into the folder
// named by the first argument: stereo and mono tones at the default
// threshold and at 100, with small reads that cut blocks and windows,
// quiet sound, odd and tiny lengths, and a cancel.
#include "CorpusWrite.h"

#include <cmath>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Head: stereo, block shift, values per read (byte 1, 2), threshold, cancel
// after.
Bytes CorpusHead(bool stereo, int shift, int readBase, int readShift, int zero,
                 int cancelAfter = 255)
{
    return {static_cast<std::uint8_t>((stereo ? 1 : 0) | shift << 1),
            static_cast<std::uint8_t>(readBase),
            static_cast<std::uint8_t>(readShift),
            static_cast<std::uint8_t>(zero & 0xFF),
            static_cast<std::uint8_t>((zero >> 8) & 0xFF),
            static_cast<std::uint8_t>(cancelAfter)};
}

// A tone of the amplitude, little-endian 16-bit values.
Bytes CorpusTone(std::size_t values, double amplitude, double period)
{
    Bytes bytes;
    for (std::size_t i = 0; i < values; ++i) {
        const auto v = static_cast<std::int16_t>(amplitude * std::sin(i * 6.283185 / period));
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    return bytes;
}

bool CorpusInput(const std::string& folder, const std::string& name, Bytes head,
                 const Bytes& samples)
{
    head.insert(head.end(), samples.begin(), samples.end());
    return CorpusWrite(folder, name, head);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const Bytes loud = CorpusTone(600, 20000, 37);
    const Bytes quiet = CorpusTone(300, 200, 11);
    bool ok = CorpusInput(folder, "stereo", CorpusHead(true, 2, 0, 0, 256), loud) &&
              CorpusInput(folder, "mono", CorpusHead(false, 3, 0, 0, 256), loud) &&
              CorpusInput(folder, "stereo-reads", CorpusHead(true, 2, 13, 1, 100), loud) &&
              CorpusInput(folder, "mono-reads", CorpusHead(false, 4, 9, 2, 100), loud) &&
              CorpusInput(folder, "quiet", CorpusHead(false, 1, 0, 0, 100), quiet) &&
              CorpusInput(folder, "odd", CorpusHead(true, 0, 3, 0, -5),
                          Bytes(quiet.begin(), quiet.begin() + 11)) &&
              CorpusInput(folder, "tiny", CorpusHead(false, 0, 1, 0, 256), {0x00, 0xFF, 0x01}) &&
              CorpusInput(folder, "cancel", CorpusHead(false, 2, 16, 0, 256, 3), loud);
    return ok ? 0 : 1;
}

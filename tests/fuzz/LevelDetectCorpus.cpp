// Writes the starting inputs of the level-detection fuzz target into the
// folder named by the first argument: bursts of sound between silences, with
// the settings a user would pick, for each draw-block size the fuzzer should
// start from, in mono and stereo.
#include "CorpusWrite.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <class T> void CorpusPut(Bytes& bytes, T value)
{
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// The head in the target's order, then the envelope.
Bytes CorpusInput(int shift, std::uint8_t flags, const Bytes& envelope)
{
    Bytes input;
    CorpusPut<std::int8_t>(input, 20);     // AUTO level
    CorpusPut<std::int32_t>(input, 100);   // PRETIME
    CorpusPut<std::int32_t>(input, 200);   // POSTTIME
    CorpusPut<std::int32_t>(input, 500);   // MINLENGTH
    CorpusPut<std::int32_t>(input, 300);   // MININTERVAL
    CorpusPut<std::uint8_t>(input, shift); // draw-block size 2 << shift
    CorpusPut<std::uint16_t>(input, 8000); // rate
    CorpusPut<std::int32_t>(input, 50);    // chunk of the averages
    CorpusPut<std::int32_t>(input, 1000);  // range start
    CorpusPut<std::int32_t>(input, 30000); // range end
    CorpusPut<std::int32_t>(input, 0);     // length (unused: flag bit 0 clear)
    CorpusPut<std::uint8_t>(input, flags); // bit 1 stereo
    CorpusPut<std::int8_t>(input, 10);     // TRIM level
    input.insert(input.end(), envelope.begin(), envelope.end());
    return input;
}

Bytes CorpusBursts(int bursts, int quiet, int loud)
{
    Bytes envelope;
    std::uint32_t noise = 22;
    for (int b = 0; b < bursts; ++b) {
        for (int i = 0; i < quiet; ++i)
            envelope.push_back(
                static_cast<std::uint8_t>((noise = noise * 1103515245 + 12345) >> 30));
        for (int i = 0; i < loud; ++i)
            envelope.push_back(
                static_cast<std::uint8_t>(30 + ((noise = noise * 1103515245 + 12345) >> 26) % 99));
    }
    return envelope;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    bool ok = true;
    int n = 0;
    for (int shift : {0, 7})
        for (std::uint8_t flags : {0, 2}) {
            ok = CorpusWrite(folder, "bursts" + std::to_string(n++),
                             CorpusInput(shift, flags, CorpusBursts(6, 40, 60))) &&
                 ok;
            ok = CorpusWrite(folder, "rises" + std::to_string(n++),
                             CorpusInput(shift, flags, CorpusBursts(3, 1500, 1200))) &&
                 ok;
        }
    return ok ? 0 : 1;
}

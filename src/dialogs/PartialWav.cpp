#include "PartialWav.h"

#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/Streams.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kPcmHeadBytes = 44;
// The largest file whose RIFF size fits the header's 32 bits.
constexpr std::int64_t kLargestPatchable = std::int64_t{0xFFFFFFFF} + 8;

bool PartialHeadIsPcm(const std::uint8_t* head)
{
    return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVEfmt ", 8) == 0 &&
           std::memcmp(head + 36, "data", 4) == 0;
}

void PartialWriteU32(TStream& file, std::int64_t offset, std::int64_t value)
{
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
    file.SetPosition(offset);
    file.WriteBuffer(bytes, 4);
}

} // namespace

TPartialWavResult SettlePartialWav(const AnsiString& path)
{
    if (!FileExists(path))
        return TPartialWavResult::Missing;
    try {
        std::int64_t size = 0;
        {
            TFileStream file(path, fmOpenReadWrite | fmShareExclusive);
            size = file.Size();
            if (size >= kPcmHeadBytes) {
                std::uint8_t head[kPcmHeadBytes];
                file.ReadBuffer(head, kPcmHeadBytes);
                if (!PartialHeadIsPcm(head) || size > kLargestPatchable)
                    return TPartialWavResult::Failed;
                PartialWriteU32(file, 4, size - 8);
                PartialWriteU32(file, 40, size - kPcmHeadBytes);
                return TPartialWavResult::Patched;
            }
        }
        return DeleteFile(path) ? TPartialWavResult::Removed : TPartialWavResult::Failed;
    } catch (const Exception&) {
        return TPartialWavResult::Failed;
    }
}

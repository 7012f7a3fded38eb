#include "BounceWriter.h"

#include "BounceConvert.h"

#include "classlib/Exceptions.h"
#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kBounceHeadBytes = sizeof(TWavHead);
constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;
constexpr std::int64_t kGiB = 1024 * kMiB;
// "(n)" names tried before the folder counts as unwritable: only a folder
// that claims every name could get that far.
constexpr int kBounceNameTries = 100000;
// The longest name a folder of the system's file systems holds.
constexpr std::size_t kLongestFileName = 255;

// What the system refuses in a file name, or reads as a separator, a drive
// or a stream.
bool BounceReservedByte(unsigned char c)
{
    return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

// Whether the two bytes at text are one character of the ANSI code page, as
// the system itself converts them when it opens a file by this name.
bool BounceWholeDoubleByte(const char* text)
{
    wchar_t wide[2];
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, 2, wide, 2) == 1;
}

// The names the system gives to devices, whatever extension follows them.
bool BounceDeviceName(const AnsiString& name)
{
    AnsiString stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    stem = UpperCase(stem);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool BounceSourceUsable(const TWavInfo& wav)
{
    return wav.Bit == 16 && (wav.Channel == 1 || wav.Channel == 2) &&
           wav.BlockSize == wav.Channel * 2;
}

// A new file on disk, closed when freed.
class TBounceFileStream : public THandleStream
{
public:
    explicit TBounceFileStream(HANDLE handle) : THandleStream(handle) {}
    ~TBounceFileStream() override { CloseHandle(FHandle); }
};

struct TBounceCreated
{
    AnsiString Name;
    std::unique_ptr<TStream> File;
};

TBounceCreated BounceCreateFirstFree(TBounceFolder& folder, const AnsiString& base)
{
    for (int n = 0; n < kBounceNameTries; ++n) {
        const AnsiString name = BounceFileName(base, n, folder.NameRoom());
        if (folder.Exists(name))
            continue;
        if (std::unique_ptr<TStream> file = folder.CreateNew(name))
            return {name, std::move(file)};
    }
    throw EFCreateError("No free file name for \"" + base + "\"");
}

// The head (its RIFF size still open), the region's pieces, then the RIFF size.
void BounceCopyRegion(TByteSource& source, const TWavInfo& wav, const TBounceRegion& region,
                      TStream& out, std::vector<std::int16_t>& piece,
                      const TBounceProgress& progress)
{
    TWavHead head = BounceHeader(wav, region.OutMode, BounceDataBytes(region, wav));
    const std::uint32_t riffSize = head.RiffSize;
    head.RiffSize = 0;
    out.WriteBuffer(&head, kBounceHeadBytes);

    const TBounceFrames frames = BounceFrames(region, wav.SampleSize);
    const bool convert = BounceNeedsConversion(region.OutMode, region.Volume);
    const std::uint32_t pieceBytes = kBouncePieceBytes / wav.BlockSize * wav.BlockSize;
    std::uint64_t at = wav.SampleStart + std::uint64_t(frames.First) * wav.BlockSize;
    std::uint64_t left = std::uint64_t(frames.Count) * wav.BlockSize;
    while (left > 0) {
        const auto bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, pieceBytes));
        if (!source.ReadExact(at, piece.data(), bytes))
            throw EReadError("The sample data ends before the region does");
        std::size_t outBytes = bytes;
        if (convert)
            outBytes = 2 * ConvertBuffer(piece.data(), bytes / 2, wav.Channel, region.Volume,
                                         region.OutMode);
        out.WriteBuffer(piece.data(), static_cast<std::int32_t>(outBytes));
        at += bytes;
        left -= bytes;
        if (progress.PieceWritten)
            progress.PieceWritten();
    }
    out.Seek(4, soFromBeginning);
    out.WriteBuffer(&riffSize, sizeof riffSize);
}

// Writes the region's file and returns its name; on any failure deletes
// what it wrote and raises again.
AnsiString BounceWriteRegion(TByteSource& source, const TWavInfo& wav, const TBounceRegion& region,
                             TBounceFolder& folder, std::vector<std::int16_t>& piece,
                             const TBounceProgress& progress)
{
    TBounceCreated created = BounceCreateFirstFree(folder, BounceSafeName(region.Name));
    try {
        BounceCopyRegion(source, wav, region, *created.File, piece, progress);
        created.File.reset();
    } catch (...) {
        created.File.reset();
        folder.Delete(created.Name);
        throw;
    }
    return created.Name;
}

TBounceOutcome BounceFailure(TBounceOutcome outcome, const std::string& error)
{
    outcome.Result = TBounceResult::Failed;
    outcome.Error = error;
    return outcome;
}

} // namespace

// --- Names ---------------------------------------------------------------------------------

AnsiString BounceSafeName(const AnsiString& regionName)
{
    AnsiString safe;
    for (std::size_t i = 0; i < regionName.size(); ++i) {
        const char c = regionName[i];
        if (IsLeadByte(c)) {
            if (i + 1 < regionName.size() && BounceWholeDoubleByte(&regionName[i])) {
                safe.append(regionName, i, 2);
                ++i;
            } else {
                // Without its second half the byte would take the next one
                // along, whatever that is; the next byte is judged alone.
                safe += '_';
            }
            continue;
        }
        safe += BounceReservedByte(static_cast<unsigned char>(c)) ? '_' : c;
    }
    return BounceDeviceName(safe) ? "_" + safe : safe;
}

AnsiString BounceFileName(const AnsiString& base, int n, std::size_t room)
{
    const AnsiString ending = n == 0 ? AnsiString(".wav") : "(" + IntToStr(n) + ").wav";
    const std::size_t baseRoom = room > ending.size() ? room - ending.size() : 0;
    if (baseRoom == 0 || CharCount(base) <= baseRoom)
        return base + ending;
    return FirstChars(base, baseRoom) + ending;
}

AnsiString BounceProposedName(int regionCount)
{
    return IntToStr(regionCount) + BounceText::ProposedNameSuffix;
}

// --- Head and sizes ------------------------------------------------------------------------

TBounceFrames BounceFrames(const TBounceRegion& region, std::int32_t sampleSize)
{
    const std::int32_t last = std::max(sampleSize, 0);
    const std::int32_t start = std::clamp(region.Start, 0, last);
    const std::int32_t end = std::clamp(region.End, 0, last);
    return {start, std::max(end - start, 0)};
}

std::uint32_t BounceDataBytes(const TBounceRegion& region, const TWavInfo& wav)
{
    const std::uint64_t bytes =
        std::uint64_t(BounceFrames(region, wav.SampleSize).Count) * wav.BlockSize;
    const bool halved = wav.Channel == 2 && BounceOutputChannels(wav.Channel, region.OutMode) == 1;
    return static_cast<std::uint32_t>(halved ? bytes / 2 : bytes);
}

TWavHead BounceHeader(const TWavInfo& wav, TOutputMode mode, std::uint32_t dataBytes)
{
    const auto channels = static_cast<std::uint16_t>(BounceOutputChannels(wav.Channel, mode));
    TWavHead head;
    std::memcpy(head.RiffId, "RIFF", 4);
    head.RiffSize = kBounceHeadBytes - 8 + dataBytes;
    std::memcpy(head.WaveId, "WAVE", 4);
    std::memcpy(head.FmtId, "fmt ", 4);
    head.FmtSize = 16;
    head.FormatTag = 1;
    head.Channel = channels;
    head.Rate = wav.Rate;
    head.BytesPerSecond = wav.Rate * 2 * channels;
    head.BlockSize = static_cast<std::uint16_t>(channels * 2);
    head.Bit = wav.Bit;
    std::memcpy(head.DataId, "data", 4);
    head.DataSize = dataBytes;
    return head;
}

std::int64_t BounceSpaceNeeded(const std::vector<TBounceRegion>& regions, const TWavInfo& wav)
{
    std::int64_t needed = 0;
    for (const TBounceRegion& region : regions)
        needed += BounceDataBytes(region, wav) + kBounceHeadBytes;
    return needed;
}

std::int64_t DiskFreeOf(const AnsiString& folder)
{
    // The system wants the folder with its trailing "\" (network shares must
    // have it).
    return Seams().DiskFree(IncludeTrailingBackslash(folder));
}

AnsiString BounceSizeText(std::int64_t bytes)
{
    const double value = static_cast<double>(bytes);
    if (bytes < kMiB)
        return FormatFloat("#,##0.0 Kbytes", value / kKiB);
    if (bytes < kGiB)
        return FormatFloat("#,##0.0 MB", value / kMiB);
    return FormatFloat("#,##0.00 GB", value / kGiB);
}

AnsiString BounceSpaceMessage(std::int64_t needed, std::int64_t free)
{
    return AnsiString("空き容量が足りないのでファイルを出力できません\r\r出力サイズ： ") +
           BounceSizeText(needed) + " / 空き容量： " + BounceSizeText(free);
}

// --- Where the files go --------------------------------------------------------------------

TDiskBounceFolder::TDiskBounceFolder(const AnsiString& folder)
    : FFolder(IncludeTrailingBackslash(folder))
{
}

bool TDiskBounceFolder::Exists(const AnsiString& name)
{
    return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<TStream> TDiskBounceFolder::CreateNew(const AnsiString& name)
{
    const AnsiString path = PathOf(name);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        return std::make_unique<TBounceFileStream>(handle);
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        return nullptr;
    throw EFCreateError("Cannot create file \"" + path + "\". " + SysErrorMessage(error));
}

void TDiskBounceFolder::Delete(const AnsiString& name)
{
    DeleteFile(PathOf(name));
}

std::size_t TDiskBounceFolder::NameRoom() const
{
    // MAX_PATH counts the closing zero.
    const std::size_t pathRoom = MAX_PATH - 1;
    const std::size_t folder = CharCount(FFolder);
    return std::min(kLongestFileName, pathRoom > folder ? pathRoom - folder : 0);
}

// --- The job -------------------------------------------------------------------------------

TBounceOutcome WriteBounceFiles(TByteSource& source, const TWavInfo& wav,
                                const std::vector<TBounceRegion>& regions, TBounceFolder& folder,
                                const TBounceProgress& progress)
{
    TBounceOutcome outcome;
    if (!BounceSourceUsable(wav))
        return BounceFailure(outcome, "Not a 16-bit PCM file of one or two channels");
    const int total = static_cast<int>(regions.size());
    try {
        std::vector<std::int16_t> piece(kBouncePieceBytes / 2);
        for (int i = 0; i < total; ++i) {
            outcome.Files.push_back(
                BounceWriteRegion(source, wav, regions[i], folder, piece, progress));
            const bool goOn = !progress.FileWritten || progress.FileWritten(i + 1, total);
            if (!goOn && i + 1 < total) {
                outcome.Result = TBounceResult::Cancelled;
                return outcome;
            }
        }
    } catch (const std::exception& error) {
        return BounceFailure(outcome, error.what());
    }
    return outcome;
}

TBounceOutcome WriteBounceFiles(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                                TBounceFolder& folder, const TBounceProgress& progress)
{
    // Nobody may change the samples while they are copied.
    TFileByteSource source(wav.Path, FILE_SHARE_READ);
    if (!source.IsOpen())
        return BounceFailure({}, "Cannot open file \"" + wav.Path + "\". " +
                                     SysErrorMessage(GetLastError()));
    return WriteBounceFiles(source, wav, regions, folder, progress);
}

TBounceOutcome WriteBounceFiles(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                                const AnsiString& folder, const TBounceProgress& progress)
{
    TDiskBounceFolder target(folder);
    return WriteBounceFiles(wav, regions, target, progress);
}

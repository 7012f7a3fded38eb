// The bounce: every region of a list written as a WAV file of its own into
// one folder, with its volume and output mode applied (BounceConvert).
//
//   TBounceRegion       one region as the bounce needs it, in the list's order
//   names               the safe file name of a region and its "(n)" forms
//   head and sizes      the 44-byte head of an output, its data bytes, the
//                       space a bounce needs and the texts of the space check
//   TBounceFolder       where the files go: exists, create new, delete;
//                       TDiskBounceFolder is a folder on disk
//   WriteBounceFiles    the job: one file per region, in order, reading the
//                       source WAV through a byte source
//
// Knows no window: the main window gathers the regions in display order,
// checks the space, shows the processing window and calls WriteBounceFiles
// with a progress that updates it. The job never writes outside the folder,
// never overwrites a file, and never leaves a partial file behind.
#pragma once

#include "RegionList.h"

#include "audio/DirectWavEngine.h"
#include "classlib/ByteSource.h"
#include "classlib/Streams.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace BounceText {
inline constexpr const char* DialogTitle = "出力先を選択して下さい";
inline constexpr const char* ProposedNameSuffix = "個のリージョン"; // after the count
inline constexpr const char* SpaceCaption = "警告";
inline constexpr const char* Caption = "バウンス"; // the processing window
inline constexpr const char* Running = "リージョンをバウンスしています...";
inline constexpr const char* Finished = "バウンスが終了しました";
inline constexpr const char* Cancelled = "バウンスを中止しました";
inline constexpr const char* Failed = "バウンスに失敗しました";
} // namespace BounceText

// One region to bounce, as the region list holds it: frames Start up to,
// not including, End; its name names the output file once made safe.
using TBounceRegion = TRegionData;

// --- Names

// The region's name as a file name that stays in the folder and names no
// device: "\ / : * ? " < > |", control characters and the half of a broken
// double-byte character become "_" (a whole double-byte character stays,
// also when its second byte is a "\"), and a name that a device would take
// ("CON", "nul.x", "LPT1"...) gets a leading "_".
AnsiString BounceSafeName(const AnsiString& regionName);
// The n-th candidate for a file: base + ".wav" for 0, else base + "(n).wav",
// with base cut after a whole character where the name would have more
// than room characters. A name that cannot fit even with one character of
// base left stays whole (and its creation fails).
AnsiString BounceFileName(const AnsiString& base, int n,
                          std::size_t room = std::numeric_limits<std::size_t>::max());
// The proposed name of the folder dialog: "12個のリージョン".
AnsiString BounceProposedName(int regionCount);

// --- Head and sizes

// The frames that the region's output takes from a file of sampleSize
// frames: Start and End clamped to 0..sampleSize; none when End <= Start
// after that.
struct TBounceFrames
{
    std::int32_t First = 0; // first frame
    std::int32_t Count = 0; // frames
};
TBounceFrames BounceFrames(const TBounceRegion& region, std::int32_t sampleSize);
// The data bytes of the region's output: its frames x the file's block
// align, halved when a stereo file's region becomes mono.
std::uint32_t BounceDataBytes(const TBounceRegion& region, const TWavInfo& wav);
// The complete 44-byte head of the region's output (RiffSize = 36 + data).
TWavHead BounceHeader(const TWavInfo& wav, TOutputMode mode, std::uint32_t dataBytes);
// The bytes a bounce of regions writes: data and head of every file.
std::int64_t BounceSpaceNeeded(const std::vector<TBounceRegion>& regions, const TWavInfo& wav);
// Free bytes for this user in folder (on its drive or share); -1 when the
// system cannot tell. Goes through the class library's free-space seam.
std::int64_t DiskFreeOf(const AnsiString& folder);
// A size as the space message shows it: below 1 MiB (or negative) in
// Kbytes, below 1 GiB in MB, else in GB ("1,024.0 Kbytes", "1.0 MB",
// "1.00 GB"), with the locale's separators.
AnsiString BounceSizeText(std::int64_t bytes);
// The message box text when free < needed.
AnsiString BounceSpaceMessage(std::int64_t needed, std::int64_t free);

// --- Where the files go

class TBounceFolder
{
public:
    virtual ~TBounceFolder() = default;
    // Whether anything (a file or a folder) has this name.
    virtual bool Exists(const AnsiString& name) = 0;
    // A new, empty file of that name to write; nullptr when the name was
    // taken meanwhile (nothing is ever replaced). Raises EFCreateError when
    // the file cannot be made.
    virtual std::unique_ptr<TStream> CreateNew(const AnsiString& name) = 0;
    virtual void Delete(const AnsiString& name) = 0;
    // The characters a file name may have in this folder.
    virtual std::size_t NameRoom() const { return std::numeric_limits<std::size_t>::max(); }
};

class TDiskBounceFolder : public TBounceFolder
{
public:
    explicit TDiskBounceFolder(const AnsiString& folder);

    bool Exists(const AnsiString& name) override;
    std::unique_ptr<TStream> CreateNew(const AnsiString& name) override;
    void Delete(const AnsiString& name) override;
    // What the system's path limit leaves after the folder's path, at most
    // the longest name a folder holds.
    std::size_t NameRoom() const override;

    // The full path of a name in the folder.
    AnsiString PathOf(const AnsiString& name) const { return FFolder + name; }

private:
    AnsiString FFolder; // with its trailing "\"
};

// --- The job

struct TBounceProgress
{
    // Inside a file, after each piece: lets paints and the Cancel click
    // through. May be empty.
    std::function<void()> PieceWritten;
    // After each file (written of total done); false when the user asked to
    // stop. The job stops only while files remain. May be empty.
    std::function<bool(int written, int total)> FileWritten;
};

enum class TBounceResult
{
    Done,      // a file for every region
    Cancelled, // stopped between files; the files written stay
    Failed     // the source could not be read or an output not made or written
};

struct TBounceOutcome
{
    TBounceResult Result = TBounceResult::Done;
    std::vector<AnsiString> Files; // names of the files written, in order
    std::string Error;             // why it failed
};

// Bytes per piece of a copy (before it is cut to whole frames).
constexpr std::uint32_t kBouncePieceBytes = 1 << 20;

// Writes one file per region, in order, into folder: the region's frames of
// the file that wav describes, read from source (wav's own bytes), under
// the first free name of BounceFileName(BounceSafeName(name), n). A failure
// deletes the file it was writing and stops; the files before it stay.
TBounceOutcome WriteBounceFiles(TByteSource& source, const TWavInfo& wav,
                                const std::vector<TBounceRegion>& regions, TBounceFolder& folder,
                                const TBounceProgress& progress);
// The same from the file at wav.Path, opened so that nobody writes to it
// meanwhile.
TBounceOutcome WriteBounceFiles(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                                TBounceFolder& folder, const TBounceProgress& progress);
// The same into a folder on disk.
TBounceOutcome WriteBounceFiles(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                                const AnsiString& folder, const TBounceProgress& progress);

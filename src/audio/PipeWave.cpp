#include "PipeWave.h"

#include "classlib/Streams.h"

#include <algorithm>
#include <cstring>
#include <vector>

const std::int16_t ImaStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

const std::int8_t ImaIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

namespace {

constexpr int kPcmHeaderBytes = 44;
constexpr int kAdpcmHeaderBytes = 60;
constexpr int kAppendScanLimit = 8192; // the header of an appended file lies within these bytes
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatDviAdpcm = 17;

void WavePutU16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void WavePutU32(std::uint8_t* p, std::uint32_t v)
{
    WavePutU16(p, v & 0xFFFF);
    WavePutU16(p + 2, v >> 16);
}

void WavePutId(std::uint8_t* p, const char* id)
{
    std::memcpy(p, id, 4);
}

std::uint16_t WaveGetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t WaveGetU32(const std::uint8_t* p)
{
    return WaveGetU16(p) | (std::uint32_t{WaveGetU16(p + 2)} << 16);
}

// Ids match when each byte is equal or differs by exactly 32 (letter case).
bool WaveSameId(const std::uint8_t* p, const char* id)
{
    for (int i = 0; i < 4; ++i) {
        int d = p[i] - static_cast<std::uint8_t>(id[i]);
        if (d != 0 && d != 32 && d != -32)
            return false;
    }
    return true;
}

// Sample frames in one ADPCM block: the first frame in the block header, then
// the 4-bit codes.
int WaveAdpcmFramesPerBlock(int blockSize, int channels)
{
    channels = std::max(channels, 1);
    return (blockSize - 4 * channels) * (2 / channels) + 1;
}

bool WaveFileExists(const AnsiString& name)
{
    DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One IMA ADPCM code for Sample, advancing Predictor and StepIndex.
std::uint8_t WaveEncodeSample(int Sample, std::int16_t& Predictor, std::uint8_t& StepIndex)
{
    int step = ImaStepTable[StepIndex];
    int difference = Sample - Predictor;
    std::uint8_t code = 0;
    if (difference < 0) {
        code = 8;
        difference = -difference;
    }
    if (difference >= step) {
        code |= 4;
        difference -= step;
    }
    if (difference >= step / 2) {
        code |= 2;
        difference -= step / 2;
    }
    if (difference >= step / 4)
        code |= 1;
    int delta = step / 8;
    if (code & 4)
        delta += step;
    if (code & 2)
        delta += step / 2;
    if (code & 1)
        delta += step / 4;
    if (code & 8)
        delta = -delta;
    Predictor = static_cast<std::int16_t>(std::clamp(Predictor + delta, -32767, 32767));
    StepIndex = static_cast<std::uint8_t>(std::clamp(StepIndex + ImaIndexTable[code], 0, 88));
    return code;
}

void WavePutNibble(std::uint8_t* Block, int Byte, int Sample, std::uint8_t Code)
{
    Block[Byte] |= (Sample & 1) ? static_cast<std::uint8_t>(Code << 4) : Code;
}

} // namespace

TWaveOut::TWaveOut(TComponent* AOwner) : TPipeFileOut(AOwner) {}

TWaveOut::~TWaveOut()
{
    ShutDown();
}

void TWaveOut::SetWavType(TWavType Value)
{
    if (Busy())
        return;
    if (Value == TWavType::wtPCM || Value == TWavType::wtDVIADPCM)
        FWavType = Value;
}

void TWaveOut::SetBlockSize(std::uint16_t Value)
{
    if (Busy() || Value < 8 || Value % 4 != 0)
        return;
    FBlockSize = Value;
}

void TWaveOut::SetFileMode(TFileOutputMode Value)
{
    FFileMode = Value;
}

// Opens the file (or takes the handed-in stream) and the input and writes or
// checks the header. On any failure nothing stays open: the stream is freed,
// the input closed, and the error raised again.
void TWaveOut::BeginOutput()
{
    FEndOfInput = false;
    FAppended = false;
    FInputOpen = false;
    try {
        OpenDestination();
        Input()->OpenInput();
        FInputOpen = true;
        PrepareFile();
    } catch (...) {
        if (FInputOpen) {
            FInputOpen = false;
            Input()->ResetInput();
        }
        ReleaseStream();
        throw;
    }
}

void TWaveOut::OpenDestination()
{
    if (FStreamHandedIn) {
        if (FFileMode == TFileOutputMode::foRewrite)
            FStream->SetSize(0);
        FStream->SetPosition(0);
        return;
    }
    if (FFileName.empty())
        throw EPipeException(PipeText::FileNameNotAssigned);
    if (FFileMode == TFileOutputMode::foRewrite || !WaveFileExists(FFileName))
        FStream = new TFileStream(FFileName, fmCreate | fmShareDenyWrite);
    else
        FStream = new TFileStream(FFileName, fmOpenReadWrite | fmShareExclusive);
}

void TWaveOut::PrepareFile()
{
    bool append = FFileMode == TFileOutputMode::foAppend && FStream->Size() > 0;
    if (append) {
        if (!ScanExistingHeader())
            throw EPipeException(PipeText::CannotAppendToFile);
        FWavType = FAppendType;
    }
    if (FWavType == TWavType::wtDVIADPCM) {
        if (Input()->GetBitsPerSample() != 16)
            throw EPipeException(PipeText::CannotEncode8Bit);
        FAdpcmChannels = Input()->GetChannels() == 2 ? 2 : 1;
        // Stereo codes come in groups of eight samples per channel, four
        // bytes each: a block whose data is not whole groups has no room
        // for the last group's right channel.
        if (FAdpcmChannels == 2 && FBlockSize % 8 != 0)
            throw EPipeException(PipeText::CannotEncodeStereoBlock);
    }
    if (append) {
        CheckAppendFormat(FWavType == TWavType::wtPCM);
        FStream->Seek(0, soFromEnd);
        FAppended = true;
        return;
    }
    if (FWavType == TWavType::wtPCM) {
        WritePcmHeader();
    } else {
        WriteAdpcmHeader();
        FStepIndex[0] = FStepIndex[1] = 0;
    }
}

void TWaveOut::CheckAppendFormat(bool checkBits)
{
    TPipeInput* input = Input();
    bool same = static_cast<std::uint32_t>(input->GetSampleRate()) == FAppendSampleRate &&
                input->GetChannels() == FAppendChannels;
    if (checkBits)
        same = same && input->GetBitsPerSample() == FAppendBitsPerSample;
    else // new blocks must have the file's block size
        same = same && FAppendBlockAlign == FBlockSize;
    if (!same)
        throw EPipeException(PipeText::CannotAppendFormat);
}

// Finds "RIFF", "WAVE", "fmt ", for ADPCM "fact", and "data" in the first
// bytes of the file; false when the format cannot be appended to.
bool TWaveOut::ScanExistingHeader()
{
    std::vector<std::uint8_t> head(
        static_cast<size_t>(std::min<std::int64_t>(FStream->Size(), kAppendScanLimit)));
    FStream->SetPosition(0);
    FStream->ReadBuffer(head.data(), static_cast<std::int32_t>(head.size()));
    const std::uint8_t* p = head.data();
    const std::int64_t n = static_cast<std::int64_t>(head.size());
    enum
    {
        sRiff,
        sWave,
        sFmt,
        sFact,
        sData
    } stage = sRiff;
    FAppendType = TWavType::wtUnsupported;
    std::int64_t pos = 0;
    while (pos + 4 <= n) {
        if (stage == sRiff || stage == sWave) {
            if (WaveSameId(p + pos, stage == sRiff ? "RIFF" : "WAVE")) {
                pos += 4;
                stage = stage == sRiff ? sWave : sFmt;
            } else {
                ++pos;
            }
            continue;
        }
        if (pos + 8 > n)
            break;
        std::int64_t body = pos + 8;
        std::int64_t next = body + WaveGetU32(p + pos + 4);
        const char* wanted = stage == sFmt ? "fmt " : stage == sFact ? "fact" : "data";
        if (!WaveSameId(p + pos, wanted)) {
            pos = next;
            continue;
        }
        if (stage == sData) {
            FDataSizeOffset = pos + 4;
            FDataStart = body;
            FAppendType = FAppendChannels ? FAppendType : TWavType::wtUnsupported;
            return FAppendType != TWavType::wtUnsupported;
        }
        if (stage == sFact) {
            FFactOffset = body;
            stage = sData;
        } else {
            if (body + 16 > n)
                break;
            std::uint16_t tag = WaveGetU16(p + body);
            if (tag != kFormatPcm && tag != kFormatDviAdpcm)
                break;
            FAppendType = tag == kFormatPcm ? TWavType::wtPCM : TWavType::wtDVIADPCM;
            FAppendChannels = WaveGetU16(p + body + 2);
            FAppendSampleRate = WaveGetU32(p + body + 4);
            FAppendBlockAlign = WaveGetU16(p + body + 12);
            FAppendBitsPerSample = WaveGetU16(p + body + 14);
            stage = FAppendType == TWavType::wtDVIADPCM ? sFact : sData;
        }
        pos = next;
    }
    FAppendType = TWavType::wtUnsupported;
    return false;
}

void TWaveOut::WritePcmHeader()
{
    TPipeInput* input = Input();
    std::uint32_t size = static_cast<std::uint32_t>(input->Size());
    int channels = input->GetChannels();
    int bits = input->GetBitsPerSample();
    std::uint32_t rate = static_cast<std::uint32_t>(input->GetSampleRate());
    std::uint32_t blockAlign = static_cast<std::uint32_t>(bits * channels / 8);
    std::uint8_t h[kPcmHeaderBytes] = {};
    WavePutId(h, "RIFF");
    WavePutU32(h + 4, size + 36);
    WavePutId(h + 8, "WAVE");
    WavePutId(h + 12, "fmt ");
    WavePutU32(h + 16, 16);
    WavePutU16(h + 20, kFormatPcm);
    WavePutU16(h + 22, static_cast<std::uint32_t>(channels));
    WavePutU32(h + 24, rate);
    WavePutU32(h + 28, rate * blockAlign);
    WavePutU16(h + 32, blockAlign);
    WavePutU16(h + 34, static_cast<std::uint32_t>(bits));
    WavePutId(h + 36, "data");
    WavePutU32(h + 40, size);
    WriteAll(h, sizeof(h));
}

void TWaveOut::WriteAdpcmHeader()
{
    TPipeInput* input = Input();
    int channels = input->GetChannels();
    int bytesPerSample = input->GetBitsPerSample() / 8;
    std::uint32_t rate = static_cast<std::uint32_t>(input->GetSampleRate());
    int framesPerBlock = WaveAdpcmFramesPerBlock(FBlockSize, channels);
    std::int64_t frames = input->Size() / bytesPerSample / std::max(channels, 1);
    // Every block that will be written, the last one padded with silence:
    // a reader decodes no more than the data size announces.
    std::int64_t blocks = (std::max<std::int64_t>(frames, 0) + framesPerBlock - 1) / framesPerBlock;
    std::int64_t dataSize = blocks * FBlockSize;
    std::uint8_t h[kAdpcmHeaderBytes] = {};
    WavePutId(h, "RIFF");
    WavePutU32(h + 4, static_cast<std::uint32_t>(dataSize + 52));
    WavePutId(h + 8, "WAVE");
    WavePutId(h + 12, "fmt ");
    WavePutU32(h + 16, 20);
    WavePutU16(h + 20, kFormatDviAdpcm);
    WavePutU16(h + 22, static_cast<std::uint32_t>(channels));
    WavePutU32(h + 24, rate);
    WavePutU32(h + 28, rate / framesPerBlock * FBlockSize);
    WavePutU16(h + 32, FBlockSize);
    WavePutU16(h + 34, 4);
    WavePutU16(h + 36, 2);
    WavePutU16(h + 38, static_cast<std::uint32_t>(framesPerBlock));
    WavePutId(h + 40, "fact");
    WavePutU32(h + 44, 4);
    WavePutU32(h + 48, static_cast<std::uint32_t>(frames));
    WavePutId(h + 52, "data");
    WavePutU32(h + 56, static_cast<std::uint32_t>(dataSize));
    WriteAll(h, sizeof(h));
}

bool TWaveOut::OutputChunk(bool Abort)
{
    if (!CanOutput())
        return true;
    if (Abort || FEndOfInput)
        return false;
    return FWavType == TWavType::wtDVIADPCM ? OutputAdpcmBlock() : OutputPcmChunk();
}

bool TWaveOut::OutputPcmChunk()
{
    int count = 0;
    try {
        count = ReadInput(FChunk.data(), static_cast<int>(FChunk.size()));
    } catch (...) {
        // A failing read ends the run as if the input were exhausted.
        count = 0;
    }
    if (count <= 0)
        return false;
    WriteAll(FChunk.data(), count);
    return true;
}

bool TWaveOut::OutputAdpcmBlock()
{
    int framesPerBlock = WaveAdpcmFramesPerBlock(FBlockSize, FAdpcmChannels);
    std::vector<std::int16_t> frames(static_cast<size_t>(framesPerBlock * FAdpcmChannels), 0);
    int wanted = static_cast<int>(frames.size() * sizeof(std::int16_t));
    int filled = 0;
    try {
        if (!FillFromInput(frames.data(), wanted, filled))
            FEndOfInput = true;
    } catch (...) {
        // A failing read: the rest of the block stays silent and the run ends
        // after it (reading again would fail again, block after block).
        FEndOfInput = true;
    }
    if (filled == 0)
        return false;
    std::vector<std::uint8_t> block(FBlockSize, 0);
    EncodeAdpcmBlock(frames.data(), block.data());
    WriteAll(block.data(), FBlockSize);
    return true;
}

// The block header holds each channel's first sample as predictor and its
// step index; the other frames follow as 4-bit codes, even samples in the
// low nibble (stereo: groups of eight samples per channel, left then right).
void TWaveOut::EncodeAdpcmBlock(const std::int16_t* Frames, std::uint8_t* Block)
{
    const int channels = FAdpcmChannels;
    for (int c = 0; c < channels; ++c) {
        FPredictor[c] = Frames[c];
        WavePutU16(Block + 4 * c, static_cast<std::uint16_t>(FPredictor[c]));
        Block[4 * c + 2] = FStepIndex[c];
    }
    if (channels == 1) {
        int samples = (FBlockSize - 4) * 2;
        for (int i = 0; i < samples; ++i) {
            std::uint8_t code = WaveEncodeSample(Frames[1 + i], FPredictor[0], FStepIndex[0]);
            WavePutNibble(Block, 4 + i / 2, i, code);
        }
        return;
    }
    int samples = FBlockSize - 8;
    for (int i = 0; i < samples; ++i) {
        int byte = (i & ~7) + ((i / 2) & 3);
        for (int c = 0; c < 2; ++c) {
            std::uint8_t code =
                WaveEncodeSample(Frames[(1 + i) * 2 + c], FPredictor[c], FStepIndex[c]);
            WavePutNibble(Block, 8 + 4 * c + byte, i, code);
        }
    }
}

void TWaveOut::WriteAll(const void* Buffer, int Count)
{
    std::int32_t written = 0;
    try {
        written = FStream->Write(Buffer, Count);
    } catch (const EStreamError&) {
        written = -1;
    }
    if (written != Count)
        throw EPipeException(PipeText::CannotWriteFile);
}

// Finishes the file: sizes patched unless the header written at the start
// already holds them, stream freed (unless handed in), input closed. The
// input is closed even when patching fails, and a second call does nothing
// more than patch again.
void TWaveOut::EndOutput()
{
    std::exception_ptr failure;
    if (FStream) {
        try {
            if (!HeaderMatchesData())
                PatchSizes();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    ReleaseStream();
    CloseOpenedInput();
    if (failure)
        std::rethrow_exception(failure);
}

void TWaveOut::CloseOpenedInput()
{
    if (!FInputOpen)
        return;
    FInputOpen = false;
    if (TPipeInput* input = Input())
        input->CloseInput();
}

bool TWaveOut::HeaderMatchesData()
{
    TPipeInput* input = Input();
    if (FAppended || !input || input->Size() < 0)
        return false;
    if (FWavType == TWavType::wtPCM)
        return FStream->Size() - kPcmHeaderBytes == input->Size();
    return input->Position() == input->Size();
}

void TWaveOut::PatchSizes()
{
    std::int64_t fileSize = FStream->Size();
    if (FAppended) {
        std::int64_t dataSize = fileSize - FDataStart;
        PatchU32(FDataSizeOffset, static_cast<std::uint32_t>(dataSize));
        if (FWavType == TWavType::wtDVIADPCM) {
            std::int64_t frames =
                std::int64_t{WaveAdpcmFramesPerBlock(FBlockSize, FAppendChannels)} *
                (dataSize / FBlockSize);
            PatchU32(FFactOffset, static_cast<std::uint32_t>(frames));
        }
    } else if (FWavType == TWavType::wtPCM) {
        PatchU32(40, static_cast<std::uint32_t>(fileSize - kPcmHeaderBytes));
    } else {
        std::uint8_t h[kAdpcmHeaderBytes];
        FStream->SetPosition(0);
        FStream->ReadBuffer(h, sizeof(h));
        std::int64_t dataSize = fileSize - kAdpcmHeaderBytes;
        std::uint16_t blockAlign = std::max<std::uint16_t>(WaveGetU16(h + 32), 1);
        WavePutU32(h + 56, static_cast<std::uint32_t>(dataSize));
        WavePutU32(h + 48, static_cast<std::uint32_t>(dataSize / blockAlign * WaveGetU16(h + 38)));
        FStream->SetPosition(0);
        WriteAll(h, sizeof(h));
    }
    PatchU32(4, static_cast<std::uint32_t>(fileSize - 8));
}

void TWaveOut::PatchU32(std::int64_t Offset, std::uint32_t Value)
{
    std::uint8_t bytes[4];
    WavePutU32(bytes, Value);
    FStream->SetPosition(Offset);
    WriteAll(bytes, 4);
}

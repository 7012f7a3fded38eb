// The WAV file writer: a pipeline output that writes what its input delivers
// into a WAV file, as plain PCM (44-byte header) or IMA/DVI ADPCM (60-byte
// header), new or appended to an existing file of the same format.
//
//   TWavType     the formats a WAV file may hold; PCM and DVI ADPCM are written
//   TWaveOut     the writer
//   ImaStepTable, ImaIndexTable  the IMA ADPCM quantiser's tables
//
// A run that ends early (stopped, input short, a failed write) leaves a file
// whose header sizes match the bytes written. A write that falls short raises
// "Cannot write to the file." and ends the run through OnThreadException.
#pragma once

#include "PipeClasses.h"

#include <array>
#include <cstdint>

enum class TWavType
{
    wtUnsupported,
    wtPCM,
    wtDVIADPCM,
    wtMSADPCM,
    wtACM
};

extern const std::int16_t ImaStepTable[89];
extern const std::int8_t ImaIndexTable[16];

class TWaveOut : public TPipeFileOut
{
public:
    explicit TWaveOut(TComponent* AOwner);
    ~TWaveOut() override;

    TWavType WavType() const { return FWavType; }
    // Ignored while busy; only wtPCM and wtDVIADPCM are taken.
    void SetWavType(TWavType Value);
    // Bytes per ADPCM block. Ignored while busy, and for values that are not
    // a multiple of 4 or below 8 (a stereo block needs 8 header bytes). A
    // stereo run also needs a multiple of 8, else it ends at the start with
    // "Cannot encode stereo sound into ADPCM blocks of this size.".
    std::uint16_t BlockSize() const { return FBlockSize; }
    void SetBlockSize(std::uint16_t Value);
    // Stores the mode: this writer can append.
    void SetFileMode(TFileOutputMode Value) override;

protected:
    void BeginOutput() override;
    bool OutputChunk(bool Abort) override;
    void EndOutput() override;

private:
    void OpenDestination();
    void PrepareFile();
    bool ScanExistingHeader();
    void CheckAppendFormat(bool checkBits);
    void WritePcmHeader();
    void WriteAdpcmHeader();
    bool OutputPcmChunk();
    bool OutputAdpcmBlock();
    void EncodeAdpcmBlock(const std::int16_t* Frames, std::uint8_t* Block);
    void WriteAll(const void* Buffer, int Count);
    bool HeaderMatchesData();
    void PatchSizes();
    void PatchU32(std::int64_t Offset, std::uint32_t Value);
    void CloseOpenedInput();

    bool FEndOfInput = false;                 // the input ran dry while an ADPCM block was filled
    std::array<std::uint8_t, 16384> FChunk{}; // PCM chunk buffer
    TWavType FWavType = TWavType::wtPCM;
    // ADPCM encoder state per channel (0 left or mono, 1 right).
    std::int16_t FPredictor[2] = {0, 0};
    std::uint8_t FStepIndex[2] = {0, 0};
    int FAdpcmChannels = 1; // channels of the block layout: 2 for stereo, else 1
    // What the existing file's header said when appending.
    std::uint32_t FAppendSampleRate = 0;
    std::uint16_t FAppendChannels = 0;
    std::uint16_t FAppendBitsPerSample = 0;
    std::uint16_t FAppendBlockAlign = 0;
    std::int64_t FFactOffset = 0;                   // file offset of the "fact" sample count
    std::int64_t FDataSizeOffset = 0;               // file offset of the data size field
    TWavType FAppendType = TWavType::wtUnsupported; // format found
    std::int64_t FDataStart = 0;                    // file offset of the first sample
    std::uint16_t FBlockSize = 512;                 // bytes per ADPCM block
    bool FAppended = false;                         // this run appends to existing data
    bool FInputOpen = false; // BeginOutput opened the input and it is not closed yet
};

// A byte source over a file on disk, read with the system's file calls.
//
// The file is opened for reading when the source is made and closed when it
// is freed. By default others may go on reading and writing it meanwhile (the
// file list and the properties read headers of files being played or
// written); a caller that must keep the bytes still passes FILE_SHARE_READ.
#pragma once

#include "ByteSource.h"
#include "Types.h"

#include <windows.h>

class TFileByteSource : public TByteSource
{
public:
    explicit TFileByteSource(const AnsiString& path,
                             DWORD shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE);
    ~TFileByteSource() override;
    TFileByteSource(const TFileByteSource&) = delete;
    TFileByteSource& operator=(const TFileByteSource&) = delete;

    // False when the file could not be opened; every read then returns 0.
    bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }

    std::uint64_t Size() const override;
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override;

    // The time of the last write, in local time; 0 when unknown.
    TDateTime LastWriteTime() const;

private:
    HANDLE FHandle = INVALID_HANDLE_VALUE; // owned
};

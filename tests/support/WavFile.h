// WAV files for tests, written into a temporary folder (TempFolder.h) that
// goes away with the test. The bytes come from WavBytes.h.
//
//   TempFolder folder;
//   std::string path = WriteWav(folder, "tone.wav",
//                               WavBuilder().Pcm16(2, 44100, ToneSamples(44100, 2, 44100, 440,
//                               8000)));
#pragma once

#include "support/TempFolder.h"
#include "support/WavBytes.h"

#include <cstdint>
#include <string>

namespace testing_support {

// Writes bytes to path (replacing it); fails the test when it cannot.
void WriteBytes(const std::string& path, const Bytes& bytes);
// Writes the builder's bytes as name in folder and returns the full path.
std::string WriteWav(const TempFolder& folder, const std::string& name, const WavBuilder& wav);
std::string WriteWav(const TempFolder& folder, const std::string& name, const Bytes& bytes);
// Cuts the file at path to size bytes, or extends it there (sparsely where
// the file system can); others may hold it open for reading and writing.
void SetFileLength(const std::string& path, std::int64_t size);
// The same, for a change the system may refuse: whether it was made.
bool TrySetFileLength(const std::string& path, std::int64_t size);
// Moves the file's last write time by seconds (earlier when negative), as
// if it was written that much later.
void ShiftLastWriteTime(const std::string& path, std::int64_t seconds);
// Cuts the file at path to size bytes from outside the system, with the
// host's own truncate program, as a host program (or a drive going away) can
// while the system itself refuses (the file is mapped); returns once the cut
// shows. False when not running under Wine, or when the cut never showed.
bool CutFileFromHost(const std::string& path, std::int64_t size);
// Removes the file at path the same way, with the host's rm, though the
// system holds it open.
bool RemoveFileFromHost(const std::string& path);

} // namespace testing_support

// WAV files for tests, written into a temporary folder that goes away with
// the test. The bytes come from WavBytes.h.
//
//   TempFolder folder;
//   std::string path = WriteWav(folder, "tone.wav",
//                               WavBuilder().Pcm16(2, 44100, ToneSamples(44100, 2, 44100, 440,
//                               8000)));
#pragma once

#include "support/WavBytes.h"

#include <string>

namespace testing_support {

// A new, empty folder under the system's temporary folder; removed with
// everything in it when the object goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::string& Path() const { return FPath; }
    // The full path of name inside the folder.
    std::string File(const std::string& name) const { return FPath + "\\" + name; }

private:
    std::string FPath;
};

// Writes bytes to path (replacing it); fails the test when it cannot.
void WriteBytes(const std::string& path, const Bytes& bytes);
// Writes the builder's bytes as name in folder and returns the full path.
std::string WriteWav(const TempFolder& folder, const std::string& name, const WavBuilder& wav);
std::string WriteWav(const TempFolder& folder, const std::string& name, const Bytes& bytes);

} // namespace testing_support

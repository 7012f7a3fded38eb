// A generated WAV file put into a main window the way an opened document
// would stand: the engine loaded, the draw data built, the view at the start
// showing the whole file, the overview drawn and the caption naming the
// file (so that the commands' enabling rules see a file open).
#pragma once

#include "editor/ostrel.h"

#include "support/TempFolder.h"

#include <string>

namespace testing_support {

// A mono 16-bit file of frames at rate: silence for its first half, then a
// full-scale square wave.
std::string WriteHalfSilentWav(const TempFolder& folder, const std::string& name, int frames,
                               int rate);

// Loads path into form; the test fails when it cannot.
void LoadTestDocument(TFormVusk& form, const std::string& path);

} // namespace testing_support

// A generated WAV file opened in a main window as the open command opens
// it, and the waveform zoomed as a user zooms it.
#pragma once

#include "editor/ostrel.h"

#include "support/TempFolder.h"

#include <functional>
#include <string>

namespace testing_support {

// A mono 16-bit file of frames at rate: silence for its first half, then a
// full-scale square wave.
std::string WriteHalfSilentWav(const TempFolder& folder, const std::string& name, int frames,
                               int rate);

// Opens path in form as every way of opening a file does (the draw data
// built, the whole file in view); the test fails when it cannot.
void LoadTestDocument(TFormVusk& form, const std::string& path);

// The waveform at samplesPerPixel frames a column, shown from the file's
// start, reached as a user reaches it: a power of two with the zoom
// commands (all the way in, then out a step at a time); any other factor
// below the whole file's by zooming to a selection dragged from the start
// (the selection is dropped again). The test fails when the zoom is not
// reached.
void ZoomTo(TFormVusk& form, std::int32_t samplesPerPixel);

// Opens a WAV file long enough for its draw-data build to take several
// chunks, and runs during once while the build runs (the document busy, the
// main window held); the test fails unless it ran and the file opened.
void RunWhileLoading(TFormVusk& form, const TempFolder& folder,
                     const std::function<void()>& during);

// A drag with the region tool across the waveform's body from column fromX
// to column toX: pressed, moved and released through the image's handlers.
void DragOnWave(TFormVusk& form, int fromX, int toX);

} // namespace testing_support

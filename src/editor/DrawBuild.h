// The draw-data build of the open file, as the document runs it while the
// processing window shows it: the pure build of DrawData, reading the
// samples through the engine.
//
// The document calls MakeDrawData with a progress handler that the window's
// processing window answers: it updates its bar and texts, lets messages
// through and returns false once the user pressed Cancel. Everything the
// window does not need to see (chunking, the per-chunk rules, read failures)
// happens here.
#pragma once

#include "DrawData.h"

class TDirectWavEngine;

// Reads the engine's open file: count values at bytePosition through
// ViewSamples, in place. A file that is gone raises; one that no longer
// holds the values (it shrank before the build), or an engine without a
// playable 16-bit file, gives null. Scan what it gives under the engine's
// ReadSamplesGuarded.
TDrawSampleReader EngineSampleReader(TDirectWavEngine& engine);

// Builds the draw data of the engine's open file in blocks of blockSize
// frames with threshold zeroLevel: into stereo for a stereo file (mono is
// emptied), into mono otherwise (stereo is emptied). A failed build leaves
// both empty; a file that loses bytes or goes away during the build (see
// TFileMapping) fails it.
TDrawBuildOutcome MakeDrawData(TDirectWavEngine& engine, int blockSize, int zeroLevel,
                               const TDrawProgressHandler& progress, TDrawDataStereo& stereo,
                               TDrawDataMono& mono);

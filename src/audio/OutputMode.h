// The channel treatment of playback, regions and the bounce. Region lists
// store the numbers: keep them. This header includes nothing of the
// platform, so that the region-list file's reader builds natively.
#pragma once

#include <cstdint>

enum class TOutputMode : std::uint8_t
{
    NoTouch = 0,
    MonoMix = 1,
    MonoLeft = 2,
    MonoRight = 3,
    Swap = 4
};

// Writes pixels to a PNG file (RGB, uncompressed deflate blocks), for looking
// at what a test saw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// pixels: width × height values 0xRRGGBB, row by row from the top. False
// when the file cannot be written.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels);

} // namespace testing_support

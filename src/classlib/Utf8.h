// UTF-8 and UTF-16 without the platform: window descriptions keep wide text
// as UTF-8. This header includes nothing of the platform, so the description
// reader also builds natively for fuzzing.
#pragma once

#include <cstddef>
#include <string>

// The UTF-8 form of text; false (and out unchanged) when text holds a
// surrogate without its partner, which UTF-8 cannot carry.
bool Utf16ToUtf8(const std::u16string& text, std::string& out);
// The UTF-16 form of UTF-8 bytes. Each byte of a malformed, cut or
// overlong sequence, and each encoded surrogate, becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& bytes);

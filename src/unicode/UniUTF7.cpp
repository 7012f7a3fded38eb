#include "UniUTF7.h"

#include <array>
#include <cstring>

namespace {

const char kUtf7Base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kUtf7Direct[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
const char kUtf7OptionalDirect[] = "!\"#$%&*;<=>@[]^_`{|}";
const char kUtf7WhiteSpace[] = "\t\r\n ";

// Room for the output: 7 bytes per character when encoding, one character
// per byte when decoding.
constexpr std::size_t kUtf7EncodeRoomPerChar = 7;

struct TUtf7Tables
{
    std::array<signed char, 128> Base64Value; // -1 for bytes outside the alphabet
    std::array<bool, 128> WrittenDirectly;
};

const TUtf7Tables& Utf7Tables()
{
    static const TUtf7Tables tables = [] {
        TUtf7Tables t{};
        t.Base64Value.fill(-1);
        for (int i = 0; i < 64; ++i)
            t.Base64Value[static_cast<unsigned char>(kUtf7Base64[i])] = static_cast<signed char>(i);
        for (const char* set : {kUtf7Direct, kUtf7OptionalDirect, kUtf7WhiteSpace})
            for (const char* c = set; *c; ++c)
                t.WrittenDirectly[static_cast<unsigned char>(*c)] = true;
        return t;
    }();
    return tables;
}

bool Utf7WrittenDirectly(char16_t c)
{
    return c < 128 && Utf7Tables().WrittenDirectly[c];
}

bool Utf7IsBase64(unsigned char c)
{
    return c < 128 && Utf7Tables().Base64Value[c] >= 0;
}

// Collects bits and writes them as base64 sextets.
class TUtf7BitWriter
{
public:
    explicit TUtf7BitWriter(std::string& out) : FOut(out) {}

    void Add(char16_t unit)
    {
        FBits = (FBits << 16) | unit;
        FCount += 16;
        while (FCount >= 6) {
            FCount -= 6;
            FOut += kUtf7Base64[(FBits >> FCount) & 0x3F];
        }
    }
    // Pads what is left to a whole sextet.
    void Flush()
    {
        if (FCount > 0)
            FOut += kUtf7Base64[(FBits << (6 - FCount)) & 0x3F];
        FBits = 0;
        FCount = 0;
    }

private:
    std::string& FOut;
    std::uint32_t FBits = 0; // the low FCount bits are pending
    int FCount = 0;
};

} // namespace

TUtf7Result Utf7Encode(const std::u16string& text, std::string& out)
{
    std::string result;
    const std::size_t room = text.size() * kUtf7EncodeRoomPerChar;
    TUtf7BitWriter bits(result);
    bool inRun = false;
    for (char16_t c : text) {
        if (Utf7WrittenDirectly(c)) {
            if (inRun) {
                bits.Flush();
                // Any base64 character or "-" would be read as part of the run.
                if (Utf7IsBase64(static_cast<unsigned char>(c)) || c == u'-')
                    result += '-';
                inRun = false;
            }
            result += static_cast<char>(c);
        } else if (c == u'+' && !inRun) {
            result += "+-";
        } else {
            if (!inRun) {
                result += '+';
                inRun = true;
            }
            bits.Add(c);
        }
        if (result.size() > room)
            return TUtf7Result::BufferOverflow;
    }
    if (inRun)
        bits.Flush();
    if (result.size() > room)
        return TUtf7Result::BufferOverflow;
    out = std::move(result);
    return TUtf7Result::Ok;
}

TUtf7Result Utf7Decode(const std::string& bytes, std::u16string& out)
{
    std::u16string result;
    const std::size_t room = bytes.size();
    bool invalid = false;
    bool inRun = false;
    bool runGaveChar = false;
    bool runEmpty = true; // nothing after the "+" yet
    std::uint32_t bits = 0;
    int count = 0;
    auto endRun = [&](bool minus) {
        if (runEmpty && minus)
            result += u'+';
        else if (!runGaveChar || (bits & ((1u << count) - 1)) != 0)
            invalid = true;
        inRun = false;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (inRun) {
            if (Utf7IsBase64(b)) {
                runEmpty = false;
                bits = (bits << 6) | static_cast<std::uint32_t>(Utf7Tables().Base64Value[b]);
                count += 6;
                if (count >= 16) {
                    count -= 16;
                    result += static_cast<char16_t>((bits >> count) & 0xFFFF);
                    bits &= (1u << count) - 1;
                    runGaveChar = true;
                }
                continue;
            }
            endRun(b == '-');
            if (b == '-')
                continue;
        }
        if (b == '+') {
            inRun = true;
            runGaveChar = false;
            runEmpty = true;
            bits = 0;
            count = 0;
            continue;
        }
        if (b > 127)
            invalid = true;
        result += static_cast<char16_t>(b);
        if (result.size() > room)
            return TUtf7Result::BufferOverflow;
    }
    if (inRun)
        endRun(false);
    out = std::move(result);
    return invalid ? TUtf7Result::Invalid : TUtf7Result::Ok;
}

// Writes the starting inputs of the rename-strings fuzz target into the
// folder named by the first argument: a few regions of each load type
// (some selected) with lines that carry extensions, blanks and tabs, names
// in code page 932 whose trail bytes are "\", "|" and letters, the same
// names cut inside a character, clashing names, control characters, an
// overlong line and clipboard text that goes on after a NUL.
#include "CorpusWrite.h"

#include <string>

namespace {

// type (1..3), regions, selection bits, flags (1 clipboard, 2 Yes), text.
bool CorpusInput(const std::string& folder, const std::string& name, int type, int regions,
                 unsigned selected, int flags, const std::string& text)
{
    std::vector<std::uint8_t> input = {
        static_cast<std::uint8_t>(type),           static_cast<std::uint8_t>(regions),
        static_cast<std::uint8_t>(selected),       static_cast<std::uint8_t>(selected >> 8),
        static_cast<std::uint8_t>(selected >> 16), static_cast<std::uint8_t>(selected >> 24),
        static_cast<std::uint8_t>(flags)};
    input.insert(input.end(), text.begin(), text.end());
    return CorpusWrite(folder, name, input);
}

// ソ, 表 and ポ end in "\", "\" and "|"; ア in "A".
const std::string kNames = "\x83\x5C\\\x95\x5C.wav\r\n\x83\x7C|\x83\x41\r\n";

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    bool ok =
        CorpusInput(folder, "lines", 1, 4, 0, 2, "01 Intro.mp3\r\n   02 Main\t\r\n\r\na.b.c\r\n") &&
        CorpusInput(folder, "japanese", 2, 6, 0x0C, 2, kNames + kNames) &&
        CorpusInput(folder, "cut", 3, 5, 0x15, 2,
                    kNames.substr(0, 1) + "\r\n" + kNames.substr(3, 6) + "\t\n\x95 \n") &&
        CorpusInput(folder, "clashes", 1, 3, 0, 2, "a\nA\na\na[1]\n") &&
        CorpusInput(folder, "refused", 3, 8, 0xFF, 0,
                    "x\"y*z?\n<a>|b:c/d\na\x01"
                    "b\x7F\n\x1B[0m\n") &&
        CorpusInput(folder, "long", 1, 2, 1, 3,
                    std::string(3000, 'n') + ".txt\nname" + std::string(1, '\0') + "after the end");
    return ok ? 0 : 1;
}

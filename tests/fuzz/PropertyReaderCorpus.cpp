// Writes the starting inputs of the description fuzz target into the folder
// named by the first argument: descriptions holding every value type, wide
// properties in their "_UTF7" and "W" forms, and each cut short.
#include "classlib/PropertyStream.h"
#include "fuzz/CorpusWrite.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> CorpusDescription(const std::function<void(TValueEmitter&)>& properties)
{
    TValueEmitter e;
    e.WriteSignature();
    e.WriteShortString("TUniAction");
    e.WriteShortString("Action1");
    properties(e);
    e.WriteEndOfList();
    return e.Bytes();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = CorpusFolder(argc, argv);
    if (folder.empty())
        return 2;
    const std::pair<std::string, std::vector<std::uint8_t>> inputs[] = {
        {"integers", CorpusDescription([](TValueEmitter& e) {
             e.WriteShortString("Small");
             e.WriteInteger(-5);
             e.WriteShortString("Medium");
             e.WriteInteger(3000);
             e.WriteShortString("Large");
             e.WriteInteger(-700000);
         })},
        {"flags", CorpusDescription([](TValueEmitter& e) {
             e.WriteShortString("Enabled");
             e.WriteBoolean(false);
             e.WriteShortString("Mode");
             e.WriteIdent("smFast");
         })},
        {"strings", CorpusDescription([](TValueEmitter& e) {
             e.WriteShortString("Hint");
             e.WriteString("\x95\x5C\x8E\xA6");
             e.WriteShortString("Long");
             e.WriteString(std::string(300, 'x'));
         })},
        {"wide", CorpusDescription([](TValueEmitter& e) {
             e.WriteShortString("Caption");
             e.WriteWideString(u"caf\u00E9");
             e.WriteShortString("Hint");
             e.WriteWideString(u"\u3042\uAC00");
         })},
        {"wide-forms", CorpusDescription([](TValueEmitter& e) {
             e.WriteShortString("Caption");
             e.WriteString("?");
             e.WriteShortString("Caption_UTF7");
             e.WriteString("+rAA-x");
             e.WriteShortString("HintW");
             e.WriteString("\xEA\xB0\x80");
             e.WriteShortString("LetterW");
             e.WriteUtf16(u"\u20AC");
         })},
    };
    for (const auto& [name, bytes] : inputs) {
        bool ok = CorpusWrite(folder, name, bytes);
        for (std::size_t cut : {std::size_t{6}, std::size_t{20}, bytes.size() / 2}) {
            if (cut < bytes.size())
                ok = CorpusWrite(folder, name + "-cut" + std::to_string(cut),
                                 std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + cut)) &&
                     ok;
        }
        if (!ok) {
            std::fprintf(stderr, "cannot write inputs into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

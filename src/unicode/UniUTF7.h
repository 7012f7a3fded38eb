// UTF-7 (RFC 2152) for wide property values in window descriptions, with
// the optional direct characters written directly.
//
// This unit works on portable UTF-16 strings and includes nothing of the
// platform, so the decoder also builds natively for fuzzing; EncodeUTF7 and
// DecodeUTF7 (UniSysUtils) raise the exceptions for its answers.
#pragma once

#include <string>

enum class TUtf7Result
{
    Ok,
    Invalid,       // malformed input
    BufferOverflow // the output outgrew the room the codec allows it
};

// Letters, digits and the characters '(),-./:? plus ' are written as
// themselves, as are !"#$%&*;<=>@[]^_`{|}, tab, CR, LF and space. Anything
// else goes into a run: "+", the 16-bit units in base64, and "-" when the
// next character could be taken for part of the run (a base64 character or
// "-"); no "-" at the end. "+" outside a run is "+-".
TUtf7Result Utf7Encode(const std::u16string& text, std::string& out);
// The inverse. Bytes above 127, runs that end with bits left over, and runs
// that give no character (other than "+-", a plus sign) are invalid; out
// then holds what was decoded nonetheless.
TUtf7Result Utf7Decode(const std::string& bytes, std::u16string& out);

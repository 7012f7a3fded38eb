#include "classlib/Exceptions.h"
#include "classlib/Streams.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

using testing_support::TempFolder;

namespace {

AnsiString ReadAll(TStream& s)
{
    AnsiString bytes(static_cast<size_t>(s.Size()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
}

void WriteText(TStream& s, const AnsiString& text)
{
    s.WriteBuffer(text.data(), static_cast<std::int32_t>(text.size()));
}

// The stream contract, run on a file stream and a memory stream alike.
void CheckSeekSizeAndShortReads(TStream& s)
{
    WriteText(s, "0123456789");
    EXPECT_EQ(s.Position(), 10);
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(s.Seek(2, soFromBeginning), 2);
    EXPECT_EQ(s.Seek(3, soFromCurrent), 5);
    EXPECT_EQ(s.Seek(-4, soFromEnd), 6);
    char two[2];
    s.ReadBuffer(two, 2);
    EXPECT_EQ(AnsiString(two, 2), "67");

    // A short read returns what there is; the buffer form raises.
    char ten[10];
    s.SetPosition(7);
    EXPECT_EQ(s.Read(ten, 10), 3);
    EXPECT_EQ(s.Read(ten, 10), 0);
    s.SetPosition(7);
    EXPECT_THROW(s.ReadBuffer(ten, 4), EReadError);

    // Writing past the end extends; the gap reads as zeros.
    s.SetPosition(12);
    WriteText(s, "X");
    EXPECT_EQ(ReadAll(s), AnsiString("0123456789\0\0X", 13));

    // Cutting keeps the position unless it lay beyond the new end.
    s.SetPosition(3);
    s.SetSize(5);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Position(), 3);
    s.SetPosition(5);
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 4);
    EXPECT_EQ(ReadAll(s), "0123");

    EXPECT_THROW(s.Seek(-1, soFromBeginning), EStreamError);
}

TEST(StreamsTest, FileAndMemoryStreamsKeepTheStreamContract)
{
    TempFolder dir;
    {
        TFileStream file(dir / "contract.bin", fmCreate);
        CheckSeekSizeAndShortReads(file);
    }
    TMemoryStream memory;
    CheckSeekSizeAndShortReads(memory);
}

TEST(StreamsTest, FileErrorsNameTheFile)
{
    TempFolder dir;
    AnsiString missing = dir / "nothing.wav";
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("Cannot open file \"" + missing + "\""), AnsiString::npos)
            << e.Message();
    }
    AnsiString inMissingFolder = dir / "no\\such\\folder.wav";
    try {
        TFileStream s(inMissingFolder, fmCreate);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find("Cannot create file \"" + inMissingFolder + "\""),
                  AnsiString::npos)
            << e.Message();
    }
    // Both are file-stream errors, so one handler catches either.
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EFileStreamError);
}

TEST(StreamsTest, WritingToAFileOpenedForReadingRaisesWriteError)
{
    TempFolder dir;
    dir.WriteFile("r.bin", "abc");
    TFileStream s(dir / "r.bin", fmOpenRead);
    EXPECT_EQ(s.Write("x", 1), 0);
    EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
}

TEST(StreamsTest, OpenModesGiveTheirAccess)
{
    TempFolder dir;
    dir.WriteFile("m.bin", "abcdef");
    {
        TFileStream s(dir / "m.bin", fmOpenReadWrite);
        s.SetPosition(2);
        WriteText(s, "ZZ");
        EXPECT_EQ(ReadAll(s), "abZZef");
    }
    {
        TFileStream s(dir / "m.bin", fmOpenWrite);
        char c;
        EXPECT_EQ(s.Read(&c, 1), 0);
        WriteText(s, "Q");
    }
    EXPECT_EQ(dir.ReadFile("m.bin"), "QbZZef");
    {
        TFileStream s(dir / "m.bin", fmCreate);
        EXPECT_EQ(s.Size(), 0); // create truncates an existing file
    }
}

TEST(StreamsTest, ShareModesDecideWhatASecondOpenMay)
{
    struct Case
    {
        unsigned first;
        unsigned second;
        bool allowed;
    };
    const Case cases[] = {
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
        {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
        {fmOpenReadWrite | fmShareDenyNone, fmOpenRead | fmShareDenyNone, true},
        // The second opener must also allow what the first already does.
        {fmOpenReadWrite | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, false},
        {fmCreate | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmCreate, fmOpenRead | fmShareDenyNone, false},
    };
    TempFolder dir;
    AnsiString path = dir / "shared.bin";
    for (const Case& c : cases) {
        dir.WriteFile("shared.bin", "data");
        TFileStream first(path, c.first);
        bool opened = true;
        try {
            TFileStream second(path, c.second);
        } catch (const EFOpenError&) {
            opened = false;
        }
        EXPECT_EQ(opened, c.allowed)
            << std::hex << "first 0x" << c.first << ", second 0x" << c.second;
    }
}

TEST(StreamsTest, PositionsBeyondFourGigabytes)
{
    TempFolder dir;
    const std::int64_t beyond = (std::int64_t(5) << 30) + 7; // sparse on the host's disk
    {
        TFileStream s(dir / "big.bin", fmCreate);
        EXPECT_EQ(s.Seek(beyond, soFromBeginning), beyond);
        WriteText(s, "end");
        EXPECT_EQ(s.Size(), beyond + 3);
        EXPECT_EQ(s.Seek(-3, soFromEnd), beyond);
    }
    TFileStream s(dir / "big.bin", fmOpenRead);
    s.SetPosition(beyond);
    char tail[3];
    s.ReadBuffer(tail, 3);
    EXPECT_EQ(AnsiString(tail, 3), "end");
}

TEST(StreamsTest, NamesWithTrailByteBackslashOpen)
{
    TempFolder dir;
    for (AnsiString name : {"表.wav", "ソ", "予定表"}) {
        {
            TFileStream s(dir / name, fmCreate);
            WriteText(s, name);
        }
        EXPECT_EQ(dir.ReadFile(name), name);
    }
}

TEST(StreamsTest, MemoryStreamLoadsSavesAndClears)
{
    TempFolder dir;
    dir.WriteFile("in.bin", AnsiString("a\0b\xff", 4));
    TMemoryStream m;
    m.LoadFromFile(dir / "in.bin");
    EXPECT_EQ(m.Size(), 4);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(AnsiString(static_cast<const char*>(m.Memory()), 4), AnsiString("a\0b\xff", 4));

    m.SetPosition(4);
    WriteText(m, "!");
    m.SetPosition(1); // saving writes everything, whatever the position
    m.SaveToFile(dir / "out.bin");
    EXPECT_EQ(dir.ReadFile("out.bin"), AnsiString("a\0b\xff!", 5));

    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_THROW(m.LoadFromFile(dir / "missing.bin"), EFOpenError);
}

TEST(StreamsTest, CopyFromCopiesACountOrTheWholeSource)
{
    TMemoryStream source;
    AnsiString big(600 * 1024 + 5, '\0'); // more than one copy chunk
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    WriteText(source, big);

    TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(&source, 0), static_cast<std::int64_t>(big.size()));
    EXPECT_EQ(ReadAll(whole), big);

    TMemoryStream part;
    source.SetPosition(10);
    EXPECT_EQ(part.CopyFrom(&source, 5), 5);
    EXPECT_EQ(ReadAll(part), big.substr(10, 5));
    EXPECT_EQ(source.Position(), 15);

    source.SetPosition(static_cast<std::int64_t>(big.size()) - 2);
    EXPECT_THROW(part.CopyFrom(&source, 3), EReadError);
}

} // namespace

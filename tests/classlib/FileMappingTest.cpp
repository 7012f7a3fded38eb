// The read-only file mapping: views at any offset show the file's bytes,
// also across the end of a window; nothing outside the file is shown; and
// the file cannot be shortened while the mapping lives; and a guarded read
// of bytes taken away under the mapping fails instead of the program.
#include "classlib/Exceptions.h"
#include "classlib/FileMapping.h"

#include "support/TempFolder.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <windows.h>

using testing_support::TempFolder;
using testing_support::TrySetFileLength;

namespace {

constexpr std::size_t kWindow = 64 * 1024; // the shortest window the system maps

// 300 KiB whose every byte tells its offset apart.
AnsiString PatternBytes()
{
    AnsiString bytes(300 * 1024, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

// The pattern written into a file of a temporary folder.
struct PatternFile
{
    TempFolder Folder;
    const AnsiString Bytes = PatternBytes();
    const AnsiString Path = Write(Folder, Bytes);

    static AnsiString Write(TempFolder& folder, const AnsiString& bytes)
    {
        folder.WriteFile("pattern.bin", bytes);
        return folder.File("pattern.bin");
    }
};

} // namespace

TEST(FileMapping, ViewsShowTheFileAtAnyOffsetAndNothingOutsideIt)
{
    const PatternFile file;
    const AnsiString& bytes = file.Bytes;
    TFileMapping mapping(file.Path, kWindow);
    ASSERT_TRUE(mapping.IsOpen());
    EXPECT_EQ(mapping.Size(), bytes.size());

    struct Shown
    {
        std::uint64_t Offset;
        std::size_t Count;
    };
    for (Shown s : {Shown{44, 4096}, Shown{44 + 4096, 4096}, // on from an unaligned start
                    Shown{kWindow - 10, 20},                 // across the end of a window
                    Shown{0, bytes.size()},                  // longer than a window
                    Shown{200000, 1000}, Shown{10, 10},      // ahead, then back again
                    Shown{bytes.size() - 1, 1}}) {
        const void* view = mapping.View(s.Offset, s.Count);
        ASSERT_NE(view, nullptr) << s.Count << " at " << s.Offset;
        EXPECT_EQ(std::memcmp(view, bytes.data() + s.Offset, s.Count), 0)
            << s.Count << " at " << s.Offset;
    }
    for (Shown s : {Shown{bytes.size() - 1, 2}, Shown{bytes.size(), 1},
                    Shown{bytes.size() + 100, 1}, Shown{0, 0}})
        EXPECT_EQ(mapping.View(s.Offset, s.Count), nullptr) << s.Count << " at " << s.Offset;
}

TEST(FileMapping, TheFileCannotBeShortenedWhileMappedButStaysWritable)
{
    TempFolder folder;
    const AnsiString path = folder.File("held.bin");
    folder.WriteFile("held.bin", PatternBytes());
    {
        TFileMapping mapping(path, kWindow);
        ASSERT_NE(mapping.View(250000, 100), nullptr); // a window far from the cut
        EXPECT_FALSE(TrySetFileLength(path, 1000));
        ASSERT_NE(mapping.View(100, 100), nullptr); // the next window holds it as well
        EXPECT_FALSE(TrySetFileLength(path, 1000));
        HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(writer, INVALID_HANDLE_VALUE);
        CloseHandle(writer);
        EXPECT_FALSE(DeleteFileA(path.c_str()));
    }
    EXPECT_TRUE(TrySetFileLength(path, 1000));
}

namespace {

// Reads count bytes one by one, noting how far it came.
struct GuardedByteRead
{
    const volatile std::uint8_t* Bytes;
    std::size_t Count;
    std::size_t Done = 0;
    unsigned Sum = 0;

    static void Run(void* context)
    {
        auto* read = static_cast<GuardedByteRead*>(context);
        for (read->Done = 0; read->Done < read->Count; ++read->Done)
            read->Sum += read->Bytes[read->Done];
    }
};

} // namespace

TEST(FileMapping, AGuardedReadOfBytesTakenAwayFailsWhereTheyEnd)
{
    const PatternFile file;
    const AnsiString& bytes = file.Bytes;
    TFileMapping mapping(file.Path, kWindow);
    const auto* view = static_cast<const volatile std::uint8_t*>(mapping.View(0, bytes.size()));
    ASSERT_NE(view, nullptr);
    GuardedByteRead whole{view, bytes.size()};
    EXPECT_TRUE(mapping.ReadGuarded(&GuardedByteRead::Run, &whole));
    EXPECT_EQ(whole.Done, bytes.size());

    // A page of the window made unreadable faults as a lost page does (the
    // document's tests cut a file from outside).
    DWORD before = 0;
    ASSERT_TRUE(
        VirtualProtect(const_cast<std::uint8_t*>(view) + 8192, 4096, PAGE_NOACCESS, &before));
    GuardedByteRead denied{view, bytes.size()};
    EXPECT_FALSE(mapping.ReadGuarded(&GuardedByteRead::Run, &denied));
    EXPECT_EQ(denied.Done, 8192u);
    ASSERT_TRUE(VirtualProtect(const_cast<std::uint8_t*>(view) + 8192, 4096, before, &before));

    // A C++ exception passes through the guard.
    EXPECT_THROW(mapping.ReadGuarded([](void*) { throw Exception("raised"); }, nullptr), Exception);
}

TEST(FileMapping, MissingAndEmptyFilesAreNotOpen)
{
    TempFolder folder;
    folder.WriteFile("empty.bin", "");
    for (const char* name : {"missing.bin", "empty.bin"}) {
        TFileMapping mapping(folder.File(name));
        EXPECT_FALSE(mapping.IsOpen()) << name;
        EXPECT_EQ(mapping.View(0, 1), nullptr) << name;
    }
}

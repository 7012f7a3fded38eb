// A bounce folder on disk that a test can watch and break: it hears every
// new file, and one of them may take only so many bytes before its writes
// fail (a full disk; permission bits stop nothing when tests run as root).
#pragma once

#include "editor/BounceWriter.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace testing_support {

class TTestBounceFolder : public TBounceFolder
{
public:
    explicit TTestBounceFolder(const AnsiString& folder) : FDisk(folder) {}

    // The failingFile-th new file (from 1) takes budget bytes, then refuses.
    void FailFile(int failingFile, std::int64_t budget);
    // Hears each new file: its number from 1 and its name.
    std::function<void(int number, const AnsiString& name)> OnCreated;

    bool Exists(const AnsiString& name) override { return FDisk.Exists(name); }
    std::unique_ptr<TStream> CreateNew(const AnsiString& name) override;
    void Delete(const AnsiString& name) override { FDisk.Delete(name); }
    std::size_t NameRoom() const override { return FDisk.NameRoom(); }

private:
    TDiskBounceFolder FDisk;
    int FFailingFile = 0;     // which new file fails, from 1; 0 for none
    std::int64_t FBudget = 0; // bytes it takes before failing
    int FCreated = 0;         // new files so far
};

} // namespace testing_support

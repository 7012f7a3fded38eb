#include "BounceTestFolder.h"

#include <algorithm>

namespace testing_support {

namespace {

// A stream that takes budget bytes and then refuses.
class TFailingStream : public TStream
{
public:
    TFailingStream(std::unique_ptr<TStream> inner, std::int64_t budget)
        : FInner(std::move(inner)), FBudget(budget)
    {
    }
    std::int32_t Read(void* buffer, std::int32_t count) override
    {
        return FInner->Read(buffer, count);
    }
    std::int32_t Write(const void* buffer, std::int32_t count) override
    {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, FBudget));
        FBudget -= n;
        return n > 0 ? FInner->Write(buffer, n) : 0;
    }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override
    {
        return FInner->Seek(offset, origin);
    }
    void SetSize(std::int64_t size) override { FInner->SetSize(size); }

private:
    std::unique_ptr<TStream> FInner; // the file on disk
    std::int64_t FBudget;            // bytes it still takes
};

} // namespace

void TTestBounceFolder::FailFile(int failingFile, std::int64_t budget)
{
    FFailingFile = failingFile;
    FBudget = budget;
}

std::unique_ptr<TStream> TTestBounceFolder::CreateNew(const AnsiString& name)
{
    std::unique_ptr<TStream> file = FDisk.CreateNew(name);
    if (!file)
        return file;
    ++FCreated;
    if (OnCreated)
        OnCreated(FCreated, name);
    if (FCreated == FFailingFile)
        return std::make_unique<TFailingStream>(std::move(file), FBudget);
    return file;
}

} // namespace testing_support

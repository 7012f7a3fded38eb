// Our COM objects' reference counts and interface queries.
#include "classlib/ComObject.h"

#include <gtest/gtest.h>

namespace {

class TCountedUnknown : public TComObject<IUnknown>
{
public:
    explicit TCountedUnknown(bool& freed) : FFreed(freed) {}
    ~TCountedUnknown() override { FFreed = true; }

private:
    bool& FFreed;
};

TEST(ComObjects, TheLastReleaseFreesAndUnknownInterfacesAreRefused)
{
    bool freed = false;
    auto* object = new TCountedUnknown(freed);
    EXPECT_EQ(object->ReferenceCount(), 1) << "the maker's reference";
    IUnknown* asked = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&asked)), S_OK);
    EXPECT_EQ(asked, static_cast<IUnknown*>(object));
    EXPECT_EQ(object->ReferenceCount(), 2);
    IUnknown* dispatch = object;
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)),
              E_NOINTERFACE);
    EXPECT_EQ(dispatch, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(asked->Release(), 1u);
    EXPECT_FALSE(freed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(freed);
}

} // namespace

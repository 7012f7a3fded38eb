#include "classlib/Exceptions.h"
#include "classlib/Registry.h"
#include "classlib/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TRegistry reg;
        reg.DeleteKey(FBase);
    }
    void TearDown() override
    {
        TRegistry reg;
        reg.DeleteKey(FBase);
        EXPECT_FALSE(reg.KeyExists(FBase));
    }
    const AnsiString FBase = "\\Software\\ZandrelTest-" + std::to_string(GetCurrentProcessId());
};

TEST_F(RegistryTest, ValuesRoundTripAndMissingOnesReadAsTheyShould)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(FBase + "\\Settings", false));
    ASSERT_TRUE(reg.OpenKey(FBase + "\\Settings", true));
    EXPECT_EQ(reg.CurrentPath(), FBase.substr(1) + "\\Settings");
    reg.WriteString("Name", "表ソ\\能");
    reg.WriteString("", "default value");
    reg.WriteInteger("Delay", -400);
    reg.WriteBool("On", true);
    EXPECT_EQ(reg.ReadString("Name"), "表ソ\\能");
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadInteger("Delay"), -400);
    EXPECT_TRUE(reg.ReadBool("On"));
    EXPECT_TRUE(reg.ValueExists("Delay"));
    EXPECT_FALSE(reg.ValueExists("Missing"));

    EXPECT_EQ(reg.ReadString("Missing"), "");
    try {
        reg.ReadInteger("Missing");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to get data for 'Missing'");
    }
    EXPECT_THROW(reg.ReadInteger("Name"), ERegistryException); // a string
    EXPECT_THROW(reg.ReadString("Delay"), ERegistryException); // an integer
    EXPECT_TRUE(reg.DeleteValue("Delay"));
    EXPECT_FALSE(reg.ValueExists("Delay"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);

    // A string value stored without its terminating zero reads whole.
    HKEY raw;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (FBase.substr(1) + "\\Settings").c_str(), 0,
                            KEY_ALL_ACCESS, &raw),
              ERROR_SUCCESS);
    RegSetValueExA(raw, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    RegCloseKey(raw);
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase + "\\Settings"));
    EXPECT_EQ(reg.ReadString("Bare"), "abc");
    EXPECT_THROW(reg.WriteString("Name", "x"), ERegistryException); // opened read-only
    EXPECT_EQ(reg.ReadString("Name"), "表ソ\\能");
}

TEST_F(RegistryTest, PathsAreRelativeToTheOpenKeyUnlessRooted)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FBase, true));
    ASSERT_TRUE(reg.OpenKey("Child\\", true)); // relative, trailing "\" ignored
    EXPECT_EQ(reg.CurrentPath(), FBase.substr(1) + "\\Child");
    EXPECT_TRUE(reg.CreateKey("Grandchild\\Deeper"));
    EXPECT_TRUE(reg.KeyExists("Grandchild"));
    EXPECT_TRUE(reg.KeyExists(FBase + "\\Child\\Grandchild\\Deeper"));
    EXPECT_FALSE(reg.KeyExists("Nothing"));

    TStringList names;
    reg.CreateKey("ソ");
    reg.GetKeyNames(&names);
    EXPECT_EQ(names.Count(), 2);
    EXPECT_GE(names.IndexOf("Grandchild"), 0);
    EXPECT_GE(names.IndexOf("ソ"), 0);
    reg.WriteInteger("a", 1);
    reg.WriteString("b", "2");
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 2);

    ASSERT_TRUE(reg.OpenKey(FBase, false)); // rooted again
    EXPECT_EQ(reg.CurrentPath(), FBase.substr(1));
    EXPECT_TRUE(reg.DeleteKey("Child")); // with everything below it
    EXPECT_FALSE(reg.KeyExists("Child"));
    EXPECT_FALSE(reg.DeleteKey("Child"));
    EXPECT_FALSE(reg.DeleteKey(""));
}

} // namespace

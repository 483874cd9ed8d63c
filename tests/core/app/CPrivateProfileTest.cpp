#include "core/app/CPrivateProfile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ormavex;
using ormavex::test::ReadBytes;
using ormavex::test::TempDir;
using ormavex::test::WriteSjisLines;

TEST(CPrivateProfile, ReadsDefaultsFromAMissingFile) {
    TempDir dir;
    EXPECT_EQ(CPrivateProfile::GetValueLong(dir.file("none.ini"), "Chapter", "Method"), 0);
    EXPECT_EQ(CPrivateProfile::GetValueString(dir.file("none.ini"), "FileName", "InitDir"), "");
}

TEST(CPrivateProfile, ReadsKeysWithoutRegardToCase) {
    TempDir dir;
    WriteSjisLines(dir.file("k.ini"),
                   {"[Chapter]", "Method = 2", "Init=12abc", "Style1=x", "Low=-2147483647",
                    "Over=-99999999999", "[FIX_8*4]", "Count=3", "1=0.50", "10=\"計算 数表\""});
    const std::string f = dir.file("k.ini");
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "chapter", "METHOD"), 2);
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "Chapter", "Init"), 12);
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "Chapter", "Style1"), 0);
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "Chapter", "Low"), -2147483647);
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "Chapter", "Over"), -2147483647 - 1);
    EXPECT_EQ(GetIniString("FIX_8*4", "1", f), "0.50");
    EXPECT_EQ(GetIniString("FIX_8*4", "10", f), "計算 数表");
    EXPECT_EQ(GetIniString("FIX_8*4", "01", f), "");
}

TEST(CPrivateProfile, WritesAndCutsLongValuesTo127Bytes) {
    TempDir dir;
    const std::string f = dir.file("s.ini");
    ASSERT_TRUE(CPrivateProfile::SetValueString(f, "MenuMain", "Top", "120"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(f, "FileName", "FileName1", "/a/b.kvt"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(f, "MenuMain", "Left", "-5"));
    ASSERT_TRUE(CPrivateProfile::SetValueString(f, "MenuMain", "Top", "130"));
    EXPECT_EQ(ReadBytes(f),
              "[MenuMain]\r\nTop=130\r\nLeft=-5\r\n[FileName]\r\nFileName1=/a/b.kvt\r\n");
    EXPECT_EQ(CPrivateProfile::GetValueLong(f, "MenuMain", "Left"), -5);

    const std::string longPath = "/" + std::string(200, 'p');
    ASSERT_TRUE(CPrivateProfile::SetValueString(f, "FileName", "FileName2", longPath));
    EXPECT_EQ(CPrivateProfile::GetValueString(f, "FileName", "FileName2"), longPath.substr(0, 127));
    EXPECT_FALSE(CPrivateProfile::SetValueString(dir.file("no/such/folder.ini"), "A", "B", "C"));
}

#include "winsupport/SettingsStore.h"

#include "tests/support/ProductStateTest.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace
{
class SettingsStoreTest : public ProductStateTest
{
  protected:
    // Stores raw registry data the way another program (or an older version) might have.
    static void SetRaw(const std::wstring& keyPath, const wchar_t* valueName, DWORD type, const void* data, DWORD size)
    {
        UniqueHkey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    key.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(key.Get(), valueName, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    static bool KeyExists(const std::wstring& keyPath)
    {
        UniqueHkey key;
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
    }

    static DWORD SubkeyCount(const std::wstring& keyPath)
    {
        UniqueHkey key;
        DWORD count = 0;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS)
            ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr);
        return count;
    }
};

const std::wstring kProductKey = kProductKeyPath;
} // namespace

TEST_F(SettingsStoreTest, AbsentValuesLeaveTheCallersDefault)
{
    std::wstring text = L"default";
    DWORD number = 42;
    EXPECT_FALSE(ReadSettingString(L"Format Text", text));
    EXPECT_FALSE(ReadSettingDword(L"Sort Option", number));
    EXPECT_FALSE(ReadSettingString(L"No\\Such\\Value", text));
    EXPECT_EQ(text, L"default");
    EXPECT_EQ(number, 42u);
    EXPECT_FALSE(KeyExists(kProductKey));
}

TEST_F(SettingsStoreTest, TextsReadBackWholeAtAnyLength)
{
    // The first query holds 256 bytes: 127 characters and the terminator. Longer texts need the second.
    for (const size_t length : {0, 1, 126, 127, 128, 129, 300, 40000})
    {
        std::wstring written;
        for (size_t i = 0; i < length; ++i)
            written += static_cast<wchar_t>(L'a' + i % 26);
        if (length > 2)
            written[1] = L'\u00E4'; // and non-ASCII text survives
        ASSERT_TRUE(WriteSettingString(L"Format Text", written));
        std::wstring read = L"stale";
        ASSERT_TRUE(ReadSettingString(L"Format Text", read)) << length;
        EXPECT_EQ(read, written) << length;
    }

    ASSERT_TRUE(WriteSettingDword(L"Sort Option", 0xFFFFFFFFu));
    DWORD number = 0;
    ASSERT_TRUE(ReadSettingDword(L"Sort Option", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
}

TEST_F(SettingsStoreTest, BackslashesAddressSubkeys)
{
    ASSERT_TRUE(WriteSettingDword(L"CopyPathsDlgWidth", 640));
    EXPECT_EQ(SubkeyCount(kProductKey), 0u) << "a plain name lives directly under the product key";

    ASSERT_TRUE(WriteSettingString(L"Outer\\Inner\\Value", L"deep"));
    EXPECT_TRUE(KeyExists(kProductKey + L"\\Outer\\Inner"));
    std::wstring text;
    EXPECT_TRUE(ReadSettingString(L"Outer\\Inner\\Value", text));
    EXPECT_EQ(text, L"deep");
    EXPECT_FALSE(ReadSettingString(L"Outer\\Value", text));
    EXPECT_FALSE(ReadSettingString(L"Value", text));

    DWORD width = 0;
    EXPECT_TRUE(ReadSettingDword(L"CopyPathsDlgWidth", width));
    EXPECT_EQ(width, 640u);
}

TEST_F(SettingsStoreTest, OtherValueKindsReadAsAbsent)
{
    const wchar_t expand[] = L"%TEMP%";
    SetRaw(kProductKey, L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    const ULONGLONG quad = 7;
    SetRaw(kProductKey, L"Quad", REG_QWORD, &quad, sizeof(quad));
    const DWORD number = 7;
    SetRaw(kProductKey, L"Number", REG_DWORD, &number, sizeof(number));
    SetRaw(kProductKey, L"Text", REG_SZ, L"7", 4);
    const BYTE binary[] = {1, 2, 3, 4};
    SetRaw(kProductKey, L"Binary", REG_BINARY, binary, sizeof(binary));

    std::wstring text = L"kept";
    DWORD read = 99;
    EXPECT_FALSE(ReadSettingString(L"Expand", text));
    EXPECT_FALSE(ReadSettingString(L"Quad", text));
    EXPECT_FALSE(ReadSettingString(L"Number", text));
    EXPECT_FALSE(ReadSettingDword(L"Quad", read));
    EXPECT_FALSE(ReadSettingDword(L"Text", read));
    EXPECT_FALSE(ReadSettingDword(L"Binary", read));
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(read, 99u);
}

TEST_F(SettingsStoreTest, TextEndsAtTheFirstNulOrTheEndOfTheData)
{
    SetRaw(kProductKey, L"Unterminated", REG_SZ, L"abc", 6);
    SetRaw(kProductKey, L"Embedded", REG_SZ, L"ab\0cd", 12);
    SetRaw(kProductKey, L"OddSize", REG_SZ, L"abc", 5);
    const std::wstring full(200, L'x'); // over the first query, without a terminator
    SetRaw(kProductKey, L"LongUnterminated", REG_SZ, full.data(), 400);

    std::wstring text;
    EXPECT_TRUE(ReadSettingString(L"Unterminated", text));
    EXPECT_EQ(text, L"abc");
    EXPECT_TRUE(ReadSettingString(L"Embedded", text));
    EXPECT_EQ(text, L"ab");
    EXPECT_TRUE(ReadSettingString(L"OddSize", text));
    EXPECT_EQ(text, L"ab");
    EXPECT_TRUE(ReadSettingString(L"LongUnterminated", text));
    EXPECT_EQ(text, full);
}

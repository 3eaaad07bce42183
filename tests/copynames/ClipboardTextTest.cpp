#include "copynames/ClipboardText.h"
#include "winsupport/Clipboard.h"
#include "winsupport/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace
{
std::wstring CurrentClipboardText()
{
    const ClipboardSession clipboard;
    EXPECT_TRUE(clipboard.IsOpen());
    return OpenClipboardText();
}
} // namespace

TEST(ClipboardTextTest, GrowsAndWritesLineFeedsAsCrLf)
{
    ClipboardText text;
    EXPECT_EQ(text.Capacity(), 0u);
    text.Append(L"a");
    EXPECT_EQ(text.Capacity(), 256u);
    text.Append(std::wstring(300, L'b'));
    EXPECT_EQ(text.Capacity(), 512u) << "twice the old capacity when that is enough";
    text.Append(std::wstring(2000, L'c'));
    EXPECT_EQ(text.Capacity(), 2301u) << "the size needed when twice is not enough";
    EXPECT_EQ(text.Length(), 2301u);
    EXPECT_EQ(text.CStr()[text.Length()], L'\0');

    text.Clear();
    text.Append(L"1\n2\r3\r\n\n");
    EXPECT_EQ(text.Text(), L"1\r\n2\r3\r\r\n\r\n");
    EXPECT_EQ(wcslen(text.CStr()), text.Length());
}

TEST(ClipboardTextTest, PutsTextOnTheClipboardOrEmptiesIt)
{
    ClipboardText text;
    text.Append(L"first\nsecond \u00e4\U0001F600");
    ASSERT_TRUE(text.PutOnClipboard());
    EXPECT_EQ(CurrentClipboardText(), L"first\r\nsecond \u00e4\U0001F600");

    const ClipboardText empty;
    ASSERT_TRUE(empty.PutOnClipboard());
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(ClipboardTextTest, AClipboardHeldByAnotherWindowIsLeftAlone)
{
    ClipboardText before;
    before.Append(L"before");
    ASSERT_TRUE(before.PutOnClipboard());

    // Another thread's window holds the clipboard open while this one tries to write.
    const UniqueKernelHandle opened(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        HWND window =
            ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool open = ::OpenClipboard(window) != FALSE;
        ::SetEvent(opened.Get());
        ::WaitForSingleObject(done.Get(), 10000);
        if (open)
            ::CloseClipboard();
        ::DestroyWindow(window);
    });
    ::WaitForSingleObject(opened.Get(), 10000);
    ClipboardText after;
    after.Append(L"after");
    EXPECT_FALSE(after.PutOnClipboard());
    ::SetEvent(done.Get());
    holder.join();
    EXPECT_EQ(CurrentClipboardText(), L"before");
}

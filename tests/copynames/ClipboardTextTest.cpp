#include "copynames/ClipboardText.h"
#include "copynames/CopyPathCommand.h"
#include "copynames/PastePathCommand.h"
#include "tests/support/ClipboardHelpers.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "winui/Clipboard.h"
#include "winui/WindowHandles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
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
    ASSERT_TRUE(PutClipboardText(text.Text()));
    EXPECT_EQ(CurrentClipboardText(), L"first\r\nsecond \u00e4\U0001F600");

    const ClipboardText empty;
    ASSERT_TRUE(PutClipboardText(empty.Text()));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(ClipboardTextTest, AClipboardHeldByAnotherWindowIsLeftAlone)
{
    ClipboardText before;
    before.Append(L"before");
    ASSERT_TRUE(PutClipboardText(before.Text()));

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
    EXPECT_FALSE(PutClipboardText(after.Text()));
    ::SetEvent(done.Get());
    holder.join();
    EXPECT_EQ(CurrentClipboardText(), L"before");
}

namespace
{
// Another program's window holding the clipboard open, from a thread of its own, until released.
class ClipboardHolder
{
  public:
    ClipboardHolder()
    {
        m_thread = std::thread([this] {
            const UniqueWindow window(
                ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
            const bool open = ::OpenClipboard(window.Get()) != FALSE;
            ::SetEvent(m_opened.Get());
            ::WaitForSingleObject(m_release.Get(), 10000);
            if (open)
                ::CloseClipboard();
        });
        ::WaitForSingleObject(m_opened.Get(), 10000);
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder()
    {
        Release();
        m_thread.join();
    }
    void Release() { ::SetEvent(m_release.Get()); }

  private:
    UniqueKernelHandle m_opened{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle m_release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread m_thread;
};

// A window of another thread told of every change in a folder; at the first it asks for the clipboard.
struct FolderWatch
{
    static constexpr UINT kChanged = WM_APP + 1;

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != kChanged)
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        auto& watch = *reinterpret_cast<FolderWatch*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (watch.notified++ == 0 && ::OpenClipboard(hwnd))
        {
            watch.clipboardFree = true;
            ::CloseClipboard();
        }
        return 0;
    }

    std::wstring folder;
    std::atomic<HWND> window{nullptr};
    std::atomic<int> notified{0};
    std::atomic<bool> clipboardFree{false};
};

using ClipboardCommandTest = TempFolderTest;
} // namespace

TEST_F(ClipboardCommandTest, ACopyWaitsBrieflyForTheClipboardAndFailsVisiblyAfterThat)
{
    {
        ClipboardHolder holder;
        // A clipboard manager lets go after a moment.
        std::thread release([&] {
            ::Sleep(60);
            holder.Release();
        });
        ClipboardText text;
        text.Append(L"copied");
        EXPECT_TRUE(PutClipboardText(text.Text()));
        release.join();
    }
    EXPECT_EQ(CurrentClipboardText(), L"copied");

    // Held for good: the copy fails, so the item is not deleted as if its name had been copied.
    const std::wstring file = TempPath(L"keep.txt");
    ASSERT_TRUE(WriteFileBytes(file, "keep"));
    Selection selection;
    selection.paths.Append(file);
    {
        ClipboardHolder holder;
        CopyPathCommand(L"Copy Filename and Delete", CopyPathCommand::kCopyNameAndDelete)
            .Invoke(selection, 0, CWindow());
    }
    EXPECT_EQ(ReadFileBytes(file), std::optional<std::string>("keep"));
    EXPECT_EQ(CurrentClipboardText(), L"copied");
}

TEST_F(ClipboardCommandTest, PasteLetsGoOfTheClipboardBeforeTheShellRenames)
{
    const std::wstring file = TempPath(L"old.txt");
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    SetClipboardText(L"new.txt");

    // The shell tells watchers of the folder about the rename while its operation runs: ask for
    // the clipboard from there, as another program would.
    FolderWatch watch;
    watch.folder = TempFolder();
    std::thread watcher([&watch] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &FolderWatch::Procedure;
        windowClass.lpszClassName = L"BrelvantaTestWatcher";
        ::RegisterClassW(&windowClass);
        const UniqueWindow window(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                    nullptr, nullptr, nullptr));
        ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
        PIDLIST_ABSOLUTE folder = nullptr;
        ::SHParseDisplayName(watch.folder.c_str(), nullptr, &folder, 0, nullptr);
        const SHChangeNotifyEntry entry{folder, TRUE};
        const ULONG registration = ::SHChangeNotifyRegister(window.Get(), SHCNRF_ShellLevel | SHCNRF_InterruptLevel,
                                                            SHCNE_ALLEVENTS, FolderWatch::kChanged, 1, &entry);
        watch.window = window.Get();
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&message);
        ::SHChangeNotifyDeregister(registration);
        ::CoTaskMemFree(folder);
    });
    while (!watch.window)
        ::Sleep(5);

    Selection selection;
    selection.paths.Append(file);
    PastePathCommand(L"Paste Filename", PastePathCommand::kPasteName).Invoke(selection, 0, CWindow());
    for (int wait = 0; wait < 100 && watch.notified == 0; ++wait)
        ::Sleep(10);
    ::PostMessageW(watch.window, WM_QUIT, 0, 0);
    watcher.join();

    EXPECT_TRUE(PathExists(TempPath(L"new.txt")));
    ASSERT_GT(watch.notified, 0) << "the shell told no watcher";
    EXPECT_TRUE(watch.clipboardFree) << "the clipboard was still held during the rename";
}

TEST_F(ClipboardCommandTest, ARenameTargetIsAFreeNameOrTheItemItselfInAnotherCase)
{
    const std::wstring item = TempPath(L"item.txt");
    ASSERT_TRUE(WriteFileBytes(item, "x"));
    ASSERT_TRUE(CreateFolder(TempPath(L"sub")));
    EXPECT_FALSE(IsFreeRenameTarget(item, item)) << "nothing to do";
    EXPECT_TRUE(IsFreeRenameTarget(item, TempPath(L"ITEM.TXT"))) << "its case only";
    EXPECT_TRUE(IsFreeRenameTarget(item, TempPath(L"free.txt")));
    EXPECT_FALSE(IsFreeRenameTarget(item, TempPath(L"SUB"))) << "a folder would take it in";
    EXPECT_FALSE(IsFreeRenameTarget(item, TempFolder())) << "the folder that holds it";
}

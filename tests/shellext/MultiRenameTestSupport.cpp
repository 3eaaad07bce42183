#include "tests/shellext/MultiRenameTestSupport.h"

#include "tests/support/FileHelpers.h"
#include "winsupport/FolderEnumerator.h"
#include "winsupport/StringUtil.h"
#include "winui/Window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace
{
thread_local NestedDialogs* t_nested = nullptr;

BOOL CALLBACK CollectPart(HWND window, LPARAM context) noexcept
{
    const int id = ::GetDlgCtrlID(window);
    if (id == rename_ids::kPartEdit || id == rename_ids::kPartButton)
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectVisibleDialog(HWND window, LPARAM context) noexcept
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::IsWindowVisible(window) && std::wstring(name) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::string Narrow(const std::wstring& text)
{
    return WideToUtf8(text);
}
} // namespace

std::vector<PartControl> PartRow(HWND dialog)
{
    std::vector<HWND> windows;
    ::EnumChildWindows(dialog, &CollectPart, reinterpret_cast<LPARAM>(&windows));
    std::vector<PartControl> parts;
    for (const HWND window : windows)
    {
        PartControl part;
        part.window = window;
        part.button = ::GetDlgCtrlID(window) == rename_ids::kPartButton;
        part.text = GetWindowTextString(window);
        ::GetWindowRect(window, &part.rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&part.rect), 2);
        parts.push_back(part);
    }
    std::sort(parts.begin(), parts.end(),
              [](const PartControl& a, const PartControl& b) { return a.rect.left < b.rect.left; });
    return parts;
}

std::wstring PartTexts(HWND dialog)
{
    std::wstring texts;
    bool first = true;
    for (const PartControl& part : PartRow(dialog))
    {
        texts += (first ? L"" : L"|") + part.text;
        first = false;
    }
    return texts;
}

void TypeIntoPart(HWND dialog, size_t editIndex, const std::wstring& text)
{
    size_t index = 0;
    for (const PartControl& part : PartRow(dialog))
        if (!part.button && index++ == editIndex)
        {
            ::SendMessageW(part.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            return;
        }
    ADD_FAILURE() << "no edit box " << editIndex << " in the part row";
}

void ClickPartButton(HWND dialog, size_t buttonIndex)
{
    size_t index = 0;
    for (const PartControl& part : PartRow(dialog))
        if (part.button && index++ == buttonIndex)
        {
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(rename_ids::kPartButton, BN_CLICKED),
                           reinterpret_cast<LPARAM>(part.window));
            return;
        }
    ADD_FAILURE() << "no button " << buttonIndex << " in the part row";
}

std::vector<std::wstring> ListColumn(HWND dialog, int column)
{
    const HWND list = ::GetDlgItem(dialog, rename_ids::kNames);
    std::vector<std::wstring> rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
    {
        std::wstring text(1024, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        text.resize(static_cast<size_t>(::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))));
        rows.push_back(std::move(text));
    }
    return rows;
}

std::vector<int> StateImages(HWND dialog)
{
    const HWND list = ::GetDlgItem(dialog, rename_ids::kNames);
    std::vector<int> images;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row)
        images.push_back(static_cast<int>(ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) >> 12));
    return images;
}

bool IsButtonChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ClickCheck(HWND dialog, int id, bool checked)
{
    const HWND button = ::GetDlgItem(dialog, id);
    ASSERT_TRUE(::IsWindowEnabled(button)) << id;
    ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

NestedDialogs::NestedDialogs()
{
    t_nested = this;
    m_deadline = ::GetTickCount64() + 20000;
    m_timer = ::SetTimer(nullptr, 0, 15, &NestedDialogs::Tick);
}

NestedDialogs::~NestedDialogs()
{
    ::KillTimer(nullptr, m_timer);
    t_nested = nullptr;
}

void NestedDialogs::On(std::wstring caption, std::function<void(DialogHandle)> script)
{
    m_scripts.push_back({std::move(caption), std::move(script)});
}

void NestedDialogs::AnswerMessage()
{
    On(kRenameMessageCaption, [this](DialogHandle box) {
        m_messages.push_back(box.GetText(0xFFFF));
        box.Click(IDOK);
    });
}

void CALLBACK NestedDialogs::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
{
    if (t_nested)
        t_nested->Poll();
}

void NestedDialogs::Poll()
{
    if (m_running)
        return;
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectVisibleDialog, reinterpret_cast<LPARAM>(&dialogs));
    if (::GetTickCount64() > m_deadline)
    {
        for (const HWND window : dialogs)
            if (GetWindowTextString(window) != kMultiRenameCaption)
                ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    if (m_scripts.empty())
        return;
    for (const HWND window : dialogs)
    {
        const std::wstring caption = GetWindowTextString(window);
        const std::wstring& wanted = m_scripts.front().caption;
        if (std::find(m_handled.begin(), m_handled.end(), window) != m_handled.end() ||
            (wanted.empty() ? caption == kMultiRenameCaption : caption != wanted))
            continue;
        Script script = std::move(m_scripts.front());
        m_scripts.erase(m_scripts.begin());
        m_handled.push_back(window);
        m_running = true;
        try
        {
            script.run(DialogHandle(window));
        }
        catch (...)
        {
            ADD_FAILURE() << "the nested script for " << Narrow(script.caption) << " threw";
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        m_running = false;
        return;
    }
}

bool MultiRenameTest::RunMultiRename(const std::vector<std::wstring>& paths, DialogDriver::Script script)
{
    const ComPtr<IContextMenu> handler = CreateHandler(paths);
    if (!handler)
        return false;
    DialogDriver driver(std::chrono::seconds(60));
    driver.OnDialog(kMultiRenameCaption, std::move(script));
    const bool invoked = InvokeByText(handler.Get(), L"Multi Rename");
    EXPECT_EQ(driver.PendingScripts(), 0u);
    EXPECT_FALSE(driver.TimedOut());
    return invoked;
}

std::vector<std::wstring> MultiRenameTest::MakeNamedFiles(const std::vector<std::wstring>& names,
                                                          const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
    {
        paths.push_back(TempPath(folder.empty() ? name : folder + L"\\" + name));
        EXPECT_TRUE(WriteFileBytes(paths.back(), Narrow(name))) << Narrow(name);
    }
    return paths;
}

bool MultiRenameTest::Holds(const std::wstring& name, const std::wstring& oldName, const std::wstring& folder)
{
    const std::optional<std::string> bytes = ReadFileBytes(TempPath(folder.empty() ? name : folder + L"\\" + name));
    return bytes && *bytes == Narrow(oldName);
}

std::vector<std::wstring> MultiRenameTest::Entries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    FolderEnumerator entries(folder.empty() ? TempFolder() : TempPath(folder));
    while (entries.Next())
        names.emplace_back(entries.Name());
    std::sort(names.begin(), names.end());
    return names;
}

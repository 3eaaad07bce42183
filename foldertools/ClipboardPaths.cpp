#include "foldertools/ClipboardPaths.h"

#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <cstring>

std::wstring ClipboardPathText(const std::vector<std::wstring>& paths)
{
    std::wstring text;
    for (size_t i = 0; i < paths.size(); ++i)
    {
        if (i > 0)
            text += L"\r\n";
        text += paths[i];
    }
    if (paths.size() > 1)
        text += L"\r\n";
    return text;
}

bool PutClipboardText(const std::wstring& text)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes));
    if (!memory)
        return false;
    {
        const GlobalLockGuard lock(memory.Get());
        if (!lock.Data())
            return false;
        std::memcpy(lock.Data(), text.c_str(), bytes);
    }
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr;
    if (placed)
        (void)memory.Release(); // the clipboard owns it now
    ::CloseClipboard();
    return placed;
}

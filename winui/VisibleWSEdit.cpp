#include "winui/VisibleWSEdit.h"

#include "winui/Clipboard.h"
#include "winui/Window.h"

#include <algorithm>

std::wstring SpacesToDots(std::wstring text)
{
    std::replace(text.begin(), text.end(), L' ', CVisibleWSEdit::kVisibleSpace);
    return text;
}

std::wstring DotsToSpaces(std::wstring text)
{
    std::replace(text.begin(), text.end(), CVisibleWSEdit::kVisibleSpace, L' ');
    return text;
}

void CVisibleWSEdit::SetPlainText(const std::wstring& text) const
{
    ::SetWindowTextW(Hwnd(), text.c_str()); // made visible on its way in
}

std::wstring CVisibleWSEdit::PlainText() const
{
    return DotsToSpaces(GetWindowTextString(Hwnd()));
}

void CVisibleWSEdit::Insert(const std::wstring& text) const
{
    ::SendMessageW(Hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::optional<LRESULT> CVisibleWSEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CHAR:
        if (wParam == L' ')
            return CallOriginal(WM_CHAR, kVisibleSpace, lParam);
        return std::nullopt;
    case WM_SETTEXT:
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        if (!text || !std::wcschr(text, L' '))
            return std::nullopt;
        const std::wstring visible = SpacesToDots(text);
        return CallOriginal(message, wParam, reinterpret_cast<LPARAM>(visible.c_str()));
    }
    case WM_PASTE: {
        const std::wstring pasted = ReadClipboardText();
        // Only the first line: a single-line edit would cut the rest anyway.
        Insert(pasted.substr(0, pasted.find_first_of(L"\r\n")));
        return 0;
    }
    default:
        return std::nullopt;
    }
}

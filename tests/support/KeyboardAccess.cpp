#include "tests/support/KeyboardAccess.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace
{
std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

// The access key of a text, lower case; 0 when it has none ("&&" is a plain ampersand).
wchar_t AccessKey(const std::wstring& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return static_cast<wchar_t>(std::towlower(text[i + 1]));
        ++i;
    }
    return 0;
}

// A button showing a symbol ("#", "*") rather than a word: reached with TAB, it has no letter to
// give as its key.
bool IsSymbol(const std::wstring& text)
{
    return std::none_of(text.begin(), text.end(), [](wchar_t c) { return std::iswalnum(c) != 0; });
}

bool HasStyle(HWND window, LONG_PTR bits)
{
    return (::GetWindowLongPtrW(window, GWL_STYLE) & bits) == bits;
}

// A control a user operates that takes its label from the text before it.
bool IsLabelled(const std::wstring& className)
{
    return className == L"Edit" || className == L"ComboBox" || className == L"SysListView32" ||
           className == L"SysTreeView32" || className == L"msctls_trackbar32" || className == L"msctls_updown32";
}

class KeyCheck
{
  public:
    void Dialog(HWND dialog)
    {
        HWND previousLabel = nullptr; // the static text just before, in the tab order
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        {
            if (!::IsWindowVisible(child))
                continue;
            const std::wstring className = ClassOf(child);
            const HWND label = previousLabel;
            previousLabel = nullptr;
            if (className == L"#32770")
            {
                Dialog(child); // a page
                continue;
            }
            const std::wstring text = TextOf(child);
            if (className == L"Static")
            {
                if (!text.empty() && !HasStyle(child, SS_NOPREFIX))
                {
                    Key(text);
                    previousLabel = child;
                }
                continue;
            }
            if (className == L"Button")
            {
                const LONG_PTR type = ::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
                if (type == BS_OWNERDRAW || IsSymbol(text))
                    continue;
                const int id = ::GetDlgCtrlID(child);
                const bool plainOkOrCancel = (id == IDOK && text == L"OK") || (id == IDCANCEL && text == L"Cancel");
                if (!Key(text) && type != BS_GROUPBOX && !plainOkOrCancel)
                    m_faults.push_back(L"no access key: \"" + text + L"\"");
                continue;
            }
            if (IsLabelled(className) && HasStyle(child, WS_TABSTOP) && label)
            {
                if (!AccessKey(TextOf(label)))
                    m_faults.push_back(L"no access key: \"" + TextOf(label) + L"\" before a " + className);
            }
        }
    }

    std::vector<std::wstring> Faults()
    {
        for (const auto& [key, texts] : m_texts)
        {
            if (texts.size() < 2)
                continue;
            std::wstring fault = L"access key '" + std::wstring(1, key) + L"' given to";
            for (const std::wstring& text : texts)
                fault += L" \"" + text + L"\"";
            m_faults.push_back(fault);
        }
        return m_faults;
    }

  private:
    bool Key(const std::wstring& text)
    {
        const wchar_t key = AccessKey(text);
        if (key)
            m_texts[key].push_back(text);
        return key != 0;
    }

    std::map<wchar_t, std::vector<std::wstring>> m_texts;
    std::vector<std::wstring> m_faults;
};
} // namespace

int FocusedControlId(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndFocus)
        return 0;
    if (info.hwndFocus != dialog && !::IsChild(dialog, info.hwndFocus))
        return 0;
    return ::GetDlgCtrlID(info.hwndFocus);
}

int DefaultButtonId(HWND dialog)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
        return 0;
    return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

std::vector<std::wstring> AccessKeyFaults(HWND dialog)
{
    KeyCheck check;
    check.Dialog(dialog);
    return check.Faults();
}

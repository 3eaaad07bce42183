#include "tests/support/AccessibleReader.h"

#include "winsupport/ComPtr.h"

#include <commctrl.h>
#include <oleacc.h>

namespace
{
std::wstring Take(BSTR text)
{
    std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return result;
}
} // namespace

AccessibleRead ReadAccessible(HWND window, long child)
{
    AccessibleRead read;
    ComPtr<IAccessible> object;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(object.Put()))) ||
        !object)
        return read;
    read.found = true;
    VARIANT item{};
    item.vt = VT_I4;
    item.lVal = child;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(item, &text)))
        read.name = Take(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accValue(item, &text)))
        read.value = Take(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDescription(item, &text)))
        read.description = Take(text);
    VARIANT answer{};
    if (SUCCEEDED(object->get_accRole(item, &answer)) && answer.vt == VT_I4)
        read.role = answer.lVal;
    ::VariantClear(&answer);
    if (SUCCEEDED(object->get_accState(item, &answer)) && answer.vt == VT_I4)
        read.state = answer.lVal;
    ::VariantClear(&answer);
    return read;
}

std::wstring TipOf(HWND tool)
{
    struct Search
    {
        HWND tool;
        std::wstring text;
    } search{tool, {}};
    struct Visit
    {
        static BOOL CALLBACK Window(HWND window, LPARAM context) noexcept
        {
            auto& s = *reinterpret_cast<Search*>(context);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (std::wstring(name) != TOOLTIPS_CLASSW)
                return TRUE;
            wchar_t buffer[256] = {};
            TTTOOLINFOW info{};
            info.cbSize = sizeof(info);
            info.hwnd = ::GetParent(s.tool);
            info.uId = reinterpret_cast<UINT_PTR>(s.tool);
            info.lpszText = buffer;
            ::SendMessageW(window, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
            if (!buffer[0])
                return TRUE;
            s.text = buffer;
            return FALSE;
        }
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), &Visit::Window, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

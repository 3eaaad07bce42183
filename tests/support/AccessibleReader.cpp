#include "tests/support/AccessibleReader.h"

#include "winsupport/ComPtr.h"

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

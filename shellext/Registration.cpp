#include "shellext/Registration.h"

#include "shellext/BrelvantaShExt.h"
#include "winsupport/ModulePath.h"
#include "winsupport/UniqueHandle.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <string>

namespace
{
constexpr wchar_t kHandlerName[] = L"BrelvantaShExt";
constexpr wchar_t kClassName[] = L"BrelvantaShExt Class";
constexpr std::array<const wchar_t*, 2> kHandlerParents = {L"*\\ShellEx\\ContextMenuHandlers",
                                                           L"Folder\\ShellEx\\ContextMenuHandlers"};

HKEY ClassesRoot(RegistrationScope scope) noexcept
{
    return scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring ClassesPath(const std::wstring& key)
{
    return L"Software\\Classes\\" + key;
}

std::wstring ClassIdString()
{
    std::array<wchar_t, 40> text{};
    ::StringFromGUID2(CLSID_BrelvantaShExt, text.data(), static_cast<int>(text.size()));
    return text.data();
}

HRESULT SetStringValue(RegistrationScope scope, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    UniqueHkey handle;
    LSTATUS status = ::RegCreateKeyExW(ClassesRoot(scope), ClassesPath(key).c_str(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, handle.Put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = ::RegSetValueExW(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteKeyTree(RegistrationScope scope, const std::wstring& key)
{
    const LSTATUS status = ::RegDeleteTreeW(ClassesRoot(scope), ClassesPath(key).c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

// Registration runs under the system's default locale, whatever the calling thread uses.
class SystemLocaleScope
{
  public:
    SystemLocaleScope() noexcept : m_saved(::GetThreadLocale()) { ::SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    SystemLocaleScope(const SystemLocaleScope&) = delete;
    SystemLocaleScope& operator=(const SystemLocaleScope&) = delete;
    ~SystemLocaleScope() { ::SetThreadLocale(m_saved); }

  private:
    LCID m_saved;
};

// The file manager reads handler registrations once: tell it they changed.
void NotifyShell() noexcept
{
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
} // namespace

HRESULT RegisterServer(RegistrationScope scope) noexcept
try
{
    const SystemLocaleScope locale;
    const std::wstring modulePath = OwnModulePath();
    if (modulePath.empty())
        return HRESULT_FROM_WIN32(::GetLastError());
    const std::wstring classKey = L"CLSID\\" + ClassIdString();
    HRESULT result = SetStringValue(scope, classKey, nullptr, kClassName);
    if (SUCCEEDED(result))
        result = SetStringValue(scope, classKey + L"\\InprocServer32", nullptr, modulePath);
    if (SUCCEEDED(result))
        result = SetStringValue(scope, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    for (const wchar_t* parent : kHandlerParents)
    {
        if (SUCCEEDED(result))
            result = SetStringValue(scope, std::wstring(parent) + L"\\" + kHandlerName, nullptr, ClassIdString());
    }
    NotifyShell();
    return result;
}
catch (...)
{
    return E_OUTOFMEMORY;
}

HRESULT UnregisterServer(RegistrationScope scope) noexcept
try
{
    const SystemLocaleScope locale;
    HRESULT result = DeleteKeyTree(scope, L"CLSID\\" + ClassIdString());
    for (const wchar_t* parent : kHandlerParents)
    {
        const HRESULT removed = DeleteKeyTree(scope, std::wstring(parent) + L"\\" + kHandlerName);
        if (SUCCEEDED(result))
            result = removed;
    }
    NotifyShell();
    return result;
}
catch (...)
{
    return E_OUTOFMEMORY;
}

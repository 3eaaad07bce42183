#include "winsupport/SettingsStore.h"

#include "winsupport/UniqueHandle.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
struct SettingAddress
{
    std::wstring keyPath; // below HKEY_CURRENT_USER
    std::wstring valueName;
};

SettingAddress SplitSettingName(const std::wstring& name)
{
    const size_t slash = name.rfind(L'\\');
    if (slash == std::wstring::npos)
        return {kProductKeyPath, name};
    return {std::wstring(kProductKeyPath) + L'\\' + name.substr(0, slash), name.substr(slash + 1)};
}

UniqueHkey OpenForReading(const SettingAddress& address)
{
    UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, address.keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        key.Reset();
    return key;
}

UniqueHkey OpenForWriting(const SettingAddress& address)
{
    UniqueHkey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, address.keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        key.Reset();
    return key;
}
} // namespace

bool ReadSettingString(const std::wstring& name, std::wstring& text)
{
    const SettingAddress address = SplitSettingName(name);
    const UniqueHkey key = OpenForReading(address);
    if (!key)
        return false;

    // Most values fit the first query; a longer one is read again with the size the registry reports.
    std::vector<BYTE> data(256);
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(data.size());
    LSTATUS status = ::RegQueryValueExW(key.Get(), address.valueName.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA)
    {
        if (size > MAXDWORD - 2)
            return false;
        data.assign(size_t{size} + 2, 0);
        size = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(key.Get(), address.valueName.c_str(), nullptr, &type, data.data(), &size);
    }
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return false;

    std::wstring value(std::min<size_t>(size, data.size()) / sizeof(wchar_t), L'\0');
    std::memcpy(value.data(), data.data(), value.size() * sizeof(wchar_t));
    value.resize(std::min(value.size(), value.find(L'\0')));
    text = std::move(value);
    return true;
}

bool ReadSettingDword(const std::wstring& name, DWORD& number)
{
    const SettingAddress address = SplitSettingName(name);
    const UniqueHkey key = OpenForReading(address);
    if (!key)
        return false;

    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof(value);
    if (::RegQueryValueExW(key.Get(), address.valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return false;
    number = value;
    return true;
}

bool WriteSettingString(const std::wstring& name, const std::wstring& text)
{
    if (text.size() >= MAXDWORD / sizeof(wchar_t))
        return false;
    const SettingAddress address = SplitSettingName(name);
    const UniqueHkey key = OpenForWriting(address);
    if (!key)
        return false;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), address.valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool WriteSettingDword(const std::wstring& name, DWORD number)
{
    const SettingAddress address = SplitSettingName(name);
    const UniqueHkey key = OpenForWriting(address);
    if (!key)
        return false;
    return ::RegSetValueExW(key.Get(), address.valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                            sizeof(number)) == ERROR_SUCCESS;
}

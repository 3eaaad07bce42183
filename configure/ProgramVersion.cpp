#include "configure/ProgramVersion.h"

#include <cstring>

namespace
{
// The host of the product's web site, the one place it is named.
constexpr wchar_t kUpdateHost[] = L"brelvanta.kaldrith.example";
} // namespace

// The block begins with its length, its value's length, its type and the key "VS_VERSION_INFO",
// then the fixed file information on the next 32-bit boundary. Read in place, so that the program
// needs no version library at start.
FileVersion ModuleFileVersion(HMODULE module)
{
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* block = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    constexpr wchar_t kKey[] = L"VS_VERSION_INFO";
    constexpr size_t kKeyOffset = 3 * sizeof(WORD);
    constexpr size_t kValueOffset = (kKeyOffset + sizeof(kKey) + 3) & ~size_t{3};
    if (!block || ::SizeofResource(module, found) < kValueOffset + sizeof(VS_FIXEDFILEINFO))
        return {};
    WORD valueLength = 0;
    std::memcpy(&valueLength, block + sizeof(WORD), sizeof(valueLength));
    VS_FIXEDFILEINFO info{};
    std::memcpy(&info, block + kValueOffset, sizeof(info));
    if (std::memcmp(block + kKeyOffset, kKey, sizeof(kKey)) != 0 || valueLength < sizeof(info) ||
        info.dwSignature != VS_FFI_SIGNATURE)
        return {};
    return {HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS), HIWORD(info.dwFileVersionLS)};
}

std::wstring UpdateLinkTarget(const FileVersion& version)
{
    return std::wstring(L"https://") + kUpdateHost + L"/update/?p=QZ-" + std::to_wstring(version.major) + L"." +
           std::to_wstring(version.minor) + L"." + std::to_wstring(version.patch);
}

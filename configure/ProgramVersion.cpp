#include "configure/ProgramVersion.h"

#include <vector>

namespace
{
// The host of the product's web site, the one place it is named.
constexpr wchar_t kUpdateHost[] = L"brelvanta.kaldrith.example";
} // namespace

FileVersion ModuleFileVersion(HMODULE module)
{
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return {};
    // VerQueryValueW may write into the block it reads: give it a copy, never the mapped image.
    const auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> block(bytes, bytes + ::SizeofResource(module, found));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != VS_FFI_SIGNATURE)
        return {};
    return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS)};
}

std::wstring UpdateLinkTarget(const FileVersion& version)
{
    return std::wstring(L"https://") + kUpdateHost + L"/update/?p=QZ-" + std::to_wstring(version.major) + L"." +
           std::to_wstring(version.minor) + L"." + std::to_wstring(version.patch);
}

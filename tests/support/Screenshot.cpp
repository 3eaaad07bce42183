#include "tests/support/Screenshot.h"

#include "winsupport/UniqueHandle.h"

bool SaveWindowBmp(HWND window, const std::wstring& path)
{
    RECT bounds{};
    if (!::GetWindowRect(window, &bounds))
        return false;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    if (!memory || width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueHbitmap bitmap(::CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return false;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    bool copied = false;
    {
        const SelectObjectGuard select(memory.Get(), bitmap.Get());
        const HDC source = ::GetWindowDC(window);
        copied = source && ::BitBlt(memory.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        if (source)
            ::ReleaseDC(window, source);
        ::GdiFlush();
    }
    if (!copied)
        return false;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    UniqueFile out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return false;
    DWORD written = 0;
    return ::WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
           ::WriteFile(out.Get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
           ::WriteFile(out.Get(), bits, imageBytes, &written, nullptr);
}

#include "tools/common/WindowBitmap.h"

#include "winui/WindowHandles.h"

bool SaveWindowsBitmap(const std::vector<HWND>& windows, const std::wstring& path)
{
    RECT all{};
    std::vector<RECT> places;
    for (HWND window : windows)
    {
        RECT bounds{};
        if (!::GetWindowRect(window, &bounds))
            return false;
        places.push_back(bounds);
        if (places.size() == 1)
            all = bounds;
        else
            ::UnionRect(&all, &all, &bounds);
    }
    const int width = all.right - all.left;
    const int height = all.bottom - all.top;
    if (places.empty() || width <= 0 || height <= 0)
        return false;
    UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    if (!memory)
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
    const HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
    ::PatBlt(memory.Get(), 0, 0, width, height, WHITENESS);
    bool copied = true;
    for (size_t index = 0; index < windows.size(); ++index)
    {
        const RECT& place = places[index];
        const HDC source = ::GetWindowDC(windows[index]);
        copied = copied && source &&
                 ::BitBlt(memory.Get(), place.left - all.left, place.top - all.top, place.right - place.left,
                          place.bottom - place.top, source, 0, 0, SRCCOPY);
        if (source)
            ::ReleaseDC(windows[index], source);
    }
    ::GdiFlush();
    ::SelectObject(memory.Get(), previous);
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

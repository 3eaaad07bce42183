#include "winui/Window.h"

std::wstring GetWindowTextString(HWND window)
{
    // A text that grows between the two calls fills the buffer: ask again with the new length.
    for (int length = ::GetWindowTextLengthW(window); length > 0; length = ::GetWindowTextLengthW(window))
    {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int copied = ::GetWindowTextW(window, text.data(), length + 1);
        if (copied < length || ::GetWindowTextLengthW(window) <= length)
        {
            text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
            return text;
        }
    }
    return {};
}

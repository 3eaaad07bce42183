#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Whether opening the clipboard waits a moment for another program that holds it open (a
// clipboard manager often does, just after each change).
enum class ClipboardWait
{
    Briefly,
    Never, // the right-click path: a menu never waits for the clipboard
};

// Holds the clipboard open, with no owner window, for as long as it lives.
class ClipboardSession
{
  public:
    explicit ClipboardSession(ClipboardWait wait = ClipboardWait::Briefly) noexcept;
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession()
    {
        if (m_open)
            ::CloseClipboard();
    }
    bool IsOpen() const noexcept { return m_open; }

  private:
    bool m_open;
};

// The text of the open clipboard up to its first NUL, never read past the memory's end; empty
// when it holds no text.
std::wstring OpenClipboardText();

// The clipboard's text, the clipboard closed again before this returns, so that no other program
// is kept out while the caller goes on; empty when there is none or the clipboard stays busy.
std::wstring ReadClipboardText();

// Replaces the clipboard's contents with the text (CF_UNICODETEXT); an empty text leaves the
// clipboard empty. The memory is made first, so a failure leaves the clipboard as it was unless
// the clipboard itself refuses the text. False when the text could not be handed over.
[[nodiscard]] bool PutClipboardText(std::wstring_view text);

// A user's copy: puts the text on the clipboard, and when the clipboard refuses it (another
// program holds it), plays the warning sound rather than pass over the failure in silence.
void CopyTextForUser(std::wstring_view text);

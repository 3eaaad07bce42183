#pragma once

#include "tests/support/DialogDriver.h"
#include "winui/WindowHandles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The caption of the window standing for the copy options dialog in these tests.
inline constexpr wchar_t kOwnerCaption[] = L"Copy Filenames";

// A visible top-level window standing for the copy options dialog: the dialogs and messages under
// test open over it.
class OwnerWindow
{
  public:
    OwnerWindow();
    HWND Hwnd() const noexcept { return m_window.Get(); }

  private:
    UniqueWindow m_window;
};

// Clicks a check box or radio button as the mouse would, so that it changes its state; only an
// enabled one (false otherwise).
bool UserClick(const DialogHandle& dialog, int id);

// Queues the answer to the next message box with this caption: its text goes into texts, OK closes
// it, and then runs after it has closed (to go on with the dialog below it).
void AnswerMessage(DialogDriver& driver, const std::wstring& caption, std::vector<std::wstring>& texts,
                   std::function<void()> then = {});

#pragma once

#include "tests/shellext/ShellExtTestSupport.h"
#include "tests/support/DialogDriver.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Control ids of the Multi Rename dialogs, as a user's script sees them.
namespace rename_ids
{
inline constexpr int kPartEdit = 1500, kPartButton = 1501, kNames = 1503, kCopyNames = 1504, kPasteNames = 1505,
                     kAllowExtension = 1506, kNumbersAsText = 1507, kReset = 1508;
inline constexpr int kWildReset = 1509, kWildClear = 1510, kCaseNone = 1511, kCaseUpper = 1512, kCaseLower = 1513,
                     kTruncate = 1514, kLength = 1515;
inline constexpr int kNumberReset = 1517, kNumberClear = 1518, kStart = 1519, kDigits = 1520, kZerosNone = 1521,
                     kZerosRemove = 1522, kZerosMake = 1523, kNoChange = 1524, kClearText = 1525, kRenumber = 1526;
inline constexpr int kMenuCopy = 1530, kMenuPaste = 1531, kMenuResetNames = 1532, kMenuRemove = 1533,
                     kMenuSelectAll = 1534, kMenuInvert = 1535;
} // namespace rename_ids

inline constexpr wchar_t kMultiRenameCaption[] = L"Multi Rename";
inline constexpr wchar_t kRenameMessageCaption[] = L"Brelvanta - Multi Rename";

// One control of the part row, left to right.
struct PartControl
{
    HWND window = nullptr;
    bool button = false;
    std::wstring text;
    RECT rect{}; // in the dialog's client area
};
std::vector<PartControl> PartRow(HWND dialog);
// "IMG_|#|" : the row's texts, buttons and edits alike.
std::wstring PartTexts(HWND dialog);
// Types into the n-th edit box of the row (0-based among the edit boxes).
void TypeIntoPart(HWND dialog, size_t editIndex, const std::wstring& text);
// Clicks the n-th button of the row (0-based among the buttons); its dialog opens while this waits.
void ClickPartButton(HWND dialog, size_t buttonIndex);

// A list view column's texts and the rows' state images (1 to 7).
std::vector<std::wstring> ListColumn(HWND dialog, int column);
std::vector<int> StateImages(HWND dialog);
// Check box and radio states.
bool IsButtonChecked(HWND dialog, int id);
void ClickCheck(HWND dialog, int id, bool checked);

// Scripts for windows that open while another script runs (a message box after a click, the change
// dialogs of a part), each run once inside that window's own modal loop. Dialogs still open at the
// timeout are cancelled.
class NestedDialogs
{
  public:
    NestedDialogs();
    NestedDialogs(const NestedDialogs&) = delete;
    NestedDialogs& operator=(const NestedDialogs&) = delete;
    ~NestedDialogs();

    // An empty caption stands for any window but the Multi Rename dialog.
    void On(std::wstring caption, std::function<void(DialogHandle)> script);
    // Answers the next message box of the Multi Rename dialog with OK and keeps its text.
    void AnswerMessage();
    const std::vector<std::wstring>& Messages() const noexcept { return m_messages; }
    size_t Pending() const noexcept { return m_scripts.size(); }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Poll();

    struct Script
    {
        std::wstring caption;
        std::function<void(DialogHandle)> run;
    };
    std::vector<Script> m_scripts;
    std::vector<std::wstring> m_messages;
    std::vector<HWND> m_handled;
    UINT_PTR m_timer = 0;
    bool m_running = false;
    ULONGLONG m_deadline = 0;
};

// Runs Multi Rename from the built DLL's menu on the paths, with the script on its dialog; the
// script must end the dialog. False when the menu had no Multi Rename.
class MultiRenameTest : public ShellExtTest
{
  protected:
    bool RunMultiRename(const std::vector<std::wstring>& paths, DialogDriver::Script script);
    // Files whose contents are their own names, in the test's folder (or a folder of it).
    std::vector<std::wstring> MakeNamedFiles(const std::vector<std::wstring>& names, const std::wstring& folder = {});
    // True when the file holds the text it was made with under its old name.
    bool Holds(const std::wstring& name, const std::wstring& oldName, const std::wstring& folder = {});
    // The folder's entry names, sorted.
    std::vector<std::wstring> Entries(const std::wstring& folder = {});
};

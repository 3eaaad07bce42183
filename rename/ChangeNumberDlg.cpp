#include "rename/ChangeNumberDlg.h"

#include "resources/resource.h"
#include "winsupport/SettingsStore.h"

#include <algorithm>
#include <string>

namespace
{
constexpr wchar_t kStartSetting[] = L"NumberDlg Start";
constexpr wchar_t kDigitsSetting[] = L"NumberDlg NDigits";
constexpr int kMaxStartLength = 20; // every 32-bit start fits
constexpr int kMaxDigitsLength = 3;
constexpr int kMaxDigits = 999;

int RememberedNumber(const wchar_t* name, int fallback)
{
    DWORD value = 0;
    return ReadSettingDword(name, value) ? static_cast<int>(value) : fallback;
}

// Keeps a box's value for the next Change Number. Best effort: the part has its new value whatever
// happens here, so a settings store that cannot take it costs only the suggestion, and the box
// offers the value remembered before (or its default) next time. Nothing is worth a message.
void RememberNumber(const wchar_t* name, DWORD value)
{
    if (!WriteSettingDword(name, value))
        return; // the earlier value, if any, stays remembered
}
} // namespace

CChangeNumberDlg::CChangeNumberDlg(Segment& segment) : CChangePartDlg(IDD_CHANGE_NUMBER, segment) {}

void CChangeNumberDlg::ShowSegment()
{
    const int numberButton = m_segment.clear      ? IDC_NUMBER_CLEAR_TEXT
                             : m_segment.renumber ? IDC_NUMBER_RENUMBER
                                                  : IDC_NUMBER_NO_CHANGE;
    CheckRadio(IDC_NUMBER_NO_CHANGE, IDC_NUMBER_RENUMBER, numberButton);
    const int zerosButton = m_segment.zerosMode == ZerosMode::MakeDigits ? IDC_NUMBER_ZEROS_MAKE
                            : m_segment.zerosMode == ZerosMode::Remove   ? IDC_NUMBER_ZEROS_REMOVE
                                                                         : IDC_NUMBER_ZEROS_NONE;
    CheckRadio(IDC_NUMBER_ZEROS_NONE, IDC_NUMBER_ZEROS_MAKE, zerosButton);
    // The boxes show what was used last time, whatever this part holds. The registry may hold any
    // count: held to what its box shows, it cannot make every name gigabytes long.
    SetText(IDC_NUMBER_START, std::to_wstring(RememberedNumber(kStartSetting, 1)));
    SetText(IDC_NUMBER_DIGITS, std::to_wstring(std::clamp(RememberedNumber(kDigitsSetting, 4), 0, kMaxDigits)));
    ::SendMessageW(Item(IDC_NUMBER_START), EM_SETLIMITTEXT, kMaxStartLength, 0);
    ::SendMessageW(Item(IDC_NUMBER_DIGITS), EM_SETLIMITTEXT, kMaxDigitsLength, 0);
}

bool CChangeNumberDlg::OnPartCommand(int id, int)
{
    switch (id)
    {
    case IDC_NUMBER_RESET:
        CheckRadio(IDC_NUMBER_NO_CHANGE, IDC_NUMBER_RENUMBER, IDC_NUMBER_NO_CHANGE);
        CheckRadio(IDC_NUMBER_ZEROS_NONE, IDC_NUMBER_ZEROS_MAKE, IDC_NUMBER_ZEROS_NONE);
        return true;
    case IDC_NUMBER_CLEAR:
        CheckRadio(IDC_NUMBER_NO_CHANGE, IDC_NUMBER_RENUMBER, IDC_NUMBER_CLEAR_TEXT);
        return true;
    case IDC_NUMBER_NO_CHANGE:
    case IDC_NUMBER_CLEAR_TEXT:
    case IDC_NUMBER_RENUMBER:
    case IDC_NUMBER_ZEROS_NONE:
    case IDC_NUMBER_ZEROS_REMOVE:
    case IDC_NUMBER_ZEROS_MAKE:
        return true;
    default:
        return false;
    }
}

void CChangeNumberDlg::EnableControls()
{
    const bool cleared = IsChecked(IDC_NUMBER_CLEAR_TEXT);
    EnableItem(IDC_NUMBER_RESET, !IsChecked(IDC_NUMBER_NO_CHANGE) || !IsChecked(IDC_NUMBER_ZEROS_NONE));
    EnableItem(IDC_NUMBER_CLEAR, !cleared);
    for (const int id : {IDC_NUMBER_ZEROS_NONE, IDC_NUMBER_ZEROS_REMOVE, IDC_NUMBER_ZEROS_MAKE})
        EnableItem(id, !cleared);
    EnableItem(IDC_NUMBER_START, IsChecked(IDC_NUMBER_RENUMBER));
    EnableItem(IDC_NUMBER_DIGITS, IsChecked(IDC_NUMBER_ZEROS_MAKE));
}

void CChangeNumberDlg::Store()
{
    const long long start = ReadDecimal(IDC_NUMBER_START);
    const long long digits = std::clamp(ReadDecimal(IDC_NUMBER_DIGITS), 0LL, static_cast<long long>(kMaxDigits));
    NumberChange change;
    change.clear = IsChecked(IDC_NUMBER_CLEAR_TEXT);
    change.renumber = IsChecked(IDC_NUMBER_RENUMBER);
    change.start = start;
    change.zerosMode = IsChecked(IDC_NUMBER_ZEROS_REMOVE) ? ZerosMode::Remove
                       : IsChecked(IDC_NUMBER_ZEROS_MAKE) ? ZerosMode::MakeDigits
                                                          : ZerosMode::Unchanged;
    change.digits = static_cast<int32_t>(digits);
    m_segment.Change(change);
    // The settings keep 32 bits: a start beyond them comes back as its low half.
    RememberNumber(kStartSetting, static_cast<DWORD>(static_cast<unsigned long long>(start)));
    RememberNumber(kDigitsSetting, static_cast<DWORD>(digits));
}

#include "copydialog/CopyOptions.h"

#include "copydialog/LocaleNumber.h"
#include "resources/resource.h"
#include "winsupport/Resources.h"
#include "winsupport/SettingsStore.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr wchar_t kSortOptionSetting[] = L"Sort Option";
constexpr wchar_t kFormatTextSetting[] = L"Format Text";
constexpr wchar_t kSeparatorTextSetting[] = L"Separator Text";
constexpr wchar_t kTabIndexSetting[] = L"Tab Index";
} // namespace

CopyOptions::CopyOptions()
{
    DWORD sort = 0;
    if (ReadSettingDword(kSortOptionSetting, sort) && sort < kSortOptionCount)
        m_sort = static_cast<SortOption>(sort);

    std::wstring item, separator;
    ReadSettingString(kFormatTextSetting, item);
    ReadSettingString(kSeparatorTextSetting, separator);
    // The remembered texts, or "$name" one per line when the item text is empty or not valid.
    const std::pair<std::wstring, std::wstring> choices[] = {{item, separator}, {L"$name", L"\\n"}};
    for (const auto& [choiceItem, choiceSeparator] : choices)
    {
        if (!choiceItem.empty() && m_format.SetDefinition(choiceItem))
        {
            m_format.SetSeparator(choiceSeparator);
            break;
        }
    }
    if (!LoadPresets(m_presets))
        m_presets.clear(); // no file, or one that could not be read: no presets
}

void CopyOptions::AddObserver(CopyOptionsObserver& observer)
{
    m_observers.push_back(&observer);
}

void CopyOptions::RemoveObserver(CopyOptionsObserver& observer) noexcept
{
    std::erase(m_observers, &observer);
}

void CopyOptions::Notify(CopyOptionsChange change)
{
    // An observer may come or go while it hears of a change: the copy is not disturbed.
    for (CopyOptionsObserver* observer : std::vector<CopyOptionsObserver*>(m_observers))
        observer->OnCopyOptionsChanged(change);
}

void CopyOptions::SetItemList(ItemList& list)
{
    m_items = &list;
    if (list.sortOption != m_sort)
        list.SetSortOption(m_sort);
}

void CopyOptions::ApplyTexts(const std::wstring& item, const std::wstring& separator)
{
    m_format.SetSeparator(separator);
    if (EditItemText(item))
        return;
    // An item text that is not valid (a preset's may be) is applied all the same, with its
    // message, as the Full Controls page shows it; and remembered, as every applied text is.
    RefreshPreview();
    RememberTexts();
}

bool CopyOptions::EditItemText(const std::wstring& item)
{
    if (!m_format.SetDefinition(item))
        return false;
    RefreshPreview();
    RememberTexts();
    return true;
}

void CopyOptions::EditSeparatorText(const std::wstring& separator)
{
    m_format.SetSeparator(separator);
    RefreshPreview();
    // An item text that is not valid is never remembered, not even along with a separator.
    if (ItemTextValid())
        RememberTexts();
}

void CopyOptions::RememberTexts() const
{
    WriteSettingString(kFormatTextSetting, m_format.Definition());
    WriteSettingString(kSeparatorTextSetting, m_format.Separator());
}

void CopyOptions::SetSort(SortOption option)
{
    WriteSettingDword(kSortOptionSetting, static_cast<DWORD>(option));
    m_sort = option;
    if (!m_items || option == m_items->sortOption)
        return;
    m_items->SetSortOption(option);
    RefreshPreview();
}

void CopyOptions::SetScanOptions(const FolderScanOptions& options)
{
    m_scanOptions = options;
    Notify(CopyOptionsChange::ScanOptions);
}

void CopyOptions::RefreshPreview()
{
    if (!m_items || (m_previewBuilt && !m_format.changed && !m_items->changed))
        return;
    Notify(CopyOptionsChange::Rebuilding);
    m_format.Format(*m_items, m_preview);
    m_format.changed = false;
    m_items->changed = false;
    m_previewBuilt = true;
    Notify(CopyOptionsChange::Preview);

    const std::wstring count = FormatLocaleNumber(m_items->Output().size());
    const std::wstring size = FormatLocaleNumber(m_items->TotalSize());
    const UINT status =
        StatusCountsFolders(*m_items, m_scanOptions) ? IDS_COPY_STATUS_FILES_FOLDERS : IDS_COPY_STATUS_FILES;
    // Most rebuilds are a new format of the same items: the line stays as it is.
    if (std::wstring totals = FormatStringResource(status, {count, size}); totals != m_totals)
    {
        m_totals = std::move(totals);
        Notify(CopyOptionsChange::Totals);
    }
}

ClipboardText CopyOptions::TakePreview()
{
    return std::exchange(m_preview, ClipboardText());
}

void CopyOptions::SavePresets() const
{
    SaveEditedPresets(m_presets);
}

int CopyOptions::RememberedPage(int pageCount)
{
    DWORD page = 0;
    if (!ReadSettingDword(kTabIndexSetting, page) || page >= static_cast<DWORD>(pageCount))
        return 0;
    return static_cast<int>(page);
}

void CopyOptions::RememberPage(int index)
{
    WriteSettingDword(kTabIndexSetting, static_cast<DWORD>(index));
}

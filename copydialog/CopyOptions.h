#pragma once

#include "copydialog/Presets.h"
#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"

#include <string>
#include <vector>

// What changed in the copy options; each observer hears every change.
enum class CopyOptionsChange
{
    Rebuilding,  // a rebuild of the preview begins: on a long list it takes a while
    Preview,     // the preview text was rebuilt
    Totals,      // the status line's text changed with it
    ScanOptions, // the folder scan options were replaced
};

// Told of the copy options' changes: the dialog and its pages.
class CopyOptionsObserver
{
  public:
    virtual void OnCopyOptionsChanged(CopyOptionsChange change) = 0;

  protected:
    ~CopyOptionsObserver() = default;
};

// What the Copy Filenames dialog and its pages edit: the two texts of the item format, the sort
// option, the folder scan options, the item list, the preview built from them with its totals,
// and the presets. The texts, the sort option and the selected page are remembered in the
// settings store; the presets in their file.
class CopyOptions
{
  public:
    // Reads the remembered sort option and texts (an empty or invalid item text gives "$name"
    // one per line), and the presets (no file: none).
    CopyOptions();
    CopyOptions(const CopyOptions&) = delete;
    CopyOptions& operator=(const CopyOptions&) = delete;

    void AddObserver(CopyOptionsObserver& observer);
    void RemoveObserver(CopyOptionsObserver& observer) noexcept;

    // The list to format; it must outlive the options. It takes the remembered sort option.
    void SetItemList(ItemList& list);
    bool HasItemList() const noexcept { return m_items != nullptr; }
    ItemList& Items() const noexcept { return *m_items; }

    const std::wstring& ItemText() const noexcept { return m_format.Definition(); }
    const std::wstring& SeparatorText() const noexcept { return m_format.Separator(); }
    bool ItemTextValid() const noexcept { return m_format.Error().empty(); }
    // Why the item text is not valid; empty when it is.
    const std::wstring& FormatError() const noexcept { return m_format.Error(); }

    // Both texts at once (a page's choice or a preset): the preview follows and they are
    // remembered. Nothing is returned: an item text that is not valid is applied all the same,
    // and ItemTextValid and FormatError tell the pages about it.
    void ApplyTexts(const std::wstring& item, const std::wstring& separator);
    // The item text as typed; false when it is not valid: the format keeps it and its message,
    // the preview and the remembered texts wait for a valid one.
    [[nodiscard]] bool EditItemText(const std::wstring& item);
    // The separator as typed: the preview follows; remembered only along with a valid item text.
    void EditSeparatorText(const std::wstring& separator);

    // The order the list is sorted in: remembered, and the preview follows.
    SortOption Sort() const noexcept { return m_sort; }
    void SetSort(SortOption option);

    const FolderScanOptions& ScanOptions() const noexcept { return m_scanOptions; }
    // Replaces the scan options; the caller scans (or drops the scan's results) and refreshes.
    void SetScanOptions(const FolderScanOptions& options);

    // Rebuilds the preview when a text or the list changed since it was last built.
    void RefreshPreview();
    const ClipboardText& Preview() const noexcept { return m_preview; }
    // The status line: how many items the preview holds and their total size.
    const std::wstring& Totals() const noexcept { return m_totals; }
    // Hands the preview over (to the clipboard, as the dialog closes) and lets go of its memory.
    ClipboardText TakePreview();

    PresetList& Presets() noexcept { return m_presets; }
    // Writes the presets to their file, as SaveEditedPresets does.
    void SavePresets() const;

    // The page last selected, remembered from one opening to the next; 0 when none is.
    static int RememberedPage(int pageCount);
    static void RememberPage(int index);

  private:
    void RememberTexts() const;
    void Notify(CopyOptionsChange change);

    ItemList* m_items = nullptr;
    ItemFormat m_format;
    SortOption m_sort = SortOption::AsSelected;
    FolderScanOptions m_scanOptions;
    ClipboardText m_preview;
    bool m_previewBuilt = false;
    std::wstring m_totals;
    PresetList m_presets;
    std::vector<CopyOptionsObserver*> m_observers;
};

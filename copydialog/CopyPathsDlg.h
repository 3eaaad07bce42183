#pragma once

#include "copydialog/Presets.h"
#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"
#include "copynames/ItemList.h"
#include "winui/AnchorLayout.h"
#include "winui/ResizableDialog.h"
#include "winui/TabPages.h"
#include "winui/TextView.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <string>

// The copy options dialog: previews the selected items formatted by two texts of the item format
// language, which its three pages edit, and puts the preview on the clipboard on OK.
class CCopyPathsDlg final : public CResizableDialog
{
  public:
    // Reads the remembered sort option, format texts and the presets.
    explicit CCopyPathsDlg(const CWindow& parent);

    // The list to show, built, flattened and sorted by CurrentSortOption(); it must outlive the dialog.
    void SetItemList(ItemList& list) noexcept { m_items = &list; }
    // Runs the dialog modally on the parent window.
    INT_PTR Run();

    // The order the dialog sorts in, shared by every opening while the library stays loaded.
    static int CurrentSortOption() noexcept;

    // What the pages use: the formatter's two texts...
    bool SetItemFormatText(const std::wstring& text) { return m_format.SetDefinition(text); }
    void SetSeparatorText(const std::wstring& text) { m_format.SetSeparator(text); }
    const std::wstring& ItemFormatText() const noexcept { return m_format.Definition(); }
    const std::wstring& SeparatorText() const noexcept { return m_format.Separator(); }
    bool ItemFormatValid() const noexcept { return m_format.Error().empty(); }
    const std::wstring& FormatError() const noexcept { return m_format.Error(); }
    // ...the preview, rebuilt only when a text or the list changed since it was last built...
    void RefreshPreview();
    // ...the remembered texts, written from the formatter's current ones...
    void SaveTexts() const;
    // ...the presets and their file (a failed save is silent: the pages show the change anyway)...
    PresetList& Presets() noexcept { return m_presets; }
    void SavePresetsFile() const { (void)SavePresets(m_presets); }
    // ...the item list and the pages' white background.
    ItemList& Items() const noexcept { return *m_items; }
    HBRUSH PageBrush() const noexcept { return static_cast<HBRUSH>(m_pageBrush.Get()); }

  protected:
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;

  private:
    // The selection holds no folder: the folder options go and the rest moves up into their room.
    void HideFolderOptions();
    void ShowFolderSummary();
    void SelectPage(int index);
    void OnSortChanged();
    void ChangeFolderOptions();
    void CopyAndClose();

    TextViewClass m_previewClass; // registered before the window is made, removed after it is gone
    CWindow m_parent;
    ItemList* m_items = nullptr;
    ItemFormat m_format;
    ClipboardText m_preview;
    bool m_previewBuilt = false;
    std::wstring m_status; // the status line's text
    PresetList m_presets;
    FolderScanOptions m_scanOptions;
    TabPages m_pages;
    UniqueGdiObject m_pageBrush;
    DpiIcon m_smallIcon;
};

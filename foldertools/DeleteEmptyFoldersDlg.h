#pragma once

#include "command/Selection.h"
#include "foldertools/FoldersListView.h"
#include "winui/ResizableDialog.h"

#include <string>
#include <vector>

// "Delete Empty Folders": scans the selected folders, lists the empty ones found and lets the
// user prune the list before they go to the Recycle Bin.
class DeleteEmptyFoldersDlg final : public CResizableDialog
{
  public:
    DeleteEmptyFoldersDlg(HWND owner, std::vector<std::wstring> selectedFolders, bool controlHeld);

    // Runs the scan under its progress window, with the owner disabled; false when the user
    // cancelled it, the progress window went away or the owner did.
    bool Scan();
    // Shows the dialog modally; true when it ended with Delete and the owner still lives.
    bool Run();

    // Deletes the folders that are still empty now; says how many were skipped because they no
    // longer are. Nothing happens once the owner has gone.
    static void DeleteFolders(const std::vector<std::wstring>& folders, HWND owner);

    const std::vector<std::wstring>& SelectedFolders() const noexcept { return m_selectedFolders; }
    const std::vector<std::wstring>& Found() const noexcept { return m_found; }
    bool ControlHeld() const noexcept { return m_controlHeld; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;
    void OnLayout(int clientWidth, int clientHeight) override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

  private:
    // Takes the selected rows out of the list and the found list; returns their paths.
    std::vector<std::wstring> RemoveSelected();
    void CopySelectedPaths() const;
    void ShowContextMenu(LPARAM position);
    void UpdateStatus();
    void UpdateRemoveButton();

    HWND m_owner;
    std::vector<std::wstring> m_selectedFolders;
    bool m_controlHeld;
    std::vector<std::wstring> m_found;
    FoldersListView m_list;
};

#pragma once

#include "rename/NamesListCtrl.h"
#include "rename/PartButton.h"
#include "rename/PartRow.h"
#include "rename/PatternChoice.h"
#include "rename/RenameModel.h"
#include "winui/AnchorLayout.h"
#include "winui/ResizableDialog.h"
#include "winui/WindowHandles.h"

#include <memory>
#include <vector>

// "Multi Rename": the pattern of the names as a row of parts (an edit box for each common part, a
// button for each number or wild part), every old and new name with its status, copy and paste of
// names, and Rename, which checks everything and renames one file after the other.
class ChangeTextDlg final : public CResizableDialog
{
  public:
    // Derives the four analyses and decides which listed items match; the window comes with Run.
    explicit ChangeTextDlg(RenameModel& model);

    INT_PTR Run(HWND parent) { return ShowModal(parent); }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;
    void OnLayout(int clientWidth, int clientHeight) override;
    int LeastOuterWidth() const override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    void OnDestroy() override;

  private:
    struct Part
    {
        PartSlot slot;
        std::wstring text;
        size_t segment = 0;
        UniqueWindow window;
        std::unique_ptr<CPartButton> button; // a number or wild part's
    };

    void ApplyCheckBoxes();
    void EnableCheckBoxes();
    void ReadCheckBoxes();
    void BuildPartRow();
    void FocusFirstPart();
    void DiscardParts();
    void MeasurePart(Part& part) const;
    int PartRowTop() const;
    void LayoutParts();
    void EnableParts(bool enable);
    void Recompute();
    void UpdateFonts();
    void SetIcon();

    // A command of the names list's context menu.
    void RunNamesCommand(int id);
    void OnPartEdited(Part& part);
    void OnPartClicked(Part& part);
    void OnCheckBoxClicked();
    void Reset();
    void CopyNames(const std::vector<RenameItem*>& rows) const;
    void PasteNames(const std::vector<RenameItem*>& rows, bool allRows);
    void ResetNames();
    void RemoveSelected();
    void Rename();
    // What changed on disk since the dialog opened, in the list and the statuses.
    void UpdateFromDisk();
    void ShowRenameMessage(const std::wstring& text, MessageKind kind) const;
    Part* FindPart(HWND window) noexcept;

    RenameModel& m_model;
    std::vector<Part> m_parts;
    PatternChoice m_choice;
    bool m_partsEnabled = true;
    CNamesListCtrl m_list;
    UniqueHfont m_boldFont;
    DpiIcon m_icon;
};

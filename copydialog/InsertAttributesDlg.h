#pragma once

#include "copydialog/InsertPage.h"
#include "resources/resource.h"

// "Insert Attribute": a row per attribute, each with a radio, its option lists and what it gives
// for the example file.
class CInsertAttributesDlg : public CInsertPage
{
  public:
    explicit CInsertAttributesDlg(CInsertDlg& owner) : CInsertPage(IDD_INSERT_ATTRIBUTES, owner) {}

    void OnPageSelected() override;
    void SaveState() override {}
    void OnExampleChanged() override { RefreshExamples(); }

  protected:
    void DeclareAnchors(AnchorLayout& layout, int right, int bottom) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    static constexpr UINT IDD_INSERT_ATTRIBUTES_TEMPLATE = 1290;

    void SelectAttribute(InsertAttribute attribute);
    // The selected attribute's fragment into the dialog's text to insert.
    void PutTextToInsert() const;
    void RefreshExample(InsertAttribute attribute) const;
    void RefreshExamples() const;
    InsertOptionSelections Selections() const noexcept;
};

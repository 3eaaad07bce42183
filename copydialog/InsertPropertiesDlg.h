#pragma once

#include "copydialog/InsertPage.h"
#include "copydialog/InsertPropertyList.h"
#include "resources/resource.h"

// "Insert Property": the shell properties the example file offers, with their values.
class CInsertPropertiesDlg : public CInsertPage
{
  public:
    explicit CInsertPropertiesDlg(CInsertDlg& owner) : CInsertPage(IDD_INSERT_PROPERTIES, owner) {}

    void OnPageSelected() override;
    void SaveState() override;
    void OnExampleChanged() override { Refill(); }

  protected:
    void DeclareAnchors(AnchorLayout& layout, int right, int bottom) override;
    void OnLayout() override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

  private:
    void Refill();
    // The selected row's fragment into the dialog's text to insert; nothing when none is.
    void PutTextToInsert() const;
    int SelectedRow() const noexcept;

    HWND m_listView = nullptr;
    InsertPropertyList m_list;
    bool m_filling = false;
    bool m_exampleFills = false;
};

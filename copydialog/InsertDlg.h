#pragma once

#include "copydialog/InsertFragments.h"
#include "copynames/ItemList.h"
#include "winui/ResizableDialog.h"
#include "winui/TabPages.h"
#include "winui/Window.h"
#include "winui/WindowHandles.h"

#include <commctrl.h>

#include <optional>
#include <functional>
#include <string>
#include <vector>

// What the Insert dialog asks of its pages besides being tab pages.
class IInsertTabDlg
{
  public:
    // The dialog closes: the page keeps in the process-wide memory what it remembers.
    virtual void SaveState() = 0;
    // Another example file was chosen.
    virtual void OnExampleChanged() = 0;

  protected:
    ~IInsertTabDlg() = default;
};

// What the Insert dialog remembers from one run to the next while the library stays loaded; it
// is never written to the settings store.
struct InsertDialogMemory
{
    std::wstring example; // the chosen entry's text
    int tab = 0;
    std::optional<WINDOWPLACEMENT> placement;
    // The attribute page.
    InsertAttribute attribute = kInsertName;
    InsertOptionSelections selections{};
    // The property page; column widths in 96-DPI units, or the list view's special widths.
    bool hideEmpty = false;
    std::wstring property; // the selected property's name without "System."
    int nameWidth = 250;
    int exampleWidth = LVSCW_AUTOSIZE_USEHEADER;
};

// The process-wide memory of the Insert dialog.
InsertDialogMemory& RememberedInsertState() noexcept;

// "Insert File/Folder Attribute": helps the user write item format text by picking an attribute
// and its options, or a shell property, and shows what it gives for an example file.
// The reference of item texts and name tags, installed beside this library.
std::wstring ReferencePagePath();

// What Help does with that page: by default hands it to the shell, which shows it in the user's
// browser; true when it was shown. Tests replace it: a test never hands a page to the desktop.
using ReferenceOpener = std::function<bool(const std::wstring& page)>;
void SetReferenceOpener(ReferenceOpener opener);

class CInsertDlg final : public CResizableDialog
{
  public:
    // items: the copy dialog's list, in its order; they must outlive the dialog.
    explicit CInsertDlg(const std::vector<const CFItem*>& items);

    // What OK read from the text to insert.
    const std::wstring& TextToInsert() const noexcept { return m_textToInsert; }

    // For the pages: the chosen example (null when there is none), the text to insert, and
    // ending the dialog as OK does.
    const CFItem* Example() const noexcept;
    void SetTextToInsert(const std::wstring& text) const noexcept;
    void EndWithOk();

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;
    void OnDestroy() override;
    void DeclareAnchors(AnchorLayout& layout, int outerRight, int outerBottom) override;

  private:
    IInsertTabDlg& Page(int index) const { return *m_insertPages.at(static_cast<size_t>(index)); }
    void SelectPage(int index);

    std::vector<const CFItem*> m_examples;
    TabPages m_pages;
    std::vector<IInsertTabDlg*> m_insertPages; // the pages of m_pages, in tab order
    std::wstring m_textToInsert;
};

// Shows "Insert File/Folder Attribute" over owner with examples from the list's output; on OK
// returns the fragment to insert, on Cancel nothing.
std::optional<std::wstring> ShowInsertDialog(const CWindow& owner, const ItemList& items);

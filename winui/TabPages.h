#pragma once

#include "winui/AnchorLayout.h"
#include "winui/Control.h"
#include "winui/Dialog.h"

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

// What a page of a tab control does besides being a dialog.
class ITabDlg
{
  public:
    // The page becomes the selected tab: it brings its controls in line with the dialog's data.
    virtual void OnPageSelected() = 0;
    // The page stops being the selected tab.
    virtual void OnPageDeselected() = 0;
    virtual HWND GetPageWnd() const = 0;

  protected:
    ~ITabDlg() = default;
};

// A page of a tab control: a child dialog on the system's window colour, like the body of the tab
// control (so its text stays readable in a high-contrast theme), whose controls keep their anchors
// to the page's edges. Read-only edits keep their own look.
class CTabPage : public CChildDialog, public ITabDlg
{
  public:
    explicit CTabPage(UINT templateId) : CChildDialog(templateId) {}

    void OnPageSelected() override {}
    void OnPageDeselected() override {}
    HWND GetPageWnd() const override { return Hwnd(); }

    // What the page and its controls are painted on; the system owns it.
    static HBRUSH Background() noexcept { return ::GetSysColorBrush(COLOR_WINDOW); }

  protected:
    // Called once, before OnInitDialog, with the page's edges at its template size.
    virtual void DeclareAnchors(AnchorLayout& /*layout*/, int /*right*/, int /*bottom*/) {}
    // Called after each layout of the anchored controls.
    virtual void OnLayout() {}

  private:
    bool InitDialog() final;
    std::optional<INT_PTR> FrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam) final;

    std::unique_ptr<AnchorLayout> m_layout;
};

// The pages of one tab control of a dialog. Each page is a CChildDialog that implements ITabDlg;
// it is created once, as a child of the dialog placed over the tab control's display area (and
// kept there when the tab control moves or changes size), and shown only while its tab is
// selected. CTRL+TAB and CTRL+SHIFT+TAB step through the tabs from anywhere in the dialog, as a
// click on a tab would; inside a page the dialog keys (TAB, arrows, Enter, Escape, mnemonics) work
// as in the dialog itself.
class TabPages
{
  public:
    TabPages() = default;
    TabPages(const TabPages&) = delete;
    TabPages& operator=(const TabPages&) = delete;
    ~TabPages();

    // Takes over the tab control `tabId` of dialog, at the dialog's initialisation.
    void Attach(HWND dialog, int tabId);
    // A new last tab with this text, and its page made from args; the page stays hidden until
    // its tab is selected.
    template <class Page, class... Args> Page& Add(const std::wstring& text, Args&&... args)
    {
        static_assert(std::is_base_of_v<CChildDialog, Page> && std::is_base_of_v<ITabDlg, Page>,
                      "a page is a child dialog that implements ITabDlg");
        auto page = std::make_unique<ModelessDialog<Page>>(std::forward<Args>(args)...);
        Page& added = *page;
        if (!page->Create(m_dialog))
            throw std::runtime_error("a tab page could not be created");
        Insert(text, std::move(page), added);
        return added;
    }

    // Selects the tab and its page: the page shown so far hears that it is left, the new one
    // that it is selected; then the new page is shown and the others hidden. Indices out of
    // range are ignored.
    void Select(int index);
    // For the dialog's OnNotify: a change of the tab control's selection (a click, the arrow
    // keys, CTRL+TAB) selects its page. True when it did; the dialog may remember the index.
    bool OnNotify(const NMHDR& header);

    int Current() const noexcept { return m_current; }
    int Count() const noexcept { return static_cast<int>(m_pages.size()); }
    ITabDlg& Page(int index) const { return *m_pages.at(static_cast<size_t>(index)).page; }

  private:
    // The tab control: its moves and size changes take the pages along.
    class TabControl final : public CControl
    {
      public:
        explicit TabControl(TabPages& pages) noexcept : m_pages(pages) {}

      protected:
        std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

      private:
        TabPages& m_pages;
    };
    struct Entry
    {
        std::unique_ptr<CDialog> dialog;
        ITabDlg* page;
    };

    void Insert(const std::wstring& text, std::unique_ptr<CDialog> dialog, ITabDlg& page);
    // The display area of the tab control, in the dialog's client coordinates.
    RECT DisplayArea() const noexcept;
    void PlacePages() const noexcept;
    // CTRL+TAB seen on its way to the dialog's loop: true when it was for this dialog.
    bool StepOnKey(const MSG& message) noexcept;
    static LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Register();
    void Unregister() noexcept;

    HWND m_dialog = nullptr;
    TabControl m_tab{*this};
    std::vector<Entry> m_pages; // after m_tab: the pages go first
    int m_current = -1;
    TabPages* m_nextOnThread = nullptr;
};

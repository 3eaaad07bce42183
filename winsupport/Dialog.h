#pragma once

#include "winsupport/Window.h"

#include <windows.h>

#include <optional>
#include <string>

// The base of every dialog of the product: bound to one dialog template, dispatching messages to
// virtual handlers. Modal and modeless runs differ only in how they start and end; a child page is
// a modeless dialog created inside another window.
class CDialog
{
  public:
    explicit CDialog(UINT templateId) noexcept : m_templateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    HWND Hwnd() const noexcept { return m_hwnd; }
    UINT TemplateId() const noexcept { return m_templateId; }
    // The dialog object behind a window; null for windows this framework did not create.
    static CDialog* FromHandle(HWND hwnd) noexcept;

    // Runs the dialog modally on owner (may be null); returns what Close was given, or -1 when
    // the dialog could not be created.
    INT_PTR ShowModal(HWND owner);
    // Creates the dialog without a loop of its own (progress windows, pages); false on failure.
    bool Create(HWND owner);
    // Ends a modal run with the result, or destroys a modeless dialog.
    void Close(INT_PTR result);
    void Destroy() noexcept;

    // How many dialog objects of the framework are alive in the process: while any is, the
    // library that holds their code must stay loaded.
    static LONG LiveCount() noexcept;

  protected:
    virtual bool OnInitDialog() { return true; } // true: the system sets the focus
    virtual bool OnCommand(int id, int code, HWND control);
    virtual std::optional<LRESULT> OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
    virtual void OnSize(UINT /*type*/, int /*width*/, int /*height*/) {}
    virtual void OnDestroy() {}
    virtual std::optional<INT_PTR> OnMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }

    HWND Item(int id) const noexcept { return ::GetDlgItem(m_hwnd, id); }
    std::wstring GetText(int id) const { return GetWindowTextString(Item(id)); }
    void SetText(int id, const std::wstring& text) const noexcept { ::SetDlgItemTextW(m_hwnd, id, text.c_str()); }
    void EnableItem(int id, bool enable) const noexcept { ::EnableWindow(Item(id), enable); }
    void ShowItem(int id, bool show) const noexcept { ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    bool IsModal() const noexcept { return m_modal; }

  private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    const UINT m_templateId;
    bool m_modal = false;
    struct LiveCounter
    {
        LiveCounter() noexcept;
        ~LiveCounter();
    } m_counter;
};

// A page shown inside another dialog (its template has WS_CHILD and DS_CONTROL): Enter and
// Escape go to the owner's OK and Cancel.
class CChildDialog : public CDialog
{
  public:
    using CDialog::CDialog;

  protected:
    bool OnCommand(int id, int code, HWND control) override;
};

#pragma once

#include <windows.h>

#include <optional>

class CDialog;

// A control of a dialog template given behaviour of its own (a list view with its own context
// menu, an owner-drawn button, an edit that shows spaces): its messages reach OnMessage first,
// and what that leaves goes on to the control's own procedure. What the parent dialog hears about
// the control and does not answer itself (WM_DRAWITEM, WM_NOTIFY) reaches OnParentMessage. The
// control's original procedure is back in place once either the window or this object is gone.
class CControl
{
  public:
    CControl() noexcept = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;
    virtual ~CControl();

    // Takes over the control; false when there is none or another object has it already.
    bool Attach(HWND control);
    bool Attach(HWND dialog, int id) { return Attach(::GetDlgItem(dialog, id)); }
    void Detach() noexcept;
    HWND Hwnd() const noexcept { return m_hwnd; }
    // The object behind a control; null for windows that no CControl has.
    static CControl* FromHandle(HWND control) noexcept;

  protected:
    // A message of the control; nullopt passes it on.
    virtual std::optional<LRESULT> OnMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }
    // A message about the control that its parent dialog left unanswered: for WM_DRAWITEM a value
    // means drawn, for WM_NOTIFY it is the answer.
    virtual std::optional<LRESULT> OnParentMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }
    // The control's own handling of a message, for handlers that add to it or change it.
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const noexcept;

  private:
    friend class CDialog;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data) noexcept;

    HWND m_hwnd = nullptr;
};

// A list view whose context menu is its own: a right-click or the keyboard (SHIFT+F10, the menu
// key) calls OnContextMenu with the point where the menu goes.
class CListViewCtrl : public CControl
{
  protected:
    // point: in screen coordinates; from the keyboard, just inside the focused row (or the list's
    // corner when no row has the focus).
    virtual void OnContextMenu(POINT point) = 0;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Shows a popup menu at point; its command goes to the list's parent as WM_COMMAND, as a
    // dialog's own menu would send it.
    void TrackMenu(HMENU popup, POINT point) const noexcept;

  private:
    POINT KeyboardMenuPoint() const noexcept;
};

#pragma once

#include "winui/ScreenDpi.h"
#include "winui/Window.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// The base of every dialog of the product: bound to one dialog template, dispatching messages to
// virtual handlers. Modal and modeless runs differ only in how they start and end; a child page is
// a modeless dialog created inside another window. Each dialog has its ScreenDpi and watches it.
class CDialog : protected ScreenDpiWatcher
{
  public:
    explicit CDialog(UINT templateId);
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
    // Hold such a dialog as a ModelessDialog, so that its window goes while all of it still lives.
    bool Create(HWND owner);
    // Ends a modal run with the result, or destroys a modeless dialog.
    void Close(INT_PTR result);
    void Destroy() noexcept;

    // How many dialog objects of the framework are alive in the process: while any is, the
    // library that holds their code must stay loaded.
    static LONG LiveCount() noexcept;

  protected:
    // The dialog's own set-up, called once the framework has prepared the window (its DPI read;
    // for a resizable dialog its anchors, size grip and remembered size in place). Overrides do
    // not call the base. True: the system sets the focus.
    virtual bool OnInitDialog() { return true; }
    virtual bool OnCommand(int id, int code, HWND control);
    virtual std::optional<LRESULT> OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
    virtual void OnSize(UINT /*type*/, int /*width*/, int /*height*/) {}
    // Just before the window goes, whether a modal run ended, Destroy was called or the owner went.
    virtual void OnDestroy() {}
    // The window's DPI changed; pixel sizes that the dialog computed itself need doing again.
    void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) override {}
    virtual std::optional<INT_PTR> OnMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }

    HWND Item(int id) const noexcept { return ::GetDlgItem(m_hwnd, id); }
    std::wstring GetText(int id) const { return GetWindowTextString(Item(id)); }
    void SetText(int id, const std::wstring& text) const noexcept { ::SetDlgItemTextW(m_hwnd, id, text.c_str()); }
    void EnableItem(int id, bool enable) const noexcept { ::EnableWindow(Item(id), enable); }
    void ShowItem(int id, bool show) const noexcept { ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    bool IsModal() const noexcept { return m_modal; }

    // Check boxes and radio buttons. A radio group is the buttons first to last, by id.
    bool IsChecked(int id) const noexcept { return ::IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }
    void SetCheck(int id, bool checked) const noexcept;
    // The id of the checked button of the group, or 0 when none is.
    int CheckedRadio(int first, int last) const noexcept;
    void CheckRadio(int first, int last, int id) const noexcept;

    ScreenDpi& Dpi() const noexcept { return *m_dpi; }
    const std::shared_ptr<ScreenDpi>& SharedDpi() const noexcept { return m_dpi; }

  private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // What a framework class adds to a dialog (the resizable dialog's layout): around OnInitDialog,
    // and before the handlers see a message (a value answers it). Dialogs themselves override
    // the handlers only, and never need to call a base handler for the framework's sake.
    virtual bool InitDialog() { return OnInitDialog(); }
    virtual std::optional<INT_PTR> FrameworkMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }
    void OnSystemDpiChanged(UINT dpi, const RECT& suggested);
    std::optional<LRESULT> ToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    const UINT m_templateId;
    bool m_modal = false;
    std::shared_ptr<ScreenDpi> m_dpi;
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

// How a modeless dialog is held: its window is destroyed while the whole object still lives, so
// that the dialog's own OnDestroy runs (saving its size, stopping its timers) when it goes out of
// scope. A dialog destroyed with its window still open only loses its window.
template <class Dialog> class ModelessDialog final : public Dialog
{
  public:
    using Dialog::Dialog;
    ~ModelessDialog() override { this->Destroy(); }
};

// Dispatches every message waiting in the thread's queue, the dialog's own keyboard handling
// first, so that a window stays alive while its thread works. False when a quit message is
// waiting: it belongs to the host's own loop, stays in the queue, and the work should stop.
bool DispatchWaitingMessages(HWND dialog);

// Gives the focus to a control of a dialog as the dialog manager would on TAB (an edit's text
// selected, the default button following): the dialog's OnInitDialog then returns false.
void FocusControl(HWND control);
// Gives the focus to where a user starts in a dialog or a page: its first tab stop or, when that
// opens a group of option buttons, the chosen one of the group.
void FocusFirstControl(HWND container);

// What a message box tells: its icon and the sound Windows plays with it.
enum class MessageKind
{
    Information,
    Warning,
    Error,
};

// A message box with an OK button: every message the product shows goes through here.
void ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, MessageKind kind);

// A message box with an OK button over a dialog, titled with the dialog's caption.
void ShowDialogMessage(HWND dialog, const std::wstring& text, MessageKind kind = MessageKind::Warning);

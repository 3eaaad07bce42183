#include "winui/Dialog.h"

#include "winsupport/CallbackErrors.h"
#include "winsupport/ModulePath.h"
#include "winsupport/Resources.h"
#include "winui/Control.h"

#include <atomic>
#include <cstdio>
#include <iterator>
#include <string>

namespace
{
std::atomic<LONG> g_liveDialogs{0};

// Dialogs of a library live in its own activation context (its manifest at resource id 2), so they
// get version 6 of the common controls whatever the host's manifest says. Modules without that
// manifest (programs with their own) show their dialogs as they are.
class ModuleActivationContext
{
  public:
    ModuleActivationContext() noexcept
    {
        const HMODULE module = ResourceModule();
        if (!module || !::FindResourceW(module, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24)))
            return;
        const std::wstring path = ModulePath(module);
        if (path.empty())
            return;
        ACTCTXW context{};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.hModule = module;
        context.lpResourceName = MAKEINTRESOURCEW(2);
        m_context = ::CreateActCtxW(&context);
        if (m_context == INVALID_HANDLE_VALUE)
            return;
        if (!::ActivateActCtx(m_context, &m_cookie))
            m_cookie = 0;
    }
    ModuleActivationContext(const ModuleActivationContext&) = delete;
    ModuleActivationContext& operator=(const ModuleActivationContext&) = delete;
    ~ModuleActivationContext()
    {
        if (m_cookie)
            ::DeactivateActCtx(0, m_cookie);
        if (m_context != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(m_context);
    }

  private:
    HANDLE m_context = INVALID_HANDLE_VALUE;
    ULONG_PTR m_cookie = 0;
};
} // namespace

CDialog::LiveCounter::LiveCounter() noexcept
{
    ++g_liveDialogs;
}

CDialog::LiveCounter::~LiveCounter()
{
    --g_liveDialogs;
}

LONG CDialog::LiveCount() noexcept
{
    return g_liveDialogs.load();
}

CDialog::CDialog(UINT templateId) : m_templateId(templateId), m_dpi(std::make_shared<ScreenDpi>()) {}

CDialog::~CDialog()
{
    m_dpi->RemoveWatcher(this);
    if (!m_hwnd)
        return;
    // The derived parts of this object are gone: no message may reach their handlers any more.
    wchar_t line[128];
    std::swprintf(line, std::size(line), L"Brelvanta: dialog %u destroyed with its window open\n", m_templateId);
    ::OutputDebugStringW(line);
    const HWND hwnd = m_hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
    if (!m_modal)
        ::DestroyWindow(hwnd);
}

CDialog* CDialog::FromHandle(HWND hwnd) noexcept
{
    // Message boxes and the shell's dialogs use DWLP_USER too: trust it only behind our procedure.
    if (!hwnd || ::GetWindowLongPtrW(hwnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&Procedure))
        return nullptr;
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
}

INT_PTR CDialog::ShowModal(HWND owner)
{
    m_modal = true;
    const ModuleActivationContext context;
    return ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), owner, &Procedure,
                             reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND owner)
{
    m_modal = false;
    const ModuleActivationContext context;
    return ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), owner, &Procedure,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::Close(INT_PTR result)
{
    if (!m_hwnd)
        return;
    if (m_modal)
        ::EndDialog(m_hwnd, result);
    else
        Destroy();
}

void CDialog::Destroy() noexcept
{
    if (m_hwnd && !m_modal)
        ::DestroyWindow(m_hwnd);
}

bool CDialog::OnCommand(int id, int code, HWND)
{
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL))
    {
        Close(id);
        return true;
    }
    return false;
}

void CDialog::SetCheck(int id, bool checked) const noexcept
{
    ::CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int CDialog::CheckedRadio(int first, int last) const noexcept
{
    for (int id = first; id <= last; ++id)
        if (IsChecked(id))
            return id;
    return 0;
}

void CDialog::CheckRadio(int first, int last, int id) const noexcept
{
    ::CheckRadioButton(m_hwnd, first, last, id);
}

INT_PTR CALLBACK CDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG)
    {
        auto* created = reinterpret_cast<CDialog*>(lParam);
        created->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
    }
    CDialog* self = FromHandle(hwnd);
    if (!self)
        return FALSE; // WM_SETFONT and friends arrive before WM_INITDIALOG
    INT_PTR result = FALSE;
    try
    {
        result = self->Dispatch(message, wParam, lParam);
    }
    catch (...)
    {
        // Nothing may escape into the host's message loop: the message ends with the default
        // answer, and a dialog that could not set itself up ends as cancelled.
        ReportCallbackException(L"dialog", static_cast<int>(self->m_templateId), message);
        if (message == WM_INITDIALOG)
            self->Close(IDCANCEL);
    }
    if (message == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        if (const std::optional<INT_PTR> answered = FrameworkMessage(message, wParam, lParam))
            return *answered;
    switch (message)
    {
    case WM_INITDIALOG:
        m_dpi->Update(m_hwnd);
        m_dpi->RemoveWatcher(this); // a dialog object may be shown more than once
        m_dpi->AddWatcher(this);
        return InitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        std::optional<LRESULT> handled = OnNotify(header);
        if (!handled)
            handled = ToControl(header.hwndFrom, message, wParam, lParam);
        if (!handled)
            return FALSE;
        ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, *handled); // how a dialog answers WM_NOTIFY
        return TRUE;
    }
    case WM_DRAWITEM: {
        if (const auto handled = OnMessage(message, wParam, lParam))
            return *handled;
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item.CtlType != ODT_MENU &&
               ToControl(static_cast<HWND>(item.hwndItem), message, wParam, lParam).has_value();
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_DPICHANGED:
        OnSystemDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DPICHANGED_AFTERPARENT:
        m_dpi->Update(m_hwnd);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of new system colours; the common controls keep copies of
        // them and take the new ones only when told. Pages tell their own controls in turn.
        for (HWND child = ::GetWindow(m_hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
        return OnMessage(message, wParam, lParam).value_or(FALSE);
    default:
        return OnMessage(message, wParam, lParam).value_or(FALSE);
    }
}

void CDialog::OnSystemDpiChanged(UINT dpi, const RECT& suggested)
{
    // The new DPI first, so that the layout of the size change below already uses it.
    m_dpi->SetReported(dpi);
    ::SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> CDialog::ToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A control with behaviour of its own answers what its parent hears about it.
    if (CControl* owner = CControl::FromHandle(control))
        return owner->OnParentMessage(message, wParam, lParam);
    return std::nullopt;
}

bool CChildDialog::OnCommand(int id, int code, HWND control)
{
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL))
    {
        const HWND owner = ::GetParent(Hwnd());
        ::SendMessageW(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        return true;
    }
    return false;
}

bool DispatchWaitingMessages(HWND dialog)
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
    {
        if (message.message == WM_QUIT)
            return false;
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            break;
        if (dialog && ::IsDialogMessageW(dialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void FocusControl(HWND control)
{
    if (const HWND dialog = ::GetAncestor(control, GA_ROOT))
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

namespace
{
bool IsOptionButton(HWND control) noexcept
{
    const LRESULT code = ::SendMessageW(control, WM_GETDLGCODE, 0, 0);
    return (code & DLGC_RADIOBUTTON) != 0;
}
} // namespace

void FocusFirstControl(HWND container)
{
    HWND first = ::GetNextDlgTabItem(container, nullptr, FALSE);
    if (!first)
        return;
    if (IsOptionButton(first))
    {
        for (HWND option = first; option && IsOptionButton(option);
             option = ::GetNextDlgGroupItem(container, option, FALSE))
        {
            if (::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED)
            {
                first = option;
                break;
            }
            if (::GetNextDlgGroupItem(container, option, FALSE) == first)
                break;
        }
    }
    FocusControl(first);
}

void ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, MessageKind kind)
{
    UINT icon = MB_ICONWARNING;
    if (kind == MessageKind::Information)
        icon = MB_ICONINFORMATION;
    else if (kind == MessageKind::Error)
        icon = MB_ICONERROR;
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | icon);
}

void ShowDialogMessage(HWND dialog, const std::wstring& text, MessageKind kind)
{
    ShowMessage(dialog, text, GetWindowTextString(dialog), kind);
}

#include "winsupport/Dialog.h"

#include "winsupport/Resources.h"

#include <atomic>
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
        std::wstring path(32768, L'\0');
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0 || length >= path.size())
            return;
        path.resize(length);
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

CDialog::~CDialog()
{
    Destroy();
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
        // Nothing may escape into the host's message loop; the dialog ends as cancelled.
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
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        if (const auto handled = OnNotify(*reinterpret_cast<const NMHDR*>(lParam)))
        {
            ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, *handled); // how a dialog answers WM_NOTIFY
            return TRUE;
        }
        return FALSE;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return OnMessage(message, wParam, lParam).value_or(FALSE);
    }
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

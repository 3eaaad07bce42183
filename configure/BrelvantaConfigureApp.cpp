#include "configure/BrelvantaConfigureApp.h"

#include "configure/BrelvantaConfigureDlg.h"
#include "configure/MenuConfigFile.h"

#include <commctrl.h>
#include <objbase.h>

namespace
{
// In the platform's global namespace: one instance for the whole machine, every session included.
constexpr wchar_t kInstanceEventName[] = L"Global\\com.kaldrith.brelvantaconfigure";

// The shell's open verb may hand the link to handlers that need a single-threaded apartment.
class ComApartment
{
  public:
    ComApartment() noexcept : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }

  private:
    HRESULT m_result;
};
} // namespace

CBrelvantaConfigureApp::~CBrelvantaConfigureApp()
{
    if (m_watcher)
    {
        ::SetEvent(m_stopEvent.Get());
        ::WaitForSingleObject(m_watcher.Get(), INFINITE);
    }
}

int CBrelvantaConfigureApp::Run()
{
    if (!BecomeTheInstance())
        return 0;

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0xFF; // every class of the low eight bits
    ::InitCommonControlsEx(&controls);
    const ComApartment apartment;

    MenuConfigFile file(MenuConfigPath());
    m_config = file.Load();
    CBrelvantaConfigureDlg dialog(m_config, file, m_mainWindow);
    return dialog.ShowModal(nullptr) == -1 ? 1 : 0;
}

bool CBrelvantaConfigureApp::BecomeTheInstance()
{
    m_instanceEvent.Reset(::CreateEventW(nullptr, FALSE, FALSE, kInstanceEventName));
    if (!m_instanceEvent)
        return true; // no watcher, but the program still runs
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
    {
        // Let the running instance take the foreground that this start was given.
        ::AllowSetForegroundWindow(ASFW_ANY);
        ::SetEvent(m_instanceEvent.Get());
        m_instanceEvent.Reset();
        return false;
    }
    m_stopEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (m_stopEvent)
        m_watcher.Reset(::CreateThread(nullptr, 0, &Watch, this, 0, nullptr));
    return true;
}

// Touches nothing but the two events and a posted message; the dialog acts on its own thread.
DWORD WINAPI CBrelvantaConfigureApp::Watch(void* context) noexcept
{
    auto* self = static_cast<CBrelvantaConfigureApp*>(context);
    const HANDLE events[] = {self->m_instanceEvent.Get(), self->m_stopEvent.Get()};
    while (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0)
    {
        if (const HWND window = self->m_mainWindow.load())
            ::PostMessageW(window, kBringToFrontMessage, 0, 0);
    }
    return 0;
}

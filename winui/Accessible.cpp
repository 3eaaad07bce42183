#include "winui/Accessible.h"

#include "winsupport/ComPtr.h"
#include "winsupport/ErrorHandling.h"
#include "winui/Window.h"

#include <oleacc.h>

#include <new>

namespace
{
// The platform's accessibility functions, from oleacc.dll loaded at the first request: the
// library is not imported, so a right-click that shows no window never loads it. It stays loaded
// for the process, since the standard objects it made may outlive this library.
struct Oleacc
{
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) resultFromObject = nullptr;
};

const Oleacc& LoadOleacc() noexcept
{
    static const Oleacc functions = [] {
        Oleacc loaded;
        if (const HMODULE module = ::LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        {
            loaded.createStandard = reinterpret_cast<decltype(&::CreateStdAccessibleObject)>(
                reinterpret_cast<void*>(::GetProcAddress(module, "CreateStdAccessibleObject")));
            loaded.resultFromObject = reinterpret_cast<decltype(&::LresultFromObject)>(
                reinterpret_cast<void*>(::GetProcAddress(module, "LresultFromObject")));
        }
        return loaded;
    }();
    return functions;
}

bool IsChildId(const VARIANT& child) noexcept
{
    return child.vt == VT_I4;
}

HRESULT ToBstr(const std::wstring& text, BSTR* result) noexcept
{
    *result = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result ? S_OK : E_OUTOFMEMORY;
}

// The object a client gets: the facts first, the standard object for the rest.
class CAccessible final : public IAccessible
{
  public:
    CAccessible(std::shared_ptr<AccessibleObject::Link> link, ComPtr<IAccessible> standard) noexcept
        : m_link(std::move(link)), m_standard(std::move(standard))
    {
    }
    CAccessible(const CAccessible&) = delete;
    CAccessible& operator=(const CAccessible&) = delete;

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppvObject) noexcept override
    {
        if (!ppvObject)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
        {
            *ppvObject = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    IFACEMETHODIMP_(ULONG) AddRef() noexcept override
    {
        return static_cast<ULONG>(::InterlockedIncrement(&m_references));
    }
    IFACEMETHODIMP_(ULONG) Release() noexcept override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: what the standard object offers.
    IFACEMETHODIMP GetTypeInfoCount(UINT* pctinfo) noexcept override { return m_standard->GetTypeInfoCount(pctinfo); }
    IFACEMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) noexcept override
    {
        return m_standard->GetTypeInfo(iTInfo, lcid, ppTInfo);
    }
    IFACEMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                 DISPID* rgDispId) noexcept override
    {
        return m_standard->GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
    }
    IFACEMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                          VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) noexcept override
    {
        return m_standard->Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
    }

    IFACEMETHODIMP get_accParent(IDispatch** ppdispParent) noexcept override
    {
        return Connected() ? m_standard->get_accParent(ppdispParent) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accChildCount(long* pcountChildren) noexcept override
    {
        return Connected() ? m_standard->get_accChildCount(pcountChildren) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) noexcept override
    {
        return Connected() ? m_standard->get_accChild(varChild, ppdispChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) noexcept override
    {
        return Text(varChild, pszName, &AccessibleFacts::AccessibleName, &IAccessible::get_accName);
    }
    IFACEMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) noexcept override
    {
        return Text(varChild, pszValue, &AccessibleFacts::AccessibleValue, &IAccessible::get_accValue);
    }
    IFACEMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) noexcept override
    {
        return Text(varChild, pszDescription, &AccessibleFacts::AccessibleDescription,
                    &IAccessible::get_accDescription);
    }
    IFACEMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) noexcept override
    try
    {
        if (!Connected())
            return RPC_E_DISCONNECTED;
        if (!pvarRole)
            return E_POINTER;
        if (IsChildId(varChild))
            if (const std::optional<long> role = m_link->facts->AccessibleRole(varChild.lVal))
            {
                pvarRole->vt = VT_I4;
                pvarRole->lVal = *role;
                return S_OK;
            }
        return m_standard->get_accRole(varChild, pvarRole);
    }
    CATCH_RETURN()
    IFACEMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) noexcept override
    try
    {
        if (!Connected())
            return RPC_E_DISCONNECTED;
        if (!pvarState)
            return E_POINTER;
        VARIANT standard{};
        const HRESULT result = m_standard->get_accState(varChild, &standard);
        if (!IsChildId(varChild))
        {
            *pvarState = standard;
            return result;
        }
        // The standard object may not know the items of a window it only sees from outside.
        const long known = SUCCEEDED(result) && standard.vt == VT_I4 ? standard.lVal : 0;
        ::VariantClear(&standard);
        pvarState->vt = VT_I4;
        pvarState->lVal = m_link->facts->AccessibleState(varChild.lVal, known);
        return S_OK;
    }
    CATCH_RETURN()
    IFACEMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) noexcept override
    {
        return Connected() ? m_standard->get_accHelp(varChild, pszHelp) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) noexcept override
    {
        return Connected() ? m_standard->get_accHelpTopic(pszHelpFile, varChild, pidTopic) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) noexcept override
    {
        return Connected() ? m_standard->get_accKeyboardShortcut(varChild, pszKeyboardShortcut) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accFocus(VARIANT* pvarChild) noexcept override
    {
        return Connected() ? m_standard->get_accFocus(pvarChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accSelection(VARIANT* pvarChildren) noexcept override
    {
        return Connected() ? m_standard->get_accSelection(pvarChildren) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) noexcept override
    {
        return Connected() ? m_standard->get_accDefaultAction(varChild, pszDefaultAction) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP accSelect(long flagsSelect, VARIANT varChild) noexcept override
    {
        return Connected() ? m_standard->accSelect(flagsSelect, varChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                               VARIANT varChild) noexcept override
    {
        return Connected() ? m_standard->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) noexcept override
    {
        return Connected() ? m_standard->accNavigate(navDir, varStart, pvarEndUpAt) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) noexcept override
    {
        return Connected() ? m_standard->accHitTest(xLeft, yTop, pvarChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP accDoDefaultAction(VARIANT varChild) noexcept override
    {
        return Connected() ? m_standard->accDoDefaultAction(varChild) : RPC_E_DISCONNECTED;
    }
    IFACEMETHODIMP put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
    IFACEMETHODIMP put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

  private:
    ~CAccessible() = default;

    bool Connected() const noexcept { return m_link->facts != nullptr; }

    using FactText = std::optional<std::wstring> (AccessibleFacts::*)(long) const;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    HRESULT Text(VARIANT child, BSTR* result, FactText fact, StandardText standard) const noexcept
    try
    {
        if (!Connected())
            return RPC_E_DISCONNECTED;
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (IsChildId(child))
            if (const std::optional<std::wstring> text = (m_link->facts->*fact)(child.lVal))
                return ToBstr(*text, result);
        return (m_standard.Get()->*standard)(child, result);
    }
    CATCH_RETURN()

    LONG m_references = 1;
    std::shared_ptr<AccessibleObject::Link> m_link;
    ComPtr<IAccessible> m_standard;
};
} // namespace

AccessibleObject::AccessibleObject(const AccessibleFacts& facts) : m_link(std::make_shared<Link>(Link{&facts})) {}

AccessibleObject::~AccessibleObject()
{
    m_link->facts = nullptr;
}

std::optional<LRESULT> AccessibleObject::OnGetObject(HWND window, WPARAM wParam, LPARAM lParam) const
{
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return std::nullopt;
    const Oleacc& oleacc = LoadOleacc();
    if (!oleacc.createStandard || !oleacc.resultFromObject)
        return std::nullopt;
    ComPtr<IAccessible> standard;
    if (FAILED(oleacc.createStandard(window, OBJID_CLIENT, IID_PPV_ARGS(standard.Put()))) || !standard)
        return std::nullopt;
    auto* object = new (std::nothrow) CAccessible(m_link, std::move(standard));
    if (!object)
        return std::nullopt;
    const LRESULT result = oleacc.resultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release(); // LresultFromObject holds its own reference
    return result;
}

std::wstring AccessibleLabel(HWND control)
{
    for (HWND sibling = ::GetWindow(control, GW_HWNDPREV); sibling; sibling = ::GetWindow(sibling, GW_HWNDPREV))
    {
        wchar_t className[16]{};
        ::GetClassNameW(sibling, className, 16);
        const LONG_PTR style = ::GetWindowLongPtrW(sibling, GWL_STYLE);
        const bool staticText = ::lstrcmpiW(className, L"Static") == 0;
        if (staticText || (::lstrcmpiW(className, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX))
        {
            std::wstring text = GetWindowTextString(sibling);
            std::wstring plain;
            for (size_t i = 0; i < text.size(); ++i)
            {
                if (text[i] == L'&' && !(staticText && (style & SS_NOPREFIX)))
                    if (++i == text.size())
                        break;
                plain += text[i];
            }
            return plain;
        }
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE))
            return {};
    }
    return {};
}

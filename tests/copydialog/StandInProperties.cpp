#include "tests/copydialog/StandInProperties.h"

#include "copynames/PropertyRuntime.h"

#include <cstring>
#include <memory>

namespace
{
std::vector<StandInProperty> g_properties;
int g_descriptionsAsked = 0;

wchar_t* CoTaskCopy(const std::wstring& text)
{
    auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy)
        std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return copy;
}

// Reference counting and QueryInterface for one interface (and those it derives from).
template <class Interface, class... Bases> class StandIn : public Interface
{
  public:
    virtual ~StandIn() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface) || ((iid == __uuidof(Bases)) || ...))
        {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

  private:
    ULONG m_references = 1;
};

class Description final : public StandIn<IPropertyDescription>
{
  public:
    explicit Description(const StandInProperty& property) : m_property(property) {}
    HRESULT STDMETHODCALLTYPE GetCanonicalName(LPWSTR* name) override
    {
        *name = CoTaskCopy(m_property.canonicalName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayName(LPWSTR* name) override
    {
        *name = nullptr;
        if (m_property.displayName.empty())
            return E_FAIL;
        *name = CoTaskCopy(m_property.displayName);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FormatForDisplay(REFPROPVARIANT value, PROPDESC_FORMAT_FLAGS, LPWSTR* text) override
    {
        *text = CoTaskCopy(value.vt == VT_LPWSTR && value.pwszVal ? value.pwszVal : L"");
        return S_OK;
    }
    // Nothing else of a description is asked for.
    HRESULT STDMETHODCALLTYPE GetPropertyKey(PROPERTYKEY*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyType(VARTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEditInvitation(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeFlags(PROPDESC_TYPE_FLAGS, PROPDESC_TYPE_FLAGS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewFlags(PROPDESC_VIEW_FLAGS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultColumnWidth(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayType(PROPDESC_DISPLAYTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetColumnState(SHCOLSTATEF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupingRange(PROPDESC_GROUPING_RANGE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRelativeDescriptionType(PROPDESC_RELATIVEDESCRIPTION_TYPE*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRelativeDescription(REFPROPVARIANT, REFPROPVARIANT, LPWSTR*, LPWSTR*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSortDescription(PROPDESC_SORTDESCRIPTION*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSortDescriptionLabel(WINBOOL, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAggregationType(PROPDESC_AGGREGATION_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConditionType(PROPDESC_CONDITION_TYPE*, CONDITION_OPERATION*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetEnumTypeList(REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CoerceToCanonicalValue(PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsValueCanonical(REFPROPVARIANT) override { return E_NOTIMPL; }

  private:
    StandInProperty m_property;
};

class DescriptionList final : public StandIn<IPropertyDescriptionList>
{
  public:
    HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override
    {
        *count = static_cast<UINT>(g_properties.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAt(UINT index, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (index >= g_properties.size())
            return E_INVALIDARG;
        auto* description = new Description(g_properties[index]);
        const HRESULT result = description->QueryInterface(iid, object);
        description->Release();
        return result;
    }
};

class ShellItem final : public StandIn<IShellItem2, IShellItem>
{
  public:
    HRESULT STDMETHODCALLTYPE GetPropertyDescriptionList(REFPROPERTYKEY, REFIID iid, void** object) override
    {
        auto* list = new DescriptionList;
        const HRESULT result = list->QueryInterface(iid, object);
        list->Release();
        return result;
    }
    // Nothing else of an item is asked for.
    HRESULT STDMETHODCALLTYPE BindToHandler(IBindCtx*, REFGUID, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(IShellItem**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(SIGDN, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributes(SFGAOF, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Compare(IShellItem*, SICHINTF, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyStore(GETPROPERTYSTOREFLAGS, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyStoreWithCreateObject(GETPROPERTYSTOREFLAGS, IUnknown*, REFIID,
                                                               void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyStoreForKeys(const PROPERTYKEY*, UINT, GETPROPERTYSTOREFLAGS, REFIID,
                                                      void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Update(IBindCtx*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProperty(REFPROPERTYKEY, PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCLSID(REFPROPERTYKEY, CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFileTime(REFPROPERTYKEY, FILETIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInt32(REFPROPERTYKEY, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetString(REFPROPERTYKEY, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUInt32(REFPROPERTYKEY, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUInt64(REFPROPERTYKEY, ULONGLONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBool(REFPROPERTYKEY, WINBOOL*) override { return E_NOTIMPL; }
};

// The values come from the stand-in value function, by description: the store holds nothing.
class Store final : public StandIn<IPropertyStore>
{
  public:
    HRESULT STDMETHODCALLTYPE GetCount(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAt(DWORD, PROPERTYKEY*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY, PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
};

template <class Object> HRESULT Make(REFIID iid, void** object)
{
    auto* made = new Object;
    const HRESULT result = made->QueryInterface(iid, object);
    made->Release();
    return result;
}

HRESULT STDAPICALLTYPE CreateItem(PCWSTR, IBindCtx*, REFIID iid, void** object)
{
    return Make<ShellItem>(iid, object);
}

HRESULT STDAPICALLTYPE StoreOf(PCWSTR, IBindCtx*, GETPROPERTYSTOREFLAGS, REFIID iid, void** object)
{
    return Make<Store>(iid, object);
}

HRESULT STDAPICALLTYPE DescriptionByName(LPCWSTR name, REFIID iid, void** object)
{
    ++g_descriptionsAsked;
    *object = nullptr;
    for (const StandInProperty& property : g_properties)
        if (property.canonicalName == name)
        {
            auto* description = new Description(property);
            const HRESULT result = description->QueryInterface(iid, object);
            description->Release();
            return result;
        }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT STDAPICALLTYPE ValueOf(IPropertyStore*, IPropertyDescription* description, PROPVARIANT* value)
{
    wchar_t* name = nullptr;
    if (FAILED(description->GetCanonicalName(&name)))
        return E_FAIL;
    const std::wstring canonical = name;
    ::CoTaskMemFree(name);
    for (const StandInProperty& property : g_properties)
        if (property.canonicalName == canonical)
        {
            value->vt = VT_LPWSTR;
            value->pwszVal = CoTaskCopy(property.value);
            return S_OK;
        }
    return E_FAIL;
}
} // namespace

void UseStandInProperties(std::vector<StandInProperty> properties)
{
    g_properties = std::move(properties);
    g_descriptionsAsked = 0;
    PropertyRunTimeDLLs::EntryPoints entries;
    entries.createItemFromParsingName = CreateItem;
    entries.getPropertyStoreFromParsingName = StoreOf;
    entries.getPropertyDescriptionByName = DescriptionByName;
    entries.getPropertyValue = ValueOf;
    SetPropertyRuntimeForTesting(std::make_shared<PropertyRunTimeDLLs>(entries));
}

int StandInDescriptionsAsked()
{
    return g_descriptionsAsked;
}

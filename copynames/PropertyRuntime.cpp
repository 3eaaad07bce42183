#include "copynames/PropertyRuntime.h"

#include "copynames/ItemParts.h"
#include "winsupport/ComPtr.h"
#include "winsupport/UniqueHandle.h"

#include <propvarutil.h>

#include <set>
#include <utility>

namespace
{
std::shared_ptr<PropertyRunTimeDLLs> g_runtime;

// System.PropList.FullDetails: the properties the shell shows in a file's details.
constexpr PROPERTYKEY kFullDetailsKey = {{0xC9944A21, 0xA406, 0x48FE, {0x82, 0x25, 0xAE, 0xC7, 0xE2, 0x4C, 0x21, 0x1B}},
                                         2};

template <typename Function> Function EntryPoint(HMODULE module, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Clears the value whatever it came to hold.
class PropVariantHolder
{
  public:
    PropVariantHolder() noexcept { ::PropVariantInit(&m_value); }
    PropVariantHolder(const PropVariantHolder&) = delete;
    PropVariantHolder& operator=(const PropVariantHolder&) = delete;
    ~PropVariantHolder() { ::PropVariantClear(&m_value); }
    PROPVARIANT* Put() noexcept { return &m_value; }
    const PROPVARIANT& Get() const noexcept { return m_value; }

  private:
    PROPVARIANT m_value;
};

// The display text of one property of an open store; empty when any step fails.
bool PropertyText(const PropertyRunTimeDLLs& runtime, IPropertyStore* store, IPropertyDescription* description,
                  std::wstring& text)
{
    PropVariantHolder value;
    if (FAILED(runtime.Entries().getPropertyValue(store, description, value.Put())))
        return false;
    wchar_t* display = nullptr;
    if (FAILED(description->FormatForDisplay(value.Get(), PDFF_DEFAULT, &display)))
        return false;
    UniqueCoTaskMem owner(display);
    text = display ? display : L"";
    return true;
}

ComPtr<IPropertyDescription> DescriptionByName(const PropertyRunTimeDLLs& runtime, const std::wstring& canonicalName)
{
    ComPtr<IPropertyDescription> description;
    if (runtime.IsLoaded() &&
        FAILED(runtime.Entries().getPropertyDescriptionByName(canonicalName.c_str(), IID_PPV_ARGS(description.Put()))))
        description.Reset();
    return description;
}

ComPtr<IPropertyStore> StoreOf(const PropertyRunTimeDLLs& runtime, const wchar_t* path)
{
    ComPtr<IPropertyStore> store;
    if (runtime.IsLoaded() && FAILED(runtime.Entries().getPropertyStoreFromParsingName(path, nullptr, GPS_DEFAULT,
                                                                                       IID_PPV_ARGS(store.Put()))))
        store.Reset();
    return store;
}
} // namespace

PropertyRunTimeDLLs::PropertyRunTimeDLLs()
{
    m_shell32.Reset(::LoadLibraryExW(L"Shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (m_shell32)
    {
        m_entries.createItemFromParsingName =
            EntryPoint<decltype(m_entries.createItemFromParsingName)>(m_shell32.Get(), "SHCreateItemFromParsingName");
        m_entries.getPropertyStoreFromParsingName = EntryPoint<decltype(m_entries.getPropertyStoreFromParsingName)>(
            m_shell32.Get(), "SHGetPropertyStoreFromParsingName");
    }
    if (m_entries.createItemFromParsingName && m_entries.getPropertyStoreFromParsingName)
        m_propsys.Reset(::LoadLibraryExW(L"Propsys.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (m_propsys)
    {
        m_entries.getPropertyDescriptionByName = EntryPoint<decltype(m_entries.getPropertyDescriptionByName)>(
            m_propsys.Get(), "PSGetPropertyDescriptionByName");
        m_entries.getPropertyValue =
            EntryPoint<decltype(m_entries.getPropertyValue)>(m_propsys.Get(), "PSGetPropertyValue");
    }
    m_loaded = m_entries.createItemFromParsingName && m_entries.getPropertyStoreFromParsingName &&
               m_entries.getPropertyDescriptionByName && m_entries.getPropertyValue;
    if (!m_loaded)
    {
        m_entries = {};
        m_propsys.Reset();
        m_shell32.Reset();
    }
}

PropertyRunTimeDLLs::PropertyRunTimeDLLs(const EntryPoints& entryPointsForTesting) : m_entries(entryPointsForTesting)
{
    m_loaded = m_entries.createItemFromParsingName && m_entries.getPropertyStoreFromParsingName &&
               m_entries.getPropertyDescriptionByName && m_entries.getPropertyValue;
    if (!m_loaded)
        m_entries = {};
}

std::shared_ptr<PropertyRunTimeDLLs> GetPropertyRuntime()
{
    if (!g_runtime)
        g_runtime = std::make_shared<PropertyRunTimeDLLs>();
    return g_runtime;
}

void DropPropertyRuntime() noexcept
{
    g_runtime.reset();
}

void SetPropertyRuntimeForTesting(std::shared_ptr<PropertyRunTimeDLLs> runtime)
{
    g_runtime = std::move(runtime);
}

bool PlatformHasPropertySystem() noexcept
{
    // Without a manifest naming newer platforms this reports 6.2 on them, which still tells them
    // from 5.x, the platforms without a property system.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&version))
        return true;
#pragma GCC diagnostic pop
    return version.dwMajorVersion >= 6;
}

void FetchPropertyValues(const std::vector<std::unique_ptr<ItemPartBase>>& parts,
                         const std::vector<const CFItem*>& items)
{
    std::vector<std::wstring> names;
    std::set<std::wstring> seen;
    for (const auto& part : parts)
        if (const auto* property = dynamic_cast<const ItemPartProperty*>(part.get()))
            if (seen.insert(property->Name()).second)
                names.push_back(property->Name());
    if (names.empty())
        return;

    const std::shared_ptr<PropertyRunTimeDLLs> runtime = GetPropertyRuntime();
    std::map<std::wstring, ComPtr<IPropertyDescription>> descriptions;
    for (const CFItem* constItem : items)
    {
        const CFItem& item = *constItem;
        ComPtr<IPropertyStore> store;
        bool storeTried = false;
        for (const std::wstring& name : names)
        {
            if (item.propertyValues.count(name))
                continue;
            std::wstring text;
            if (!storeTried)
            {
                store = StoreOf(*runtime, item.PathCStr());
                storeTried = true;
            }
            if (store)
            {
                const std::wstring canonical = L"System." + name;
                auto found = descriptions.find(canonical);
                if (found == descriptions.end())
                    found = descriptions.emplace(canonical, DescriptionByName(*runtime, canonical)).first;
                if (found->second && !PropertyText(*runtime, store.Get(), found->second.Get(), text))
                    text.clear();
            }
            item.propertyValues.emplace(name, std::move(text));
        }
    }
}

std::vector<std::wstring> ListPropertyNames(const std::wstring& path)
{
    std::vector<std::wstring> names;
    const std::shared_ptr<PropertyRunTimeDLLs> runtime = GetPropertyRuntime();
    if (!runtime->IsLoaded())
        return names;
    ComPtr<IShellItem2> item;
    if (FAILED(runtime->Entries().createItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(item.Put()))))
        return names;
    ComPtr<IPropertyDescriptionList> list;
    if (FAILED(item->GetPropertyDescriptionList(kFullDetailsKey, IID_PPV_ARGS(list.Put()))))
        return names;
    UINT count = 0;
    if (FAILED(list->GetCount(&count)))
        return names;
    for (UINT index = 0; index < count; ++index)
    {
        ComPtr<IPropertyDescription> description;
        if (FAILED(list->GetAt(index, IID_PPV_ARGS(description.Put()))))
            continue;
        wchar_t* canonical = nullptr;
        if (FAILED(description->GetCanonicalName(&canonical)) || !canonical)
            continue;
        UniqueCoTaskMem owner(canonical);
        const std::wstring_view name = canonical;
        if (name.size() > 7 && name.substr(0, 7) == L"System.")
            names.emplace_back(name.substr(7));
    }
    return names;
}

std::map<std::wstring, std::wstring> GetPropertyTexts(const std::wstring& path,
                                                      const std::vector<std::wstring>& canonicalNames)
{
    std::map<std::wstring, std::wstring> texts;
    const std::shared_ptr<PropertyRunTimeDLLs> runtime = GetPropertyRuntime();
    const ComPtr<IPropertyStore> store = StoreOf(*runtime, path.c_str());
    if (!store)
        return texts;
    for (const std::wstring& name : canonicalNames)
    {
        const ComPtr<IPropertyDescription> description = DescriptionByName(*runtime, name);
        std::wstring text;
        if (description && PropertyText(*runtime, store.Get(), description.Get(), text))
            texts.emplace(name, std::move(text));
    }
    return texts;
}

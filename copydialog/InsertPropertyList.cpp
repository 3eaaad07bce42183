#include "copydialog/InsertPropertyList.h"

#include "copynames/PropertyRuntime.h"
#include "winsupport/ComPtr.h"
#include "winsupport/UniqueHandle.h"

#include <algorithm>

namespace
{
const std::wstring kSystemPrefix = L"System.";

// Case-insensitive in the user's locale, as a sorted list reads.
bool LessText(const std::wstring& a, const std::wstring& b) noexcept
{
    return ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE | SORT_DIGITSASNUMBERS, a.c_str(),
                             static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), nullptr, nullptr,
                             0) == CSTR_LESS_THAN;
}

bool RowBefore(const InsertPropertyRow& a, const InsertPropertyRow& b) noexcept
{
    if (a.displayName.empty() != b.displayName.empty())
        return !a.displayName.empty();
    if (!a.displayName.empty() && LessText(a.displayName, b.displayName))
        return true;
    if (!a.displayName.empty() && LessText(b.displayName, a.displayName))
        return false;
    return LessText(a.name, b.name);
}
} // namespace

InsertPropertyList BuildInsertPropertyList(const std::vector<std::wstring>& names,
                                           const std::map<std::wstring, std::wstring>& texts, bool hideEmpty,
                                           const PropertyDisplayNameLookup& displayNameOf)
{
    InsertPropertyList list;
    if (names.empty())
    {
        list.state = PropertyListState::kNoProperties;
        return list;
    }
    for (const std::wstring& name : names)
    {
        const std::wstring canonical = kSystemPrefix + name;
        const auto text = texts.find(canonical);
        InsertPropertyRow row{name, {}, text != texts.end() ? text->second : std::wstring()};
        if (hideEmpty && row.value.empty())
            continue;
        row.displayName = displayNameOf(canonical);
        list.rows.push_back(std::move(row));
    }
    std::stable_sort(list.rows.begin(), list.rows.end(), RowBefore);
    list.state = list.rows.empty() ? PropertyListState::kAllEmpty : PropertyListState::kListed;
    return list;
}

InsertPropertyList ListInsertProperties(const std::wstring& path, bool hideEmpty)
{
    InsertPropertyList list;
    if (!PlatformHasPropertySystem() || !GetPropertyRuntime()->IsLoaded())
    {
        list.state = PropertyListState::kNoPropertySystem;
        return list;
    }
    if (path.empty())
        return list;
    const std::vector<std::wstring> names = ListPropertyNames(path);
    // Descriptions are asked for by name only for names the system itself offered: where the
    // system offers none (as where its description lookup is missing), nothing more is called.
    if (names.empty())
    {
        list.state = PropertyListState::kNoProperties;
        return list;
    }
    std::vector<std::wstring> canonicalNames;
    canonicalNames.reserve(names.size());
    for (const std::wstring& name : names)
        canonicalNames.push_back(kSystemPrefix + name);
    return BuildInsertPropertyList(names, GetPropertyTexts(path, canonicalNames), hideEmpty, PropertyDisplayName);
}

std::wstring PropertyDisplayName(const std::wstring& canonicalName)
{
    const std::shared_ptr<PropertyRunTimeDLLs> runtime = GetPropertyRuntime();
    if (!runtime->IsLoaded())
        return {};
    ComPtr<IPropertyDescription> description;
    if (FAILED(
            runtime->Entries().getPropertyDescriptionByName(canonicalName.c_str(), IID_PPV_ARGS(description.Put()))) ||
        !description)
        return {};
    wchar_t* displayName = nullptr;
    if (FAILED(description->GetDisplayName(&displayName)) || !displayName)
        return {};
    UniqueCoTaskMem owner(displayName);
    return displayName;
}

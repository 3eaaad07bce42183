#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

// One row of the "Insert Property" page.
struct InsertPropertyRow
{
    std::wstring name;        // canonical name without "System."
    std::wstring displayName; // empty when the property system has none
    std::wstring value;       // the example item's display text; empty when it has none
};

// Why the property page lists nothing, or kListed when it lists rows.
enum class PropertyListState
{
    kListed,
    kNoPropertySystem, // an older platform, or the property system cannot be loaded
    kNoExample,
    kNoProperties, // the system offers no properties for the example
    kAllEmpty,     // every offered property is empty and empty values are hidden
};

struct InsertPropertyList
{
    PropertyListState state = PropertyListState::kNoExample;
    std::vector<InsertPropertyRow> rows;
};

// Display name of a property by its full canonical name.
using PropertyDisplayNameLookup = std::function<std::wstring(const std::wstring& canonicalName)>;

// The rows for the offered names (without "System.") and their texts (by full canonical name),
// sorted by display name; rows without a display name go last, by name. With hideEmpty, names
// whose text is empty are left out before their display name is asked for.
InsertPropertyList BuildInsertPropertyList(const std::vector<std::wstring>& names,
                                           const std::map<std::wstring, std::wstring>& texts, bool hideEmpty,
                                           const PropertyDisplayNameLookup& displayNameOf);

// The property list of a file through the process-wide property runtime. Asks the property
// system for nothing when the platform or the runtime lacks it.
InsertPropertyList ListInsertProperties(const std::wstring& path, bool hideEmpty);

// The display name the property system gives a property; empty when it has none.
std::wstring PropertyDisplayName(const std::wstring& canonicalName);

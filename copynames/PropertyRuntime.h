#pragma once

#include "copynames/CFItem.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <propsys.h>
#include <shobjidl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class ItemPartBase;

// The shell's property system, loaded when a format first needs it and freed when the last user
// lets go: the handler drops its reference after every command.
class PropertyRunTimeDLLs
{
  public:
    struct EntryPoints
    {
        decltype(&::SHCreateItemFromParsingName) createItemFromParsingName = nullptr;
        decltype(&::SHGetPropertyStoreFromParsingName) getPropertyStoreFromParsingName = nullptr;
        decltype(&::PSGetPropertyDescriptionByName) getPropertyDescriptionByName = nullptr;
        decltype(&::PSGetPropertyValue) getPropertyValue = nullptr;
    };

    // Loads "Shell32.dll" and, only when it has both its entry points, "Propsys.dll".
    PropertyRunTimeDLLs();
    // Uses the given entry points and loads nothing: for tests of what is built on the runtime.
    explicit PropertyRunTimeDLLs(const EntryPoints& entryPointsForTesting);
    PropertyRunTimeDLLs(const PropertyRunTimeDLLs&) = delete;
    PropertyRunTimeDLLs& operator=(const PropertyRunTimeDLLs&) = delete;

    // All four entry points exist; otherwise none counts as present.
    bool IsLoaded() const noexcept { return m_loaded; }
    const EntryPoints& Entries() const noexcept { return m_entries; }

  private:
    UniqueHmodule m_shell32; // declared first: freed after the library that uses it
    UniqueHmodule m_propsys;
    EntryPoints m_entries;
    bool m_loaded = false;
};

// The process-wide runtime, created on first use.
std::shared_ptr<PropertyRunTimeDLLs> GetPropertyRuntime();
// Lets go of the process-wide reference; the libraries go once no format holds them.
void DropPropertyRuntime() noexcept;
// Makes runtime the process-wide one until the next drop: for tests of what is built on it.
void SetPropertyRuntimeForTesting(std::shared_ptr<PropertyRunTimeDLLs> runtime);

// Whether the platform has a property system at all (major version 6 and later).
bool PlatformHasPropertySystem() noexcept;

// Fills the property caches of the items with the values the format's property parts name.
void FetchPropertyValues(const std::vector<std::unique_ptr<ItemPartBase>>& parts,
                         const std::vector<const CFItem*>& items);
// The property names the shell offers for the file, without "System.", in its order.
std::vector<std::wstring> ListPropertyNames(const std::wstring& path);
// Display texts of the named properties (full canonical names) of the file; a name whose value
// cannot be had is absent.
std::map<std::wstring, std::wstring> GetPropertyTexts(const std::wstring& path,
                                                      const std::vector<std::wstring>& canonicalNames);

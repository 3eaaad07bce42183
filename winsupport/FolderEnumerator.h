#pragma once

#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <string_view>

// The entries of one folder, "." and ".." left out, read through the long-path form so that deep
// folders are read whole. The short (8.3) names are asked for only when wanted: they cost time.
//
//     FolderEnumerator entries(folder);
//     while (entries.Next())
//         Use(entries.Entry());
//     if (!entries.ReadWhole()) ...
class FolderEnumerator
{
  public:
    enum class ShortNames
    {
        Skip,
        Read,
    };

    // folder may end in a backslash or not.
    explicit FolderEnumerator(const std::wstring& folder, ShortNames shortNames = ShortNames::Skip);

    // Moves to the next entry; false once there is none, or when the folder cannot be read.
    bool Next();
    const WIN32_FIND_DATAW& Entry() const noexcept { return m_data; }
    std::wstring_view Name() const noexcept { return m_data.cFileName; }
    // Empty when the entry has none (its name is a valid short name itself) or none was asked for.
    std::wstring_view ShortName() const noexcept { return m_data.cAlternateFileName; }

    // Whether the folder could be opened at all.
    bool Opened() const noexcept { return m_opened; }
    // After Next answered false: the folder was opened and read to its end, no entry lost to an error.
    bool ReadWhole() const noexcept { return m_opened && m_endError == ERROR_NO_MORE_FILES; }

  private:
    UniqueFind m_find;
    WIN32_FIND_DATAW m_data{};
    bool m_opened = false;
    bool m_pending = false; // m_data holds an entry not handed out yet
    DWORD m_endError = ERROR_SUCCESS;
};

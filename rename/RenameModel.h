#pragma once

#include "winsupport/FileIdentity.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct RenameFolder;

// What the checks found for one entry's new name.
enum class ItemStatus : int32_t
{
    Pending = 0,       // no problem found, order not yet resolved
    Unused = 1,        // not used
    Renamed = 2,       // not included, or resolved: will be renamed
    Unchanged = 3,     // new name identical to the old one
    Duplicate = 4,     // two or more included items get the same new name
    Existing = 5,      // the name belongs to an entry that keeps it, or the item is part of a cycle
    Empty = 6,         // empty new name
    BadEnds = 7,       // starts with a space, or ends with a space or a period
    TooLong = 8,       // 256 characters or more
    InvalidText = 9,   // a common part's replacement text is not usable
    BadCharacter = 10, // a control character, or one of \ / : * ? " < > |
    DeviceName = 11,   // a device name such as NUL or CON.txt
};

// One entry of a scanned folder; only the listed ones are shown and renamed.
struct RenameItem
{
    uint32_t attributes = 0; // bit 0 directory; bits 8 and up the attribute word shifted right by 12
    std::wstring key;        // the name in upper case
    std::wstring name;       // the old name, as found
    uint64_t modified = 0;   // file times, UTC
    uint64_t created = 0;
    uint64_t size = 0;
    bool readOnly = false;
    bool included = false;   // listed, and the name matches the current pattern
    bool notInList = true;   // only an existing name for the checks
    bool manualName = false; // set by pasting names; not recomputed from the pattern
    ItemStatus status = ItemStatus::Renamed;
    uint32_t listIndex = 0;   // row position in the list
    uint32_t folderIndex = 0; // position among its folder's rows
    std::wstring newName;
    RenameFolder* folder = nullptr;
};

struct RenameFolder
{
    std::wstring path; // with its trailing backslash
    std::wstring displayPath;
    std::map<std::wstring, RenameItem> entries; // by upper-case name
    // The file system answers to an entry's short (8.3) name too: upper-case short name -> its entry.
    std::map<std::wstring, RenameItem*> shortNames;
    uint32_t folderCounter = 0;
    std::vector<RenameItem*> resolvedOrder; // filled by the checks
};

// The selected items grouped by folder, with every other entry of those folders.
class RenameModel
{
  public:
    using Folders = std::map<std::wstring, std::unique_ptr<RenameFolder>>;

    Folders folders;

    size_t FolderCount() const noexcept { return folders.size(); }
    // The listed items in row order: folder order, then entry order.
    std::vector<RenameItem*> ListedItems() const;
    // Gives each listed item its row position and its position among its folder's rows.
    void NumberRows();
    // Takes the items out of the list (their names stay known to the checks) and numbers the rows
    // that are left.
    void RemoveFromList(const std::vector<RenameItem*>& items);

    // A folder and its entries as one scan finds them; used by the model build and by tests. A folder
    // the model holds under another spelling (letter case, short names) is that folder.
    RenameFolder& AddFolder(const std::wstring& path);

    // Brings the folders up to date with the disk just before renaming: entries made since the
    // scan join as names that exist (not in the list), so nothing is renamed onto them; the
    // entries that have gone are returned, still in the model.
    std::vector<RenameItem*> RefreshFromDisk();
    void EraseEntry(RenameItem& item);

  private:
    std::map<FileIdentity, RenameFolder*> m_foldersByIdentity;
};

// The model of the Multi Rename command: every selected path shorter than 260 characters whose
// folder scan finds it.
RenameModel BuildRenameModel(std::span<const std::wstring> paths);

// Locale-aware case changes of whole names.
std::wstring ToUpperName(std::wstring_view text);
std::wstring ToLowerName(std::wstring_view text);

#pragma once

#include "winsupport/FileIdentity.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Case-insensitive ordering of file names and paths, as the file system compares them.
struct NoCaseLess
{
    bool operator()(const std::wstring& a, const std::wstring& b) const noexcept;
};

struct Extraction;
struct NameRecord;

// One entry of a folder as read: its own spelling, and the record of every entry of that name
// (compared case-insensitively), whose name may be spelled as another source spells it.
struct FolderEntry
{
    std::wstring name;
    NameRecord* record = nullptr;
};

// One name that would end up in a parent folder, and where it comes from: "" for the parent
// itself (an entry's long name, or its short name), else the name of a selected folder that holds
// an entry of that name.
struct NameRecord
{
    std::wstring name;
    std::vector<std::wstring> sources;
    Extraction* extraction = nullptr; // set when the name is one of the selected folders
};

// One selected folder whose entries move up into its parent.
struct Extraction
{
    std::wstring name;
    std::wstring temporaryName; // empty unless the folder holds an entry of its own name
    std::vector<FolderEntry> entries;

    const std::wstring& CurrentName() const noexcept { return temporaryName.empty() ? name : temporaryName; }
};

// The selected folders of one parent and every name the parent would hold afterwards.
struct ExtractionGroup
{
    std::wstring parent; // ends in a backslash
    std::map<std::wstring, NameRecord, NoCaseLess> names;
    std::vector<FolderEntry> parentEntries;
    std::vector<std::unique_ptr<Extraction>> extractions;
};

// A source and a destination of one shell move.
struct MovePair
{
    std::wstring from;
    std::wstring to;
};

// What Extract Folder(s) will do, worked out before anything moves: the groups by parent, the
// temporary names, the clashes, and the three shell operations.
class ExtractionGroups
{
  public:
    // Registers one selected path; files, links and folders that cannot be read are skipped.
    void AddSelected(const std::wstring& path);
    void AssignTemporaryNames();

    // The first path of the three operations that the shell could not be handed exactly
    // (ShellItemPath, ShellTargetPath), now or at its turn, once the moves have brought new names
    // into the parents; empty when there is none.
    std::wstring InexactPath() const;

    static bool Clashes(const NameRecord& record);
    bool HasClashes() const;
    size_t ExtractionCount() const;
    // The texts of the clash dialog.
    std::wstring ClashHeading() const;
    std::wstring ClashDetails() const;

    std::vector<MovePair> Renames() const;
    std::vector<MovePair> Moves() const;
    std::vector<std::wstring> Deletions() const;

    const std::map<std::wstring, ExtractionGroup, NoCaseLess>& Groups() const noexcept { return m_groups; }

  private:
    // The group of a parent folder (ending in a backslash), made and read on first use; null when
    // the folder cannot be read whole.
    ExtractionGroup* GroupOf(const std::wstring& parent);
    // The group whose parent is this folder, however it is spelt; null when there is none.
    const ExtractionGroup* FindGroup(const std::wstring& folder) const;
    // Reads a folder's entries into the group; false when the folder cannot be read.
    static bool ReadFolder(ExtractionGroup& group, const std::wstring& folder, const std::wstring& source,
                           std::vector<FolderEntry>& list);
    // Whether no name of the path ending in a period or a space gets a twin while the extraction
    // runs: a name that the moves bring into its folder and that its plain spelling would reach.
    bool KeepsItsSpelling(const std::wstring& path) const;

    std::map<std::wstring, ExtractionGroup, NoCaseLess> m_groups;
    // The key in m_groups of each parent folder whose identity is known.
    std::map<FileIdentity, std::wstring> m_parentKeys;
    std::set<std::wstring, NoCaseLess> m_unreadableParents;
};

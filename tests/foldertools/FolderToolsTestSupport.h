#pragma once

#include "command/Selection.h"
#include "tests/support/ProductStateTest.h"

#include <map>
#include <string>
#include <vector>

// Folder trees for the folder-tool tests: files by relative path with their contents.
class FolderToolsTest : public ProductStateTest
{
  protected:
    // Makes the files (and the folders they need) below the test's folder.
    void MakeTree(const std::map<std::wstring, std::string>& files);
    void MakeFolders(const std::vector<std::wstring>& folders);
    // Every file below the folder, hidden ones included, by relative path.
    static std::map<std::wstring, std::string> ReadTree(const std::wstring& folder);
    // Every folder below the folder, by relative path.
    static std::vector<std::wstring> ListFolders(const std::wstring& folder);
    Selection SelectionOf(const std::vector<std::wstring>& names) const;
    static void SetHidden(const std::wstring& path);
};

// build/test-links, which holds an empty folder and a directory link to it.
std::wstring TestLinksFolder();

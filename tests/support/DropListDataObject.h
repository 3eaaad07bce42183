#pragma once

#include <objidl.h>

#include <string>
#include <vector>

// A data object serving a drop list of the given paths, as the shell hands one to a context-menu
// handler. For edge cases the shell cannot make (an empty list, 100,000 paths, very long paths).
// The returned object has one reference.
IDataObject* CreateDropListDataObject(std::vector<std::wstring> paths);
// The same in the older form of a drop list, with names in the ANSI code page.
IDataObject* CreateAnsiDropListDataObject(std::vector<std::string> paths);

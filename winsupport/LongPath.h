#pragma once

#include <string>

// The form used for every attribute query, enumeration and file open on user paths, so that paths
// longer than 260 characters work: "\\?\" before a drive path, "\\?\UNC\" for a network path.
std::wstring ToLongPath(const std::wstring& path);

// The plain form of a long path: "\\?\C:\a" gives "C:\a", "\\?\UNC\server\share" gives
// "\\server\share"; other paths stay as they are. Empty for a long path of any other kind (a volume
// name), which has no plain form.
std::wstring FromLongPath(const std::wstring& path);

// The path with each name that holds a tilde, and so may be a short (8.3) name, replaced by the long
// name of the item it names, as its folder lists it. Each lookup goes through the long form, so a
// name ending in a period or a space is never read as its twin. Names that name nothing stay.
std::wstring ExpandShortNames(const std::wstring& path);

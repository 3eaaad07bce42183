#pragma once

#include <string>

// The form used for every attribute query, enumeration and file open on user paths, so that paths
// longer than 260 characters work: "\\?\" before a drive path, "\\?\UNC\" for a network path.
std::wstring ToLongPath(const std::wstring& path);

// The plain form of a long path: "\\?\C:\a" gives "C:\a", "\\?\UNC\server\share" gives
// "\\server\share"; other paths stay as they are. Empty for a long path of any other kind (a volume
// name), which has no plain form.
std::wstring FromLongPath(const std::wstring& path);

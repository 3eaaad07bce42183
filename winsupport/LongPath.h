#pragma once

#include <string>

// The form used for every attribute query, enumeration and file open on user paths, so that paths
// longer than 260 characters work: "\\?\" before a drive path, "\\?\UNC\" for a network path.
std::wstring ToLongPath(const std::wstring& path);

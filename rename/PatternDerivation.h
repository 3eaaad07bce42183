#pragma once

#include <string>
#include <vector>

struct DerivedPattern
{
    std::wstring pattern;
    std::wstring commonExtension; // empty when a name has no extension, ".*" when they differ
};

// The text every name shares, and the pattern of what varies between them ('#' a number, '*' any
// text), with the extension they share.
DerivedPattern DerivePattern(const std::vector<std::wstring>& names, bool detectNumbers);

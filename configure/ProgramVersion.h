#pragma once

#include <windows.h>

#include <string>

// The first three parts of a file version ("1.0.0" of 1.0.0.0).
struct FileVersion
{
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// The file version of a module's version resource; zeros when it has none.
FileVersion ModuleFileVersion(HMODULE module);

// Where the program's link leads: the product's update page for this version.
std::wstring UpdateLinkTarget(const FileVersion& version);

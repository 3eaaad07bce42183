#pragma once

#include <string>
#include <string_view>

// The shell's file operation takes plain paths, and the platform reads a plain path its own way: it
// drops a trailing period or space of a name ("e." reaches it as "e", another item) and takes a
// device name (NUL, CON.txt) for the device. These functions give the shell a spelling that names
// exactly the item meant, or nothing.

// Whether a plain path would read the name as another: it ends in a period or a space.
bool EndsInPeriodOrSpace(std::wstring_view name);

// A device name: CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, with or without an extension.
bool IsDeviceName(std::wstring_view name);

// Whether a name reaches the file system as given through a plain path: not empty, not "." or "..",
// no control character and none of " * / : < > ? \ |, not ending in a period or a space, and not a
// device name. Its length is left to the caller.
bool IsPlainName(std::wstring_view name);

// The full path of an existing item as the shell should get it: the path itself when a plain path
// reaches it as written; otherwise the path with each name that ends in a period or a space replaced
// by its short (8.3) name, once that spelling is checked to open the item itself and the plain
// spelling is checked to reach no other item (which the shell might act on instead). Empty when the
// item cannot be named exactly: no short name on its volume, a twin that the plain spelling
// reaches, a device name or a character no plain path holds, a relative path, or an item that is
// gone. A "\\?\" path is taken in its plain form.
std::wstring ShellItemPath(const std::wstring& path);

// The destination "<folder>\<name>" as the shell should get it: the folder as ShellItemPath names
// it, and a name that reaches the file system as given (IsPlainName). Empty otherwise.
std::wstring ShellTargetPath(const std::wstring& folder, std::wstring_view name);

#include "copynames/ClipboardName.h"

#include "winsupport/ShellItemPath.h"

#include <algorithm>

namespace
{
constexpr size_t kMaxClipboardNameLength = 259;
} // namespace

bool IsUsableFileName(const wchar_t* text, size_t available)
{
    const size_t limit = std::min(available, kMaxClipboardNameLength + 1);
    size_t length = 0;
    while (length < limit && text[length] != L'\0')
        ++length;
    return length <= kMaxClipboardNameLength && IsUsableFileName(std::wstring_view(text, length));
}

bool IsUsableFileName(std::wstring_view name)
{
    // A name the platform would read as another ("report." as "report") or as a device would rename
    // the item to something the user did not ask for.
    return name.size() <= kMaxClipboardNameLength && IsPlainName(name);
}

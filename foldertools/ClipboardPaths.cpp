#include "foldertools/ClipboardPaths.h"

ClipboardText ClipboardPathText(const std::vector<std::wstring>& paths)
{
    ClipboardText text;
    for (size_t i = 0; i < paths.size(); ++i)
    {
        if (i > 0)
            text.Append(L"\n");
        text.Append(paths[i]);
    }
    if (paths.size() > 1)
        text.Append(L"\n");
    return text;
}

#include "rename/PastedNames.h"

#include <cwctype>

namespace
{
constexpr size_t kMaxNameLength = 255;
constexpr std::wstring_view kForbidden = L"<>:\"/\\|?*";

std::wstring_view Trim(std::wstring_view line)
{
    while (!line.empty() && std::iswspace(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && std::iswspace(line.back()))
        line.remove_suffix(1);
    return line;
}
} // namespace

std::wstring JoinNewNames(const std::vector<RenameItem*>& rows)
{
    std::wstring text;
    for (const RenameItem* item : rows)
        text += item->newName + L'\n';
    return text;
}

PastedNames ReadPastedNames(std::wstring_view text)
{
    PastedNames pasted;
    for (size_t start = 0; start <= text.size();)
    {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        const std::wstring_view line = Trim(text.substr(start, end - start));
        if (!line.empty())
            pasted.lines.emplace_back(line);
        start = end + 1;
    }
    for (const std::wstring& line : pasted.lines)
        if (line.find_first_of(kForbidden) != std::wstring::npos)
        {
            pasted.problem = PastedNames::Problem::ForbiddenCharacter;
            return pasted;
        }
    for (const std::wstring& line : pasted.lines)
        if (line.size() > kMaxNameLength)
        {
            pasted.problem = PastedNames::Problem::LineTooLong;
            return pasted;
        }
    return pasted;
}

std::wstring KeepOldExtension(const std::wstring& line, const std::wstring& oldName)
{
    const size_t oldDot = oldName.rfind(L'.');
    if (oldDot == std::wstring::npos)
        return line.substr(0, line.find(L'.'));
    const size_t dot = line.rfind(L'.');
    return line.substr(0, dot) + oldName.substr(oldDot);
}

void ApplyPastedNames(const std::vector<RenameItem*>& rows, const std::vector<std::wstring>& lines, bool allowExtension)
{
    for (size_t i = 0; i < rows.size() && i < lines.size(); ++i)
    {
        RenameItem& item = *rows[i];
        item.newName = allowExtension ? lines[i] : KeepOldExtension(lines[i], item.name);
        item.manualName = true;
    }
}

void ForgetPastedNames(const std::vector<RenameItem*>& rows)
{
    for (RenameItem* item : rows)
        item->manualName = false;
}

#include "menuconfig/MenuConfig.h"

#include "winsupport/LongPath.h"
#include "winsupport/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <array>
#include <exception>
#include <new>
#include <set>
#include <sstream>

namespace pt = boost::property_tree;

namespace
{
bool IsXmlSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads the whole file, or nothing when it cannot be opened or read or is over the size limit.
std::string ReadSmallFile(const std::wstring& path)
{
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > kMaxMenuConfigFileSize)
        return {};

    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size())
    {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr))
            return {};
        if (read == 0)
            break; // the file shrank since its size was taken
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

void CreateFolder(const std::wstring& path) noexcept
{
    ::CreateDirectoryW(ToLongPath(path).c_str(), nullptr); // an existing folder is fine
}

// Appends the entries of one list element. Children of any name count; comments and the like
// have no Type and are skipped with every other entry whose type is not one of the nine names.
void ReadEntries(const pt::ptree& list, std::vector<MenuEntry>& entries)
{
    for (const auto& [name, child] : list)
    {
        const auto type = child.get_child_optional("Type");
        if (!type)
            continue;
        const auto commandType = CommandTypeFromName(type->data());
        if (!commandType)
            continue;
        bool show = true;
        if (const auto showNode = child.get_child_optional("Show"))
            show = showNode->get_value_optional<bool>().value_or(true);
        entries.push_back({*commandType, show});
    }
}

void AppendEntries(pt::ptree& list, const std::vector<MenuEntry>& entries)
{
    for (const MenuEntry& entry : entries)
    {
        const std::string_view name = CommandTypeName(entry.type);
        if (name.empty())
            continue;
        pt::ptree& command = list.add_child("Command", pt::ptree());
        command.add("Type", std::string(name));
        command.add("Show", entry.show ? "true" : "false");
    }
}
} // namespace

std::wstring MenuConfigPath()
{
    std::array<wchar_t, MAX_PATH> appData{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData.data())) ||
        appData[0] == L'\0')
        return {};
    std::wstring path = appData.data();
    path += L"\\Kaldrith";
    CreateFolder(path);
    path += L"\\Brelvanta";
    CreateFolder(path);
    path += L"\\MenuCommands.xml";
    return path;
}

// Follows the reader's own syntax: comments, CDATA sections, declarations and processing
// instructions, and the DOCTYPE with its bracketed subset hide their contents; a quoted attribute
// value may hold '>'; a NUL ends the data, as it ends the reader's.
bool IsXmlNestedDeeperThan(std::string_view bytes, size_t limit)
{
    const std::string_view xml = bytes.substr(0, bytes.find('\0'));
    const auto skipPast = [&xml](size_t from, std::string_view end) {
        const size_t found = xml.find(end, from);
        return found == std::string_view::npos ? xml.size() : found + end.size();
    };

    size_t depth = 0;
    size_t i = 0;
    while ((i = xml.find('<', i)) != std::string_view::npos)
    {
        const std::string_view rest = xml.substr(i);
        if (rest.starts_with("<?"))
            i = skipPast(i + 2, "?>");
        else if (rest.starts_with("<!--"))
            i = skipPast(i + 4, "-->");
        else if (rest.starts_with("<![CDATA["))
            i = skipPast(i + 9, "]]>");
        else if (rest.starts_with("<!DOCTYPE") && rest.size() > 9 && IsXmlSpace(rest[9]))
        {
            i += 10;
            while (i < xml.size() && xml[i] != '>')
            {
                if (xml[i++] != '[')
                    continue;
                for (int brackets = 1; brackets > 0 && i < xml.size(); ++i)
                {
                    if (xml[i] == '[')
                        ++brackets;
                    else if (xml[i] == ']')
                        --brackets;
                }
            }
            ++i;
        }
        else if (rest.starts_with("<!"))
            i = skipPast(i + 2, ">");
        else if (rest.starts_with("</"))
        {
            if (depth == 0)
                return false; // the reader stops here with an error
            --depth;
            i = skipPast(i + 2, ">");
        }
        else
        {
            char quote = 0;
            size_t end = i + 1;
            for (; end < xml.size(); ++end)
            {
                const char c = xml[end];
                if (quote != 0)
                {
                    if (c == quote)
                        quote = 0;
                }
                else if (c == '"' || c == '\'')
                    quote = c;
                else if (c == '>')
                    break;
            }
            if (end == xml.size())
                return false; // unterminated: the reader stops here with an error
            if (xml[end - 1] != '/' && ++depth > limit)
                return true;
            i = end + 1;
        }
    }
    return false;
}

bool ParseMenuConfig(std::string_view bytes, MenuConfig& config)
{
    try
    {
        if (IsXmlNestedDeeperThan(bytes, kMaxMenuConfigNesting))
            return false;
        std::istringstream stream{std::string(bytes)};
        pt::ptree tree;
        pt::read_xml(stream, tree); // no flags: comments kept, text not trimmed

        const auto mainMenu = tree.get_child_optional("BrelvantaConfig.MainMenu");
        if (!mainMenu)
            return false;
        ReadEntries(*mainMenu, config.mainMenu);
        const auto subMenu = tree.get_child_optional("BrelvantaConfig.SubMenu");
        if (!subMenu)
            return false;
        ReadEntries(*subMenu, config.subMenu);
        return true;
    }
    catch (const std::exception&)
    {
        return false; // parse errors and out-of-memory alike: what was appended stays
    }
}

bool ReadMenuConfig(const std::wstring& path, MenuConfig& config)
{
    config = {};
    std::string bytes;
    try
    {
        bytes = ReadSmallFile(path);
    }
    catch (const std::bad_alloc&)
    {
        bytes.clear(); // counts as unreadable
    }
    if (bytes.empty())
    {
        DefaultMenuConfig(config);
        return false;
    }
    return ParseMenuConfig(bytes, config);
}

void NormaliseMenuConfig(MenuConfig& config)
{
    std::set<CommandType> seen;
    const auto removeRepeats = [&seen](std::vector<MenuEntry>& entries) {
        std::erase_if(entries, [&seen](const MenuEntry& entry) { return !seen.insert(entry.type).second; });
    };
    removeRepeats(config.mainMenu);
    removeRepeats(config.subMenu);
    for (const CommandType type : kAllCommandTypes)
    {
        if (!seen.contains(type))
            config.subMenu.push_back({type, false});
    }
}

void DefaultMenuConfig(MenuConfig& config)
{
    config.mainMenu.clear();
    config.subMenu.clear();
    for (const CommandType type : kAllCommandTypes)
        config.subMenu.push_back({type, true});
}

std::optional<std::string> SerialiseMenuConfig(const MenuConfig& config)
{
    try
    {
        pt::ptree tree;
        pt::ptree& root = tree.add_child("BrelvantaConfig", pt::ptree());
        AppendEntries(root.add_child("MainMenu", pt::ptree()), config.mainMenu);
        AppendEntries(root.add_child("SubMenu", pt::ptree()), config.subMenu);
        std::ostringstream stream;
        pt::write_xml(stream, tree, pt::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
        return std::move(stream).str();
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}

bool WriteMenuConfig(const std::wstring& path, const MenuConfig& config)
{
    const std::optional<std::string> bytes = SerialiseMenuConfig(config);
    if (!bytes || bytes->size() > MAXDWORD)
        return false;
    const UniqueFile file(::CreateFileW(ToLongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr) &&
           written == bytes->size();
}

MenuConfig LoadMenuConfig(const std::wstring& path, OnMalformedMenuConfig onMalformed)
{
    MenuConfig config;
    if (ReadMenuConfig(path, config))
        NormaliseMenuConfig(config);
    else if (onMalformed == OnMalformedMenuConfig::UseDefaults)
        DefaultMenuConfig(config);
    return config;
}

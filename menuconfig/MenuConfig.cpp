#include "menuconfig/MenuConfig.h"

#include "winsupport/SafeFile.h"
#include "winsupport/XmlTree.h"

#include <boost/property_tree/ptree.hpp>

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <set>
#include <string_view>

namespace pt = boost::property_tree;

namespace
{
// A "Show" text as the file format has always read it: "true", "false", or a decimal 1 or 0 (with
// an optional sign and leading zeros), white space around it allowed. Anything else is no answer.
std::optional<bool> ReadShowFlag(std::string_view text)
{
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kSpace) - first + 1);
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    const bool negative = text.front() == '-';
    if (text.front() == '+' || negative)
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
    if (text.empty())
        return false;
    if (text == "1" && !negative)
        return true;
    return std::nullopt;
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
            show = ReadShowFlag(showNode->data()).value_or(true);
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
        command.add("Show", std::string(entry.show ? "true" : "false"));
    }
}
} // namespace

std::wstring MenuConfigPath()
{
    return ProductUserFilePath(L"MenuCommands.xml");
}

bool ParseMenuConfig(std::string_view bytes, MenuConfig& config)
{
    try
    {
        const pt::ptree tree = ParseXmlTree(bytes, kMaxMenuConfigNesting); // comments kept, text not trimmed

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
        bytes = ReadSmallFile(path, kMaxMenuConfigFileSize).value_or(std::string());
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
        return WriteXmlTree(tree);
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}

bool WriteMenuConfig(const std::wstring& path, const MenuConfig& config)
{
    const std::optional<std::string> bytes = SerialiseMenuConfig(config);
    return bytes && ReplaceFileSafely(path, *bytes, false);
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

#include "copydialog/Presets.h"

#include "winsupport/ModulePath.h"
#include "winsupport/SafeFile.h"
#include "winsupport/XmlTree.h"
#include "winsupport/StringUtil.h"

#include <windows.h>

#include <boost/property_tree/ptree.hpp>

#include <cwctype>
#include <exception>
#include <utility>

namespace pt = boost::property_tree;

namespace
{
std::wstring ChildText(const pt::ptree& preset, const char* name)
{
    const auto child = preset.get_child_optional(name);
    return child ? Utf8ToWide(child->data()) : std::wstring();
}

// A file that holds something this reader cannot make presets of: replacing it would lose what
// the user may still recover by hand.
bool IsUnreadablePresetsFile(const std::wstring& path)
{
    if (!IsNonEmptyFile(path))
        return false;
    const std::optional<std::string> bytes = ReadSmallFile(path, kMaxPresetsFileSize);
    PresetList presets;
    return !bytes || !ParsePresets(*bytes, presets);
}
} // namespace

std::wstring UserPresetsPath()
{
    return ProductUserFilePath(L"Presets.xml");
}

std::wstring DefaultPresetsPath()
{
    const std::wstring module = OwnModulePath();
    const size_t folderEnd = module.rfind(L'\\');
    if (folderEnd == std::wstring::npos)
        return {};
    return module.substr(0, folderEnd + 1) + L"presets.xml";
}

bool ParsePresets(std::string_view bytes, PresetList& presets)
{
    try
    {
        const pt::ptree tree = ParseXmlTree(bytes, kMaxPresetsNesting); // texts are taken as they stand
        const auto root = tree.get_child_optional("Presets");
        if (!root)
            return false;
        PresetList read;
        for (const auto& [name, child] : *root)
        {
            // Comments and attributes come as children of these names; they are not presets.
            if (name == "<xmlcomment>" || name == "<xmlattr>")
                continue;
            read.push_back({ChildText(child, "Name"), ChildText(child, "Item"), ChildText(child, "Separator")});
        }
        presets.insert(presets.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
        return true;
    }
    catch (const std::exception&)
    {
        return false; // parse errors and out-of-memory alike
    }
}

std::optional<std::string> SerialisePresets(const PresetList& presets)
{
    try
    {
        pt::ptree tree;
        pt::ptree& root = tree.add_child("Presets", pt::ptree());
        for (const Preset& preset : presets)
        {
            pt::ptree& node = root.add_child("Preset", pt::ptree());
            node.add("Name", WideToUtf8(preset.name));
            node.add("Item", WideToUtf8(preset.item));
            node.add("Separator", WideToUtf8(preset.separator));
        }
        return WriteXmlTree(tree);
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}

bool ReadPresetsFile(const std::wstring& path, PresetList& presets)
{
    try
    {
        const std::optional<std::string> bytes = ReadSmallFile(path, kMaxPresetsFileSize);
        return bytes && !bytes->empty() && ParsePresets(*bytes, presets);
    }
    catch (const std::bad_alloc&)
    {
        return false; // counts as unreadable
    }
}

bool LoadPresets(PresetList& presets)
{
    const std::wstring user = UserPresetsPath();
    // A file of the user's own, or one that a link of theirs leads to; not a folder of that name.
    if (!user.empty() && FileSize(user))
        return ReadPresetsFile(user, presets);
    const std::wstring fallback = DefaultPresetsPath();
    return !fallback.empty() && ReadPresetsFile(fallback, presets);
}

bool SavePresets(const PresetList& presets)
{
    const std::wstring path = UserPresetsPath();
    if (path.empty())
        return false;
    const std::optional<std::string> bytes = SerialisePresets(presets);
    if (!bytes || bytes->size() > kMaxPresetsFileSize)
        return false;
    // Only what reads back may replace the file; characters the reader rejects would otherwise
    // turn every preset into a file that loads as none.
    PresetList check;
    if (!ParsePresets(*bytes, check) || check.size() != presets.size())
        return false;
    return ReplaceFileSafely(path, *bytes, IsUnreadablePresetsFile(path));
}

void SaveEditedPresets(const PresetList& presets)
{
    (void)SavePresets(presets); // not told: see the declaration
}

int FindPresetByName(const PresetList& presets, std::wstring_view name)
{
    for (size_t i = 0; i < presets.size(); ++i)
    {
        const std::wstring& candidate = presets[i].name;
        if (::CompareStringOrdinal(candidate.data(), static_cast<int>(candidate.size()), name.data(),
                                   static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return static_cast<int>(i);
    }
    return -1;
}

int FindPresetByTexts(const PresetList& presets, std::wstring_view item, std::wstring_view separator)
{
    for (size_t i = 0; i < presets.size(); ++i)
    {
        if (presets[i].item == item && presets[i].separator == separator)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring TrimPresetName(std::wstring_view typed)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(c) != 0; };
    while (!typed.empty() && isSpace(typed.back()))
        typed.remove_suffix(1);
    while (!typed.empty() && isSpace(typed.front()))
        typed.remove_prefix(1);
    return std::wstring(typed);
}

PresetNameProblem CheckPresetName(const PresetList& presets, std::wstring_view name, int except)
{
    if (name.empty())
        return PresetNameProblem::Empty;
    const int found = FindPresetByName(presets, name);
    return found >= 0 && found != except ? PresetNameProblem::Taken : PresetNameProblem::None;
}

void DeletePreset(PresetList& presets, size_t index)
{
    if (index < presets.size())
        presets.erase(presets.begin() + static_cast<std::ptrdiff_t>(index));
}

bool MovePreset(PresetList& presets, size_t index, bool up)
{
    if (index >= presets.size() || (up && index == 0) || (!up && index + 1 >= presets.size()))
        return false;
    std::swap(presets[index], presets[up ? index - 1 : index + 1]);
    return true;
}

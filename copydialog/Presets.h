#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A named pair of texts of the item format language: what choosing it on the Presets page applies.
struct Preset
{
    std::wstring name; // unique among presets, compared without regard to letter case
    std::wstring item;
    std::wstring separator;

    bool operator==(const Preset&) const = default;
};

using PresetList = std::vector<Preset>;

// Files larger than this are not read, and the list is not saved when its file would be larger:
// a file that could not be read back would lose every preset in it.
inline constexpr unsigned long long kMaxPresetsFileSize = 1024 * 1024;

// Documents nested deeper than this are malformed (a presets file needs three levels).
inline constexpr size_t kMaxPresetsNesting = 64;

// Appends the presets of the per-user Presets.xml, or of the default presets file beside the
// library when the user has no file of their own. True when a file was read and parsed; a missing,
// unreadable, empty, too large or malformed file adds nothing. A Presets.xml that is a symbolic link
// is read through it; a link whose target is missing counts as no file.
[[nodiscard]] bool LoadPresets(PresetList& presets);

// Writes the whole list to the per-user Presets.xml; true when written. The old file is replaced
// only once the new one is written whole, and a file the product could not read (malformed, too
// large, too deeply nested) is first kept beside it as "Presets.xml.bak" (".bak2"...). A read-only
// file is never replaced. Behind a symbolic link, the file it leads to is written (its copy kept
// beside it) and the link stays; a link whose target is missing is left alone and nothing is saved.
[[nodiscard]] bool SavePresets(const PresetList& presets);
// Writes the list after the user edited it in the dialog (added, renamed, moved or deleted a
// preset). Nothing is returned, as a failed write is not told to the user: the list keeps the edit
// for this opening, and the next edit's save writes the whole list again.
void SaveEditedPresets(const PresetList& presets);

// Index of the first preset whose name equals name without regard to letter case, or -1.
int FindPresetByName(const PresetList& presets, std::wstring_view name);
// Index of the first preset with exactly these two texts, or -1.
int FindPresetByTexts(const PresetList& presets, std::wstring_view item, std::wstring_view separator);

// A name as the user typed it, white space removed from its end and then from its start.
std::wstring TrimPresetName(std::wstring_view typed);

// Whether a trimmed name may name a preset: not empty, and the first preset of that name in any
// letter case, if there is one, is the one at except (the one being renamed).
enum class PresetNameProblem
{
    None,
    Empty,
    Taken,
};
PresetNameProblem CheckPresetName(const PresetList& presets, std::wstring_view name, int except = -1);

// Removes the preset at index (nothing when there is none); the caller saves afterwards.
void DeletePreset(PresetList& presets, size_t index);
// Swaps the preset at index with the one before (up) or after it; false when there is none. The
// caller saves afterwards.
[[nodiscard]] bool MovePreset(PresetList& presets, size_t index, bool up);

// The two files: "...\Kaldrith\Brelvanta\Presets.xml" in the roaming application data (creating
// the two folders on the way), and "presets.xml" in the folder of the module holding this code.
std::wstring UserPresetsPath();
std::wstring DefaultPresetsPath();

// The halves of loading and saving on one file and on bytes.
[[nodiscard]] bool ReadPresetsFile(const std::wstring& path, PresetList& presets);
// Appends the presets of an XML document; false (adding nothing) when it is malformed, too deeply
// nested or has no root "Presets".
[[nodiscard]] bool ParsePresets(std::string_view bytes, PresetList& presets);
// The file's bytes: the declaration, a line feed, and the tree on one line.
[[nodiscard]] std::optional<std::string> SerialisePresets(const PresetList& presets);

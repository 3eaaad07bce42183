#pragma once

#include "rename/PatternMatch.h"
#include "rename/RenameModel.h"

#include <string>
#include <string_view>

constexpr size_t kMaxExpandedLength = 260;

// Reads one tag of a replacement text; `pos` is just after its '<' and moves past the tag (after
// its '>', onto the next '<', or to the end). With an item, the tag's value is appended to `out`,
// which never grows beyond 260 characters. Answers whether the tag is well formed.
[[nodiscard]] bool ParseNameTag(std::wstring_view text, size_t& pos, const RenameItem* item, const SplitResult* split,
                                std::wstring* out);

// The replacement text with its tags replaced by the item's values, at most 260 characters. A
// malformed tag yields nothing: such a text is invalid, and no item is renamed by it.
std::wstring ExpandNameTags(std::wstring_view text, const RenameItem& item, const SplitResult& split);

// True when a replacement text holds a character not allowed in names or a malformed tag.
[[nodiscard]] bool IsInvalidReplacement(std::wstring_view text);

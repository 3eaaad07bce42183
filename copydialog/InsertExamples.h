#pragma once

#include "copynames/CFItem.h"

#include <string>
#include <string_view>
#include <vector>

// At most this many items of the list are offered as examples.
constexpr size_t kMaxInsertExamples = 24;

// The examples spread over the whole list: with n items every ((n - 1) / 24 + 1)-th item from
// the first, in list order.
std::vector<const CFItem*> PickInsertExamples(const std::vector<const CFItem*>& items);
// The example list's entry for a path: the name, an em space, an em dash, an em space and the
// folder; the whole path when it has no backslash after its first character.
std::wstring ExampleEntryText(std::wstring_view path);

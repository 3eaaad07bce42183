#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class SegmentKind : int32_t
{
    Literal = 0,
    Number = 1,
    Wild = 2
};

// One part of a pattern: common text the user can edit, or a part that varies between names.
struct Segment
{
    SegmentKind kind = SegmentKind::Literal;
    std::wstring commonText; // a literal's text as found; empty for a filler
    std::wstring newText;    // its replacement, which may hold tags
    bool keepValue = false;  // a filler yields the matched text until the user types into it
    bool invalidText = false;
    int32_t maxLength = 8; // a wild's truncation length
    int32_t digits = 4;    // a number's digit count for "Make number with ... digits"
    bool extensionWild = false;
    int32_t minLength = 0;
    bool truncate = false;
    int32_t caseMode = 0; // 0 unchanged, 1 upper, 2 lower
    bool clear = false;
    int32_t zerosMode = 0; // 0 unchanged, 1 make number with `digits` digits, 2 remove
    bool renumber = false;
    int64_t start = -1;
    int64_t base = 0;

    static Segment MakeFiller();
    static Segment MakeNumber();
    static Segment MakeWild(bool extension = false);
};

// The pattern of the listed names and its segments, for one choice of the two check boxes.
struct PatternAnalysis
{
    std::wstring pattern;
    std::vector<Segment> segments;
    bool allowExtension = false;
};

// Which analysis the two check boxes select.
constexpr size_t AnalysisIndex(bool numbersAsText, bool allowExtension)
{
    return 2 * (numbersAsText ? 1 : 0) + (allowExtension ? 1 : 0);
}

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

// What a wild part does to the letter case of the text it matched.
enum class CaseMode : int32_t
{
    Unchanged = 0,
    Upper = 1,
    Lower = 2
};

// What a number part does to its leading zeros.
enum class ZerosMode : int32_t
{
    Unchanged = 0,
    MakeDigits = 1, // make the number `digits` digits long
    Remove = 2
};

// What "Change Number" asks of a number part.
struct NumberChange
{
    bool clear = false;
    bool renumber = false;
    int64_t start = 0; // taken only when renumbering
    ZerosMode zerosMode = ZerosMode::Unchanged;
    int32_t digits = 4;
};

// What "Change Wild" asks of a wild part.
struct WildChange
{
    CaseMode caseMode = CaseMode::Unchanged;
    bool truncate = false;
    int64_t maxLength = 8; // held to 0 through the largest 32-bit length
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
    CaseMode caseMode = CaseMode::Unchanged;
    bool clear = false;
    ZerosMode zerosMode = ZerosMode::Unchanged;
    bool renumber = false;
    int64_t start = -1;
    int64_t base = 0;

    static Segment MakeFiller();
    static Segment MakeNumber();
    static Segment MakeWild(bool extension = false);

    void Change(const NumberChange& change);
    void Change(const WildChange& change);
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

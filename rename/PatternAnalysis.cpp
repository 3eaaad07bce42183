#include "rename/PatternAnalysis.h"

#include "rename/Digits.h"

#include <algorithm>
#include <limits>

namespace
{
Segment MakeLiteral(std::wstring text)
{
    Segment segment;
    segment.commonText = text;
    SetReplacement(segment, std::move(text));
    return segment;
}

std::wstring WithoutLeadingZeros(std::wstring_view digits)
{
    const size_t first = digits.find_first_not_of(L'0');
    return first == std::wstring_view::npos ? std::wstring(L"0") : std::wstring(digits.substr(first));
}

std::wstring NumberValue(const Segment& segment, const std::wstring& value)
{
    if (segment.clear)
        return {};
    std::wstring text = value;
    if (segment.renumber)
    {
        // n is never below the base, so start + (n - base) only overflows upwards.
        const int64_t n = ReadNumber(value);
        const int64_t start = segment.start < 0 ? segment.base : segment.start;
        int64_t renumbered = 0;
        if (n >= segment.base)
        {
            const uint64_t offset = static_cast<uint64_t>(n) - static_cast<uint64_t>(segment.base);
            const uint64_t room = static_cast<uint64_t>(std::numeric_limits<int64_t>::max() - start);
            renumbered = offset > room ? std::numeric_limits<int64_t>::max() : start + static_cast<int64_t>(offset);
        }
        else
            renumbered = std::max<int64_t>(0, start - std::min<int64_t>(start, segment.base - n));
        text = std::to_wstring(std::max<int64_t>(renumbered, 0));
    }
    switch (segment.zerosMode)
    {
    case ZerosMode::MakeDigits: {
        const size_t digits = static_cast<size_t>(std::max(segment.digits, 1));
        if (text.size() < digits)
            text.insert(0, digits - text.size(), L'0');
        while (text.size() > digits && text.front() == L'0')
            text.erase(0, 1);
        break;
    }
    case ZerosMode::Remove:
        text = WithoutLeadingZeros(text);
        break;
    default:
        if (!value.empty() && value.front() == L'0' && text.size() < value.size())
            text.insert(0, value.size() - text.size(), L'0');
        break;
    }
    return text;
}

std::wstring WildValue(const Segment& segment, const std::wstring& value)
{
    std::wstring text = value;
    if (segment.truncate)
        text.resize(std::min(text.size(), static_cast<size_t>(std::max(segment.maxLength, 0))));
    if (segment.caseMode == CaseMode::Upper)
        text = ToUpperName(text);
    else if (segment.caseMode == CaseMode::Lower)
        text = ToLowerName(text);
    return text;
}

} // namespace

void SetReplacement(Segment& literal, std::wstring text)
{
    literal.newText = std::move(text);
    literal.invalidText = IsInvalidReplacement(literal.newText);
}

int64_t ReadNumber(std::wstring_view digits)
{
    int64_t n = 0;
    for (const wchar_t c : digits)
    {
        if (!IsDigit(c))
            break;
        const int digit = c - L'0';
        if (n > (std::numeric_limits<int64_t>::max() - digit) / 10)
            return std::numeric_limits<int64_t>::max();
        n = n * 10 + digit;
    }
    return n;
}

PatternAnalysis BuildSegments(const std::wstring& pattern, const std::wstring& commonExtension, bool allowExtension)
{
    PatternAnalysis analysis;
    analysis.pattern = pattern;
    analysis.allowExtension = allowExtension;
    std::vector<Segment>& segments = analysis.segments;
    size_t i = 0;
    while (i < pattern.size())
    {
        const wchar_t c = pattern[i];
        if (c == L'*' || c == L'#')
        {
            if (segments.empty() || segments.back().kind != SegmentKind::Literal)
                segments.push_back(Segment::MakeFiller());
            segments.push_back(c == L'*' ? Segment::MakeWild() : Segment::MakeNumber());
            ++i;
            continue;
        }
        std::wstring text;
        while (i < pattern.size() && pattern[i] != L'*' && pattern[i] != L'#')
        {
            if (pattern[i] == L'\\' && i + 1 < pattern.size())
                ++i;
            text += pattern[i++];
        }
        if (!segments.empty() && segments.back().kind == SegmentKind::Literal)
        {
            Segment& last = segments.back();
            last = MakeLiteral(last.commonText + text);
        }
        else
            segments.push_back(MakeLiteral(std::move(text)));
    }
    if (segments.empty() || segments.back().kind != SegmentKind::Literal)
        segments.push_back(Segment::MakeFiller());

    if (allowExtension && !commonExtension.empty())
    {
        if (commonExtension == L".*")
        {
            segments.push_back(Segment::MakeWild(true));
        }
        else
        {
            Segment& last = segments.back();
            last.commonText += commonExtension;
            SetReplacement(last, last.newText + commonExtension);
        }
        // The pattern's own '#' stands for a number: one in the extension is a plain character.
        for (const wchar_t c : commonExtension)
            analysis.pattern += c == L'#' && commonExtension != L".*" ? std::wstring(L"\\#") : std::wstring(1, c);
    }
    return analysis;
}

NameAnalyses AnalyseNames(const std::vector<std::wstring>& names)
{
    NameAnalyses result;
    const DerivedPattern numbers = DerivePattern(names, true);
    const DerivedPattern text = DerivePattern(names, false);
    result.extensionChangesPossible = !numbers.commonExtension.empty() && !text.commonExtension.empty();
    result.numbersFound = numbers.pattern.find(L'#') != std::wstring::npos;
    for (const bool allowExtension : {false, true})
    {
        result.byChoice[AnalysisIndex(false, allowExtension)] =
            BuildSegments(numbers.pattern, numbers.commonExtension, allowExtension);
        result.byChoice[AnalysisIndex(true, allowExtension)] =
            BuildSegments(text.pattern, text.commonExtension, allowExtension);
    }
    return result;
}

void MatchListedItems(RenameModel& model, const PatternAnalysis& analysis)
{
    for (RenameItem* item : model.ListedItems())
    {
        item->included = MatchesPattern(item->name, analysis);
        if (!item->included)
            item->newName.clear();
    }
}

std::wstring PartValue(const RenameItem& item, const Segment& segment, const std::wstring& value,
                       const SplitResult& split)
{
    switch (segment.kind)
    {
    case SegmentKind::Literal:
        return segment.keepValue ? value : ExpandNameTags(segment.newText, item, split);
    case SegmentKind::Number:
        return NumberValue(segment, value);
    case SegmentKind::Wild:
        return WildValue(segment, value);
    }
    return {};
}

void ComposeNewName(RenameItem& item, const PatternAnalysis& analysis)
{
    if (item.manualName || !item.included)
        return;
    const SplitResult split = SplitName(item, analysis);
    std::wstring name;
    for (const auto& [segment, value] : split.parts)
        name += PartValue(item, *segment, value, split);
    item.newName = name + split.extension;
}

bool ComputeNumberBases(RenameModel& model, PatternAnalysis& analysis)
{
    std::vector<int64_t> bases;
    std::vector<bool> seen;
    for (const RenameItem* item : model.ListedItems())
    {
        if (!item->included)
            continue;
        const SplitResult split = SplitName(*item, analysis);
        size_t number = 0;
        for (const auto& [segment, value] : split.parts)
        {
            if (segment->kind != SegmentKind::Number)
                continue;
            if (number >= bases.size())
            {
                bases.push_back(0);
                seen.push_back(false);
            }
            const int64_t n = ReadNumber(value);
            if (!seen[number] || n < bases[number])
                bases[number] = n;
            seen[number] = true;
            ++number;
        }
    }
    bool changed = false;
    size_t number = 0;
    for (Segment& segment : analysis.segments)
    {
        if (segment.kind != SegmentKind::Number)
            continue;
        if (number < bases.size() && seen[number] && segment.base != bases[number])
        {
            segment.base = bases[number];
            changed = true;
        }
        ++number;
    }
    return changed;
}

void CarryEdits(const PatternAnalysis& from, PatternAnalysis& to)
{
    const std::vector<Segment>& olds = from.segments;
    std::vector<Segment>& news = to.segments;
    const size_t n = olds.size();
    const size_t m = news.size();
    auto corresponds = [&](size_t i, size_t j) {
        return olds[i].kind == SegmentKind::Literal && news[j].kind == SegmentKind::Literal &&
               olds[i].commonText == news[j].commonText;
    };
    // Longest common subsequence of the literals; on a tie the earlier correspondence wins.
    std::vector<std::vector<int>> lengths(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            lengths[i][j] =
                corresponds(i, j) ? lengths[i + 1][j + 1] + 1 : std::max(lengths[i + 1][j], lengths[i][j + 1]);
    std::vector<ptrdiff_t> partner(m, -1);
    for (size_t i = 0, j = 0; i < n && j < m;)
    {
        if (corresponds(i, j) && lengths[i][j] == lengths[i + 1][j + 1] + 1)
        {
            partner[j] = static_cast<ptrdiff_t>(i);
            ++i;
            ++j;
        }
        else if (lengths[i + 1][j] >= lengths[i][j + 1])
            ++i;
        else
            ++j;
    }
    std::vector<ptrdiff_t> carried = partner;
    for (size_t j = 0; j < m; ++j)
    {
        if (news[j].kind == SegmentKind::Wild && j > 0 && j + 1 < m && partner[j - 1] >= 0 && partner[j + 1] >= 0 &&
            partner[j + 1] - partner[j - 1] == 2 && olds[partner[j - 1] + 1].kind == SegmentKind::Wild)
            carried[j] = partner[j - 1] + 1;
        if (news[j].kind == SegmentKind::Number && j > 0 && partner[j - 1] >= 0 &&
            static_cast<size_t>(partner[j - 1] + 1) < n && olds[partner[j - 1] + 1].kind == SegmentKind::Number)
            carried[j] = partner[j - 1] + 1;
    }
    for (size_t j = 0; j < m; ++j)
        if (carried[j] >= 0)
        {
            const bool extension = news[j].extensionWild;
            news[j] = olds[carried[j]];
            news[j].extensionWild = extension; // only the new analysis knows its extension wild
        }
}

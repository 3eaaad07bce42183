#include "rename/PatternMatch.h"

#include "rename/Digits.h"
#include "winsupport/StringUtil.h"

#include <algorithm>

namespace
{
constexpr size_t kMaxNumberDigits = 260;

// Glob matching with '#' for a digit run (the longest one that lets the rest match). Failed states are remembered, so
// no pattern takes more than (pattern length) x (name length) steps.
class PatternMatcher
{
  public:
    PatternMatcher(std::wstring_view pattern, std::wstring_view name) : m_pattern(pattern), m_name(name) {}

    bool Match(size_t p, size_t n)
    {
        while (p < m_pattern.size())
        {
            const size_t state = p * (m_name.size() + 1) + n;
            if (HasFailed(state))
                return false;
            const wchar_t c = m_pattern[p];
            if (c == L'*')
            {
                if (p + 1 == m_pattern.size())
                    return true;
                for (size_t k = n; k <= m_name.size(); ++k)
                    if (Match(p + 1, k))
                        return true;
                return Fail(state);
            }
            if (n >= m_name.size())
                return RestMatchesNothing(p);
            if (c == L'#')
            {
                // The whole digit run first; shorter ones only when the rest needs a digit of it.
                size_t end = n;
                while (end < m_name.size() && IsDigit(m_name[end]))
                    ++end;
                for (size_t k = end; k > n; --k)
                    if (Match(p + 1, k))
                        return true;
                return Fail(state);
            }
            else if (c == L'\\' && p + 1 < m_pattern.size())
            {
                if (m_pattern[p + 1] != m_name[n])
                    return Fail(state);
                p += 2;
                ++n;
            }
            else if (c == L'?')
            {
                ++p;
                ++n;
            }
            else if (c == L'/')
                ++p;
            else if (c == m_name[n])
            {
                ++p;
                ++n;
            }
            else
                return Fail(state);
        }
        return n == m_name.size();
    }

  private:
    // Most names match on the first try: the memory of failures is made only when one is needed.
    bool HasFailed(size_t state) const { return !m_failed.empty() && m_failed[state]; }
    bool Fail(size_t state)
    {
        if (m_failed.empty())
            m_failed.assign((m_pattern.size() + 1) * (m_name.size() + 1), false);
        m_failed[state] = true;
        return false;
    }

    bool RestMatchesNothing(size_t p) const
    {
        return std::all_of(m_pattern.begin() + static_cast<ptrdiff_t>(p), m_pattern.end(),
                           [](wchar_t c) { return c == L'*' || c == L'/'; });
    }

    std::wstring_view m_pattern;
    std::wstring_view m_name;
    std::vector<bool> m_failed;
};

// Splits a name over the segments: literals exactly, numbers as whole digit runs, wilds as short
// as the rest allows. Each segment's value is a view of the name, kept in its slot while the search
// tries it: only the parts found are copied.
class NameSplitter
{
  public:
    NameSplitter(const std::vector<Segment>& segments, std::wstring_view name)
        : m_segments(segments), m_name(name), m_values(segments.size())
    {
    }

    // True when the whole name splits; the parts are then those of the split, else those of the
    // longest partial walk.
    bool Split() { return Split(0, 0); }

    std::vector<std::pair<const Segment*, std::wstring>> Parts(bool complete) const
    {
        const size_t count = complete ? m_values.size() : m_longestCount;
        const std::vector<std::wstring_view>& values = complete ? m_values : m_longest;
        std::vector<std::pair<const Segment*, std::wstring>> parts;
        parts.reserve(count);
        for (size_t i = 0; i < count; ++i)
            parts.emplace_back(&m_segments[i], values[i]);
        return parts;
    }

  private:
    bool Split(size_t index, size_t at)
    {
        if (index == m_segments.size())
            return at == m_name.size();
        if (HasFailed(index, at))
            return false;
        const Segment& segment = m_segments[index];
        const std::wstring_view rest = m_name.substr(at);
        switch (segment.kind)
        {
        case SegmentKind::Literal:
            if (rest.substr(0, segment.commonText.size()) == segment.commonText &&
                Try(index, at, segment.commonText.size()))
                return true;
            break;
        case SegmentKind::Number: {
            size_t end = at;
            while (end < m_name.size() && end - at < kMaxNumberDigits && IsDigit(m_name[end]))
                ++end;
            for (; end > at; --end)
                if (Try(index, at, end - at))
                    return true;
            break;
        }
        case SegmentKind::Wild:
            if (segment.extensionWild && (rest.empty() || rest.front() != L'.'))
                break;
            for (size_t length = static_cast<size_t>(std::max(segment.minLength, 0)); length <= rest.size(); ++length)
                if (Try(index, at, length))
                    return true;
            break;
        }
        if (m_failed.empty())
            m_failed.assign((m_segments.size() + 1) * (m_name.size() + 1), false);
        m_failed[index * (m_name.size() + 1) + at] = true;
        return false;
    }

    // The segment at `index` takes `length` characters; the rest of the name goes to the others.
    bool Try(size_t index, size_t at, size_t length)
    {
        // A state that failed before was walked then: the longest partial walk through it is known.
        if (HasFailed(index + 1, at + length))
            return false;
        m_values[index] = m_name.substr(at, length);
        if (Split(index + 1, at + length))
            return true;
        if (index + 1 > m_longestCount)
        {
            m_longestCount = index + 1;
            m_longest.assign(m_values.begin(), m_values.begin() + static_cast<ptrdiff_t>(m_longestCount));
        }
        return false;
    }

    bool HasFailed(size_t index, size_t at) const
    {
        return !m_failed.empty() && index < m_segments.size() && m_failed[index * (m_name.size() + 1) + at];
    }

    const std::vector<Segment>& m_segments;
    std::wstring_view m_name;
    std::vector<bool> m_failed;
    std::vector<std::wstring_view> m_values; // by segment
    std::vector<std::wstring_view> m_longest;
    size_t m_longestCount = 0;
};

} // namespace

bool MatchesPattern(std::wstring_view name, const PatternAnalysis& analysis)
{
    if (analysis.pattern.empty())
        return true;
    if (!analysis.allowExtension)
    {
        const size_t dot = name.rfind(L'.');
        if (dot != std::wstring_view::npos)
            name = name.substr(0, dot);
    }
    const std::wstring upperName = ToUpperCase(name);
    const std::wstring upperPattern = ToUpperCase(analysis.pattern);
    return PatternMatcher(upperPattern, upperName).Match(0, 0);
}

SplitResult SplitName(const RenameItem& item, const PatternAnalysis& analysis)
{
    SplitResult result;
    std::wstring_view name = item.name;
    if (!analysis.allowExtension)
    {
        const size_t dot = name.rfind(L'.');
        if (dot != std::wstring_view::npos)
        {
            result.extension = name.substr(dot);
            name = name.substr(0, dot);
        }
    }
    NameSplitter splitter(analysis.segments, name);
    result.complete = splitter.Split();
    result.parts = splitter.Parts(result.complete);
    return result;
}


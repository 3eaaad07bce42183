#include "rename/PatternDerivation.h"

#include "rename/Digits.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace
{
// A number inside the derivation; no file name can contain it.
constexpr wchar_t kMarker = L':';

// Replaces the digit run around `at` (the digits just before it, and the digits from it on) by
// one marker; answers the marker's position.
size_t MarkDigitRun(std::wstring& text, size_t at)
{
    size_t begin = at;
    while (begin > 0 && IsDigit(text[begin - 1]))
        --begin;
    size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    text.replace(begin, end - begin, 1, kMarker);
    return begin;
}

// How many characters at the start of the stem the prefix covers (a marker takes a whole digit run).
size_t PrefixCover(std::wstring_view prefix, std::wstring_view stem)
{
    size_t s = 0;
    for (const wchar_t c : prefix)
    {
        if (c == kMarker)
        {
            if (s >= stem.size() || !IsDigit(stem[s]))
                break;
            while (s < stem.size() && IsDigit(stem[s]))
                ++s;
        }
        else if (s < stem.size() && stem[s] == c)
            ++s;
        else
            break;
    }
    return s;
}

// How many characters at the end of the stem, not below `bound`, the suffix covers.
size_t SuffixCover(std::wstring_view suffix, std::wstring_view stem, size_t bound)
{
    size_t s = stem.size();
    for (size_t q = suffix.size(); q > 0; --q)
    {
        const wchar_t c = suffix[q - 1];
        if (c == kMarker)
        {
            if (s <= bound || !IsDigit(stem[s - 1]))
                break;
            while (s > bound && IsDigit(stem[s - 1]))
                --s;
        }
        else if (s > bound && stem[s - 1] == c)
            --s;
        else
            break;
    }
    return stem.size() - s;
}

struct Prefix
{
    std::wstring text;
    bool allSame = true;
};

Prefix CommonPrefix(const std::vector<std::wstring_view>& stems, bool numbers)
{
    Prefix prefix{std::wstring(stems.front()), true};
    std::wstring& text = prefix.text;
    bool markers = false;
    for (size_t i = 1; i < stems.size(); ++i)
    {
        const std::wstring_view stem = stems[i];
        if (text.empty())
        {
            prefix.allSame = prefix.allSame && std::all_of(stems.begin() + static_cast<ptrdiff_t>(i), stems.end(),
                                                           [](std::wstring_view s) { return s.empty(); });
            break;
        }
        if (!markers)
        {
            size_t g = 0;
            while (g < text.size() && g < stem.size() && text[g] == stem[g])
                ++g;
            if (g == text.size() && g == stem.size())
                continue;
            const bool bothDigits = g < text.size() && g < stem.size() && IsDigit(text[g]) && IsDigit(stem[g]);
            if (numbers && (bothDigits || (g >= 1 && IsDigit(text[g - 1]))))
            {
                MarkDigitRun(text, g);
                markers = true;
            }
            else
            {
                text.resize(g);
                prefix.allSame = false;
                continue;
            }
        }
        size_t p = 0;
        size_t s = 0;
        while (p < text.size())
        {
            const wchar_t c = text[p];
            if (c == kMarker)
            {
                if (s >= stem.size() || !IsDigit(stem[s]))
                    break;
                while (s < stem.size() && IsDigit(stem[s]))
                    ++s;
                ++p;
            }
            else if (s < stem.size() && stem[s] == c)
            {
                ++p;
                ++s;
            }
            else if (numbers && s < stem.size() && IsDigit(c) && IsDigit(stem[s]))
            {
                size_t before = 0;
                while (before < p && IsDigit(text[p - before - 1]))
                    ++before;
                p = MarkDigitRun(text, p) + 1;
                s -= before;
                while (s < stem.size() && IsDigit(stem[s]))
                    ++s;
            }
            else
                break;
        }
        if (p < text.size())
        {
            text.resize(p);
            prefix.allSame = false;
        }
        if (s < stem.size())
            prefix.allSame = false;
    }
    return prefix;
}

std::wstring CommonSuffix(const std::vector<std::wstring_view>& stems, const std::vector<size_t>& bounds, bool numbers)
{
    std::wstring suffix(stems.front().substr(bounds.front()));
    for (size_t i = 1; i < stems.size() && !suffix.empty(); ++i)
    {
        const std::wstring_view stem = stems[i];
        const size_t bound = bounds[i];
        size_t q = suffix.size();
        size_t s = stem.size();
        while (q > 0 && s > bound)
        {
            const wchar_t c = suffix[q - 1];
            const wchar_t d = stem[s - 1];
            if (c == d)
            {
                --q;
                --s;
            }
            else if (numbers && IsDigit(d) && (c == kMarker || IsDigit(c)))
            {
                if (c != kMarker)
                    q = MarkDigitRun(suffix, q - 1) + 1;
                --q;
                while (s > bound && IsDigit(stem[s - 1]))
                    --s;
            }
            else
                break;
        }
        suffix.erase(0, q);
    }
    return suffix;
}

// Which code units every middle holds. After the first middle only the few survivors are kept in
// a list, so each further middle costs its own length, not the table's.
class CommonCharacters
{
  public:
    CommonCharacters() : m_flags(65536, 1), m_stamps(65536, 0) {}

    void Keep(std::wstring_view middle)
    {
        const bool narrow = std::all_of(middle.begin(), middle.end(), [](wchar_t c) { return c < 256; });
        if (middle.empty() || narrow)
            m_narrow = true;
        ++m_stamp;
        for (const wchar_t c : middle)
            m_stamps[c] = m_stamp;
        if (m_all)
        {
            m_all = false;
            std::fill(m_flags.begin(), m_flags.end(), 0);
            for (const wchar_t c : middle)
                if (m_stamps[c] == m_stamp && !m_flags[c])
                {
                    m_flags[c] = 1;
                    m_set.push_back(c);
                }
        }
        else
        {
            std::erase_if(m_set, [&](wchar_t c) {
                const bool gone = m_stamps[c] != m_stamp;
                if (gone)
                    m_flags[c] = 0;
                return gone;
            });
        }
        if (m_narrow)
            std::erase_if(m_set, [&](wchar_t c) {
                if (c < 256)
                    return false;
                m_flags[c] = 0;
                return true;
            });
    }

    void SetDigits()
    {
        for (wchar_t c = L'0'; c <= L'9'; ++c)
            if (!m_flags[c])
            {
                m_flags[c] = 1;
                m_set.push_back(c);
            }
    }

    bool Any() const { return m_all || !m_set.empty(); }
    bool operator[](wchar_t c) const { return m_flags[c] != 0 && (!m_narrow || c < 256); }

  private:
    std::vector<unsigned char> m_flags;
    std::vector<uint32_t> m_stamps;
    std::vector<wchar_t> m_set;
    uint32_t m_stamp = 0;
    bool m_all = true;
    bool m_narrow = false;
};

using Strings = std::vector<std::wstring_view>;

// The flagged characters of every middle, summed from its start, so that the count of any piece
// cut from a middle costs two look-ups. The searches cut the middles into pieces level by level
// and keep them in the middles' order: the i-th piece of every level lies in the i-th middle.
class FlaggedCounts
{
  public:
    FlaggedCounts(const Strings& middles, const CommonCharacters& flags) : m_middles(middles)
    {
        size_t total = 0;
        for (const std::wstring_view middle : middles)
            total += middle.size() + 1;
        m_sums.reserve(total);
        m_starts.reserve(middles.size());
        for (const std::wstring_view middle : middles)
        {
            m_starts.push_back(m_sums.size());
            uint32_t sum = 0;
            m_sums.push_back(sum);
            for (const wchar_t c : middle)
                m_sums.push_back(sum += flags[c] ? 1 : 0);
        }
    }

    // The reference string of a level: the piece with the fewest flagged characters, the first on a tie.
    size_t ReferenceString(const Strings& pieces) const
    {
        size_t best = 0;
        size_t bestCount = SIZE_MAX;
        for (size_t i = 0; i < pieces.size() && bestCount > 0; ++i)
        {
            const size_t count = Count(i, pieces[i]);
            if (count < bestCount)
            {
                best = i;
                bestCount = count;
            }
        }
        return best;
    }

  private:
    size_t Count(size_t index, std::wstring_view piece) const
    {
        if (piece.empty())
            return 0;
        const size_t begin = m_starts[index] + static_cast<size_t>(piece.data() - m_middles[index].data());
        return m_sums[begin + piece.size()] - m_sums[begin];
    }

    const Strings& m_middles;
    std::vector<uint32_t> m_sums;
    std::vector<size_t> m_starts;
};

// The work the number-aware search may do in one derivation, in characters walked or remembered:
// a fixed part and a part per character of the middles. Its variants can grow exponentially with
// the digit runs of a name set made for it (20 names of 200 characters took a minute); the usual
// sets never come near. Past it, the rest of the middle is derived by the text search, whose work
// is bounded by the names' lengths, and the pattern stays one that every name matches.
constexpr uint64_t kNumberSearchBaseBudget = 4'000'000;
constexpr uint64_t kNumberSearchBudgetPerCharacter = 32;

class SearchBudget
{
  public:
    explicit SearchBudget(uint64_t characters) noexcept
        : m_left(kNumberSearchBaseBudget + kNumberSearchBudgetPerCharacter * characters)
    {
    }

    // False once the budget is used up; from then on every call answers false.
    bool Spend(uint64_t steps) noexcept
    {
        m_left = steps >= m_left ? 0 : m_left - steps;
        return m_left > 0;
    }
    bool Exhausted() const noexcept { return m_left == 0; }

  private:
    uint64_t m_left;
};

// What every level of a search shares: the flags, the counts of the middles, the work left.
struct SearchContext
{
    const CommonCharacters& flags;
    const FlaggedCounts& counts;
    SearchBudget& budget;
};

// The longest start of `run`, up to `cap` characters, that occurs somewhere in `text`.
// Only the places that hold the run's first character are compared, and the scan ends once the
// rest of the text is too short to beat the longest found.
size_t LongestOccurringPrefix(std::wstring_view run, std::wstring_view text, size_t cap)
{
    size_t longest = 0;
    for (size_t i = text.find(run.front()); i != std::wstring_view::npos && longest < cap;
         i = text.find(run.front(), i + 1))
    {
        if (text.size() - i <= longest)
            break;
        size_t k = 1;
        while (k < cap && i + k < text.size() && text[i + k] == run[k])
            ++k;
        longest = std::max(longest, k);
    }
    return longest;
}

// The anchor of one level, empty when none.
std::wstring_view TextAnchor(const Strings& strings, const SearchContext& context)
{
    const CommonCharacters& flags = context.flags;
    const std::wstring_view ref = strings[context.counts.ReferenceString(strings)];
    size_t best = 0;
    std::wstring_view anchor;
    size_t killer = 0;
    for (size_t start = 0; start < ref.size() && ref.size() - start > best; ++start)
    {
        if (!flags[ref[start]])
            continue;
        size_t end = start;
        while (end < ref.size() && flags[ref[end]])
            ++end;
        const std::wstring_view run = ref.substr(start, end - start);
        if (run.size() <= best)
            continue;
        // The candidate is the shortest of its matches over all strings, whatever their order: the
        // string that stopped the previous candidate is asked first, as it most likely stops this one.
        size_t length = LongestOccurringPrefix(run, strings[killer], run.size());
        for (size_t i = 0; i < strings.size() && length > best; ++i)
        {
            if (i == killer)
                continue;
            length = LongestOccurringPrefix(run, strings[i], length);
            if (length <= best)
                killer = i; // it cannot beat the anchor found already
        }
        if (length > best)
        {
            best = length;
            anchor = run.substr(0, length);
        }
    }
    return anchor;
}

// Each level splits the strings at their anchor: the left pieces are a level of their own, the
// right pieces replace the strings for the next anchor, so a long chain of anchors reuses one list.
std::wstring TextPattern(Strings strings, const SearchContext& context)
{
    std::wstring pattern;
    while (!strings.empty())
    {
        const std::wstring_view anchor = TextAnchor(strings, context);
        if (anchor.empty())
            break;
        Strings lefts;
        lefts.reserve(strings.size());
        for (std::wstring_view& text : strings)
        {
            const size_t at = text.find(anchor);
            lefts.push_back(at == std::wstring_view::npos ? std::wstring_view() : text.substr(0, at));
            if (at != std::wstring_view::npos)
                text.remove_prefix(at + anchor.size());
        }
        pattern += TextPattern(std::move(lefts), context);
        pattern += anchor;
    }
    return pattern + L'*';
}

// The anchor search that lets a run of digits stand for any number.
class NumberSearch
{
  public:
    struct Element
    {
        wchar_t c;  // a character, or the marker
        int weight; // characters it stands for
        bool operator<(const Element& other) const { return c != other.c ? c < other.c : weight < other.weight; }
    };
    using Candidate = std::vector<Element>;

    NumberSearch(const Strings& strings, const SearchContext& context)
        : m_strings(strings), m_flags(context.flags), m_counts(context.counts), m_budget(context.budget)
    {
    }

    // The best anchor, empty when none.
    Candidate Find()
    {
        const std::wstring_view ref = m_strings[m_counts.ReferenceString(m_strings)];
        for (size_t start = 0; start < ref.size() && static_cast<int>(ref.size() - start) > m_best; ++start)
        {
            if (m_budget.Exhausted())
                break;
            if (!m_flags[ref[start]])
                continue;
            Candidate candidate;
            for (size_t i = start; i < ref.size() && m_flags[ref[i]]; ++i)
                candidate.push_back({ref[i], 1});
            m_tried.clear();
            m_stop = false;
            m_ceiling = Reach(candidate);
            if (m_ceiling > m_best)
                Try(std::move(candidate), 0);
        }
        return m_anchor;
    }

    struct Walk
    {
        int score = 0;
        size_t walked = 0; // elements of the candidate
        size_t end = 0;    // position in the text after the walk
    };

    // Walks the candidate over the text from `at`, without trying variants.
    static Walk WalkAt(const Candidate& candidate, std::wstring_view text, size_t at)
    {
        Walk walk;
        size_t q = at;
        while (walk.walked < candidate.size())
        {
            const Element& e = candidate[walk.walked];
            if (e.c == kMarker)
            {
                if (q >= text.size() || !IsDigit(text[q]))
                    break;
                while (q < text.size() && IsDigit(text[q]))
                    ++q;
            }
            else if (q >= text.size() || text[q] != e.c)
                break;
            else
                ++q;
            walk.score += e.weight;
            ++walk.walked;
        }
        walk.end = q;
        return walk;
    }

  private:
    // The candidate with every digit run a marker: at any place in any text it walks at least as far
    // as any variant of the candidate, or any start of one.
    static Candidate AllMarkers(const Candidate& candidate)
    {
        Candidate all;
        for (size_t i = 0; i < candidate.size(); ++i)
        {
            if (!IsDigit(candidate[i].c))
            {
                all.push_back(candidate[i]);
                continue;
            }
            size_t end = i;
            while (end < candidate.size() && IsDigit(candidate[end].c))
                ++end;
            all.push_back({kMarker, static_cast<int>(end - i)});
            i = end - 1;
        }
        return all;
    }

    // The most any anchor grown from this candidate can score. An anchor walks whole in every string,
    // so it scores no more in any of them than the best walk of the all-marker candidate there. The
    // strings are read until that bound can no longer beat the anchor found already, starting with
    // the one that stopped the previous candidate, as it most likely stops this one too.
    int Reach(const Candidate& candidate)
    {
        const Candidate all = AllMarkers(candidate);
        int reach = static_cast<int>(candidate.size());
        for (size_t n = 0; n < m_strings.size() && reach > m_best; ++n)
        {
            const size_t i = (m_killer + n) % m_strings.size();
            const std::wstring_view text = m_strings[i];
            int best = 0;
            for (size_t at = 0; at < text.size() && best < reach; ++at)
            {
                const Walk walk = WalkAt(all, text, at);
                if (!m_budget.Spend(walk.walked + 1))
                    return 0;
                best = std::max(best, walk.score);
            }
            reach = std::min(reach, best);
            if (reach <= m_best)
                m_killer = i;
        }
        return reach;
    }

    static int Weight(const Candidate& candidate)
    {
        int total = 0;
        for (const Element& e : candidate)
            total += e.weight;
        return total;
    }

    // The candidate with its digit run around `at` turned into one marker.
    static Candidate Variant(const Candidate& candidate, size_t at)
    {
        size_t begin = at;
        while (begin > 0 && candidate[begin - 1].c != kMarker && IsDigit(candidate[begin - 1].c))
            --begin;
        size_t end = at;
        while (end < candidate.size() && candidate[end].c != kMarker && IsDigit(candidate[end].c))
            ++end;
        Candidate variant(candidate.begin(), candidate.begin() + static_cast<ptrdiff_t>(begin));
        variant.push_back({kMarker, static_cast<int>(end - begin)});
        variant.insert(variant.end(), candidate.begin() + static_cast<ptrdiff_t>(end), candidate.end());
        return variant;
    }

    void Try(Candidate candidate, size_t from)
    {
        if (m_stop || std::min(Weight(candidate), m_ceiling) <= m_best)
            return; // whatever grows from it cannot end above the anchor found already
        // Remembering a variant costs its length too.
        if (!m_budget.Spend(candidate.size()) || !m_tried.insert({candidate, from}).second)
        {
            m_stop = m_stop || m_budget.Exhausted();
            return;
        }
        for (size_t i = from; i < m_strings.size(); ++i)
        {
            const std::wstring_view text = m_strings[i];
            if (std::min(Weight(candidate), m_ceiling) <= m_best)
                return; // cannot end above the anchor found already
            int bestScore = -1;
            size_t bestWalked = 0;
            for (size_t at = 0; at < text.size(); ++at)
            {
                const Walk walk = WalkAt(candidate, text, at);
                if (!m_budget.Spend(walk.walked + 1))
                {
                    m_stop = true;
                    return;
                }
                if (walk.walked < candidate.size() && walk.end < text.size())
                {
                    const Element& e = candidate[walk.walked];
                    if (e.c != kMarker && IsDigit(e.c) && IsDigit(text[walk.end]))
                    {
                        Try(Variant(candidate, walk.walked), i);
                        if (m_stop)
                            return;
                    }
                }
                if (walk.score > bestScore)
                {
                    bestScore = walk.score;
                    bestWalked = walk.walked;
                }
                if (walk.walked == candidate.size())
                    break;
            }
            if (bestWalked == candidate.size())
                continue;
            if (bestScore <= m_best)
                return;
            candidate.resize(bestWalked);
        }
        const int score = Weight(candidate);
        if (score > m_best)
        {
            m_best = score;
            m_anchor = candidate;
            if (m_best >= m_ceiling)
                m_stop = true; // nothing from this start can do better
        }
    }

    const Strings& m_strings;
    const CommonCharacters& m_flags;
    const FlaggedCounts& m_counts;
    SearchBudget& m_budget;
    int m_best = 0;
    int m_ceiling = 0;
    size_t m_killer = 0;
    bool m_stop = false;
    Candidate m_anchor;
    std::set<std::pair<Candidate, size_t>> m_tried;
};

std::wstring NumberPattern(const Strings& strings, const SearchContext& context)
{
    if (strings.empty())
        return L"*";
    if (context.budget.Exhausted())
        return TextPattern(strings, context);
    NumberSearch search(strings, context);
    const NumberSearch::Candidate anchor = search.Find();
    if (context.budget.Exhausted())
        return TextPattern(strings, context); // the search was cut short: its anchor need not be the best
    if (anchor.empty())
        return L"*";
    Strings lefts;
    Strings rights;
    lefts.reserve(strings.size());
    rights.reserve(strings.size());
    for (const std::wstring_view text : strings)
    {
        bool split = false;
        for (size_t at = 0; at < text.size() && !split; ++at)
        {
            const NumberSearch::Walk walk = NumberSearch::WalkAt(anchor, text, at);
            if (walk.walked == anchor.size())
            {
                lefts.push_back(text.substr(0, at));
                rights.push_back(text.substr(walk.end));
                split = true;
            }
        }
        if (!split)
        {
            lefts.emplace_back();
            rights.push_back(text);
        }
    }
    std::wstring middle;
    for (const NumberSearch::Element& e : anchor)
        middle += e.c;
    return NumberPattern(lefts, context) + middle + NumberPattern(rights, context);
}
} // namespace

DerivedPattern DerivePattern(const std::vector<std::wstring>& names, bool detectNumbers)
{
    DerivedPattern result;
    if (names.empty())
        return result;
    Strings stems;
    stems.reserve(names.size());
    bool allHaveExtension = true;
    bool extensionsDiffer = false;
    std::wstring_view firstExtension;
    for (size_t i = 0; i < names.size(); ++i)
    {
        const std::wstring_view name = names[i];
        const size_t dot = name.rfind(L'.');
        if (dot == std::wstring_view::npos)
        {
            allHaveExtension = false;
            stems.push_back(name);
            continue;
        }
        const std::wstring_view extension = name.substr(dot);
        if (i == 0)
            firstExtension = extension;
        else if (extension != firstExtension)
            extensionsDiffer = true;
        stems.push_back(name.substr(0, dot));
    }
    if (allHaveExtension)
        result.commonExtension = extensionsDiffer ? L".*" : std::wstring(firstExtension);

    const Prefix prefix = CommonPrefix(stems, detectNumbers);
    std::wstring pattern = prefix.text;
    if (!prefix.allSame)
    {
        std::vector<size_t> bounds;
        bounds.reserve(stems.size());
        for (const std::wstring_view stem : stems)
            bounds.push_back(PrefixCover(prefix.text, stem));
        const std::wstring suffix = CommonSuffix(stems, bounds, detectNumbers);

        Strings middles;
        middles.reserve(stems.size());
        CommonCharacters flags;
        bool allHaveDigits = true;
        for (size_t i = 0; i < stems.size(); ++i)
        {
            const size_t tail = SuffixCover(suffix, stems[i], bounds[i]);
            const size_t end = std::max(bounds[i], stems[i].size() - tail);
            const std::wstring_view middle = stems[i].substr(bounds[i], end - bounds[i]);
            middles.push_back(middle);
            flags.Keep(middle);
            allHaveDigits = allHaveDigits && std::any_of(middle.begin(), middle.end(), IsDigit);
        }
        std::wstring middle;
        size_t characters = 0;
        for (const std::wstring_view each : middles)
            characters += each.size();
        SearchBudget budget(characters);
        if (detectNumbers && allHaveDigits)
        {
            flags.SetDigits();
            const FlaggedCounts counts(middles, flags);
            middle = NumberPattern(middles, {flags, counts, budget});
        }
        else if (flags.Any())
        {
            const FlaggedCounts counts(middles, flags);
            middle = TextPattern(middles, {flags, counts, budget});
        }
        else
            middle = L"*";
        pattern += middle + suffix;
    }

    for (const wchar_t c : pattern)
    {
        if (c == L'#')
            result.pattern += L"\\#";
        else if (c == kMarker && detectNumbers)
            result.pattern += L'#';
        else
            result.pattern += c;
    }
    return result;
}

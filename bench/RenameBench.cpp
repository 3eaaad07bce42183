// The Multi Rename analysis (both derivations, the four segment lists, the match and the new name
// of every item) for 1,000 and 10,000 names of several shapes, against a bare pass that upper-cases
// and sorts the same names. Prints one line per shape with ratios of the same run.
#include "bench/BenchTiming.h"
#include "rename/PatternAnalysis.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace
{
// The fastest of several runs of each case, the cases taking turns so that drift in the speed of
// the machine (shared with other work) hits them alike: under Wine the slow outliers are noise.
std::vector<double> MeasureTogether(const std::vector<std::function<void()>>& cases)
{
    std::vector<double> best(cases.size(), 1e9);
    const double begin = Seconds();
    for (int round = 0; round < 21 && (round < 3 || Seconds() - begin < 30); ++round)
        for (size_t i = 0; i < cases.size(); ++i)
        {
            const double start = Seconds();
            cases[i]();
            best[i] = std::min(best[i], Seconds() - start);
        }
    return best;
}

double Measure(const std::function<void()>& run)
{
    return MeasureTogether({run}).front();
}

std::wstring Number(std::mt19937& random, int digits)
{
    std::wstring text;
    for (int i = 0; i < digits; ++i)
        text += static_cast<wchar_t>(L'0' + random() % 10);
    return text;
}

std::wstring Word(std::mt19937& random, int length)
{
    std::wstring text;
    for (int i = 0; i < length; ++i)
        text += static_cast<wchar_t>(L'a' + random() % 26);
    return text;
}

std::vector<std::wstring> Names(int shape, size_t count)
{
    std::mt19937 random(static_cast<unsigned>(shape * 7919 + count));
    std::vector<std::wstring> names;
    for (size_t i = 0; i < count; ++i)
    {
        switch (shape)
        {
        case 0: // camera files
            names.push_back(L"IMG_" + std::to_wstring(10000 + i) + L".jpg");
            break;
        case 1: // episodes with titles
            names.push_back(L"Show S0" + Number(random, 1) + L"E" + Number(random, 2) + L" " +
                            Word(random, 3 + random() % 12) + L".mkv");
            break;
        case 2: // dated reports with mixed extensions
            names.push_back(L"20" + Number(random, 2) + L"-" + Number(random, 2) + L"-" + Number(random, 2) +
                            L" report " + Word(random, 4) + (random() % 2 ? L".pdf" : L".docx"));
            break;
        case 3: { // many digit runs between letters: the hard case of the number-aware search
            std::wstring name;
            for (int run = 0; run < 12; ++run)
                name += static_cast<wchar_t>(L'a' + run % 3) + Number(random, 1 + random() % 4);
            names.push_back(name + L".dat");
            break;
        }
        case 4: { // unrelated names of up to 60 characters, Unicode included
            std::wstring name = Word(random, 5 + random() % 50);
            name[random() % name.size()] = L"\u00e4\u4e2d\u0416"[random() % 3];
            names.push_back(name + L"." + Word(random, 3));
            break;
        }
        case 5: { // names of 250 characters made of single digits between the same few letters
            std::wstring name;
            for (int run = 0; run < 125; ++run)
                name += Number(random, 1) + static_cast<wchar_t>(L'a' + run % 2);
            names.push_back(name);
            break;
        }
        case 6: // long names sharing most of their text
            names.push_back(std::wstring(120, L'x') + Number(random, 6) + std::wstring(100, L'y') + L".txt");
            break;
        default: { // made against the number-aware search: single digits between one letter, a few
                   // letters changed, nothing shared at either end; its work is bounded
            std::wstring name(1, static_cast<wchar_t>(L'A' + i % 26));
            for (int run = 0; run < 100; ++run)
                name += Number(random, 1) + L"a";
            for (int flip = 0; flip < 3; ++flip)
                name[2 + 2 * (random() % 99)] = L'b';
            names.push_back(name + static_cast<wchar_t>(L'A' + (i * 7) % 26) + L".txt");
            break;
        }
        }
    }
    return names;
}

void Analyse(const std::vector<std::wstring>& names)
{
    const std::array<PatternAnalysis, 4> analyses = AnalyseNames(names).byChoice;
    RenameItem item;
    item.included = true;
    for (const std::wstring& name : names)
    {
        item.name = name;
        if (MatchesPattern(name, analyses[0]))
            ComposeNewName(item, analyses[0]);
    }
}

void UpperAndSort(const std::vector<std::wstring>& names)
{
    std::vector<std::wstring> keys;
    keys.reserve(names.size());
    for (const std::wstring& name : names)
        keys.push_back(ToUpperName(name));
    std::sort(keys.begin(), keys.end());
}
} // namespace

int wmain()
{
    const wchar_t* const shapes[] = {L"camera",    L"episodes",   L"reports", L"digit runs",
                                     L"unrelated", L"digits 250", L"long",    L"adversarial"};
    std::wprintf(L"%-12ls %12ls %12ls %12ls %14ls %14ls\n", L"shape", L"1000 (ms)", L"10000 (ms)", L"bare (ms)",
                 L"10000/1000", L"10000/bare");
    for (int shape = 0; shape < 8; ++shape)
    {
        const std::vector<std::wstring> small = Names(shape, 1000);
        const std::vector<std::wstring> large = Names(shape, 10000);
        const std::vector<double> times =
            MeasureTogether({[&] { Analyse(small); }, [&] { Analyse(large); }, [&] { UpperAndSort(large); }});
        const double smallTime = times[0];
        const double largeTime = times[1];
        const double bare = times[2];
        std::wprintf(L"%-12ls %12.2f %12.2f %12.2f %14.2f %14.2f\n", shapes[shape], smallTime * 1e3, largeTime * 1e3,
                     bare * 1e3, largeTime / smallTime, largeTime / bare);
        std::fflush(stdout);
        if (std::getenv("RENAME_BENCH_PARTS"))
        {
            for (const bool numbers : {true, false})
            {
                const double a = Measure([&] { DerivePattern(small, numbers); });
                const double b = Measure([&] { DerivePattern(large, numbers); });
                std::wprintf(L"  derive numbers=%d: %.2f ms, %.2f ms, ratio %.2f, patterns of %zu and %zu characters\n",
                             numbers, a * 1e3, b * 1e3, b / a, DerivePattern(small, numbers).pattern.size(),
                             DerivePattern(large, numbers).pattern.size());
            }
        }
    }
    return 0;
}

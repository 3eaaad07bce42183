#include "rename/PatternChoice.h"

#include <utility>
#include <vector>

void PatternChoice::Analyse(const RenameModel& model, bool allowExtension, bool numbersAsText)
{
    std::vector<std::wstring> names;
    for (const RenameItem* item : model.ListedItems())
        names.push_back(item->name);
    NameAnalyses analyses = AnalyseNames(names);
    m_analyses = std::move(analyses.byChoice);
    m_extensionChoosable = analyses.extensionChangesPossible;
    m_numbersChoosable = analyses.numbersFound;
    Hold(allowExtension, numbersAsText);
}

void PatternChoice::Choose(bool allowExtension, bool numbersAsText)
{
    const size_t before = AnalysisIndex(m_numbersAsText, m_allowExtension);
    Hold(allowExtension, numbersAsText);
    const size_t after = AnalysisIndex(m_numbersAsText, m_allowExtension);
    if (after != before)
        CarryEdits(m_analyses[before], m_analyses[after]);
}

void PatternChoice::ComputeNumberBases(RenameModel& model)
{
    // Only the readings that detect numbers have any.
    ::ComputeNumberBases(model, m_analyses[AnalysisIndex(false, false)]);
    ::ComputeNumberBases(model, m_analyses[AnalysisIndex(false, true)]);
}

void PatternChoice::TypeReplacement(size_t segment, std::wstring text)
{
    Segment& part = Current().segments[segment];
    SetReplacement(part, std::move(text));
    part.keepValue = false; // a filler too stops yielding the text it matched
}

void PatternChoice::Hold(bool allowExtension, bool numbersAsText) noexcept
{
    m_allowExtension = allowExtension && m_extensionChoosable;
    m_numbersAsText = numbersAsText && m_numbersChoosable;
}

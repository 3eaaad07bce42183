#pragma once

#include "rename/PatternAnalysis.h"
#include "rename/RenameModel.h"

#include <array>
#include <cstddef>
#include <string>

// The four readings of the listed names and the one the two check boxes select. A box that the
// names give no use to stays unticked whatever is asked of it: that is decided here alone.
class PatternChoice
{
  public:
    // Reads the listed names of the model anew, the boxes as asked where the names allow; every
    // edit of the parts is dropped.
    void Analyse(const RenameModel& model, bool allowExtension, bool numbersAsText);
    // Selects the reading the boxes ask for, where the names allow; the edited texts of the common
    // parts go along to it.
    void Choose(bool allowExtension, bool numbersAsText);
    // Gives every number part of the readings that detect numbers the smallest value the included
    // items have there, which renumbering starts from.
    void ComputeNumberBases(RenameModel& model);
    // What the user typed into a common part of the current reading: its replacement from now on.
    void TypeReplacement(size_t segment, std::wstring text);

    PatternAnalysis& Current() noexcept { return m_analyses[AnalysisIndex(m_numbersAsText, m_allowExtension)]; }
    bool AllowExtension() const noexcept { return m_allowExtension; }
    bool NumbersAsText() const noexcept { return m_numbersAsText; }
    bool ExtensionChoosable() const noexcept { return m_extensionChoosable; }
    bool NumbersChoosable() const noexcept { return m_numbersChoosable; }

  private:
    void Hold(bool allowExtension, bool numbersAsText) noexcept;

    std::array<PatternAnalysis, 4> m_analyses;
    bool m_extensionChoosable = true;
    bool m_numbersChoosable = true;
    bool m_allowExtension = false;
    bool m_numbersAsText = false;
};

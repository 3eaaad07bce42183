#pragma once

#include <string>
#include <vector>

// One example of the user reference (docs/reference.html): a table row holding a
// <code class="format"> or <code class="tag">, a <td class="item"> naming its sample items
// (separated by <br>), an optional <code class="separator">, and a <samp> whose class says what the
// text gives: "result" (the output), "error" (the message) or "invalid" (a rename text refused).
// A row's data-needs names what the platform must offer for it to run.
struct ReferenceExample
{
    std::wstring text;
    std::vector<std::wstring> items;
    bool hasSeparator = false;
    std::wstring separator;
    std::wstring outcome;
    std::wstring expected;
    std::wstring needs;
    std::wstring row; // the row's markup, to name it in a failure
};

// The examples of one kind ("format" or "tag") in page order. Fails the running test when a marked
// element cannot be read, or when a code element of that kind stands outside a complete example.
std::vector<ReferenceExample> ReadReferenceExamples(const std::wstring& kind);

// A local time, as the reference states its samples' times, in file-time units (UTC).
unsigned long long LocalFileTime(int year, int month, int day, int hour, int minute, int second);

// The reference's sample items, made at the paths the page shows (C:\Users\Ann\...) in the test's
// Wine prefix, with fixed sizes and times; what it made goes again when it goes.
class ReferenceSamples
{
  public:
    ReferenceSamples() = default;
    ReferenceSamples(const ReferenceSamples&) = delete;
    ReferenceSamples& operator=(const ReferenceSamples&) = delete;
    ~ReferenceSamples();

    struct Times
    {
        unsigned long long modified;
        unsigned long long created;
        unsigned long long accessed;
    };
    // A folder, with the folders above it that are missing.
    [[nodiscard]] bool AddFolder(const std::wstring& path);
    [[nodiscard]] bool AddFolder(const std::wstring& path, const Times& times);
    [[nodiscard]] bool AddFile(const std::wstring& path, size_t size, const Times& times);
    // False when the file system kept another creation time than the one given (Wine on most Unix
    // file systems cannot set it).
    bool CreationTimesKept() const noexcept { return m_creationTimesKept; }

  private:
    [[nodiscard]] bool SetTimes(const std::wstring& path, const Times& times);

    std::vector<std::wstring> m_made;
    bool m_creationTimesKept = true;
};

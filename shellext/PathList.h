#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of full paths kept in one block, each followed by a NUL: a right-click on ten
// thousand items costs two allocations, not ten thousand.
class PathList
{
  public:
    PathList() = default;
    PathList(std::initializer_list<std::wstring_view> paths);

    // Paths one after another, each ended by a NUL, up to an empty one or the end (a drop list).
    static PathList FromNulSeparated(std::wstring_view list);

    void Append(std::wstring_view path);

    size_t size() const noexcept { return m_starts.size(); }
    bool empty() const noexcept { return m_starts.empty(); }
    std::wstring_view operator[](size_t index) const noexcept;
    // The same path, NUL-terminated, for platform calls.
    const wchar_t* CStr(size_t index) const noexcept { return m_block.c_str() + m_starts[index]; }

    class Iterator
    {
      public:
        Iterator(const PathList& list, size_t index) noexcept : m_list(&list), m_index(index) {}
        std::wstring_view operator*() const noexcept { return (*m_list)[m_index]; }
        Iterator& operator++() noexcept
        {
            ++m_index;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const PathList* m_list;
        size_t m_index;
    };
    Iterator begin() const noexcept { return {*this, 0}; }
    Iterator end() const noexcept { return {*this, size()}; }

    bool operator==(const PathList& other) const = default;

  private:
    std::wstring m_block;
    std::vector<size_t> m_starts;
};

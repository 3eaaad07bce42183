#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of full paths kept in one block, each followed by a NUL: a right-click on ten
// thousand items costs two allocations, not ten thousand. The block may be memory the list does
// not own (the drop list of a right-click), kept alive by a shared owner and never copied.
class PathList
{
  public:
    PathList() = default;
    PathList(std::initializer_list<std::wstring_view> paths);

    // Paths one after another, each ended by a NUL, up to an empty one or the end (a drop list).
    // With an owner that keeps the memory alive and unchanged, the list views it instead of
    // copying it, provided every path in it ends with its NUL.
    static PathList FromNulSeparated(std::wstring_view list, std::shared_ptr<const void> owner = {});

    void Append(std::wstring_view path);

    size_t size() const noexcept { return m_starts.size(); }
    bool empty() const noexcept { return m_starts.empty(); }
    std::wstring_view operator[](size_t index) const noexcept;
    // The same path, NUL-terminated, for platform calls.
    const wchar_t* CStr(size_t index) const noexcept { return Block() + m_starts[index]; }

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

    bool operator==(const PathList& other) const;

  private:
    const wchar_t* Block() const noexcept { return m_owner ? m_view.data() : m_block.c_str(); }
    size_t BlockSize() const noexcept { return m_owner ? m_view.size() : m_block.size(); }
    // Turns a view into a block of its own, before it changes.
    void Own();

    std::wstring m_block;
    std::shared_ptr<const void> m_owner; // set while the list views memory it does not own
    std::wstring_view m_view;            // that memory, each path with its NUL
    std::vector<size_t> m_starts;
};

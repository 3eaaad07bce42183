#include "copynames/ItemFormat.h"

#include "copynames/PropertyRuntime.h"
#include "resources/resource.h"
#include "winsupport/ComPtr.h"
#include "winsupport/Resources.h"

#include <optional>
#include <string_view>

namespace
{
bool IsAsciiAlnum(wchar_t c) noexcept
{
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Parameters are ASCII by the grammar, so their case is folded by hand.
std::wstring AsciiLower(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

template <typename Value> struct Choice
{
    const wchar_t* tag;
    Value value;
};

// The value of a parameter that must be one of the choices as a whole; none when it is none.
template <typename Value, size_t N>
std::optional<Value> ParseChoice(const std::wstring& parameter, const Choice<Value> (&choices)[N])
{
    const std::wstring lower = AsciiLower(parameter);
    for (const Choice<Value>& choice : choices)
        if (lower == choice.tag)
            return choice.value;
    return std::nullopt;
}

constexpr Choice<ItemPartPath::Separator> kSeparatorTags[] = {
    {L"backslash", ItemPartPath::kBackslash},
    {L"doublebackslash", ItemPartPath::kDoubleBackslash},
    {L"forwardslash", ItemPartPath::kForwardSlash},
    {L"wsl", ItemPartPath::kWslMount},
};
constexpr Choice<ItemPartPath::Encoding> kEncodingTags[] = {
    {L"urlencodenames", ItemPartPath::kEncodeNames},
    {L"urlencode", ItemPartPath::kEncodeAll},
    {L"urlencodenamesutf8", ItemPartPath::kEncodeNamesUtf8},
    {L"urlencodeutf8", ItemPartPath::kEncodeAllUtf8},
    {L"json", ItemPartPath::kEncodeJson},
    {L"markdown", ItemPartPath::kEncodeMarkdown},
    {L"shellquote", ItemPartPath::kShellQuote},
};

// The tags of a path attribute, separated by commas: a separator and an encoding, the last of each
// kind counting; false for an unknown tag.
bool ParsePathTags(const std::wstring& parameter, ItemPartPath::Separator& separator, ItemPartPath::Encoding& encoding)
{
    separator = ItemPartPath::kBackslash;
    encoding = ItemPartPath::kNoEncoding;
    size_t start = 0;
    while (start <= parameter.size())
    {
        size_t end = parameter.find(L',', start);
        if (end == std::wstring::npos)
            end = parameter.size();
        const std::wstring tag = parameter.substr(start, end - start);
        if (const auto value = ParseChoice(tag, kSeparatorTags))
            separator = *value;
        else if (const auto kind = ParseChoice(tag, kEncodingTags))
            encoding = *kind;
        else if (!tag.empty())
            return false;
        start = end + 1;
    }
    return true;
}

constexpr Choice<ItemPartDate::Format> kDateTags[] = {
    {L"", ItemPartDate::kShortDateTime},
    {L"shortdatetime", ItemPartDate::kShortDateTime},
    {L"longdatetime", ItemPartDate::kLongDateTime},
    {L"shortdate", ItemPartDate::kShortDate},
    {L"longdate", ItemPartDate::kLongDate},
};
constexpr Choice<ItemPartSize::Unit> kSizeTags[] = {
    {L"", ItemPartSize::kBytes},       {L"b", ItemPartSize::kBytes},      {L"kb", ItemPartSize::kKilobytes},
    {L"mb", ItemPartSize::kMegabytes}, {L"gb", ItemPartSize::kGigabytes}, {L"auto", ItemPartSize::kAuto},
};

// Attribute names, compared exactly, with the path kind or time they stand for.
constexpr Choice<ItemPartPath::Kind> kPathAttributes[] = {
    {L"path", ItemPartPath::kFullPath},
    {L"name", ItemPartPath::kName},
    {L"folder", ItemPartPath::kFolder},
    {L"ext", ItemPartPath::kExtension},
    {L"namenoext", ItemPartPath::kNameWithoutExtension},
};
constexpr Choice<ItemPartDate::Time> kDateAttributes[] = {
    {L"moddate", ItemPartDate::kLastWrite},
    {L"credate", ItemPartDate::kCreation},
    {L"accdate", ItemPartDate::kLastAccess},
};

bool PropertyNameIsKnown(const std::wstring& name)
{
    if (name.empty())
        return false;
    const std::shared_ptr<PropertyRunTimeDLLs> runtime = GetPropertyRuntime();
    if (!runtime->IsLoaded())
        return false;
    ComPtr<IPropertyDescription> description;
    const std::wstring canonical = L"System." + name;
    return SUCCEEDED(
        runtime->Entries().getPropertyDescriptionByName(canonical.c_str(), IID_PPV_ARGS(description.Put())));
}
} // namespace

bool ItemFormat::SetDefinition(const std::wstring& text)
{
    // A new format has no definition yet, so even an empty first text is parsed (and refused).
    if (m_hasDefinition && text == m_definition)
        return m_error.empty();
    m_hasDefinition = true;
    m_definition = text;
    m_error.clear();
    m_parts.clear();
    Parse();
    changed = true;
    return m_error.empty();
}

void ItemFormat::SetSeparator(const std::wstring& text)
{
    if (text == m_separator)
        return;
    m_separator = text;
    changed = true;
}

void ItemFormat::MakeSimple(ItemPartPath::Kind pathKind)
{
    SetSeparator(L"\n");
    m_parts.push_back(std::make_unique<ItemPartPath>(pathKind, ItemPartPath::kBackslash, ItemPartPath::kNoEncoding));
    m_trailingNewline = true;
}

void ItemFormat::Parse()
{
    const std::wstring& text = m_definition;
    m_position = 0;
    bool sawReference = false;
    while (true)
    {
        std::wstring literal;
        while (m_position < text.size())
        {
            const wchar_t c = text[m_position];
            if (c == L'$' || c == L'[' || c == L']' || c == L'\n')
                break;
            if (c != L'\\' || m_position + 1 == text.size())
            {
                literal += c;
                ++m_position;
                continue;
            }
            const wchar_t next = text[m_position + 1];
            m_position += 2;
            switch (next)
            {
            case L'$':
            case L'[':
            case L']':
            case L'\\':
            case L'|':
                literal += next;
                break;
            case L'n':
                literal += L'\n';
                break;
            case L'r':
                literal += L'\r';
                break;
            case L't':
                literal += L'\t';
                break;
            default:
                literal += L'\\';
                literal += next;
                break;
            }
        }
        if (!literal.empty())
            m_parts.push_back(std::make_unique<ItemPartText>(std::move(literal)));

        if (m_position == text.size() || text[m_position] == L'\n' || text[m_position] == L'[')
            break;
        if (text[m_position] == L']')
        {
            m_error = LoadStringResource(IDS_FORMAT_UNEXPECTED_BRACKET);
            return;
        }
        ++m_position; // the '$'
        sawReference = true;
        ParseReference();
    }
    if (!sawReference)
        m_error = LoadStringResource(IDS_FORMAT_NO_VARIABLES);
}

void ItemFormat::ParseReference()
{
    const std::wstring& text = m_definition;
    const size_t nameStart = m_position;
    while (m_position < text.size() && IsAsciiAlnum(text[m_position]))
        ++m_position;
    const std::wstring name = text.substr(nameStart, m_position - nameStart);
    if (name.empty())
    {
        m_error = LoadStringResource(IDS_FORMAT_INVALID_DOLLAR);
        return;
    }
    std::wstring parameter;
    if (m_position < text.size() && text[m_position] == L':')
    {
        const size_t parameterStart = ++m_position;
        while (m_position < text.size() &&
               (IsAsciiAlnum(text[m_position]) || text[m_position] == L'.' || text[m_position] == L','))
            ++m_position;
        parameter = text.substr(parameterStart, m_position - parameterStart);
    }
    if (m_position < text.size() && text[m_position] == L';')
        ++m_position;

    if (auto part = MakePart(name, parameter))
        m_parts.push_back(std::move(part));
}

std::unique_ptr<ItemPartBase> ItemFormat::MakePart(const std::wstring& name, const std::wstring& parameter)
{
    auto invalidTag = [&]() -> std::unique_ptr<ItemPartBase> {
        m_error = FormatStringResource(IDS_FORMAT_INVALID_TAG, {parameter, name});
        return nullptr;
    };
    for (const auto& attribute : kPathAttributes)
    {
        if (name != attribute.tag)
            continue;
        auto separator = ItemPartPath::kBackslash;
        auto encoding = ItemPartPath::kNoEncoding;
        if (!ParsePathTags(parameter, separator, encoding))
            return invalidTag();
        return std::make_unique<ItemPartPath>(attribute.value, separator, encoding);
    }
    for (const auto& attribute : kDateAttributes)
    {
        if (name != attribute.tag)
            continue;
        const auto format = ParseChoice(parameter, kDateTags);
        if (!format)
            return invalidTag();
        return std::make_unique<ItemPartDate>(attribute.value, *format);
    }
    if (name == L"size")
    {
        const auto unit = ParseChoice(parameter, kSizeTags);
        if (!unit)
            return invalidTag();
        return std::make_unique<ItemPartSize>(*unit);
    }
    if (name == L"type")
        return std::make_unique<ItemPartType>();
    if (name == L"property" && PlatformHasPropertySystem())
    {
        // An unknown property still gets its part; the definition is invalid all the same.
        if (!PropertyNameIsKnown(parameter))
            m_error = FormatStringResource(IDS_FORMAT_INVALID_PROPERTY, {parameter});
        return std::make_unique<ItemPartProperty>(parameter);
    }
    m_error = FormatStringResource(IDS_FORMAT_NO_SUCH_ATTRIBUTE, {name});
    return nullptr;
}

std::wstring ResolveSeparator(const std::wstring& separator)
{
    std::wstring resolved;
    resolved.reserve(separator.size());
    for (size_t index = 0; index < separator.size(); ++index)
    {
        const wchar_t c = separator[index];
        if (c != L'\\')
        {
            resolved += c;
            continue;
        }
        if (++index == separator.size())
            break;
        const wchar_t next = separator[index];
        resolved += next == L'n' ? L'\n' : next == L'r' ? L'\r' : next == L't' ? L'\t' : next;
    }
    return resolved;
}

void ItemFormat::Format(const ItemList& list, ClipboardText& text) const
{
    FetchPropertyValues(m_parts, list.Output());
    text.Clear();
    const std::wstring separator = ResolveSeparator(m_separator);
    bool first = true;
    for (const CFItem* item : list.Output())
    {
        if (!first)
            text.Append(separator);
        first = false;
        for (const auto& part : m_parts)
            part->AppendTo(*item, text);
    }
    if (m_trailingNewline && list.Output().size() >= 2)
        text.Append(L"\n");
}

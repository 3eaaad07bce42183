#include "tests/support/XmlSamples.h"

#include "winsupport/UniqueHandle.h"

#include <windows.h>

#include <exception>

namespace
{
template <size_t N> std::string_view Pick(std::mt19937& random, const std::string_view (&choices)[N])
{
    return choices[random() % N];
}

bool Chance(std::mt19937& random, unsigned percent)
{
    return random() % 100 < percent;
}

// Element and attribute names: the reader takes quotes, apostrophes, '<', '=' and '!' into an
// element's name, and quotes and apostrophes into an attribute's.
constexpr std::string_view kElementNames[] = {
    "a", "Preset", "Name", "x:y", "a\"", "a'", "b\"c", "d'e", "=", "<x", "\xC3\xA9t\xC3\xA9", "v\x0B", "a-b.c"};
constexpr std::string_view kAttributeNames[] = {"x", "y\"", "z'", "\"", "a-b", "\xC3\xA9"};

// Pieces of text and attribute values: every reference the reader expands or keeps as it stands
// (an unknown name, a lone '&', hexadecimal digits in a decimal reference, a code point that wraps
// past 32 bits), and, more rarely, the ones it refuses.
constexpr std::string_view kTextPieces[] = {
    "text",      " ",      "\r\n",     "\t",        "&amp;", "&lt;", "&gt;", "&quot;", "&apos;",
    "&#65;",     "&#x42;", "&#x263A;", "&#128512;", "&#1a;", "&#;",  "&#x;", "&#0;",   "&#4294967361;",
    "&unknown;", "&",      "&am",      "&a",        "\"",    "'",    ">",    "]]>",    "\xC3\xA9",
    "--",        "?>",     "[",        "]"};
constexpr std::string_view kRefusedReferences[] = {"&#x110000;", "&#X41;", "&#65", "&#"};

constexpr std::string_view kProcessingInstructions[] = {"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                                                        "<?XmL version='1.0'?>",
                                                        "<?xml?>",
                                                        "<?pi some data?>",
                                                        "<?\?>",
                                                        "<?>?>",
                                                        "<?a <b> ?>",
                                                        "<?xml\tversion=\"1.0\"?>"};
constexpr std::string_view kDeclarations[] = {"<!DOCTYPE a>",
                                              "<!DOCTYPE a [ <!ENTITY e 'x'> ]>",
                                              "<!DOCTYPE a [[]]>",
                                              "<!DOCTYPE\ta [ <b> ]>",
                                              "<!DOCTYPEa>",
                                              "<!X anything>",
                                              "<!>",
                                              "<!-x>",
                                              "<![CDAT[x>"};

std::string Text(std::mt19937& random)
{
    std::string text;
    for (unsigned pieces = 1 + random() % 3; pieces > 0; --pieces)
        text += Chance(random, 2) ? Pick(random, kRefusedReferences) : Pick(random, kTextPieces);
    return text;
}

std::string Comment(std::mt19937& random)
{
    if (Chance(random, 15))
        return Chance(random, 50) ? "<!-->-->" : "<!--->-->";
    return "<!--" + Text(random) + "-->";
}

std::string CData(std::mt19937& random)
{
    std::string text = Text(random);
    for (size_t end; (end = text.find("]]>")) != std::string::npos;)
        text.erase(end, 3);
    return "<![CDATA[" + text + "]]>";
}

std::string Space(std::mt19937& random)
{
    constexpr std::string_view kSpaces[] = {"", "", " ", "\n", "\r\n  ", "\t"};
    return std::string(Pick(random, kSpaces));
}

std::string Attribute(std::mt19937& random)
{
    const char quote = Chance(random, 50) ? '"' : '\'';
    std::string value = Text(random);
    std::erase(value, quote);
    std::string attribute(" ");
    attribute += Pick(random, kAttributeNames);
    attribute += Space(random) + "=" + Space(random);
    attribute += quote;
    attribute += value;
    attribute += quote;
    return attribute;
}

std::string Element(std::mt19937& random, size_t depth, size_t maxDepth)
{
    const std::string name(Pick(random, kElementNames));
    std::string element = "<" + name;
    for (unsigned attributes = random() % 3; attributes > 0; --attributes)
        element += Attribute(random);
    if (depth >= maxDepth || Chance(random, 15))
        return element + Space(random) + "/>";
    element += ">";
    for (unsigned children = random() % 5; children > 0; --children)
    {
        const unsigned kind = random() % 7;
        if (kind < 3)
            element += Element(random, depth + 1, maxDepth);
        else if (kind == 3)
            element += Text(random);
        else if (kind == 4)
            element += CData(random);
        else if (kind == 5)
            element += Comment(random);
        else
            element += Pick(random, kProcessingInstructions);
    }
    // The reader does not check that a closing tag names its element.
    const std::string closing = Chance(random, 80) ? name : std::string(Pick(random, kElementNames));
    return element + "</" + closing + Space(random) + ">";
}

std::string WellFormedDocument(std::mt19937& random, size_t maxDepth)
{
    std::string document;
    if (Chance(random, 20))
        document += "\xEF\xBB\xBF";
    if (Chance(random, 60))
        document += std::string(Pick(random, kProcessingInstructions)) + Space(random);
    if (Chance(random, 20))
        document += std::string(Pick(random, kDeclarations)) + Space(random);
    if (Chance(random, 30))
        document += Comment(random) + Space(random);
    if (Chance(random, 5))
        document += CData(random); // kept by the reader as the document's own text
    for (unsigned roots = Chance(random, 90) ? 1 : random() % 3; roots > 0; --roots)
        document += Element(random, 1, maxDepth) + Space(random);
    if (Chance(random, 20))
        document += Comment(random) + Space(random);
    return document;
}

void Mutate(std::mt19937& random, std::string& document)
{
    constexpr std::string_view kInsertions[] = {"<",   ">",   "\"", "'",         "&",         std::string_view("\0", 1),
                                                "]]>", "-->", "?>", "</a>",      "<a>",       "/",
                                                "=",   "[",   "]",  "<!--",      "<![CDATA[", "&#",
                                                ";",   " ",   "<?", "<!DOCTYPE "};
    const size_t at = random() % (document.size() + 1);
    switch (random() % 5)
    {
    case 0:
    case 1:
        document.insert(at, Pick(random, kInsertions));
        break;
    case 2:
        document.erase(at, 1 + random() % 8);
        break;
    case 3:
        document.insert(at, document.substr(at, random() % 16));
        break;
    default:
        document.resize(at);
        break;
    }
}

constexpr size_t kKilobyte = 1024;
} // namespace

std::string RandomXmlDocument(std::mt19937& random, size_t maxDepth)
{
    std::string document = WellFormedDocument(random, maxDepth);
    if (Chance(random, 50))
    {
        for (unsigned mutations = 1 + random() % 3; mutations > 0; --mutations)
            Mutate(random, document);
    }
    return document;
}

std::vector<std::string> DeepXmlDocuments(size_t maxSize)
{
    struct Kind
    {
        std::string_view first; // before the first level
        std::string_view level;
    };
    // A quote or apostrophe in the first name hides every later tag from a check that takes quotes
    // inside a tag for an attribute's value.
    constexpr Kind kKinds[] = {
        {"<a\">", "<b>"},
        {"<a'>", "<b>"},
        {"", "<b>"},
        {"<BrelvantaConfig><MainMenu>", "<Command x='1'>"},
        {"<Presets><Preset>", "<Name><!-- -->text"},
        {"<?xml version=\"1.0\"?><a\"b='c'>", "<d\"e>"},
        {"", "<b'><c\">"},
        {"", "<b/><b>"},
    };
    std::vector<std::string> documents;
    for (const size_t size : {60 * kKilobyte, 600 * kKilobyte, maxSize})
    {
        for (const Kind& kind : kKinds)
        {
            std::string document(kind.first);
            while (document.size() + kind.level.size() <= std::min(size, maxSize))
                document += kind.level;
            documents.push_back(std::move(document));
        }
    }
    // Nested and closed again, as a valid document would be.
    std::string closed;
    const size_t levels = maxSize / 8;
    closed.reserve(levels * 7);
    for (size_t level = 0; level < levels; ++level)
        closed += "<b>";
    for (size_t level = 0; level < levels; ++level)
        closed += "</b>";
    documents.push_back(std::move(closed));
    return documents;
}

namespace
{
struct SmallStackWork
{
    const std::function<void()>& work;
    bool returned = false; // set only by a normal return: a thread can end without one
};

DWORD WINAPI RunWork(void* context)
{
    auto& run = *static_cast<SmallStackWork*>(context);
    try
    {
        run.work();
        run.returned = true;
    }
    catch (const std::exception&)
    {
    }
    return 0;
}
} // namespace

bool RunOnSmallStack(size_t stackSize, const std::function<void()>& work)
{
    SmallStackWork run{work};
    const UniqueKernelHandle thread(
        ::CreateThread(nullptr, stackSize, &RunWork, &run, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    return thread && ::WaitForSingleObject(thread.Get(), INFINITE) == WAIT_OBJECT_0 && run.returned;
}

std::optional<size_t> ReadSamplesOnSmallStack(size_t maxSize, size_t maxDepth, unsigned seed,
                                              const std::function<bool(const std::string&)>& read)
{
    std::vector<std::string> documents = DeepXmlDocuments(maxSize);
    std::mt19937 random(seed);
    for (int round = 0; round < 3000; ++round)
        documents.push_back(RandomXmlDocument(random, 2 * maxDepth));
    size_t count = 0;
    if (!RunOnSmallStack(64 * 1024, [&documents, &read, &count] {
            for (const std::string& document : documents)
                count += read(document) ? 1 : 0;
        }))
        return std::nullopt;
    return count;
}

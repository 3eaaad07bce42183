#pragma once

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Documents for tests of the XML reader and of the files read with it.

// A random document from a small grammar of everything the reader knows (byte-order mark,
// declaration, processing instructions, DOCTYPE, comments, CDATA, character references, quotes
// and apostrophes in names), with elements nested at most maxDepth deep; about half of them are
// then mutated at random (bytes inserted, deleted, repeated, a NUL, the end cut off).
std::string RandomXmlDocument(std::mt19937& random, size_t maxDepth);

// Documents nesting elements tens of thousands deep, each at most maxSize bytes, in sizes from 60 KB
// up to maxSize: plain, valid, and hidden from simpler readers by a quote or apostrophe in a name.
std::vector<std::string> DeepXmlDocuments(size_t maxSize);

// Runs work on a thread of its own whose stack holds only stackSize bytes; true when work returned
// without throwing. Code that recursed once per level of a document would not return.
bool RunOnSmallStack(size_t stackSize, const std::function<void()>& work);

// Hands the deep documents (up to maxSize bytes) and 3,000 random ones (up to twice maxDepth deep)
// to read on a thread with a 64 KB stack: the number that read returned true for, or nothing when
// the thread did not return.
std::optional<size_t> ReadSamplesOnSmallStack(size_t maxSize, size_t maxDepth, unsigned seed,
                                              const std::function<bool(const std::string&)>& read);

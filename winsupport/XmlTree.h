#pragma once

#include <boost/property_tree/ptree.hpp>

#include <string>
#include <string_view>

// The product's XML files, MenuCommands.xml and Presets.xml, read into and written from a property
// tree without the standard streams: the same trees and the same bytes as the property tree's own
// XML functions, but without the stream and locale library, which would otherwise make up a third of
// each binary.

// Parses a document into the tree the property tree's reader makes with no flags: comments kept as
// "<xmlcomment>" children, attributes under "<xmlattr>", texts and CDATA taken as they stand and
// joined, the five named and all numeric character references expanded, closing tags not checked
// against their elements. The data ends at the first NUL. Throws std::exception on malformed XML and
// on elements nested deeper than maxDepth (the document element is at depth 1). The reader keeps
// its own stack and the tree it returns is at most maxDepth + 2 levels deep, so no document can
// exhaust the calling thread's stack, neither while it is read nor when its tree is destroyed.
boost::property_tree::ptree ParseXmlTree(std::string_view bytes, size_t maxDepth);

// The document the property tree's writer makes with indent character space, indent count 0 and
// encoding "utf-8": the declaration, a line feed, and the whole tree on one line.
std::string WriteXmlTree(const boost::property_tree::ptree& tree);

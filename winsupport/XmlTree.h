#pragma once

#include <boost/property_tree/ptree.hpp>

#include <string>
#include <string_view>

// The product's XML files, MenuCommands.xml and Presets.xml, read into and written from a property
// tree without the standard streams: the same parser and the same bytes as the property tree's own
// XML functions, but without the stream and locale library, which would otherwise make up a third of
// each binary.

// Parses a document as the property tree's reader does with no flags: comments kept as
// "<xmlcomment>" children, attributes under "<xmlattr>", texts taken as they stand. The data ends at
// the first NUL. Throws std::exception on malformed XML.
boost::property_tree::ptree ParseXmlTree(std::string_view bytes);

// The document the property tree's writer makes with indent character space, indent count 0 and
// encoding "utf-8": the declaration, a line feed, and the whole tree on one line.
std::string WriteXmlTree(const boost::property_tree::ptree& tree);

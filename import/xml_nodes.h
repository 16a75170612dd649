#pragma once
// Finding elements of StationXML and QuakeML by their local names, whatever
// prefix their namespaces carry in a given file.

#include <pugixml.hpp>

#include <string_view>

namespace orvane::import {

/// The local name of an element: its name after any "prefix:".
inline std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

/// The first child element of `node` with the local name `name`, or none.
inline pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && localName(c) == name) return c;
    return {};
}

}  // namespace orvane::import

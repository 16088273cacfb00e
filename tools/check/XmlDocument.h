#pragma once
// A data file read into a plain element tree that remembers the line each element starts on, so that
// every problem can be reported where an author will find it.

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace check {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;
    int line = 0;
    XmlElement* parent = nullptr;
    std::vector<std::unique_ptr<XmlElement>> children;

    // The attribute's value, "" when it is missing.
    const std::string& attribute(const std::string& key) const;
    const XmlElement* child(std::size_t index) const {
        return index < children.size() ? children[index].get() : nullptr;
    }
};

struct XmlDocument {
    std::unique_ptr<XmlElement> root; // the top element; null when the text holds none
    std::string error;                // the parser's complaint, "" for a well-formed document
    int errorLine = 0;
};

XmlDocument parseXml(const std::string& text);

} // namespace check

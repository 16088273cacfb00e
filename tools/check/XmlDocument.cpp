#include "XmlDocument.h"

#include <expat.h>

namespace check {

namespace {

struct Builder {
    XML_Parser parser;
    std::unique_ptr<XmlElement> root;
    XmlElement* current = nullptr;

    static void start(void* data, const char* name, const char** attributes) {
        auto* builder = static_cast<Builder*>(data);
        auto element = std::make_unique<XmlElement>();
        element->name = name;
        element->line = static_cast<int>(XML_GetCurrentLineNumber(builder->parser));
        for (int i = 0; attributes[i]; i += 2)
            element->attributes.emplace_back(attributes[i], attributes[i + 1]);
        XmlElement* raw = element.get();
        if (builder->current) {
            element->parent = builder->current;
            builder->current->children.push_back(std::move(element));
        } else if (!builder->root) {
            builder->root = std::move(element);
        }
        builder->current = raw;
    }

    static void end(void* data, const char*) {
        auto* builder = static_cast<Builder*>(data);
        builder->current = builder->current->parent;
    }

    static void text(void* data, const char* s, int length) {
        auto* builder = static_cast<Builder*>(data);
        if (builder->current)
            builder->current->text.append(s, length);
    }
};

} // namespace

const std::string& XmlElement::attribute(const std::string& key) const {
    static const std::string none;
    for (const auto& [name, value] : attributes)
        if (name == key)
            return value;
    return none;
}

XmlDocument parseXml(const std::string& text) {
    Builder builder;
    builder.parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(builder.parser, &builder);
    XML_SetElementHandler(builder.parser, Builder::start, Builder::end);
    XML_SetCharacterDataHandler(builder.parser, Builder::text);
    XmlDocument document;
    if (XML_Parse(builder.parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_ERROR) {
        document.error = XML_ErrorString(XML_GetErrorCode(builder.parser));
        document.errorLine = static_cast<int>(XML_GetCurrentLineNumber(builder.parser));
    }
    XML_ParserFree(builder.parser);
    document.root = std::move(builder.root);
    return document;
}

} // namespace check

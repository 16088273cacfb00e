#include "TorvexContent.h"

#include "NameCache.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <new>
#include <sstream>
#include <utility>

// The system library is built with DTD support, which is what carries the entity amplification guard;
// its header declares the guard's setters only under this macro.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

namespace {

// Large reads straight into expat's own buffer: one copy of the file's bytes, few calls.
constexpr int kReadChunkBytes = 1 << 20;
// Real atlases nest a few dozen levels; a hostile document nested far deeper would only cost memory and,
// when the tree is freed or copied, call stack.
constexpr std::size_t kMaximumDepth = 512;
// The data file declares no entities, so any noticeable amplification is an attack: stop it early.
constexpr unsigned long long kAmplificationCheckAfterBytes = 1 << 20;
constexpr float kMaximumAmplification = 20.0f;

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ExpatParser = std::unique_ptr<XML_ParserStruct, ParserFree>;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void XMLCALL startElement(void* content, const XML_Char* name, const XML_Char** attributes) {
    static_cast<TorvexContent*>(content)->didStartElement(name, attributes);
}

void XMLCALL characterData(void* content, const XML_Char* text, int length) {
    static_cast<TorvexContent*>(content)->foundCharacters(
        std::string_view(text, static_cast<std::size_t>(length)));
}

void XMLCALL endElement(void* content, const XML_Char* name) {
    static_cast<TorvexContent*>(content)->didEndElement(name);
}

void logLine(const std::string& line) {
    std::cerr << "torvex: " << line << '\n';
}

} // namespace

// What a parse needs only while it runs. Content reaches a node when its element ends: children and
// text collect per nesting level in buffers that keep their capacity from one element to the next, so
// each node gets one exactly sized allocation for each instead of a series of growing ones.
struct TorvexContent::ParseState {
    struct Level {
        std::string text;
        std::vector<std::unique_ptr<TreeNode>> children;
    };

    ExpatParser parser;
    std::string sourceName;
    std::vector<Level> levels; // levels[i] collects for stack[i]
    NameCache names;
    std::vector<NodeAttributes::Attribute> attributes;
    Name part{"part"};
    Name point{"point"};
    std::size_t partsWithoutHeader = 0;
    std::size_t pointsWithoutInfoid = 0;
    bool stopped = false;
};

TorvexContent::TorvexContent(std::filesystem::path bundleDirectory)
    : bundleDirectory_(std::move(bundleDirectory)) {}

TorvexContent::~TorvexContent() = default;

TorvexContent::LoadStatus TorvexContent::parseXMLFileAtFile(std::string_view fileName) {
    parseXMLFile(bundleDirectory_ / fileName);
    return status_;
}

TreeNode* TorvexContent::parseXMLFile(const std::filesystem::path& path) {
    beginDocument(path.string());
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        reportProblem(LoadStatus::Unreadable,
                      "cannot open the data file " + path.string() + ": " + std::strerror(errno));
        return endDocument();
    }
    XML_Parser parser = parsing_->parser.get();
    for (;;) {
        void* buffer = XML_GetBuffer(parser, kReadChunkBytes);
        if (!buffer) {
            reportParseError();
            break;
        }
        std::size_t length = std::fread(buffer, 1, kReadChunkBytes, file.get());
        if (std::ferror(file.get())) {
            reportProblem(LoadStatus::Unreadable,
                          "cannot read the data file " + path.string() + ": " + std::strerror(errno));
            break;
        }
        bool last = std::feof(file.get()) != 0;
        if (XML_ParseBuffer(parser, static_cast<int>(length), last) != XML_STATUS_OK) {
            reportParseError();
            break;
        }
        if (last)
            break;
    }
    return endDocument();
}

TreeNode* TorvexContent::parseXMLData(std::string_view xml, std::string_view sourceName) {
    beginDocument(sourceName);
    XML_Parser parser = parsing_->parser.get();
    do {
        std::size_t length = std::min<std::size_t>(xml.size(), kReadChunkBytes);
        bool last = length == xml.size();
        if (XML_Parse(parser, xml.data(), static_cast<int>(length), last) != XML_STATUS_OK) {
            reportParseError();
            break;
        }
        xml.remove_prefix(length);
    } while (!xml.empty());
    return endDocument();
}

void TorvexContent::beginDocument(std::string_view sourceName) {
    indexDictionary.clear();
    allInfo.reset();
    document_ = TreeNode::init();
    root = document_.get();
    stack.assign(1, root);
    status_ = LoadStatus::Loaded;
    errorMessage_.clear();
    carved_ = false;

    parsing_ = std::make_unique<ParseState>();
    parsing_->sourceName = sourceName;
    parsing_->levels.resize(1);
    parsing_->parser.reset(XML_ParserCreate(nullptr));
    XML_Parser parser = parsing_->parser.get();
    if (!parser)
        throw std::bad_alloc();
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, startElement, endElement);
    XML_SetCharacterDataHandler(parser, characterData);
    // Nothing outside the file is ever read: no external DTD, no external entities (there is no handler
    // for them, so expat skips their references).
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, kAmplificationCheckAfterBytes);
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, kMaximumAmplification);
}

TreeNode* TorvexContent::endDocument() {
    for (std::size_t level = stack.size(); level-- > 0;)
        attachPendingContent(level);
    stack.resize(1);
    const ParseState& state = *parsing_;
    if (state.partsWithoutHeader > 0 || state.pointsWithoutInfoid > 0) {
        std::ostringstream line;
        line << state.sourceName << ": left out of the index: " << state.partsWithoutHeader
             << " \"part\" element(s) without \"header\", " << state.pointsWithoutInfoid
             << " \"point\" element(s) without \"infoid\"";
        logLine(line.str());
    }
    parsing_.reset();
    return root->lastChild();
}

void TorvexContent::attachPendingContent(std::size_t level) {
    ParseState::Level& pending = parsing_->levels[level];
    TreeNode& node = *stack[level];
    if (!pending.text.empty()) {
        node.leafvalue.append(pending.text);
        pending.text.clear();
    }
    if (!pending.children.empty()) {
        node.children.reserve(node.children.size() + pending.children.size());
        for (auto& child : pending.children)
            node.children.push_back(std::move(child));
        pending.children.clear();
    }
}

void TorvexContent::didStartElement(const char* name, const char** attributes) {
    if (!parsing_ || parsing_->stopped)
        return;
    ParseState& state = *parsing_;
    if (stack.size() > kMaximumDepth) {
        std::ostringstream message;
        message << state.sourceName << ": line " << XML_GetCurrentLineNumber(state.parser.get())
                << ": elements nested deeper than " << kMaximumDepth
                << " levels; the elements read before this one are kept";
        reportProblem(LoadStatus::Malformed, message.str());
        state.stopped = true;
        XML_StopParser(state.parser.get(), XML_FALSE);
        return;
    }
    auto node = std::make_unique<TreeNode>(state.names.intern(name));
    node->parent = stack.back();
    state.attributes.clear();
    for (const char** attribute = attributes; attribute && attribute[0]; attribute += 2)
        state.attributes.push_back({state.names.intern(attribute[0]), attribute[1]});
    if (!state.attributes.empty())
        node->dattributes = NodeAttributes(std::span<const NodeAttributes::Attribute>(state.attributes));

    TreeNode& added = *node;
    state.levels[stack.size() - 1].children.push_back(std::move(node));
    stack.push_back(&added);
    if (state.levels.size() < stack.size())
        state.levels.emplace_back();
    enterInIndex(added);
}

void TorvexContent::foundCharacters(std::string_view text) {
    if (!parsing_ || parsing_->stopped)
        return;
    parsing_->levels[stack.size() - 1].text.append(text);
}

void TorvexContent::didEndElement([[maybe_unused]] std::string_view name) {
    if (!parsing_ || parsing_->stopped || stack.size() <= 1)
        return;
    attachPendingContent(stack.size() - 1);
    stack.pop_back();
}

void TorvexContent::enterInIndex(TreeNode& node) {
    ParseState& state = *parsing_;
    if (node.key == state.part) {
        std::string_view header = node.getHeader();
        if (header.empty())
            ++state.partsWithoutHeader;
        else
            indexDictionary.insertIfAbsent(header, &node);
    }
    if (node.key != state.point)
        return;
    std::string_view view = grandparentHeader(node);
    if (view == "Anterior Xray" || (view == "Anterior Skin" && !addPointsAnteriorSkinToIndex))
        return;
    std::string_view infoid = node.attribute("infoid");
    if (infoid.empty())
        ++state.pointsWithoutInfoid;
    else
        indexDictionary.insertIfAbsent(infoid, &node);
}

std::string_view TorvexContent::grandparentHeader(const TreeNode& node) const {
    const TreeNode* grandparent = node.parent ? node.parent->parent : nullptr;
    return grandparent ? grandparent->getHeader() : std::string_view();
}

void TorvexContent::reportParseError() {
    ParseState& state = *parsing_;
    if (state.stopped)
        return;
    XML_Parser parser = state.parser.get();
    std::ostringstream message;
    message << state.sourceName << ": line " << XML_GetCurrentLineNumber(parser) << ", column "
            << XML_GetCurrentColumnNumber(parser) + 1 << ": " << XML_ErrorString(XML_GetErrorCode(parser))
            << "; the elements read before the error are kept";
    reportProblem(LoadStatus::Malformed, message.str());
}

void TorvexContent::reportProblem(LoadStatus status, std::string message) {
    logLine(message);
    if (errorMessage_.empty()) {
        status_ = status;
        errorMessage_ = std::move(message);
    }
}

bool TorvexContent::carve() {
    if (carved_)
        return root && allInfo;
    carved_ = true;
    TreeNode* topElement = document_ ? document_->lastChild() : nullptr;
    allInfo = topElement ? topElement->removeChild(topElement->lastChild()) : nullptr;
    TreeNode* regionContainer = topElement ? topElement->lastChild() : nullptr;
    root = regionContainer ? regionContainer->lastChild() : nullptr;
    if (!allInfo)
        logLine("the data file has no information section (last child of the top element)");
    if (!root)
        logLine("the data file has no top region (last child of the region container)");
    return root && allInfo;
}

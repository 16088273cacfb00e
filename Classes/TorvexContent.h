#pragma once
// The atlas's content as the viewer loads it: the data file "torvex.xml" read into a tree of TreeNode
// (one node per element), the term dictionary filled on the way, and the carving of the working trees
// (the top region and the information section) out of the document.
//
// The viewer owns one TorvexContent and reads its fields under the names it uses for them:
//
//     TorvexContent content(bundleDirectory);
//     content.parseXMLFileAtFile("torvex.xml");   // document root in `root`, terms in `indexDictionary`
//     content.carve();                            // `root` = top region, `allInfo` = information section
//
// The document stays owned here; `root` and the dictionary's nodes point into it, so they live exactly
// as long as this object. `allInfo` is cut out of the document and owned through its own field.

#include "TermDictionary.h"
#include "TreeNode.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TorvexContent {
public:
    enum class LoadStatus {
        NotLoaded,  // nothing parsed yet
        Loaded,     // the whole document was read
        Malformed,  // the document has an error; the elements started before it are kept
        Unreadable, // the file could not be opened or read; anything read before the failure is kept
    };

    explicit TorvexContent(std::filesystem::path bundleDirectory = ".");
    ~TorvexContent();
    TorvexContent(const TorvexContent&) = delete;
    TorvexContent& operator=(const TorvexContent&) = delete;

    void setBundleDirectory(std::filesystem::path directory) { bundleDirectory_ = std::move(directory); }
    const std::filesystem::path& bundleDirectory() const { return bundleDirectory_; }

    // Loads FILENAME (the viewer passes "torvex.xml") from the bundle directory.
    LoadStatus parseXMLFileAtFile(std::string_view fileName);
    // Reads the document at PATH into a fresh tree and returns its top element, or nullptr when the
    // document has none. Afterwards `root` is the document root (no key, no parent), `stack` holds only
    // it, and `indexDictionary` is complete. Problems are written to stderr and kept in status() and
    // errorMessage(); whatever was read before a problem stays in the tree.
    TreeNode* parseXMLFile(const std::filesystem::path& path);
    // The same for a document already in memory; SOURCENAME only names it in messages.
    TreeNode* parseXMLData(std::string_view xml, std::string_view sourceName = "XML data");

    // Cuts the working trees out of the parsed document: `allInfo` := the top element's last child (the
    // information section), taken out of the document; then `root` := the last child of the top element's
    // new last child (the region container), that is the top region. Whatever is missing is left nullptr
    // and reported on stderr. Runs once per document; returns whether both trees were found.
    bool carve();

    // The expat event handlers: ATTRIBUTES alternates names and values and ends with nullptr.
    // Outside a parse they do nothing. Children and text reach a node when its element ends.
    void didStartElement(const char* name, const char** attributes);
    void foundCharacters(std::string_view text);
    void didEndElement(std::string_view name);

    LoadStatus status() const { return status_; }
    // The first problem met by the last load, "" when there was none.
    const std::string& errorMessage() const { return errorMessage_; }
    // The document root of the last load, which owns the whole tree but `allInfo`.
    TreeNode* document() const { return document_.get(); }

    std::vector<TreeNode*> stack;
    TreeNode* root = nullptr;
    std::unique_ptr<TreeNode> allInfo;
    TermDictionary indexDictionary;
    // When off, points in views named "Anterior Skin" stay out of the dictionary.
    bool addPointsAnteriorSkinToIndex = true;

private:
    struct ParseState;

    void beginDocument(std::string_view sourceName);
    TreeNode* endDocument();
    void attachPendingContent(std::size_t level);
    void enterInIndex(TreeNode& node);
    std::string_view grandparentHeader(const TreeNode& node) const;
    void reportParseError();
    void reportProblem(LoadStatus status, std::string message);

    std::filesystem::path bundleDirectory_;
    std::unique_ptr<TreeNode> document_;
    std::unique_ptr<ParseState> parsing_;
    LoadStatus status_ = LoadStatus::NotLoaded;
    std::string errorMessage_;
    bool carved_ = false;
};

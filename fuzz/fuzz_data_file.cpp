// The data file loader on any bytes. The document is read from memory and from a file, and the two
// loads must agree node for node; a second load into the same content must start afresh; then a copy of
// the document is compared with it, the working trees are carved out, and every term of the dictionary
// must lead to a node that the content still owns.

#include "FuzzScratch.h"

#include "Classes/TorvexContent.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_data_file: %s\n", what);
    std::abort();
}

bool sameTree(const TreeNode& a, const TreeNode& b) {
    if (a.key != b.key || a.leafvalue != b.leafvalue || !(a.dattributes == b.dattributes) ||
        a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        if (a.children[i]->parent != &a || b.children[i]->parent != &b ||
            !sameTree(*a.children[i], *b.children[i]))
            return false;
    }
    return true;
}

bool sameTerms(const TermDictionary& a, const TermDictionary& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a.entries()[i].term != b.entries()[i].term)
            return false;
    }
    return true;
}

const TreeNode* topOf(const TreeNode* node) {
    while (node->parent)
        node = node->parent;
    return node;
}

// Every term names a node inside the document or the cut-out information section, and finds it again.
void checkDictionary(const TorvexContent& content) {
    for (const TermDictionary::Entry& entry : content.indexDictionary.entries()) {
        const TreeNode* top = topOf(entry.node);
        if (top != content.document() && top != content.allInfo.get())
            fail("a term leads to a node outside the content");
        if (content.indexDictionary.find(entry.term) != entry.node)
            fail("a term does not find its own node");
    }
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void checkSameLoad(const TorvexContent& fromMemory, const TorvexContent& fromFile) {
    if (fromMemory.status() != fromFile.status())
        fail("the file and the same bytes in memory load differently");
    if (!sameTree(*fromMemory.document(), *fromFile.document()))
        fail("the file and the same bytes in memory give different trees");
    if (!sameTerms(fromMemory.indexDictionary, fromFile.indexDictionary))
        fail("the file and the same bytes in memory give different dictionaries");
    checkDictionary(fromMemory);
}

// A second load into the same content starts afresh; without the skin view's points the dictionary
// can only be smaller.
void checkSecondLoadWithoutSkinPoints(TorvexContent& reused, const TorvexContent& first,
                                      std::string_view xml) {
    reused.addPointsAnteriorSkinToIndex = false;
    reused.parseXMLData(xml, "fuzz input");
    if (!sameTree(*first.document(), *reused.document()))
        fail("a second load into the same content gives a different tree");
    if (reused.indexDictionary.size() > first.indexDictionary.size())
        fail("leaving the skin view's points out made the dictionary larger");
    checkDictionary(reused);
}

void checkCopyAndCarve(TorvexContent& content) {
    auto copy = content.document()->copy();
    if (!sameTree(*copy, *content.document()))
        fail("a copy of the document differs from it");

    bool carved = content.carve();
    if (carved != content.carve())
        fail("carving a second time changed the answer");
    if (carved && (!content.root || !content.allInfo || content.allInfo->parent))
        fail("a successful carve left a tree missing or attached");
    checkDictionary(content);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Nearly every input is malformed, and the loader says so on each load.
    std::cerr.setstate(std::ios::failbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path& folder = fuzz::scratchFolder();
    writeFile(folder / "torvex.xml", xml);

    TorvexContent fromMemory;
    fromMemory.parseXMLData(xml, "fuzz input");
    TorvexContent fromFile(folder);
    fromFile.parseXMLFileAtFile("torvex.xml");

    checkSameLoad(fromMemory, fromFile);
    checkSecondLoadWithoutSkinPoints(fromFile, fromMemory, xml);
    checkCopyAndCarve(fromMemory);
    return 0;
}

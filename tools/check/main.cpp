// torvex-check: checks a bundle's data file and pictures.
//
//   torvex-check BUNDLE            every problem with its line; exit status 1 when there are errors
//   torvex-check --report BUNDLE   the region tree, the index lists and the quiz areas
//   torvex-check --version         the version

#include "BundleCheck.h"
#include "BundleReport.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int report(const std::filesystem::path& bundle) {
    std::ifstream in(bundle / "torvex.xml", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    check::XmlDocument document = check::parseXml(text.str());
    if (!document.root) {
        std::cerr << "torvex-check: " << (bundle / "torvex.xml").string() << " holds no element\n";
        return 1;
    }
    std::cout << check::bundleReport(*document.root);
    return 0;
}

int checkAndPrint(const std::filesystem::path& bundle) {
    std::string file = (bundle / "torvex.xml").string();
    int errors = 0, warnings = 0;
    for (const check::Finding& finding : check::checkBundle(bundle)) {
        bool isError = finding.severity == check::Severity::Error;
        (isError ? errors : warnings)++;
        std::cout << file << ":" << finding.line << ": " << (isError ? "error" : "warning") << ": "
                  << finding.message << "\n";
    }
    std::cout << "torvex-check: " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
              << (warnings == 1 ? " warning\n" : " warnings\n");
    return errors > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && first == "--version") {
        std::cout << "torvex-check " << TORVEX_VERSION << "\n";
        return 0;
    }
    if (argc == 3 && first == "--report")
        return report(argv[2]);
    if (argc == 2 && !first.starts_with("-"))
        return checkAndPrint(first);
    std::cerr
        << "usage: torvex-check BUNDLE\n       torvex-check --report BUNDLE\n       torvex-check --version\n";
    return 2;
}

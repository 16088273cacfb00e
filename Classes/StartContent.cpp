#include "StartContent.h"

#include "Platform/Browser.h"
#include "Platform/Bundle.h"
#include "Platform/Download.h"
#include "Platform/ImageDecoder.h"
#include "Platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view fieldSeparator = "||";
constexpr std::size_t maxFields = 3;

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(fieldSeparator, start)) != std::string::npos;
         start = end + fieldSeparator.size())
        fields.push_back(line.substr(start, end - start));
    fields.push_back(line.substr(start));
    return fields;
}

bool isControlByte(unsigned char byte) {
    return (byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7f;
}

bool looksLikeMarkup(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\n");
    return first != std::string::npos && text[first] == '<';
}

std::string lineProblem(const std::string& line, std::size_t number) {
    std::string where = "line " + std::to_string(number + 1);
    if (line.size() > StartContent::maxTitleLineBytes)
        return where + " is longer than " + std::to_string(StartContent::maxTitleLineBytes) + " bytes";
    std::vector<std::string> fields = splitFields(line);
    if (fields.size() > maxFields)
        return where + " has more than " + std::to_string(maxFields) + " fields";
    const std::string& address = fields.back();
    if (fields.size() > 1 && !address.empty() && !ui::isOpenableURL(address))
        return where + " has an address that is no http or https address";
    return "";
}

std::string fileProblem(const std::string& path) {
    return std::string("cannot write ") + path;
}

void logRefusal(const char* what, const std::string& why) {
    std::fprintf(stderr, "torvex: downloaded %s refused: %s\n", what, why.c_str());
}

} // namespace

std::string StartContent::titlesProblem(const std::string& text) {
    if (text.size() > maxTitlesBytes)
        return "larger than " + std::to_string(maxTitlesBytes) + " bytes";
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return "not UTF-8 text";
    for (unsigned char byte : text)
        if (isControlByte(byte))
            return "holds control bytes";
    if (looksLikeMarkup(text))
        return "markup, not a titles list";
    std::vector<std::string> lines = StartContent::splitLines(text);
    if (lines.size() > maxTitleLines)
        return "more than " + std::to_string(maxTitleLines) + " lines";
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (std::string problem = lineProblem(lines[i], i); !problem.empty())
            return problem;
    return "";
}

std::string StartContent::pictureProblem(const std::string& bytes, ui::Image* picture) {
    if (bytes.size() > maxPictureBytes)
        return "larger than " + std::to_string(maxPictureBytes) + " bytes";
    std::string error;
    ui::SurfacePtr surface = ui::decodePicture(bytes, error, maxPicturePixels);
    if (!surface)
        return error.empty() ? "no picture" : error;
    if (!error.empty())
        return error;
    if (picture)
        *picture = ui::Image::fromSurface(surface.get(), 1);
    return "";
}

std::vector<StartContent::Title> StartContent::parseTitles(const std::string& text) {
    std::vector<Title> titles;
    for (const std::string& line : StartContent::splitLines(text)) {
        std::vector<std::string> fields = splitFields(line);
        const std::string& address = fields.back();
        if (fields.size() == 1)
            titles.push_back({line, ui::isOpenableURL(line) ? line : ""});
        else
            titles.push_back({fields.front(), address});
    }
    return titles;
}

std::string StartContent::titlesText() {
    std::string path = cachePath(titlesFileName);
    if (auto cached = readRegularFile(path, maxTitlesBytes)) {
        std::string problem = titlesProblem(*cached);
        if (problem.empty())
            return *cached;
        std::fprintf(stderr, "torvex: the cached titles list %s is skipped: %s\n", path.c_str(),
                     problem.c_str());
    }
    return ui::Bundle::main().text("TitlesAndUrls", "txt").value_or("");
}

ui::Image StartContent::startPicture() {
    std::string path = cachePath(startPictureFileName);
    if (auto cached = readRegularFile(path, maxPictureBytes)) {
        ui::Image picture;
        std::string problem = pictureProblem(*cached, &picture);
        if (problem.empty())
            return picture;
        std::fprintf(stderr, "torvex: the cached start picture %s is skipped: %s\n", path.c_str(),
                     problem.c_str());
    }
    return ui::Bundle::main().image(startPictureFileName);
}

bool StartContent::keepTitles(const std::string& text) {
    std::string problem = titlesProblem(text);
    if (problem.empty() && !ui::writeFileAtomically(cachePath(titlesFileName), text))
        problem = fileProblem(cachePath(titlesFileName));
    if (!problem.empty())
        logRefusal("titles list", problem);
    return problem.empty();
}

bool StartContent::keepPicture(const std::string& bytes, ui::Image* picture) {
    std::string problem = pictureProblem(bytes, picture);
    if (problem.empty() && !ui::writeFileAtomically(cachePath(startPictureFileName), bytes))
        problem = fileProblem(cachePath(startPictureFileName));
    if (!problem.empty())
        logRefusal("start picture", problem);
    return problem.empty();
}

std::string StartContent::cachePath(const std::string& fileName) {
    return ui::Paths::cachesDirectory() + "/" + fileName;
}

void StartContent::moveOldCopies() {
    namespace fs = std::filesystem;
    for (const char* name : {titlesFileName, startPictureFileName}) {
        fs::path old = fs::path(ui::Paths::documentsDirectory()) / name;
        std::error_code error;
        if (!fs::is_regular_file(fs::symlink_status(old, error)))
            continue;
        fs::path now = cachePath(name);
        if (!fs::exists(fs::symlink_status(now, error)) && ui::Paths::createDirectories(now.parent_path()))
            fs::rename(old, now, error);
        if (fs::exists(fs::symlink_status(now, error)))
            fs::remove(old, error);
    }
}

std::optional<std::string> StartContent::readRegularFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) <= maxBytes) {
        std::string read(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        while (done < read.size()) {
            ssize_t n = ::read(fd, read.data() + done, read.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        read.resize(done);
        bytes = std::move(read);
    }
    ::close(fd);
    return bytes;
}

std::vector<std::string> StartContent::splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

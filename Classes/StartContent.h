#pragma once
// The start screen's content and its cache: what a titles list and a start picture must be before
// they are kept or shown, and the files that keep them.
//
// Titles list: UTF-8 text of at most 64 KB and 100 lines ("\n" separates them; "a\n" is "a" and an
// empty line) of at most 500 bytes, with no control bytes but tab, and not markup (a first non-blank
// "<" is an HTML page, say a captive portal's). Each line is "Title", "Title||address" or
// "Title||middle||address", the address being http or https, or empty. A line without "||" is its own
// address: it opens only when it is a web address.
//
// Start picture: a PNG or JPEG that decodes, of at most 4 times the screen's pixels at scale 2
// (1280 x 1920, or the same area), refused from its header before its pixels are allocated.
//
// Cache: "TitlesAndUrls.txt" and "torvexStart.jpg" in the cache folder (Paths::cachesDirectory()).
// A cached file is read only when it is a regular file no larger than its kind may be, and passes the
// same checks as a download; anything else gives way to the bundle's copy. Copies left in the
// documents folder by earlier versions are moved over once.

#include "Platform/Image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class StartContent {
public:
    static constexpr const char* titlesFileName = "TitlesAndUrls.txt";
    static constexpr const char* startPictureFileName = "torvexStart.jpg";

    static constexpr std::size_t maxTitlesBytes = 64 * 1024;
    static constexpr std::size_t maxTitleLines = 100;
    static constexpr std::size_t maxTitleLineBytes = 500;
    static constexpr std::size_t maxPictureBytes = 16 * 1024 * 1024;
    static constexpr std::uint64_t maxPicturePixels = 4 * 640 * 960;

    // One line of a titles list: the title shown and the address it opens ("" for none).
    struct Title {
        std::string title;
        std::string address;
    };

    // Why `text` is no titles list, or "" when it is one.
    static std::string titlesProblem(const std::string& text);
    // Why `bytes` are no start picture, or "" when they are one; `picture` receives it when given.
    static std::string pictureProblem(const std::string& bytes, ui::Image* picture = nullptr);

    // The lines of a text as a titles list or url.txt splits them: "a\n" is "a" and an empty line.
    static std::vector<std::string> splitLines(const std::string& text);
    // The lines of a titles list, split at "\n".
    static std::vector<Title> parseTitles(const std::string& text);

    // The cached titles list when it is whole and sound, else the bundle's copy.
    static std::string titlesText();
    // The cached start picture when it is whole and sound, else the bundle's.
    static ui::Image startPicture();

    // Keeps sound downloaded content: false (with one log line saying why) when it is refused or
    // cannot be written; the cached copy is then as it was.
    static bool keepTitles(const std::string& text);
    static bool keepPicture(const std::string& bytes, ui::Image* picture);

    static std::string cachePath(const std::string& fileName);
    // Moves copies from the documents folder, where earlier versions kept them, to the cache folder;
    // a copy already in the cache folder wins and the old one is removed.
    static void moveOldCopies();

    // The bytes of `path` when it is a regular file (a link to one counts) of at most `maxBytes`;
    // never blocks on a FIFO nor reads a device.
    static std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);
};

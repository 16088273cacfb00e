#pragma once
// Where the program keeps its files, following the desktop's conventions:
//
//   home       $XDG_DATA_HOME/torvex   (default ~/.local/share/torvex)
//   documents  <home>/Documents
//   caches     $XDG_CACHE_HOME/torvex  (default ~/.cache/torvex)
//
// `setHome(DIR)` (the --home option) moves all three below DIR: home = DIR, documents = DIR/Documents,
// caches = DIR/Caches, so that one folder holds everything a run writes. Relative XDG variables are
// ignored, as the desktop's rules ask. The folders are not created by asking for them: writers create
// what they need (`createDirectories`, or `writeFileAtomically`, which creates its file's folder).

#include <string>

namespace ui {

class Paths {
public:
    static std::string home();
    static std::string documentsDirectory();
    static std::string cachesDirectory();

    // Moves every folder below `dir`; an empty `dir` goes back to the desktop's folders.
    static void setHome(const std::string& dir);

    // Creates `dir` and its missing parents; true when it exists as a folder afterwards.
    static bool createDirectories(const std::string& dir);
};

} // namespace ui

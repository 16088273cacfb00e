#include "Managers/Utils.h"

#include "Platform/Paths.h"

const std::string& Utils::cacheDirectory() {
    static const std::string directory = ui::Paths::cachesDirectory() + "/inner_cache";
    return directory;
}

const std::string& Utils::documentsDirectory() {
    static const std::string directory = ui::Paths::documentsDirectory();
    return directory;
}

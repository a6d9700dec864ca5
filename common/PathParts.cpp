#include "common/PathParts.h"

namespace paths {

std::string FileNameOfPath(std::string_view path) {
    const size_t cut = path.rfind('\\');
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DirectoryOfPath(std::string_view path) {
    const size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

}  // namespace paths

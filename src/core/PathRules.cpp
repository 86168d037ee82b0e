#include "core/PathRules.h"

namespace kivo {
namespace {

std::string_view separatorsOf(PathStyle style) {
    return style == PathStyle::Windows ? std::string_view("\\/:") : std::string_view("/");
}

}  // namespace

std::string fileNamePart(std::string_view path, PathStyle style) {
    const std::size_t cut = path.find_last_of(separatorsOf(style));
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string extensionPart(std::string_view path, PathStyle style) {
    const std::string name = fileNamePart(path, style);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace kivo

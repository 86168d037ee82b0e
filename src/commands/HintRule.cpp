#include "commands/HintRule.h"

namespace kivo {

std::string HintRule::longHint(std::string_view hint) {
    const std::size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

bool HintRule::highlight(std::string_view hint) {
    if (hint == current_) return false;
    current_ = hint;
    return true;
}

bool HintRule::idle(bool menuOrBoxOpen, std::string_view hintUnderPointer) {
    if (menuOrBoxOpen) return false;
    return highlight(hintUnderPointer);
}

}  // namespace kivo

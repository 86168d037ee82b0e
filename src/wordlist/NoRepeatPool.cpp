#include "wordlist/NoRepeatPool.h"

namespace kivo {

void NoRepeatPool::restart(std::uint32_t size) {
    // A fresh map rather than clear(): clearing keeps, and wipes, every
    // bucket a long round has grown.
    std::unordered_map<std::uint32_t, std::uint32_t>().swap(moved_);
    size_ = size;
    remaining_ = size;
}

std::uint32_t NoRepeatPool::slot(std::uint32_t k) const {
    const auto it = moved_.find(k);
    return it == moved_.end() ? k : it->second;
}

std::uint32_t NoRepeatPool::take(RandomGenerator& random) {
    const std::uint32_t k = random.nextIndex(remaining_);
    const std::uint32_t position = slot(k);
    // The last remaining slot fills the hole; it is never looked at again.
    const std::uint32_t last = remaining_ - 1;
    if (k != last) moved_[k] = slot(last);
    moved_.erase(last);
    --remaining_;
    return position;
}

}  // namespace kivo

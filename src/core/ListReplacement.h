#pragma once
// A list's new text, handed over in blocks of whole lines while it is
// read, and put in the list's place at once: until commit the list stays
// as it was, and a replacement dropped uncommitted leaves it so. A control
// may build the new text off screen, on a thread of its own, while the
// rest is still being read.
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace kivo {

class ListReplacement {
public:
    virtual ~ListReplacement() = default;
    // Whole lines, each ended by "\n"; the caller has judged that they fit.
    virtual void add(std::string lines) = 0;
    // The list becomes the lines added: an empty list when none were.
    virtual void commit() = 0;
};

// The lines kept together and handed on in one call at commit.
class CollectedReplacement final : public ListReplacement {
public:
    explicit CollectedReplacement(std::function<void(std::string)> put) : put_(std::move(put)) {}
    void add(std::string lines) override {
        if (text_.empty()) {
            text_ = std::move(lines);
        } else {
            text_.append(lines);
        }
    }
    void commit() override { put_(std::move(text_)); }

private:
    std::function<void(std::string)> put_;
    std::string text_;
};

// The replacement of a list that has no road of its own (clearList and
// appendText): its lines go in at commit, after the list is cleared.
template <typename List>
std::unique_ptr<ListReplacement> collectedReplacement(List& list) {
    return std::make_unique<CollectedReplacement>([&list](std::string text) {
        list.clearList();
        if (!text.empty()) list.appendText(text);
    });
}

}  // namespace kivo

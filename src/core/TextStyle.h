#pragma once
// Character formatting that the word list keeps from a loaded document, in
// the plain terms the file formats and the list control share.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kivo {

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> color;  // 0xRRGGBB; none: the control's own
    int halfPoints = 0;                  // 0: the control's own size
    std::string fontFamily;              // UTF-8; empty: the control's own font

    bool isPlain() const { return *this == TextStyle{}; }
    bool operator==(const TextStyle&) const = default;
};

struct TextStyleHash {
    std::size_t operator()(const TextStyle& s) const {
        std::size_t h = std::hash<std::string>()(s.fontFamily);
        const auto mix = [&h](std::size_t v) {
            h ^= v + 0x9E3779B97F4A7C15u + (h << 6) + (h >> 2);
        };
        mix(static_cast<std::size_t>(s.bold) | static_cast<std::size_t>(s.italic) << 1 |
            static_cast<std::size_t>(s.underline) << 2);
        mix(s.color ? *s.color + 1u : 0u);
        mix(static_cast<std::size_t>(s.halfPoints));
        return h;
    }
};

// A style that many stretches share: a document that changes format on
// every character has a few distinct formats, not one per character. Reads
// like the TextStyle it holds. One pointer wide, for the stretches are many;
// styles stay on the thread that made them.
class SharedStyle {
public:
    SharedStyle() = default;
    // A style of its own, shared with nothing yet.
    SharedStyle(TextStyle style)  // NOLINT: a stretch is written {start, length, style}
        : node_(style.isPlain() ? nullptr : std::make_unique<Node>(std::move(style)).release()) {}
    SharedStyle(const SharedStyle& other) : node_(other.node_) {
        if (node_) ++node_->users;
    }
    SharedStyle(SharedStyle&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    SharedStyle& operator=(SharedStyle other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }
    ~SharedStyle() {
        if (node_ && --node_->users == 0) std::unique_ptr<Node>{node_};
    }

    const TextStyle& get() const { return node_ ? node_->style : plain(); }
    const TextStyle* operator->() const { return &get(); }
    operator const TextStyle&() const { return get(); }  // NOLINT: reads as its style
    bool operator==(const SharedStyle& other) const {
        return node_ == other.node_ || get() == other.get();
    }

private:
    struct Node {
        explicit Node(TextStyle s) : style(std::move(s)) {}
        TextStyle style;
        std::size_t users = 1;
    };
    static const TextStyle& plain() {
        static const TextStyle style;
        return style;
    }
    Node* node_ = nullptr;
};

// One copy of each distinct style, for those who make many stretches.
class StylePool {
public:
    SharedStyle share(const TextStyle& style) {
        if (last_ && last_->get() == style) return *last_;
        auto [it, added] = styles_.try_emplace(style, SharedStyle{});
        if (added) it->second = SharedStyle(style);
        last_ = &it->second;
        return it->second;
    }

private:
    std::unordered_map<TextStyle, SharedStyle, TextStyleHash> styles_;
    const SharedStyle* last_ = nullptr;
};

// A stretch of the text in one style, in UTF-16 units. A list never
// reaches 2^32 units (its files are far smaller), and a document formatted
// character by character has as many stretches as characters: they are
// kept small.
struct StyledRange {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    SharedStyle style;
};

// Records a stretch of text in a style: plain text needs none, and a
// stretch that continues the last one in the same style lengthens it.
inline void addStyledRange(std::vector<StyledRange>& ranges, std::size_t start, std::size_t length,
                           SharedStyle style) {
    if (style->isPlain() || length == 0) return;
    if (!ranges.empty() && ranges.back().start + ranges.back().length == start &&
        ranges.back().style == style) {
        ranges.back().length += static_cast<std::uint32_t>(length);
        return;
    }
    ranges.push_back(
        {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length), std::move(style)});
}

// The whole content of a list: lines separated by LF (UTF-8), and the
// stretches that are not plain.
struct StyledText {
    std::string text;
    std::vector<StyledRange> ranges;
};

}  // namespace kivo

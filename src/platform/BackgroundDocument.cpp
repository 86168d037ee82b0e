#include "platform/BackgroundDocument.h"

#include <cstddef>
#include <new>
#include <system_error>
#include <utility>

#include "commands/ListContract.h"
#include "core/Utf8.h"

// Scintilla's loader of a document away from the editor, declared as the
// editor's own headers declare it (the Qt package leaves them out): the
// document itself, seen as its ILoader.
class ILoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
    virtual void* ConvertToDocument() = 0;
};

namespace kivo {

BackgroundDocument::BackgroundDocument(long loader)
    : loader_(reinterpret_cast<ILoader*>(loader)) {
    if (!loader_) throw std::bad_alloc();
}

BackgroundDocument::~BackgroundDocument() {
    {
        // What has not gone in yet is not wanted any more.
        std::lock_guard lock(mutex_);
        blocks_.clear();
    }
    stop();
    if (loader_) loader_->Release();
}

void BackgroundDocument::add(std::string lines) {
    if (lines.empty()) return;
    {
        std::lock_guard lock(mutex_);
        blocks_.push_back(std::move(lines));
    }
    changed_.notify_one();
    if (worker_.joinable()) return;
    try {
        worker_ = std::thread([this] { takeIn(true); });
    } catch (const std::system_error&) {
        takeIn(false);  // no thread to be had: the blocks go in here, at once
    }
}

void BackgroundDocument::takeIn(bool threaded) {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return !blocks_.empty() || ended_; });
        if (blocks_.empty()) return;
        std::string block = std::move(blocks_.front());
        blocks_.pop_front();
        if (failed_) continue;
        lock.unlock();
        std::size_t units = 0;
        bool added = false;
        try {
            // The separators the list shows as line breaks become them, as
            // in every text the list takes in.
            if (hasShownLineBreaks(block)) block = breakLinesAsShown(block);
            units = utf16Length(block);
            added = loader_->AddData(block.data(), static_cast<std::ptrdiff_t>(block.size())) ==
                    0;  // SC_STATUS_OK
        } catch (const std::bad_alloc&) {
            // Told at finish, on the caller's thread.
        }
        block = {};
        lock.lock();
        units_ += units;
        failed_ = failed_ || !added;
        // Without a thread of its own, it takes in only what is there.
        if (!threaded && blocks_.empty()) return;
    }
}

void BackgroundDocument::stop() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_one();
    if (worker_.joinable()) worker_.join();
}

BackgroundDocument::Finished BackgroundDocument::finish() {
    stop();
    if (failed_) throw std::bad_alloc();
    ILoader* const loader = std::exchange(loader_, nullptr);
    return {reinterpret_cast<long>(loader->ConvertToDocument()), units_};
}

}  // namespace kivo

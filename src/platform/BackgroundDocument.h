#pragma once
// A document of the list's editor built away from it: Scintilla's loader
// takes the lines on a thread of its own while the caller goes on reading
// them, and the finished document goes to the editor at once.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class ILoader;

namespace kivo {

class BackgroundDocument {
public:
    // loader: what the editor's SCI_CREATELOADER gave; this takes it over.
    explicit BackgroundDocument(long loader);
    // An unfinished document is let go of.
    ~BackgroundDocument();
    BackgroundDocument(const BackgroundDocument&) = delete;
    BackgroundDocument& operator=(const BackgroundDocument&) = delete;

    // Lines (UTF-8, each ended by "\n") at the end of the document.
    void add(std::string lines);

    struct Finished {
        long document;      // for SCI_SETDOCPOINTER, one reference held
        std::size_t units;  // UTF-16 units of its text
    };
    // Waits for every line given; throws std::bad_alloc, letting the
    // document go, when the editor ran out of memory for them.
    Finished finish();

private:
    // Adds the blocks as they come, until stopped; threaded: on the
    // worker, else only those there now.
    void takeIn(bool threaded);
    void stop();

    ILoader* loader_;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> blocks_;
    bool ended_ = false;   // no more blocks will come
    bool failed_ = false;  // the editor refused a block
    std::size_t units_ = 0;
};

}  // namespace kivo

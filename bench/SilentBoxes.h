#pragma once
// Boxes that answer without a person: the benchmarks drive commands that
// may ask something, and count what they would have shown.
#include "platform/Boxes.h"

namespace kivo::bench {

struct SilentBoxes : Boxes {
    int shown = 0;
    void message(const QString&) override { ++shown; }
    void error(const QString&) override { ++shown; }
    void warning(const QString&) override { ++shown; }
    Answer confirm(const QString&) override {
        ++shown;
        return Answer::No;
    }
    bool askYesNo(const QString&, const QString&) override {
        ++shown;
        return false;
    }
};

}  // namespace kivo::bench

#pragma once
// Boxes answered by the test: every box shown is recorded, none blocks.
#include <QString>
#include <vector>

#include "Boxes.h"

namespace kivo {

struct ScriptedBoxes : Boxes {
    struct Shown {
        enum Kind { Message, Error } kind;
        QString text;
    };
    std::vector<Shown> shown;

    void message(const QString& text) override { shown.push_back({Shown::Message, text}); }
    void error(const QString& text) override { shown.push_back({Shown::Error, text}); }
};

}  // namespace kivo

#pragma once
// Boxes answered by the test: every box shown is recorded, none blocks.
#include <QString>
#include <vector>

#include "platform/Boxes.h"

namespace kivo {

struct ScriptedBoxes : Boxes {
    struct Shown {
        enum Kind { Message, Error, Warning, Confirm, Question } kind;
        QString text;
    };
    std::vector<Shown> shown;

    void message(const QString& text) override { shown.push_back({Shown::Message, text}); }
    void error(const QString& text) override { shown.push_back({Shown::Error, text}); }
    void warning(const QString& text) override { shown.push_back({Shown::Warning, text}); }

    // Answers for the confirmation boxes, taken in order; Cancel when none
    // is left.
    std::vector<Answer> answers;
    Answer confirm(const QString& text) override {
        shown.push_back({Shown::Confirm, text});
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    // Answers for the yes/no questions, taken in order; No when none is
    // left. Each question's caption is kept beside `shown`.
    std::vector<bool> yesNoAnswers;
    std::vector<QString> questionCaptions;
    bool askYesNo(const QString& caption, const QString& text) override {
        shown.push_back({Shown::Question, text});
        questionCaptions.push_back(caption);
        if (yesNoAnswers.empty()) return false;
        const bool yes = yesNoAnswers.front();
        yesNoAnswers.erase(yesNoAnswers.begin());
        return yes;
    }
};

}  // namespace kivo

#pragma once
// Boxes answered by the test: every box shown is recorded, none blocks.
#include <gtest/gtest.h>

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

    // Answers for the confirmation boxes, taken in order. A box that finds
    // none left was not expected: the test fails naming it, and it is
    // cancelled.
    std::vector<Answer> answers;
    Answer confirm(const QString& text) override {
        shown.push_back({Shown::Confirm, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unanswered box: " << text.toStdString();
            return Answer::Cancel;
        }
        const Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    // Answers for the yes/no questions, taken in order; one that finds none
    // left fails the test and is answered No. Each question's caption is
    // kept beside `shown`.
    std::vector<bool> yesNoAnswers;
    std::vector<QString> questionCaptions;
    bool askYesNo(const QString& caption, const QString& text) override {
        shown.push_back({Shown::Question, text});
        questionCaptions.push_back(caption);
        if (yesNoAnswers.empty()) {
            ADD_FAILURE() << "unanswered question: " << caption.toStdString() << ": "
                          << text.toStdString();
            return false;
        }
        const bool yes = yesNoAnswers.front();
        yesNoAnswers.erase(yesNoAnswers.begin());
        return yes;
    }
};

}  // namespace kivo

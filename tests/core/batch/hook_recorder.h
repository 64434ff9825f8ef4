// Records the questions and messages the batch operations show, while it lives; questions
// take the queued answers first, then `fallback`.
#pragma once

#include <string>
#include <vector>

#include "core/hooks.h"

namespace duplora::test {

class HookRecorder {
  public:
    HookRecorder() {
        previousQuestion_ =
            SetQuestionSink([this](std::string_view text, std::string_view caption, QuestionKind) {
                questions.push_back(std::string(caption) + "|" + std::string(text));
                if (answers.empty()) return fallback;
                const Answer a = answers.front();
                answers.erase(answers.begin());
                return a;
            });
        previousMessage_ =
            SetMessageSink([this](std::string_view text, std::string_view caption, MessageIcon) {
                messages.push_back(std::string(caption) + "|" + std::string(text));
            });
    }
    ~HookRecorder() {
        SetQuestionSink(std::move(previousQuestion_));
        SetMessageSink(std::move(previousMessage_));
    }
    HookRecorder(const HookRecorder&) = delete;
    HookRecorder& operator=(const HookRecorder&) = delete;

    std::vector<Answer> answers;
    Answer fallback = Answer::Yes;
    std::vector<std::string> questions;  // "caption|text"
    std::vector<std::string> messages;   // "caption|text"

  private:
    QuestionSink previousQuestion_;
    MessageSink previousMessage_;
};

}  // namespace duplora::test

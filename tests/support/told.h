// What an operation has for the user, in a form tests compare: the questions put to a policy
// and the messages of a failure, each as "caption|text".
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "core/util/question.h"
#include "core/util/result.h"

namespace duplora::test {

// Makes policies that record every question and answer it from `answers` in turn, then
// with `fallback`. A batch may ask from several threads at once.
class QuestionRecorder {
  public:
    ConfirmPolicy Policy() {
        return ConfirmPolicy::Asking([this](const Question& q) {
            const std::lock_guard lock(mutex_);
            questions.push_back(q.caption + "|" + q.text);
            kinds.push_back(q.kind);
            if (answers.empty()) return fallback;
            const bool a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
    }

    std::vector<bool> answers;
    bool fallback = true;
    std::vector<std::string> questions;  // "caption|text"
    std::vector<QuestionKind> kinds;

  private:
    std::mutex mutex_;
};

// Every message of `failure`, earliest first.
inline std::vector<std::string> Messages(const Failure& failure) {
    std::vector<std::string> out;
    ForEachMessage(failure, [&out](const Failure& f) {
        out.push_back(f.CaptionText() + "|" + f.MessageText());
    });
    return out;
}

inline std::vector<std::string> Messages(const std::vector<Failure>& failures) {
    std::vector<std::string> out;
    for (const Failure& f : failures)
        for (std::string& m : Messages(f)) out.push_back(std::move(m));
    return out;
}

// The messages of a result: none for a success.
template <typename T>
std::vector<std::string> Messages(const Result<T>& result) {
    return result ? std::vector<std::string>{} : Messages(result.Error());
}

}  // namespace duplora::test

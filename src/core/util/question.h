// Questions an operation has for the user (replace a file, start a long run) are answered by
// a policy its caller passes in: always, never, or asking through the caller's own callback.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace duplora {

enum class QuestionKind { YesNo, OkCancel };

struct Question {
    std::string text;
    std::string caption;
    QuestionKind kind = QuestionKind::YesNo;
};

class ConfirmPolicy {
  public:
    // True when the user agreed (Yes, OK).
    using Ask = std::function<bool(const Question&)>;

    // Refuses every question, as a run that nobody can be asked.
    ConfirmPolicy() = default;
    static ConfirmPolicy Always() { return ConfirmPolicy(Mode::Always, {}); }
    static ConfirmPolicy Never() { return ConfirmPolicy(Mode::Never, {}); }
    static ConfirmPolicy Asking(Ask ask) {
        return ask ? ConfirmPolicy(Mode::Asking, std::move(ask)) : Never();
    }

    bool Confirms(const Question& question) const {
        switch (mode_) {
            case Mode::Always:
                return true;
            case Mode::Asking:
                return ask_(question);
            default:
                return false;
        }
    }

  private:
    enum class Mode { Never, Always, Asking };
    ConfirmPolicy(Mode mode, Ask ask) : mode_(mode), ask_(std::move(ask)) {}
    Mode mode_ = Mode::Never;
    Ask ask_;
};

// Whether an existing file may be replaced.
using OverwritePolicy = ConfirmPolicy;

}  // namespace duplora

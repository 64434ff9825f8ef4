// The three ways the core talks upward without knowing who listens: progress,
// messages and questions. Every hook has a do-nothing default.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace duplora {

// ---- progress ---------------------------------------------------------------
enum class ProgressDirection { Reading = 0, Writing = 1 };

// Each thread has its own sink, so a worker's progress never reaches the window's.
using ProgressSink = std::function<void(ProgressDirection, int percent)>;

// Installs the sink for the calling thread and returns the previous one.
ProgressSink SetProgressSink(ProgressSink sink);
void ReportProgress(ProgressDirection direction, int percent);

// Silences progress on the calling thread for the life of the object.
class ScopedProgressSink {
public:
    explicit ScopedProgressSink(ProgressSink sink) : previous_(SetProgressSink(std::move(sink))) {}
    ~ScopedProgressSink() { SetProgressSink(std::move(previous_)); }
    ScopedProgressSink(const ScopedProgressSink&) = delete;
    ScopedProgressSink& operator=(const ScopedProgressSink&) = delete;

private:
    ProgressSink previous_;
};

// ---- messages ----------------------------------------------------------------
enum class MessageIcon { Exclamation, Information, Error, Question };

using MessageSink =
    std::function<void(std::string_view text, std::string_view caption, MessageIcon icon)>;

// Process-wide; the receiver decides on which thread the user sees it.
MessageSink SetMessageSink(MessageSink sink);
void ShowMessage(std::string_view text, std::string_view caption,
                 MessageIcon icon = MessageIcon::Exclamation);
// Text and caption taken from the string table.
void ShowMessage(int textId, int captionId, MessageIcon icon = MessageIcon::Exclamation);

// ---- questions ----------------------------------------------------------------
enum class QuestionKind { YesNo, OkCancel, YesNoCancel };
enum class Answer { Yes, No, Ok, Cancel };

using QuestionSink =
    std::function<Answer(std::string_view text, std::string_view caption, QuestionKind kind)>;

// Per thread, like progress: the batch worker answers from its own options.
QuestionSink SetQuestionSink(QuestionSink sink);
// Without a sink every question is answered negatively (No / Cancel).
Answer AskQuestion(std::string_view text, std::string_view caption, QuestionKind kind);

}  // namespace duplora

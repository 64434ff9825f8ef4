#include "core/hooks.h"

#include <mutex>

#include "core/strings.h"

namespace duplora {

namespace {
thread_local ProgressSink tProgressSink;
thread_local QuestionSink tQuestionSink;

std::mutex& MessageMutex() {
    static std::mutex m;
    return m;
}
MessageSink& GlobalMessageSink() {
    static MessageSink sink;
    return sink;
}
}  // namespace

ProgressSink SetProgressSink(ProgressSink sink) {
    ProgressSink old = std::move(tProgressSink);
    tProgressSink = std::move(sink);
    return old;
}

void ReportProgress(ProgressDirection direction, int percent) {
    if (tProgressSink) tProgressSink(direction, percent);
}

MessageSink SetMessageSink(MessageSink sink) {
    std::lock_guard lock(MessageMutex());
    MessageSink old = std::move(GlobalMessageSink());
    GlobalMessageSink() = std::move(sink);
    return old;
}

void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    MessageSink sink;
    {
        std::lock_guard lock(MessageMutex());
        sink = GlobalMessageSink();
    }
    if (sink) sink(text, caption, icon);
}

void ShowMessage(int textId, int captionId, MessageIcon icon) {
    ShowMessage(LoadResString(textId), LoadResString(captionId), icon);
}

QuestionSink SetQuestionSink(QuestionSink sink) {
    QuestionSink old = std::move(tQuestionSink);
    tQuestionSink = std::move(sink);
    return old;
}

Answer AskQuestion(std::string_view text, std::string_view caption, QuestionKind kind) {
    if (tQuestionSink) return tQuestionSink(text, caption, kind);
    return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
}

}  // namespace duplora

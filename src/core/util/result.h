// What an operation that can fail gives back: its value, or a Failure that says why. The
// core shows nothing; whoever called decides where the reason goes (a message box, the
// batch log, standard error).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace duplora {

enum class MessageIcon { Exclamation, Information, Error };

// The reason of a failure, as the user is to be told it: the message text and the caption
// by their string-table ids, and the detail (the file name, the codec's message, the limit
// exceeded). A failure without a text (Quiet) is one the user has already decided, like a
// declined question, or one no message was ever given for.
struct Failure {
    int textId = 0;     // the message; 0 when `text` holds it or there is none
    int captionId = 0;  // the caption; 0 when the detail is the caption
    std::string detail;
    MessageIcon icon = MessageIcon::Exclamation;
    std::string text;  // a message that has no string-table entry
    // A failure met on the way that the user is told about first (a segment edit that
    // refused the temporary file before the Exif block gave up).
    std::shared_ptr<const Failure> cause;

    // The message with its text and caption ids, the detail only for the record.
    static Failure Message(int textId, int captionId, std::string detail = {},
                           MessageIcon icon = MessageIcon::Exclamation);
    // The message with the detail (usually the file name) as its caption.
    static Failure AboutFile(int textId, std::string detail,
                             MessageIcon icon = MessageIcon::Exclamation);
    // A message whose text has no string-table entry, with the detail as its caption.
    static Failure Literal(std::string text, std::string detail,
                           MessageIcon icon = MessageIcon::Exclamation);
    // Nothing for the user to read.
    static Failure Quiet(std::string detail = {});

    // This failure, with `earlier` told before it.
    Failure After(Failure earlier) &&;

    bool HasMessage() const { return textId != 0 || !text.empty(); }
    // The texts as shown (the message is empty for a quiet failure).
    std::string MessageText() const;
    std::string CaptionText() const;
};

// Calls `tell(failure)` for every failure the user is to read, earliest first.
template <typename Tell>
void ForEachMessage(const Failure& failure, const Tell& tell) {
    if (failure.cause) ForEachMessage(*failure.cause, tell);
    if (failure.HasMessage()) tell(failure);
}

// The messages of `failure`, earliest first, each on its own (without its causes), appended
// to `out`: for lists that are told one entry after the other.
void AppendMessages(const Failure& failure, std::vector<Failure>& out);

// A value or the failure that stands in for it.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& Value() & { return std::get<0>(state_); }
    const T& Value() const& { return std::get<0>(state_); }
    T&& Value() && { return std::get<0>(std::move(state_)); }
    // The value, or `fallback` for a failure.
    T ValueOr(T fallback) && { return Ok() ? std::get<0>(std::move(state_)) : std::move(fallback); }

    const Failure& Error() const& { return std::get<1>(state_); }
    Failure&& Error() && { return std::get<1>(std::move(state_)); }

  private:
    std::variant<T, Failure> state_;
};

// Success without a value, or the failure.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failure_(std::make_shared<Failure>(std::move(failure))) {}

    bool Ok() const { return !failure_; }
    explicit operator bool() const { return Ok(); }
    const Failure& Error() const { return *failure_; }

  private:
    std::shared_ptr<Failure> failure_;
};

using Status = Result<void>;

// Failures that did not stop an operation (an Exif block that could not be added to a file
// that was written): the caller tells them after it, like any other.
using Warnings = std::vector<Failure>;

}  // namespace duplora

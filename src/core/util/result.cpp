#include "core/util/result.h"

#include "core/strings.h"

namespace duplora {

Failure Failure::Message(int textId, int captionId, std::string detail, MessageIcon icon) {
    Failure f;
    f.textId = textId;
    f.captionId = captionId;
    f.detail = std::move(detail);
    f.icon = icon;
    return f;
}

Failure Failure::AboutFile(int textId, std::string detail, MessageIcon icon) {
    return Message(textId, 0, std::move(detail), icon);
}

Failure Failure::Literal(std::string text, std::string detail, MessageIcon icon) {
    Failure f;
    f.text = std::move(text);
    f.detail = std::move(detail);
    f.icon = icon;
    return f;
}

Failure Failure::Quiet(std::string detail) {
    Failure f;
    f.detail = std::move(detail);
    return f;
}

Failure Failure::After(Failure earlier) && {
    if (!earlier.HasMessage() && !earlier.cause) return std::move(*this);
    // The earliest failure is the deepest cause, below those this one already has.
    if (cause) {
        Failure deeper = *cause;
        cause = std::make_shared<const Failure>(std::move(deeper).After(std::move(earlier)));
    } else {
        cause = std::make_shared<const Failure>(std::move(earlier));
    }
    return std::move(*this);
}

void AppendMessages(const Failure& failure, std::vector<Failure>& out) {
    ForEachMessage(failure, [&out](const Failure& message) {
        Failure alone = message;
        alone.cause.reset();
        out.push_back(std::move(alone));
    });
}

std::string Failure::MessageText() const {
    return textId != 0 ? LoadResString(textId) : text;
}

std::string Failure::CaptionText() const {
    return captionId != 0 ? LoadResString(captionId) : detail;
}

}  // namespace duplora

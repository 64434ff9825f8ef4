#include "core/util/result.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/util/progress.h"
#include "core/util/question.h"
#include "res/core/string_ids.h"
#include "support/told.h"

namespace duplora {
namespace {

TEST(Failure, TextsComeFromTheTableOrTheDetail) {
    struct Case {
        Failure failure;
        std::string text, caption;
        bool message;
    };
    const Case cases[] = {
        {Failure::Message(StringId::CannotSaveImage, StringId::ErrorCaption, "/x/a.jpg"),
         "Kann Bild nicht speichern", "FEHLER", true},
        {Failure::AboutFile(StringId::CannotSaveImage, "/x/a.jpg"), "Kann Bild nicht speichern",
         "/x/a.jpg", true},
        {Failure::Literal("Error Add Exif info.", "/x/a.jpg"), "Error Add Exif info.", "/x/a.jpg",
         true},
        {Failure::Quiet("/x/a.jpg"), "", "/x/a.jpg", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.failure.MessageText(), c.text);
        EXPECT_EQ(c.failure.CaptionText(), c.caption);
        EXPECT_EQ(c.failure.HasMessage(), c.message) << c.text;
    }
}

// What was met on the way is told first, however the causes were added; quiet ones are
// never told.
TEST(Failure, CausesAreToldEarliestFirst) {
    const auto literal = [](const char* text) { return Failure::Literal(text, "c"); };
    Failure failure = literal("last").After(literal("second"));
    failure = std::move(failure).After(Failure::Quiet());
    failure = std::move(failure).After(literal("first"));
    EXPECT_EQ(test::Messages(failure), (std::vector<std::string>{"c|first", "c|second", "c|last"}));
    EXPECT_EQ(test::Messages(Failure::Quiet().After(literal("only"))),
              std::vector<std::string>{"c|only"});

    // Flattened for a list that is told entry by entry: nothing twice.
    std::vector<Failure> list;
    AppendMessages(failure, list);
    AppendMessages(Failure::Quiet(), list);
    EXPECT_EQ(test::Messages(list), (std::vector<std::string>{"c|first", "c|second", "c|last"}));
}

TEST(Result, HoldsTheValueOrTheFailure) {
    Result<std::string> value = std::string("picture");
    ASSERT_TRUE(value);
    EXPECT_EQ(value.Value(), "picture");
    Result<std::string> failed = Failure::AboutFile(StringId::CannotSaveImage, "/x");
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.Error().detail, "/x");
    EXPECT_EQ(std::move(failed).ValueOr("none"), "none");
    const Status ok;
    EXPECT_TRUE(ok);
    const Status refused = Failure::Quiet("why");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Error().detail, "why");
}

TEST(ConfirmPolicy, AlwaysNeverOrAsking) {
    const Question question{"Datei ersetzen?", "/x/a.jpg", QuestionKind::OkCancel};
    EXPECT_TRUE(ConfirmPolicy::Always().Confirms(question));
    EXPECT_FALSE(ConfirmPolicy::Never().Confirms(question));
    EXPECT_FALSE(ConfirmPolicy().Confirms(question));  // nobody to ask
    EXPECT_FALSE(ConfirmPolicy::Asking({}).Confirms(question));
    test::QuestionRecorder asked;
    asked.answers = {true, false};
    const ConfirmPolicy policy = asked.Policy();
    EXPECT_TRUE(policy.Confirms(question));
    EXPECT_FALSE(policy.Confirms(question));
    EXPECT_EQ(asked.questions, std::vector<std::string>(2, "/x/a.jpg|Datei ersetzen?"));
}

TEST(Progress, ReportsAndCancels) {
    std::vector<int> seen;
    std::atomic<bool> stop{false};
    const Progress progress([&](ProgressDirection, int percent) { seen.push_back(percent); },
                            &stop);
    progress(ProgressDirection::Reading, 40);
    EXPECT_FALSE(progress.Cancelled());
    stop = true;
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_EQ(seen, std::vector<int>{40});
}

}  // namespace
}  // namespace duplora

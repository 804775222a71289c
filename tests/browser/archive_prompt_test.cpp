#include "browser/archive_prompt.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Gives the answers in turn and counts the questions.
struct Answers {
  std::vector<std::string> answers;
  std::size_t asked = 0;
  std::function<std::string()> Ask() {
    return [this] { return asked < answers.size() ? answers[asked++] : std::string(); };
  }
};

TEST(AskArchiveName, AsksAgainUntilANameIsAcceptedOrTheAnswerIsEmpty) {
  struct Case {
    std::vector<std::string> answers;
    std::optional<std::string> name;
    std::size_t asked;
  };
  const Case cases[] = {
      {{"MAY30.TXT"}, "MAY30.TXT", 1},
      {{""}, std::nullopt, 1},  // also a cancelled dialog
      {{"A.B.C", "AB CD", "ABCDEFGHIJKLM", "RACES", "NEVER"}, "RACES", 4},
      {{"A:B", ""}, std::nullopt, 2},
      {{"caf\u00E9.\u00BD"}, "caf\u00E9.\u00BD", 1},  // code page 437 letters, one byte each
      {{"\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9"},  // 12 characters, 24 UTF-8 bytes
       "\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9",
       1},
      {{"EURO\u20AC", "\u263A", ""}, std::nullopt, 3},  // no euro in the code page; the smiley is byte 1
  };
  for (const Case& c : cases) {
    Answers answers{c.answers};
    EXPECT_EQ(AskArchiveName(answers.Ask()), c.name) << c.answers.front();
    EXPECT_EQ(answers.asked, c.asked) << c.answers.front();
  }
}

}  // namespace

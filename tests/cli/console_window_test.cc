#include "cli/console_window.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace shifrodel::cli {
namespace {

TEST(ConsoleWindow, AnswersAreTheQuestionsButtonsInAnyCaseElseCancel) {
  struct Case {
    const char* line;
    TQuestionButtons buttons;
    TAnswer answer;
  };
  const Case cases[] = {
      {"ok", TQuestionButtons::kOkCancel, TAnswer::kOk},
      {" OK \r", TQuestionButtons::kOkCancel, TAnswer::kOk},
      {"cancel", TQuestionButtons::kOkCancel, TAnswer::kCancel},
      {"yes", TQuestionButtons::kOkCancel, TAnswer::kCancel},  // not a button of this question
      {"Yes", TQuestionButtons::kYesNoCancel, TAnswer::kYes},
      {"NO", TQuestionButtons::kYesNoCancel, TAnswer::kNo},
      {"ok", TQuestionButtons::kYesNoCancel, TAnswer::kCancel},
      {"", TQuestionButtons::kYesNoCancel, TAnswer::kCancel},
      {"y", TQuestionButtons::kYesNoCancel, TAnswer::kCancel},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseAnswer(c.line, c.buttons), c.answer) << c.line;
}

TEST(ConsoleWindow, ReadsOneLinePerQuestionAndCancelsAtTheEndOfInput) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::fputs("no\nyes\n", in);
  std::rewind(in);
  ConsoleWindow window(in, out);
  EXPECT_EQ(window.Ask("first\rline", TQuestionButtons::kYesNoCancel), TAnswer::kNo);
  EXPECT_EQ(window.Ask("second", TQuestionButtons::kYesNoCancel), TAnswer::kYes);
  EXPECT_EQ(window.Ask("third", TQuestionButtons::kOkCancel), TAnswer::kCancel);
  window.SetStatus("\xC3\xEE\xF2\xEE\xE2\xEE.");  // "Готово." in Windows-1251
  std::rewind(out);
  char text[256] = {};
  const std::size_t n = std::fread(text, 1, sizeof text - 1, out);
  EXPECT_EQ(std::string(text, n),
            "first\nline\n[yes/no/cancel] \nsecond\n[yes/no/cancel] \nthird\n[ok/cancel] \n"
            "Готово.\n");
  std::fclose(in);
  std::fclose(out);
}

}  // namespace
}  // namespace shifrodel::cli

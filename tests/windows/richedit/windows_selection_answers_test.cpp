// Windows' answers for the selection: EM_SETSEL and EM_EXSETSEL, one table run
// in order through each, and EM_GETSELTEXT on the final paragraph mark.
#include "tests/windows/richedit/windows_answers_fixture.h"

namespace {

using SelectionAnswers = WindowsAnswersTest;

struct SetSel {
  int min, max, answer, start, end;
};

// test_EM_SETSEL and test_EM_EXSETSEL on a text of 17 characters: the final
// paragraph mark is position 17 to 18.
const SetSel kSetSelCases[] = {
    {5, 10, 10, 5, 10},   {15, 17, 17, 15, 17}, {0, 100, 18, 0, 18},
    {-1, 1, 17, 17, 17},  // a caret at the active end, before the mark
    {5, 5, 5, 5, 5},      {-1, 0, 5, 5, 5},     {-1, 17, 5, 5, 5},
    {-1, 18, 5, 5, 5},    {-1, -1, 17, 17, 17}, {-4, -5, 17, 17, 17},
    {0, -1, 18, 0, 18},   {17, -5, 18, 17, 18}, {18, -3, 17, 17, 17},
    {15, 19, 18, 15, 18}, {19, 15, 18, 15, 18}, {17, 18, 18, 17, 18},
    {17, 50, 18, 17, 18},
};

TEST_F(SelectionAnswers, SetSelAndExSetSelClampAlike) {
  for (UINT message : {EM_SETSEL, EM_EXSETSEL}) {
    SetText("testing selection");
    for (const SetSel& c : kSetSelCases) {
      CHARRANGE range = {c.min, c.max};
      const LRESULT answer = message == EM_SETSEL
                                 ? Send(EM_SETSEL, static_cast<WPARAM>(c.min), c.max)
                                 : Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
      EXPECT_EQ(answer, c.answer) << message << " " << c.min << ", " << c.max;
      EXPECT_EQ(Selection(), std::make_pair(c.start, c.end))
          << message << " " << c.min << ", " << c.max;
    }
  }
  // The final paragraph mark alone selected gives no text.
  Send(EM_SETSEL, 17, 18);
  char text[8] = {'#', '#'};
  Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(text[0], '\0');
}

}  // namespace

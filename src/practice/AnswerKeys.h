// Keyboard answering, the same in chapter practice, key-point practice and
// the exam: which key does what on which answer page, as a rule on the
// plain state of the page's controls.  The answer area applies it.
//
//   every page      Enter moves on as "下一题" does
//   单选 / 多选      A..F press (单选) or toggle (多选) an option,
//                   Backspace goes back as "上一题" does, Delete clears
//   配伍            A..F toggle an option, Backspace or Delete clears
//   判断            A or Y puts "对" down, B or N puts "错" down,
//                   Backspace or Delete clears
//   主观            Y or 1 chooses "会", N or 0 chooses "不会",
//                   Backspace or Delete clears
//   填空            only Enter: the text box takes every other key
//
// Keys held with Ctrl, Alt or Meta are never answers (Alt+letter reaches a
// button's "(&X)" accelerator).  Letters for options beyond the question's
// count change hidden buttons and never count, as clicks cannot.
#pragma once

#include "practice/AnswerLogic.h"

#include <QString>

namespace practice {

struct AnswerKeyOutcome {
    enum Move { Stay, Previous, Next };
    bool taken = false;     // the key belongs to the answer area
    bool changed = false;   // the controls were changed
    Move move = Stay;
};

// Applies a key (a Qt::Key value with its Qt::KeyboardModifiers) to the
// controls of the page shown.  With answersAllowed false (exam review, the
// pause) the keys still navigate and are still taken, but change nothing.
AnswerKeyOutcome applyAnswerKey(int page, int key, int modifiers, bool answersAllowed, AnswerControls &c);

// The keys of an answer control, for its tooltip: option i of an option
// page, the true/false buttons (0 "对", 1 "错"), the subjective list (-1).
QString answerKeyTip(int page, int control);

} // namespace practice

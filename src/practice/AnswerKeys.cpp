// Keyboard answering on the answer pages.
#include "practice/AnswerKeys.h"

#include <Qt>

namespace practice {

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The option a letter key names (A..F), or -1.
int optionOfKey(int key) { return key >= Qt::Key_A && key <= Qt::Key_F ? key - Qt::Key_A : -1; }

void clearPage(int page, AnswerControls &c)
{
    if (hasOptions(page))
        c.pressed = {};
    else if (page == PageTrueFalse)
        c.trueFalse = 0;
    else if (page == PageSubjective)
        c.subjectiveIndex = -1;
}

} // namespace

AnswerKeyOutcome applyAnswerKey(int page, int key, int modifiers, bool answersAllowed, AnswerControls &c)
{
    AnswerKeyOutcome out;
    if (page < 0 || page >= PageCount)
        return out;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return out;
    out.taken = true;
    if (isEnter(key)) {
        out.move = AnswerKeyOutcome::Next;
        return out;
    }
    // The text box of the fill-in page takes every other key itself.
    if (page == PageFillIn) {
        out.taken = false;
        return out;
    }
    const bool choicePage = page == PageSingle || page == PageMultiple;
    if (key == Qt::Key_Backspace && choicePage) {
        out.move = AnswerKeyOutcome::Previous;
        return out;
    }
    const AnswerControls before = c;
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (answersAllowed)
            clearPage(page, c);
    } else if (hasOptions(page) && optionOfKey(key) >= 0) {
        const int option = optionOfKey(key);
        if (answersAllowed) {
            if (page == PageSingle) {
                c.pressed = {};
                c.pressed[option] = true;
            } else {
                c.pressed[option] = !c.pressed[option];
            }
        }
    } else if (page == PageTrueFalse && (key == Qt::Key_A || key == Qt::Key_Y || key == Qt::Key_B || key == Qt::Key_N)) {
        if (answersAllowed)
            c.trueFalse = key == Qt::Key_A || key == Qt::Key_Y ? 1 : 2;
    } else if (page == PageSubjective && (key == Qt::Key_Y || key == Qt::Key_1 || key == Qt::Key_N || key == Qt::Key_0)) {
        if (answersAllowed)
            c.subjectiveIndex = key == Qt::Key_Y || key == Qt::Key_1 ? 1 : 0;
    } else {
        out.taken = false;
    }
    out.changed = !(c == before);
    return out;
}

QString answerKeyTip(int page, int control)
{
    if (hasOptions(page) && control >= 0 && control < OptionCount) {
        const QString letter = optionLetter(control);
        const QString clear = page == PageMatching ? QStringLiteral("Backspace 或 Delete 键清除") : QStringLiteral("Delete 键清除");
        return QStringLiteral("选项 %1：按 %1 键%2，%3，Enter 键下一题").arg(letter, page == PageSingle ? QStringLiteral("选定") : QStringLiteral("选定或取消"), clear);
    }
    if (page == PageTrueFalse && (control == 0 || control == 1))
        return control == 0 ? QStringLiteral("对：按 A 或 Y 键，Backspace 键清除，Enter 键下一题")
                            : QStringLiteral("错：按 B 或 N 键，Backspace 键清除，Enter 键下一题");
    if (page == PageSubjective)
        return QStringLiteral("会：按 Y 或 1 键；不会：按 N 或 0 键；Backspace 键清除，Enter 键下一题");
    return QString();
}

} // namespace practice

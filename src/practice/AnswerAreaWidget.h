// The answer area shared by the practice windows and the exam window: six
// answer pages (single choice, multiple choice, fill-in, true/false,
// subjective, matching) of which the page for the question's type is shown,
// with their controls, hints, side labels and keyboard answering.  The rules
// (encoding, restoring, judging) live in practice/AnswerLogic.h; this
// widget only holds the controls and hands their state to those rules.
//
// Public interface
// ----------------
//   AnswerAreaWidget(QWidget *parent)
//
//   Pages (numbers as practice::AnswerPage, 0..5; 99 = no page):
//     int  page() const                     page shown
//     int  showPage(int page)               turn to a page; 99 or any other
//                                           number keeps the page shown;
//                                           returns the page shown afterwards
//     int  showPageForType(int typeCode)    showPage(TypeToPage(typeCode))
//     static QString pageCaption(int page)  "单选", "多选", ... (caption of a page)
//
//   Answers:
//     void    restore(int page, int optionCount, const QString &stored)
//             puts a stored answer (E2_1) into the page's controls; on option
//             pages only the first optionCount (A2_1) buttons are visible
//     QString answer(int page) const        the encoded answer of that page's
//             controls ("" = no answer; hidden options never count); a page
//             that does not exist gives ""
//     QString answer() const                answer(page())
//     practice::AnswerControls controls(int page) const   plain state
//     void    setControls(int page, const practice::AnswerControls &c)
//     QString shownAnswer() const           the answer as the "答案" panel shows it
//     QString comparisonHeadline(const QString &key) const
//
//   Labels and hints:
//     void    setSideLabel(int page, const QString &text)   e.g. "主\r观",
//             "不\r\n定\r\n项" (line breaks as "\r\n" or "\r"; shown one
//             character per line)
//     QString sideLabel(int page) const     the text as given
//     The hint of the page shown (practice::pageHint) is the area's tooltip.
//
//   Keyboard (the window forwards its key presses; the rules are
//   practice/AnswerKeys.h, the same in practice and in the exam):
//     bool isChoicePage() const             page 0 or 1
//     bool handleKey(key, modifiers, previous, next, answersAllowed)
//             answers by letters and digits on every page, moves on by
//             Enter and back by Backspace (choice pages) through the given
//             "上一题"/"下一题" buttons when enabled, clears by Backspace
//             or Delete; Left/Right move the focus among the page's
//             buttons.  Enter on a focused button outside the area is left
//             to that button.  True when the key was the area's.
//     Each answer button's tooltip names its keys.
//
//   State:
//     void setPagesEnabled(bool)            exam review disables the pages
//     void setCompact(bool)                 smaller controls for the 800 layout
//
//   Signals:
//     answerEdited()                        the user changed a control
//
// Object names: Notebook1 (the pages), fcBG_one / fcBG_many / fcBG_pw (the
// option groups, buttons "<group>A".."<group>F"), FlatEdit1, fcBG_yn (buttons
// fcBG_ynA "对", fcBG_ynB "错"), FlatComboBox1, SideLabel0..SideLabel5.
#pragma once

#include "practice/AnswerLogic.h"

#include <QWidget>
#include <array>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;

class AnswerAreaWidget : public QWidget {
    Q_OBJECT
public:
    explicit AnswerAreaWidget(QWidget *parent = nullptr);

    int page() const;
    int showPage(int page);
    int showPageForType(int typeCode);
    static QString pageCaption(int page) { return practice::pageCaption(page); }

    void restore(int page, int optionCount, const QString &stored);
    QString answer(int page) const;
    QString answer() const { return answer(page()); }
    practice::AnswerControls controls(int page) const;
    void setControls(int page, const practice::AnswerControls &c);
    QString shownAnswer() const;
    QString comparisonHeadline(const QString &key) const;

    void setSideLabel(int page, const QString &text);
    QString sideLabel(int page) const;

    bool isChoicePage() const;
    // The keys of the answer pages shared by the practice and exam windows.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, QAbstractButton *previous, QAbstractButton *next,
                   bool answersAllowed = true);

    void setPagesEnabled(bool enabled);
    void setCompact(bool compact);

    // The controls, for windows that lay out around them and for tests.
    QStackedWidget *Notebook1 = nullptr;
    QToolButton *optionButton(int page, int option) const;
    QLineEdit *FlatEdit1 = nullptr;
    QToolButton *trueButton = nullptr;    // "对"
    QToolButton *falseButton = nullptr;   // "错"
    QComboBox *FlatComboBox1 = nullptr;

Q_SIGNALS:
    void answerEdited();

private:
    void buildOptionPage(int page, const QString &groupName);
    void optionClicked(int page, int option);
    void trueFalseClicked(int which);
    int optionGroup(int page) const;   // 0 single, 1 multiple, 2 matching, -1 none
    void applyButtonSize();
    bool moveAmongButtons(int step);

    std::array<std::array<QToolButton *, practice::OptionCount>, 3> m_options{};
    std::array<QLabel *, practice::PageCount> m_sideLabels{};
    std::array<QString, practice::PageCount> m_sideTexts;
    bool m_compact = false;
};

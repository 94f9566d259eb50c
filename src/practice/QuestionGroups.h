// The question board of the practice window shows the list in groups of
// twenty buttons.  This is the paging of those groups and the moves of
// "上一题" / "下一题" across group borders, without the buttons.
#pragma once

namespace practice {

class QuestionGroups {
public:
    static constexpr int GroupSize = 20;

    // Mode "1": the first group of a list of `total` questions.
    void first(int total);
    // Mode "2" / "3": the previous / next group.  They do nothing at the
    // first / last group.
    void previousGroup();
    void nextGroup();

    int total() const { return m_total; }
    int groupCount() const { return m_groups; }       // G
    int group() const { return m_group; }            // g, from 1
    int start() const { return m_start; }            // record of button 0
    int size() const { return m_size; }              // buttons in use
    int last() const { return m_start + m_size - 1; }
    bool previousGroupEnabled() const { return m_prevEnabled; }   // "<-上一组"
    bool nextGroupEnabled() const { return m_nextEnabled; }       // "下一组->"

    // The record a button stands for (0 for a button beyond the size).
    int recordAt(int button) const;
    bool inGroup(int record) const { return m_size > 0 && record >= m_start && record <= last(); }
    int buttonOf(int record) const { return record - m_start; }

    // Where "上一题" / "下一题" from a record lands.  Inside the group it is
    // a button of the board; across the border the neighbouring group is
    // filled and its first button pressed (also when going back).
    struct Move {
        enum Kind { None, Button, PreviousGroup, NextGroup } kind = None;
        int button = -1;   // the button to press
    };
    Move previousQuestion(int current) const;
    Move nextQuestion(int current) const;
    // Applies a move that crosses a group border; returns the button to press.
    int apply(const Move &m);

    // "上一题" and "下一题" are enabled by the record shown.
    bool previousQuestionEnabled(int current) const { return current > 1; }
    bool nextQuestionEnabled(int current) const { return current < m_total; }

private:
    int m_total = 0;
    int m_groups = 0;
    int m_group = 0;
    int m_start = 0;
    int m_size = 0;
    bool m_prevEnabled = false;
    bool m_nextEnabled = false;
};

} // namespace practice

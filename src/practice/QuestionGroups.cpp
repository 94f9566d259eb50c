// Paging of the question board in groups of twenty.
#include "practice/QuestionGroups.h"

#include <algorithm>

namespace practice {

void QuestionGroups::first(int total)
{
    m_total = std::max(0, total);
    m_groups = m_total / GroupSize + (m_total % GroupSize ? 1 : 0);
    m_group = m_total > 0 ? 1 : 0;
    m_start = 1;
    m_size = std::min(m_total, GroupSize);
    m_prevEnabled = false;
    m_nextEnabled = m_groups > 1;
}

void QuestionGroups::previousGroup()
{
    if (m_group <= 1)
        return;
    // Going back, "<-上一组" stays usable only while a group lies before the
    // one reached.
    m_nextEnabled = true;
    if (m_group <= 2)
        m_prevEnabled = false;
    m_start = (m_group - 2) * GroupSize + 1;
    m_group -= 1;
    m_size = GroupSize;
}

void QuestionGroups::nextGroup()
{
    if (m_group >= m_groups)
        return;
    m_prevEnabled = true;
    m_start = m_group * GroupSize + 1;
    const int rest = m_total - m_group * GroupSize;
    m_size = rest < GroupSize ? rest : GroupSize;
    m_group += 1;
    // "下一组->" goes out once the last group is reached.
    if (m_groups - m_group <= 0)
        m_nextEnabled = false;
}

int QuestionGroups::recordAt(int button) const
{
    if (button < 0 || button >= m_size)
        return 0;
    return m_start + button;
}

QuestionGroups::Move QuestionGroups::previousQuestion(int current) const
{
    Move m;
    const int target = current - 1;
    if (target >= m_start && target >= 1) {
        m.kind = Move::Button;
        m.button = target - m_start;
    } else if (m_group > 1) {
        m.kind = Move::PreviousGroup;
        m.button = 0;
    }
    return m;
}

QuestionGroups::Move QuestionGroups::nextQuestion(int current) const
{
    Move m;
    const int target = current + 1;
    if (target <= last()) {
        m.kind = Move::Button;
        m.button = target - m_start;
    } else if (m_group < m_groups) {
        m.kind = Move::NextGroup;
        m.button = 0;
    }
    return m;
}

int QuestionGroups::apply(const Move &m)
{
    if (m.kind == Move::PreviousGroup)
        previousGroup();
    else if (m.kind == Move::NextGroup)
        nextGroup();
    return m.button;
}

} // namespace practice

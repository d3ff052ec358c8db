#include "app/edithistory.h"

namespace kvr::gui {

bool EditHistory::record(const QString& name, const QString& gestureKey, const DocumentChange& change,
                         core::Configuration before)
{
    const bool merge = m_gestureOpen && !gestureKey.isEmpty() && !m_undo.empty() && m_redo.empty() &&
                       m_undo.back().gestureKey == gestureKey;
    m_redo.clear();
    m_gestureOpen = !gestureKey.isEmpty();
    if (merge) {
        m_undo.back().change |= change;
    } else {
        m_undo.push_back(Step{name, gestureKey, change, std::move(before), m_state});
        if (m_undo.size() > m_limit) m_undo.pop_front();
    }
    m_state = m_nextState++;
    return !merge;
}

DocumentChange EditHistory::undo(core::Configuration& current)
{
    if (m_undo.empty()) return {};
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    std::swap(step.other, current);
    std::swap(step.otherState, m_state);
    const DocumentChange change = step.change;
    m_redo.push_back(std::move(step));
    m_gestureOpen = false;
    return change;
}

DocumentChange EditHistory::redo(core::Configuration& current)
{
    if (m_redo.empty()) return {};
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    std::swap(step.other, current);
    std::swap(step.otherState, m_state);
    const DocumentChange change = step.change;
    m_undo.push_back(std::move(step));
    m_gestureOpen = false;
    return change;
}

void EditHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_gestureOpen = false;
    m_state = m_nextState++;
    m_clean = m_state;
}

} // namespace kvr::gui

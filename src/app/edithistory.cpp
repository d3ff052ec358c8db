#include "app/edithistory.h"

namespace kvr::gui {

bool EditHistory::record(const QString& name, const QString& gestureKey, const DocumentChange& change,
                         core::Configuration before, std::optional<DocumentIdentity> identityBefore)
{
    const bool merge = m_gestureOpen && !gestureKey.isEmpty() && !m_undo.empty() && m_redo.empty() &&
                       m_undo.back().gestureKey == gestureKey;
    m_redo.clear();
    m_gestureOpen = !gestureKey.isEmpty();
    if (merge) {
        m_undo.back().change |= change;
        if (!m_undo.back().otherIdentity) m_undo.back().otherIdentity = std::move(identityBefore);
    } else {
        m_undo.push_back(Step{name, gestureKey, change, std::move(before), m_state, std::move(identityBefore)});
        if (m_undo.size() > m_limit) m_undo.pop_front();
    }
    m_state = m_nextState++;
    return !merge;
}

DocumentChange EditHistory::swapStep(Step& step, core::Configuration& current, DocumentIdentity& identity)
{
    std::swap(step.other, current);
    std::swap(step.otherState, m_state);
    if (step.otherIdentity) std::swap(*step.otherIdentity, identity);
    m_gestureOpen = false;
    return step.change;
}

DocumentChange EditHistory::undo(core::Configuration& current, DocumentIdentity& identity)
{
    if (m_undo.empty()) return {};
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    const DocumentChange change = swapStep(step, current, identity);
    m_redo.push_back(std::move(step));
    return change;
}

DocumentChange EditHistory::redo(core::Configuration& current, DocumentIdentity& identity)
{
    if (m_redo.empty()) return {};
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    const DocumentChange change = swapStep(step, current, identity);
    m_undo.push_back(std::move(step));
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

#include "comm/deviceoperation.h"

#include "util/texts.h"

namespace kvr::core {

DeviceOperation::DeviceOperation(LinkInfo link) : m_link(link), m_engine(std::move(link)) {}

DeviceOperation::~DeviceOperation() = default;

void DeviceOperation::start()
{
    if (m_finished || m_waiting != Waiting::Nothing) return;
    advance();
}

void DeviceOperation::linkOpened(const Status& status)
{
    if (m_waiting == Waiting::Child) {
        m_child->linkOpened(status);
        return afterChild();
    }
    if (m_waiting != Waiting::Exchange) return;
    m_engine.linkOpened(status);
    afterEngine();
}

void DeviceOperation::bytesReceived(std::span<const uint8_t> bytes)
{
    if (m_waiting == Waiting::Child) {
        m_child->bytesReceived(bytes);
        return afterChild();
    }
    if (m_waiting != Waiting::Exchange) return;
    m_engine.bytesReceived(bytes);
    afterEngine();
}

void DeviceOperation::replyTimedOut()
{
    if (m_waiting == Waiting::Child) {
        m_child->replyTimedOut();
        return afterChild();
    }
    if (m_waiting != Waiting::Exchange) return;
    m_engine.replyTimedOut();
    afterEngine();
}

void DeviceOperation::timerFired(TimerId timer)
{
    switch (m_waiting) {
    case Waiting::Child:
        m_child->timerFired(timer);
        return afterChild();
    case Waiting::Exchange:
        m_engine.timerFired(timer);
        return afterEngine();
    case Waiting::Timer:
        if (timer != TimerId::Pause) return;
        m_waiting = Waiting::Nothing;
        return advance();
    default:
        return;
    }
}

void DeviceOperation::answered(const Answer& answer)
{
    switch (m_waiting) {
    case Waiting::Child:
        m_child->answered(answer);
        return afterChild();
    case Waiting::Exchange:
        m_engine.answered(answer);
        return afterEngine();
    case Waiting::Answer:
        m_answer = answer;
        m_waiting = Waiting::Nothing;
        return advance();
    default:
        return;
    }
}

void DeviceOperation::linkFailed(const std::string& text)
{
    if (m_waiting == Waiting::Child) {
        m_child->linkFailed(text);
        return afterChild();
    }
    if (m_waiting != Waiting::Exchange) return;
    m_engine.linkFailed(text);
    afterEngine();
}

Actions DeviceOperation::takeActions()
{
    Actions out;
    out.swap(m_actions);
    return out;
}

void DeviceOperation::afterEngine()
{
    for (auto& a : m_engine.takeActions()) push(std::move(a));
    if (!m_engine.done()) return;
    m_waiting = Waiting::Nothing;
    advance();
}

void DeviceOperation::afterChild()
{
    for (auto& a : m_child->takeActions()) push(std::move(a));
    if (!m_child->finished()) return;
    m_childOutcome = m_child->outcome();
    setLink(m_child->link()); // a child may have been told of a new link
    m_child.reset();
    m_waiting = Waiting::Nothing;
    advance();
}

void DeviceOperation::exchange(ExchangeSpec request)
{
    m_waiting = Waiting::Exchange;
    m_engine.start(std::move(request));
    afterEngine();
}

void DeviceOperation::runChild(std::unique_ptr<DeviceOperation> child)
{
    m_child = std::move(child);
    m_child->m_isChild = true;
    m_child->setLink(m_link);
    m_waiting = Waiting::Child;
    m_child->start();
    afterChild();
}

void DeviceOperation::wait(int ms)
{
    m_waiting = Waiting::Timer;
    Action a{ActionKind::StartTimer};
    a.timer = TimerId::Pause;
    a.ms = ms;
    push(std::move(a));
}

void DeviceOperation::ask(Question question)
{
    m_waiting = Waiting::Answer;
    Action a{ActionKind::Ask};
    a.question = std::move(question);
    push(std::move(a));
}

void DeviceOperation::finish(Outcome outcome)
{
    if (m_finished) return;
    m_finished = true;
    m_waiting = Waiting::Nothing;
    m_outcome = std::move(outcome);
    if (m_isChild) return;
    // The serial port is held only while an operation runs.
    if (m_link.kind == LinkKind::Serial) simple(ActionKind::CloseLink);
    Action a{ActionKind::Finished};
    a.outcome = m_outcome;
    push(std::move(a));
}

void DeviceOperation::finish(OutcomeKind kind, std::string reason)
{
    Outcome o;
    o.kind = kind;
    o.reason = std::move(reason);
    finish(std::move(o));
}

void DeviceOperation::setLink(LinkInfo link)
{
    m_link = link;
    m_engine.setLink(std::move(link));
}

void DeviceOperation::status(std::string text)
{
    Action a{ActionKind::Status};
    a.text = std::move(text);
    push(std::move(a));
}

void DeviceOperation::message(Message m)
{
    Action a{ActionKind::ShowMessage};
    a.message = std::move(m);
    push(std::move(a));
}

void DeviceOperation::connection(ConnectionEffect effect)
{
    Action a{ActionKind::Connection};
    a.effect = effect;
    push(std::move(a));
}

void DeviceOperation::simple(ActionKind kind) { push(Action{kind}); }

void DeviceOperation::memorySelector(int memory)
{
    Action a{ActionKind::MemorySelector};
    a.memory = memory;
    push(std::move(a));
}

void DeviceOperation::storeFailed(const ExchangeResult& result) { storeFailed(result.reason); }

void DeviceOperation::storeFailed(const std::string& reason)
{
    switch (m_link.kind) {
    case LinkKind::Usb:
        simple(ActionKind::HideCommWindow);
        message(warningBox(texts::kUsbClosedReconnect));
        connection(ConnectionEffect::GoOffline);
        connection(ConnectionEffect::ShowConnectionWindow);
        break;
    case LinkKind::Ethernet:
        message(errorBox(texts::kEthernetCommError));
        connection(ConnectionEffect::GoOffline);
        break;
    case LinkKind::Serial: {
        Message m = errorBox(texts::kSerialNoAnswer);
        m.beep = true;
        message(std::move(m));
        connection(ConnectionEffect::GoOffline);
        break;
    }
    }
    finish(OutcomeKind::Failed, reason);
}

} // namespace kvr::core

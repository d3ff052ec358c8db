#pragma once

#include <memory>
#include <span>
#include <string>

#include "comm/action.h"
#include "comm/transferengine.h"
#include "util/result.h"

namespace kvr::core {

// A device operation: a script of exchanges, waits and questions over one TransferEngine, with no
// I/O and no clock. The driver feeds it the same events as the engine and carries out its actions;
// the last action of a top-level operation is Finished with the outcome.
class DeviceOperation {
public:
    explicit DeviceOperation(LinkInfo link);
    virtual ~DeviceOperation();
    DeviceOperation(const DeviceOperation&) = delete;
    DeviceOperation& operator=(const DeviceOperation&) = delete;

    void start();
    void linkOpened(const Status& status);
    void bytesReceived(std::span<const uint8_t> bytes);
    void replyTimedOut();
    void timerFired(TimerId timer);
    void answered(const Answer& answer);
    void linkFailed(const std::string& text);

    Actions takeActions();
    bool finished() const { return m_finished; }
    const Outcome& outcome() const { return m_outcome; }
    const LinkInfo& link() const { return m_link; }

protected:
    // Called when the operation starts and whenever the step it waits for has ended.
    virtual void advance() = 0;

    // Steps that end later; each ends by calling advance() again.
    void exchange(ExchangeSpec request);
    void runChild(std::unique_ptr<DeviceOperation> child);
    void wait(int ms);
    void ask(Question question);
    // Ends the operation.
    void finish(Outcome outcome);
    void finish(OutcomeKind kind, std::string reason = {});

    const ExchangeResult& lastExchange() const { return m_engine.result(); }
    const Outcome& childOutcome() const { return m_childOutcome; }
    const Answer& lastAnswer() const { return m_answer; }
    void setLink(LinkInfo link);

    void status(std::string text);
    void message(Message message);
    void connection(ConnectionEffect effect);
    void simple(ActionKind kind);
    void memorySelector(int memory);

    // The failure handling of a store (and of the library send): offline, and over USB the
    // connection window after the box, so that a reconnection made there stands.
    void storeFailed(const ExchangeResult& result);
    void storeFailed(const std::string& reason);

    int m_step = 0;

private:
    enum class Waiting : uint8_t { Nothing, Exchange, Child, Timer, Answer };
    void afterEngine();
    void afterChild();
    void push(Action action) { m_actions.push_back(std::move(action)); }

    LinkInfo m_link;
    TransferEngine m_engine;
    std::unique_ptr<DeviceOperation> m_child;
    Waiting m_waiting = Waiting::Nothing;
    Outcome m_childOutcome;
    Answer m_answer;
    Outcome m_outcome;
    Actions m_actions;
    bool m_isChild = false;
    bool m_finished = false;
};

} // namespace kvr::core

#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>

#include "comm/action.h"
#include "comm/protocol.h"
#include "util/bytes.h"
#include "util/result.h"

namespace kvr::core {

// What a receive exchange brings back; it decides the texts shown while it runs.
enum class ReceiveKind : uint8_t { None, Configuration, Version, OperatingSystem };

struct ExchangeSpec {
    Command command = Command::Detect;
    uint8_t memory = 0;
    Bytes data;                         // the outgoing block; its size is the LONG value
    bool showWindow = true;
    bool overwriteWithoutAsking = false; // the library send answers a full memory with 0x0E at once
    ReceiveKind receive = ReceiveKind::None; // a receive exchange follows a send exchange that did not fail
    std::string requestStatus;           // status set before the 0x6F that asks for the receive exchange
};

struct ExchangeResult {
    OutcomeKind kind = OutcomeKind::Completed;
    std::string reason;
    Bytes data;                  // the received block (receive exchanges only)
    bool protectedMemory = false; // refused: the memory is protected (status 0x11)
    bool declined = false;        // refused: the user kept a full memory
    bool failedInReceive = false; // failed during the receive exchange (the send exchange had completed)
};

// The program's side of the transfer protocol, as a state machine with no I/O and no clock.
// It is fed what happened (link opened, bytes, reply timeout, timers, the user's answer) and
// queues the actions to carry out. Every transition of both exchanges is in handle().
class TransferEngine {
public:
    explicit TransferEngine(LinkInfo link, size_t receiveCapacity = protocol::kReceiveBufferSize);

    void start(ExchangeSpec request);
    void linkOpened(const Status& status);
    void bytesReceived(std::span<const uint8_t> bytes);
    void replyTimedOut();
    void timerFired(TimerId timer);
    void answered(const Answer& answer);
    void linkFailed(const std::string& text); // write error, disconnect

    Actions takeActions();
    bool running() const { return m_state != State::Idle && m_state != State::Done; }
    bool done() const { return m_state == State::Done; }
    const ExchangeResult& result() const { return m_result; }
    const LinkInfo& link() const { return m_link; }
    void setLink(LinkInfo link) { m_link = std::move(link); }

    // Tick timers that make up the fixed waits after a detect and a change of memory.
    static constexpr int kDetectTicks = 30;
    static constexpr int kDetectTickMs = protocol::kDetectPauseMs / kDetectTicks;
    static constexpr int kPresetTicks = 8;
    static constexpr int kPresetTickMs = protocol::kPresetLoadMs / kPresetTicks;

private:
    enum class State : uint8_t {
        Idle,
        Opening,
        AwaitStartEcho,
        AwaitCommandEcho,
        AwaitNumberEcho,
        AwaitMemoryStatus,
        AwaitOverwriteAnswer,
        AwaitLongEcho,
        AwaitBlockAck,
        AwaitEndEcho,
        DetectPause,
        PresetLoad,
        Reopening,
        AwaitBegin,
        AwaitHeader1,
        AwaitHeader2,
        AwaitLongHigh,
        AwaitLongLow,
        AwaitData,
        AwaitReceiveEnd,
        Done,
    };
    enum class Event : uint8_t { Opened, OpenFailed, Byte, Timer, Yes, No };

    void handle(Event event, uint8_t byte = 0);
    void feed();
    bool awaitingByte() const;

    // Steps shared by several transitions.
    void sendLong();
    void sendNextBlock();
    void sendEnd();
    void finishSend();
    void requestReceive();
    void afterReceivedLow();
    void nextReceiveBlock();
    void refuse(bool protectedMemory, bool declined);
    void fail(std::string reason);
    void complete();
    void closeUsb();

    void push(Action action) { m_actions.push_back(std::move(action)); }
    void status(std::string text);
    void progress(size_t position, size_t maximum);
    void send(Bytes bytes);
    void awaitReply();
    void stopReply();
    void simple(ActionKind kind);
    void startTimer(TimerId timer, int ms);
    void message(Message message);
    void connection(ConnectionEffect effect);
    bool isEthernet() const { return m_link.kind == LinkKind::Ethernet; }
    bool isUsb() const { return m_link.kind == LinkKind::Usb; }
    bool receiving() const;

    LinkInfo m_link;
    size_t m_capacity;
    ExchangeSpec m_spec;
    ExchangeResult m_result;
    State m_state = State::Idle;
    Actions m_actions;
    std::deque<uint8_t> m_input;
    bool m_usbOpen = false;
    size_t m_sent = 0;      // data bytes sent
    size_t m_length = 0;    // announced receive length
    size_t m_blockEnd = 0;  // receive: where the block being collected ends
    int m_ticks = 0;
    Bytes m_buffer;
};

} // namespace kvr::core

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/faultplan.h"
#include "sim/processorstate.h"
#include "sim/protocol.h"
#include "util/bytes.h"

namespace kvr::sim {

enum class Direction : uint8_t { Send, Receive }; // as the program names them: send = towards the processor

enum class Outcome : uint8_t {
    Completed,
    Refused,     // memory number refused, memory empty, protected, or overwrite declined
    Failed,      // the program sent a wrong byte
    TimedOut,    // the program fell silent mid-exchange
    Interrupted, // the link was closed, replaced or dropped
};

const char* outcomeName(Outcome outcome);

struct ExchangeEvent {
    Direction direction = Direction::Send;
    int command = -1; // -1 while not yet received
    int memory = -1;
    int length = -1;
    Outcome outcome = Outcome::Completed;
    std::string detail;
};

struct FaultEvent {
    std::string text;
};

// Tells the owner which part of the state to write back.
enum class StateItem : uint8_t { Memory, OperatingSystem, Settings };
struct StateEvent {
    StateItem item = StateItem::Settings;
    int memory = 0;
};

// What happened, in order; exactly one of the parts is filled, as `kind` says.
struct ProcessorEvent {
    enum class Kind : uint8_t { Exchange, Fault, State };
    Kind kind = Kind::Exchange;
    ExchangeEvent exchange;
    FaultEvent fault;
    StateEvent state;

    ProcessorEvent(ExchangeEvent e) : kind(Kind::Exchange), exchange(std::move(e)) {}
    ProcessorEvent(FaultEvent f) : kind(Kind::Fault), fault(std::move(f)) {}
    ProcessorEvent(StateEvent s) : kind(Kind::State), state(s) {}
};

struct ExchangeCounts {
    uint64_t completed = 0;
    uint64_t refused = 0;
    uint64_t failed = 0; // wrong byte, silence, interruption

    uint64_t total() const { return completed + refused + failed; }
};

struct Counters {
    std::array<ExchangeCounts, kCommandSlots> send{};    // by command code
    std::array<ExchangeCounts, kCommandSlots> receive{}; // by command code (2, 4, 10)
    ExchangeCounts sendWithoutCommand;                   // ended before a known command arrived
    std::array<uint64_t, kMemoryCount> stores{};         // completed stores per memory
    uint64_t bytesIn = 0;
    uint64_t bytesOut = 0;
    uint64_t ignoredBytes = 0; // noise while idle, and everything after stop/drop
    uint64_t faultsInjected = 0;
    uint64_t timeouts = 0;
    uint64_t interrupted = 0; // exchanges ended by a closed, replaced or dropped link
};

// The processor's side of the transfer protocol, with no I/O and no clock: bytes and the time
// in, answer bytes and events out. The owner asks `deadlineMs` when to call `handleTimeout`.
class VirtualProcessor {
public:
    struct Settings {
        FaultPlan faults;
        int64_t silenceTimeoutMs = 5000;
        // Waiting for the program's overwrite answer means waiting for a person at a question box.
        int64_t decisionTimeoutMs = 300000;
    };

    struct Reply {
        core::Bytes bytes;
        bool dropLink = false; // close the connection once `bytes` are out
    };

    enum class Phase : uint8_t {
        Idle,
        AwaitCommand,
        AwaitNumber,
        AwaitNumberCopy,
        AwaitOverwrite,
        AwaitCancel,
        AwaitLongHigh,
        AwaitLongLow,
        AwaitData,
        AwaitEnd,
        AwaitRequest,
        AwaitBeginEcho,
        AwaitHeader1Echo,
        AwaitHeader2Echo,
        AwaitLongHighEcho,
        AwaitLongLowEcho,
        AwaitBlockAnswer,
        AwaitEndEcho,
    };

    VirtualProcessor() : VirtualProcessor(defaultProcessorState(), Settings{}) {}
    VirtualProcessor(ProcessorState state, Settings settings);

    Reply receive(std::span<const uint8_t> bytes, int64_t nowMs);
    Reply receive(std::initializer_list<uint8_t> bytes, int64_t nowMs)
    {
        return receive(std::span<const uint8_t>(bytes.begin(), bytes.size()), nowMs);
    }

    // A new client (or none): the exchange in progress ends and the per-link byte count restarts.
    void linkOpened();
    void linkClosed();

    // Called by the owner when answer bytes actually left, which may be later than they were made.
    void noteSent(int64_t nowMs);
    std::optional<int64_t> deadlineMs() const;
    void handleTimeout(int64_t nowMs);

    std::vector<ProcessorEvent> takeEvents();

    Phase phase() const { return m_phase; }
    bool idle() const { return m_phase == Phase::Idle; }
    bool stopped() const { return m_stopped; }
    const ProcessorState& state() const { return m_state; }
    ProcessorState& state() { return m_state; }
    const Counters& counters() const { return m_counters; }
    void resetCounters() { m_counters = {}; }
    const FaultPlan& faults() const { return m_settings.faults; }
    // Replaces the failure modes and starts the count again for --stop-after.
    void setFaults(FaultPlan faults);

private:
    void step(uint8_t byte, core::Bytes& out);
    void stepReceive(uint8_t byte, core::Bytes& out);
    uint8_t put(core::Bytes& out, FaultStep step, uint8_t right);
    void sendStatus(core::Bytes& out);
    void sendBlock(core::Bytes& out);
    void afterEnd();
    std::string apply();
    void endSend(Outcome outcome, std::string detail);
    void endReceive(Outcome outcome, std::string detail);
    void abandon(Outcome outcome, const std::string& detail);
    void count(ExchangeCounts& counts, Outcome outcome);
    bool isReceivePhase() const { return m_phase >= Phase::AwaitRequest; }
    uint8_t memoryStatus() const;
    void expireIfSilent(int64_t nowMs);
    std::string expected(uint8_t want, uint8_t got) const;

    ProcessorState m_state;
    Settings m_settings;
    Counters m_counters;
    std::vector<ProcessorEvent> m_events;

    Phase m_phase = Phase::Idle;
    int m_command = -1;
    int m_memory = -1;
    uint8_t m_status = 0;
    size_t m_length = 0;
    bool m_lengthKnown = false;
    uint8_t m_lengthHigh = 0;
    core::Bytes m_data;     // data of the send exchange
    core::Bytes m_outgoing; // data of the receive exchange
    size_t m_offset = 0;    // of the next block to send
    uint8_t m_sent = 0;     // last byte put on the wire, which the program echoes
    int64_t m_lastActivityMs = 0;

    uint64_t m_connectionBytes = 0;
    uint64_t m_linkBytes = 0;
    bool m_stopped = false;
    bool m_linkDropped = false;
};

const char* phaseName(VirtualProcessor::Phase phase);

} // namespace kvr::sim

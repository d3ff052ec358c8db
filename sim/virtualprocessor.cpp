#include "sim/virtualprocessor.h"

#include <algorithm>
#include <cstdio>

#include "sim/imagesummary.h"

namespace kvr::sim {

namespace {

std::string hex(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

} // namespace

const char* outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Completed:
        return "completed";
    case Outcome::Refused:
        return "refused";
    case Outcome::Failed:
        return "failed";
    case Outcome::TimedOut:
        return "timed out";
    case Outcome::Interrupted:
        return "interrupted";
    }
    return "?";
}

const char* phaseName(VirtualProcessor::Phase phase)
{
    using P = VirtualProcessor::Phase;
    switch (phase) {
    case P::Idle:
        return "idle";
    case P::AwaitCommand:
        return "command";
    case P::AwaitNumber:
        return "memory number";
    case P::AwaitNumberCopy:
        return "second memory number";
    case P::AwaitOverwrite:
        return "overwrite answer";
    case P::AwaitCancel:
        return "cancel after protected";
    case P::AwaitLongHigh:
        return "length high byte";
    case P::AwaitLongLow:
        return "length low byte";
    case P::AwaitData:
        return "data";
    case P::AwaitEnd:
        return "end";
    case P::AwaitRequest:
        return "request for the receive exchange";
    case P::AwaitBeginEcho:
        return "begin echo";
    case P::AwaitHeader1Echo:
        return "first header echo";
    case P::AwaitHeader2Echo:
        return "second header echo";
    case P::AwaitLongHighEcho:
        return "length high echo";
    case P::AwaitLongLowEcho:
        return "length low echo";
    case P::AwaitBlockAnswer:
        return "block answer";
    case P::AwaitEndEcho:
        return "end echo";
    }
    return "?";
}

VirtualProcessor::VirtualProcessor(ProcessorState state, Settings settings)
    : m_state(std::move(state)), m_settings(std::move(settings))
{
    // A length word can only say 65535; anything longer could never be read back.
    for (core::Bytes& memory : m_state.memories)
        if (memory.size() > kMaxLength) memory.resize(kMaxLength);
    if (m_state.operatingSystem.size() > kMaxLength) m_state.operatingSystem.resize(kMaxLength);
    m_state.activeMemory = std::clamp(m_state.activeMemory, 1, kMemoryCount);
}

void VirtualProcessor::setFaults(FaultPlan faults)
{
    m_settings.faults = std::move(faults);
    m_connectionBytes = 0;
    m_stopped = false;
}

VirtualProcessor::Reply VirtualProcessor::receive(std::span<const uint8_t> bytes, int64_t nowMs)
{
    Reply reply;
    const FaultPlan& faults = m_settings.faults;
    for (uint8_t byte : bytes) {
        ++m_counters.bytesIn;
        if (m_linkDropped || m_stopped) {
            ++m_counters.ignoredBytes;
            continue;
        }
        if (faults.stopAfterBytes && m_connectionBytes >= *faults.stopAfterBytes) {
            m_stopped = true;
            ++m_counters.faultsInjected;
            m_events.push_back(
                FaultEvent{"stop-after " + std::to_string(*faults.stopAfterBytes) + ": the processor stops answering"});
            if (!idle()) abandon(Outcome::Failed, "processor stopped answering");
            ++m_counters.ignoredBytes;
            continue;
        }
        ++m_connectionBytes;
        ++m_linkBytes;
        expireIfSilent(nowMs);
        m_lastActivityMs = nowMs;
        step(byte, reply.bytes);
        if (faults.dropAfterBytes && m_linkBytes >= *faults.dropAfterBytes) {
            ++m_counters.faultsInjected;
            m_events.push_back(
                FaultEvent{"drop-after " + std::to_string(*faults.dropAfterBytes) + ": closing the connection"});
            if (!idle()) abandon(Outcome::Interrupted, "connection dropped");
            m_linkDropped = true;
            reply.dropLink = true;
        }
    }
    m_counters.bytesOut += reply.bytes.size();
    return reply;
}

void VirtualProcessor::linkOpened()
{
    if (!idle()) abandon(Outcome::Interrupted, "a new connection replaced the old one");
    m_linkBytes = 0;
    m_linkDropped = false;
}

void VirtualProcessor::linkClosed()
{
    if (!idle()) abandon(Outcome::Interrupted, "connection closed");
    m_linkBytes = 0;
    m_linkDropped = false;
}

void VirtualProcessor::noteSent(int64_t nowMs)
{
    if (!idle()) m_lastActivityMs = std::max(m_lastActivityMs, nowMs);
}

std::optional<int64_t> VirtualProcessor::deadlineMs() const
{
    if (idle() || m_stopped || m_linkDropped) return std::nullopt;
    const int64_t timeout =
        m_phase == Phase::AwaitOverwrite ? m_settings.decisionTimeoutMs : m_settings.silenceTimeoutMs;
    return m_lastActivityMs + timeout + 1; // "more than" the timeout
}

void VirtualProcessor::handleTimeout(int64_t nowMs)
{
    auto deadline = deadlineMs();
    if (!deadline || nowMs < *deadline) return;
    ++m_counters.timeouts;
    abandon(Outcome::TimedOut, "silence of " + std::to_string(nowMs - m_lastActivityMs) + " ms");
}

void VirtualProcessor::expireIfSilent(int64_t nowMs)
{
    handleTimeout(nowMs);
}

std::vector<ProcessorEvent> VirtualProcessor::takeEvents()
{
    std::vector<ProcessorEvent> events;
    events.swap(m_events);
    return events;
}

std::string VirtualProcessor::expected(uint8_t want, uint8_t got) const
{
    return std::string("expected ") + hex(want) + ", got " + hex(got) + " (" + phaseName(m_phase) + ")";
}

uint8_t VirtualProcessor::put(core::Bytes& out, FaultStep step, uint8_t right)
{
    uint8_t byte = right;
    if (auto wrong = m_settings.faults.wrongByteFor(step, m_command, right)) {
        byte = *wrong;
        ++m_counters.faultsInjected;
        m_events.push_back(FaultEvent{std::string("wrong-byte ") + faultStepName(step) + ": sent " + hex(byte) +
                                      " instead of " + hex(right)});
    }
    out.push_back(byte);
    m_sent = byte;
    return byte;
}

uint8_t VirtualProcessor::memoryStatus() const
{
    const size_t index = static_cast<size_t>(m_memory - 1);
    if (m_command == int(Command::Store) && m_state.protectedMemories[index]) return kMemoryProtected;
    return m_state.memories[index].empty() ? kMemoryEmpty : kMemoryFull;
}

// The whole processor: one case per phase, each naming what it accepts and where it goes next.
void VirtualProcessor::step(uint8_t byte, core::Bytes& out)
{
    const FaultPlan& faults = m_settings.faults;
    switch (m_phase) {
    case Phase::Idle:
        if (byte != kStart) {
            ++m_counters.ignoredBytes;
            return;
        }
        m_command = -1;
        m_memory = -1;
        m_length = 0;
        m_lengthKnown = false;
        m_data.clear();
        m_outgoing.clear();
        put(out, FaultStep::Start, kStart);
        m_phase = Phase::AwaitCommand;
        return;

    case Phase::AwaitCommand:
        if (!isKnownCommand(byte)) {
            endSend(Outcome::Failed, "unknown command " + hex(byte));
            return;
        }
        m_command = byte;
        put(out, FaultStep::Command, byte);
        m_phase = Phase::AwaitNumber;
        return;

    case Phase::AwaitNumber:
        m_memory = byte;
        if (faults.refuseNumber) {
            ++m_counters.faultsInjected;
            m_events.push_back(FaultEvent{"refuse-number: answered memory number " + std::to_string(byte) + " with " +
                                          hex(kNumberRefused)});
            out.push_back(kNumberRefused);
            endSend(Outcome::Refused, "memory number refused");
            return;
        }
        if (hasMemoryStatus(m_command) && (byte < 1 || byte > kMemoryCount)) {
            out.push_back(kNumberRefused);
            endSend(Outcome::Refused, "there is no memory " + std::to_string(byte));
            return;
        }
        put(out, FaultStep::Number, byte);
        m_phase = Phase::AwaitNumberCopy;
        return;

    case Phase::AwaitNumberCopy:
        if (byte != m_memory) {
            endSend(Outcome::Failed, expected(static_cast<uint8_t>(m_memory), byte));
            return;
        }
        if (hasMemoryStatus(m_command))
            sendStatus(out);
        else
            m_phase = Phase::AwaitLongHigh;
        return;

    case Phase::AwaitOverwrite:
        if (byte == kOverwrite)
            m_phase = Phase::AwaitLongHigh;
        else if (byte == kCancel)
            endSend(Outcome::Refused, "overwrite declined");
        else
            endSend(Outcome::Failed, expected(kOverwrite, byte) + " or " + hex(kCancel));
        return;

    case Phase::AwaitCancel:
        if (byte == kCancel)
            endSend(Outcome::Refused, "memory protected");
        else
            endSend(Outcome::Failed, expected(kCancel, byte));
        return;

    case Phase::AwaitLongHigh:
        m_lengthHigh = byte;
        m_phase = Phase::AwaitLongLow;
        return;

    case Phase::AwaitLongLow:
        m_length = size_t(m_lengthHigh) << 8 | byte;
        m_lengthKnown = true;
        m_data.clear();
        m_data.reserve(m_length);
        put(out, FaultStep::Long, byte);
        m_phase = m_length ? Phase::AwaitData : Phase::AwaitEnd;
        return;

    case Phase::AwaitData:
        m_data.push_back(byte);
        if (m_data.size() % kBlockSize == 0 || m_data.size() == m_length) {
            if (m_data.size() <= kBlockSize)
                put(out, FaultStep::Data, byte);
            else
                out.push_back(byte);
            if (m_data.size() == m_length) m_phase = Phase::AwaitEnd;
        }
        return;

    case Phase::AwaitEnd:
        if (byte != kEnd) {
            endSend(Outcome::Failed, expected(kEnd, byte));
            return;
        }
        put(out, FaultStep::End, kEnd);
        afterEnd();
        return;

    default:
        stepReceive(byte, out);
        return;
    }
}

void VirtualProcessor::stepReceive(uint8_t byte, core::Bytes& out)
{
    const uint8_t want = m_phase == Phase::AwaitRequest || m_phase == Phase::AwaitBeginEcho ? kStart : m_sent;
    if (byte != want) {
        endReceive(Outcome::Failed, expected(want, byte));
        return;
    }
    const size_t length = m_outgoing.size();
    switch (m_phase) {
    case Phase::AwaitRequest:
        put(out, FaultStep::Begin, kStart);
        m_phase = Phase::AwaitBeginEcho;
        return;
    case Phase::AwaitBeginEcho:
        put(out, FaultStep::Header1, static_cast<uint8_t>(m_command));
        m_phase = Phase::AwaitHeader1Echo;
        return;
    case Phase::AwaitHeader1Echo:
        put(out, FaultStep::Header2, static_cast<uint8_t>(m_memory));
        m_phase = Phase::AwaitHeader2Echo;
        return;
    case Phase::AwaitHeader2Echo:
        put(out, FaultStep::LongHigh, static_cast<uint8_t>(length >> 8));
        m_phase = Phase::AwaitLongHighEcho;
        return;
    case Phase::AwaitLongHighEcho:
        put(out, FaultStep::LongLow, static_cast<uint8_t>(length & 0xFF));
        m_phase = Phase::AwaitLongLowEcho;
        return;
    case Phase::AwaitLongLowEcho:
        m_offset = 0;
        if (length == 0) {
            put(out, FaultStep::ReceiveEnd, kEnd);
            m_phase = Phase::AwaitEndEcho;
        } else {
            sendBlock(out);
        }
        return;
    case Phase::AwaitBlockAnswer:
        m_offset += std::min(kBlockSize, length - m_offset);
        if (m_offset < length) {
            sendBlock(out);
        } else {
            put(out, FaultStep::ReceiveEnd, kEnd);
            m_phase = Phase::AwaitEndEcho;
        }
        return;
    case Phase::AwaitEndEcho:
        endReceive(Outcome::Completed, {});
        return;
    default:
        return;
    }
}

void VirtualProcessor::sendStatus(core::Bytes& out)
{
    const FaultPlan& faults = m_settings.faults;
    const size_t index = static_cast<size_t>(m_memory - 1);
    uint8_t status = memoryStatus();
    if (status != kMemoryProtected && (faults.statusFull[index] || faults.statusEmpty[index])) {
        const uint8_t forced = faults.statusFull[index] ? kMemoryFull : kMemoryEmpty;
        ++m_counters.faultsInjected;
        m_events.push_back(FaultEvent{std::string(faults.statusFull[index] ? "status-full" : "status-empty") +
                                      ": memory " + std::to_string(m_memory) + " reported " +
                                      (forced == kMemoryFull ? "full" : "empty")});
        status = forced;
    }
    m_status = status;
    put(out, FaultStep::Status, status);
    if (m_command == int(Command::Store)) {
        m_phase = status == kMemoryEmpty  ? Phase::AwaitLongHigh
                  : status == kMemoryFull ? Phase::AwaitOverwrite
                                          : Phase::AwaitCancel;
    } else if (status == kMemoryEmpty) {
        endSend(Outcome::Refused, "memory empty");
    } else {
        m_phase = Phase::AwaitLongHigh;
    }
}

void VirtualProcessor::sendBlock(core::Bytes& out)
{
    const size_t count = std::min(kBlockSize, m_outgoing.size() - m_offset);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = m_outgoing[m_offset + i];
        if (m_offset + i == 0) {
            put(out, FaultStep::ReceiveData, byte);
        } else {
            out.push_back(byte);
            m_sent = byte;
        }
    }
    m_phase = Phase::AwaitBlockAnswer;
}

void VirtualProcessor::afterEnd()
{
    std::string detail = apply();
    endSend(Outcome::Completed, std::move(detail));
    if (hasReceiveExchange(m_command)) m_phase = Phase::AwaitRequest;
}

std::string VirtualProcessor::apply()
{
    const size_t size = m_data.size();
    auto ignored = [size](size_t wanted) {
        return "data ignored: " + std::to_string(size) + " bytes, expected " + std::to_string(wanted);
    };
    switch (static_cast<Command>(m_command)) {
    case Command::UploadOs: {
        if (size < 3) return "image ignored: shorter than 3 bytes";
        m_state.operatingSystem = m_data;
        m_state.dspVersion = m_data[2];
        m_events.push_back(StateEvent{StateItem::OperatingSystem, 0});
        m_events.push_back(StateEvent{StateItem::Settings, 0});
        std::string detail =
            "operating system version " + std::to_string(m_data[2]) + ", " + std::to_string(size - 3) + " bytes";
        const size_t word = size_t(m_data[0]) << 8 | m_data[1];
        if (word != size) detail += " (its length word says " + std::to_string(word) + ")";
        return detail;
    }
    case Command::Store: {
        const size_t index = static_cast<size_t>(m_memory - 1);
        if (const auto& at = m_settings.faults.corruptStoredByte; at && *at < m_data.size()) {
            m_data[*at] = static_cast<uint8_t>(~m_data[*at]);
            ++m_counters.faultsInjected;
            m_events.push_back(FaultEvent{"corrupt-store: byte " + std::to_string(*at) + " of memory " +
                                          std::to_string(m_memory) + " kept as " + hex(m_data[*at])});
        }
        m_state.memories[index] = m_data;
        ++m_counters.stores[index];
        m_events.push_back(StateEvent{StateItem::Memory, m_memory});
        return size ? describeImage(m_data) : "empty image: the memory is empty now";
    }
    case Command::Keyboard:
        if (size != 1) return ignored(1);
        m_state.keyboardLock = m_data[0];
        m_events.push_back(StateEvent{StateItem::Settings, 0});
        return m_data[0] == 0xFF ? "keyboard locked"
               : m_data[0] == 0  ? "keyboard unlocked"
                                 : "keyboard byte " + hex(m_data[0]);
    case Command::Password: {
        if (size != 7) return ignored(7);
        std::copy(m_data.begin(), m_data.end(), m_state.password.begin());
        m_events.push_back(StateEvent{StateItem::Settings, 0});
        std::string detail = "password keys";
        for (size_t i = 0; i < 6; ++i)
            detail += " " + std::to_string(m_data[i]);
        return detail + (m_data[6] == 0xFF ? ", active" : ", inactive");
    }
    case Command::ChangeMemory:
        m_state.activeMemory = m_memory;
        m_events.push_back(StateEvent{StateItem::Settings, 0});
        return "active memory " + std::to_string(m_memory);
    case Command::Version:
        m_outgoing = {m_state.dspVersion};
        break;
    case Command::Read:
        m_outgoing = m_state.memories[static_cast<size_t>(m_memory - 1)];
        break;
    case Command::ReadOs:
        m_outgoing = m_state.operatingSystem;
        break;
    case Command::Detect:
    case Command::Reset:
        break;
    }
    return size ? std::to_string(size) + " data bytes ignored" : std::string();
}

void VirtualProcessor::count(ExchangeCounts& counts, Outcome outcome)
{
    if (outcome == Outcome::Completed)
        ++counts.completed;
    else if (outcome == Outcome::Refused)
        ++counts.refused;
    else
        ++counts.failed;
}

void VirtualProcessor::endSend(Outcome outcome, std::string detail)
{
    ExchangeEvent event{Direction::Send, m_command,        m_memory, m_lengthKnown ? int(m_length) : -1,
                        outcome,         std::move(detail)};
    count(isKnownCommand(m_command) ? m_counters.send[size_t(m_command)] : m_counters.sendWithoutCommand, outcome);
    m_events.push_back(std::move(event));
    m_phase = Phase::Idle;
    m_data.clear();
}

void VirtualProcessor::endReceive(Outcome outcome, std::string detail)
{
    ExchangeEvent event{Direction::Receive, m_command, m_memory, int(m_outgoing.size()), outcome, std::move(detail)};
    count(m_counters.receive[size_t(m_command)], outcome);
    m_events.push_back(std::move(event));
    m_phase = Phase::Idle;
    m_outgoing.clear();
}

void VirtualProcessor::abandon(Outcome outcome, const std::string& detail)
{
    const std::string text = detail + " while waiting for " + phaseName(m_phase);
    if (outcome == Outcome::Interrupted) ++m_counters.interrupted;
    if (isReceivePhase())
        endReceive(outcome, text);
    else
        endSend(outcome, text);
}

} // namespace kvr::sim

#pragma once

// The processor's side of the transfer protocol, written from the byte tables alone (no code of
// the program's side), and a synchronous driver that runs the program's side against it with a
// virtual clock. Header-only: the unit tests of the engine and of the operations share it.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "comm/action.h"
#include "comm/deviceoperation.h"
#include "comm/transferengine.h"

namespace kvr::test {

using core::Bytes;

class FakeProcessor {
public:
    enum class Fault { None, Silence, Wrong, Disconnect };

    // What the processor holds.
    uint8_t version = 47;
    std::map<int, Bytes> memories;
    std::set<int> protectedMemories;       // status 0x11
    std::set<int> protectedNumbers;        // 0xFF instead of the number's echo
    Bytes os;                              // answer to command 10
    int announcedLengthOverride = -1;      // LONG announced in a receive exchange, when >= 0

    // What happened.
    Bytes lastUpload;
    int keyboard = -1;
    Bytes password;
    int resets = 0;
    int activeMemory = 0;
    std::vector<std::pair<int, int>> completed; // (command, memory) of every exchange that reached END
    std::vector<uint8_t> overwriteAnswers;      // 0x0E / 0x0F received
    std::vector<uint8_t> receiveEchoes;         // every byte the program answered in a receive exchange

    // The n-th reply (0-based; a data block of a receive exchange counts as one) is dropped or replaced.
    Fault fault = Fault::None;
    int faultAt = -1;
    uint8_t wrongByte = 0;
    int replies = 0;
    bool disconnectRequested = false; // Disconnect: the wire is to be cut instead of the reply

    // Feeds bytes the program wrote; returns the replies in order, one entry per reply.
    std::vector<Bytes> receive(std::span<const uint8_t> bytes)
    {
        std::vector<Bytes> out;
        for (uint8_t b : bytes) step(b, out);
        return out;
    }

private:
    enum class S {
        Idle, Command, Number, SecondNumber, Overwrite, LongHigh, LongLow, Data, End, WaitRequest,
        BeginEcho, HeaderEcho1, HeaderEcho2, HighEcho, LowEcho, BlockEcho, EndEcho
    };

    void reply(Bytes bytes, std::vector<Bytes>& out)
    {
        const int n = replies++;
        if (n == faultAt && fault == Fault::Silence) return;
        if (n == faultAt && fault == Fault::Disconnect) {
            disconnectRequested = true;
            return;
        }
        if (n == faultAt && fault == Fault::Wrong) bytes.back() = wrongByte;
        out.push_back(std::move(bytes));
    }

    static bool hasStatus(int cmd) { return cmd == 3 || cmd == 4 || cmd == 7; }
    static bool answers(int cmd) { return cmd == 2 || cmd == 4 || cmd == 10; }

    void apply()
    {
        completed.emplace_back(m_cmd, m_mem);
        switch (m_cmd) {
        case 1: lastUpload = m_data; break;
        case 3: memories[m_mem] = m_data; break;
        case 5: keyboard = m_data.empty() ? -1 : m_data[0]; break;
        case 6: password = m_data; break;
        case 7: activeMemory = m_mem; break;
        case 8: ++resets; break;
        default: break;
        }
    }

    void sendNextBlock(std::vector<Bytes>& out)
    {
        if (m_sentOut >= m_payload.size()) {
            reply({0x55}, out);
            m_s = S::EndEcho;
            return;
        }
        const size_t n = std::min<size_t>(64, m_payload.size() - m_sentOut);
        reply(Bytes(m_payload.begin() + long(m_sentOut), m_payload.begin() + long(m_sentOut + n)), out);
        m_sentOut += n;
        m_s = S::BlockEcho;
    }

    void step(uint8_t b, std::vector<Bytes>& out)
    {
        switch (m_s) {
        case S::Idle:
            if (b == 0x6F) {
                reply({0x6F}, out);
                m_s = S::Command;
            }
            return;
        case S::Command:
            m_cmd = b;
            reply({b}, out);
            m_s = S::Number;
            return;
        case S::Number:
            m_mem = b;
            if (protectedNumbers.count(b)) {
                reply({0xFF}, out);
                m_s = S::Idle;
                return;
            }
            reply({b}, out);
            m_s = S::SecondNumber;
            return;
        case S::SecondNumber:
            m_s = S::LongHigh;
            if (!hasStatus(m_cmd)) return;
            if (m_cmd == 3) {
                const uint8_t st = protectedMemories.count(m_mem) ? 0x11 : memories.count(m_mem) ? 0x0D : 0x0C;
                reply({st}, out);
                if (st != 0x0C) m_s = S::Overwrite;
            } else {
                const bool full = memories.count(m_mem) > 0;
                reply({uint8_t(full ? 0x0D : 0x0C)}, out);
                if (!full) m_s = S::Idle;
            }
            return;
        case S::Overwrite:
            overwriteAnswers.push_back(b);
            m_s = b == 0x0E ? S::LongHigh : S::Idle;
            return;
        case S::LongHigh:
            m_len = size_t(b) << 8;
            m_s = S::LongLow;
            return;
        case S::LongLow:
            m_len |= b;
            m_data.clear();
            reply({b}, out);
            m_s = m_len == 0 ? S::End : S::Data;
            return;
        case S::Data:
            m_data.push_back(b);
            if (m_data.size() % 64 == 0 || m_data.size() == m_len) reply({b}, out);
            if (m_data.size() == m_len) m_s = S::End;
            return;
        case S::End:
            if (b != 0x55) return;
            reply({0x55}, out);
            apply();
            m_s = answers(m_cmd) ? S::WaitRequest : S::Idle;
            return;
        case S::WaitRequest:
            if (b != 0x6F) return;
            m_payload = m_cmd == 2 ? Bytes{version} : m_cmd == 4 ? memories[m_mem] : os;
            m_sentOut = 0;
            reply({0x6F}, out);
            m_s = S::BeginEcho;
            return;
        case S::BeginEcho:
            receiveEchoes.push_back(b);
            reply({m_cmd}, out);
            m_s = S::HeaderEcho1;
            return;
        case S::HeaderEcho1:
            receiveEchoes.push_back(b);
            reply({m_mem}, out);
            m_s = S::HeaderEcho2;
            return;
        case S::HeaderEcho2: {
            receiveEchoes.push_back(b);
            const size_t len = announcedLengthOverride >= 0 ? size_t(announcedLengthOverride) : m_payload.size();
            m_announced = len;
            reply({uint8_t(len >> 8)}, out);
            m_s = S::HighEcho;
            return;
        }
        case S::HighEcho:
            receiveEchoes.push_back(b);
            reply({uint8_t(m_announced & 0xFF)}, out);
            m_s = S::LowEcho;
            return;
        case S::LowEcho:
            receiveEchoes.push_back(b);
            m_payload.resize(m_announced);
            return sendNextBlock(out);
        case S::BlockEcho:
            receiveEchoes.push_back(b);
            return sendNextBlock(out);
        case S::EndEcho:
            receiveEchoes.push_back(b);
            m_s = S::Idle;
            return;
        }
    }

    S m_s = S::Idle;
    uint8_t m_cmd = 0;
    uint8_t m_mem = 0;
    size_t m_len = 0;
    size_t m_announced = 0;
    Bytes m_data;
    Bytes m_payload;
    size_t m_sentOut = 0;
};

// Everything the program's side asked for, in order, with the virtual time it took.
struct Trace {
    core::Actions actions;
    std::vector<Bytes> writes;
    Bytes wire;
    std::vector<std::string> statuses;
    std::vector<core::Message> messages;
    std::vector<core::Question> questions;
    std::vector<core::ConnectionEffect> effects;
    std::vector<int> selectors;
    std::vector<std::pair<core::TimerId, int>> timers;
    int opens = 0;
    int closes = 0;
    int elapsedMs = 0;
    bool finished = false;
    core::Outcome outcome;

    bool hasStatus(const std::string& text) const
    {
        for (const auto& s : statuses)
            if (s == text) return true;
        return false;
    }
    bool hasMessage(const std::string& text) const
    {
        for (const auto& m : messages)
            if (m.text == text) return true;
        return false;
    }
    int timerTotalMs(core::TimerId id) const
    {
        int total = 0;
        for (auto [t, ms] : timers)
            if (t == id) total += ms;
        return total;
    }
};

using Answerer = std::function<core::Answer(const core::Question&)>;

inline core::Answer reply(core::Button button)
{
    core::Answer a;
    a.button = button;
    return a;
}

// Runs `driven` (an operation, or an engine adapter with the same event methods) against the
// processor. Replies are delivered in pieces of `chunks` (cycled; empty = whole).
template <typename Driven>
Trace drive(Driven& driven, FakeProcessor& proc, Answerer answerer = {}, std::vector<size_t> chunks = {},
          core::Status openStatus = {})
{
    Trace run;
    std::vector<uint8_t> pending;
    bool open = false;
    bool asked = false;
    core::Question question;
    int replyArmed = 0;
    std::vector<std::pair<core::TimerId, int>> timers;
    size_t chunkIndex = 0;

    driven.start();
    for (int guard = 0; guard < 1'000'000; ++guard) {
        for (auto& a : driven.takeActions()) {
            switch (a.kind) {
            case core::ActionKind::OpenLink: open = true; ++run.opens; break;
            case core::ActionKind::CloseLink: ++run.closes; break;
            case core::ActionKind::Send:
                run.writes.push_back(a.bytes);
                run.wire.insert(run.wire.end(), a.bytes.begin(), a.bytes.end());
                for (auto& r : proc.receive(a.bytes)) pending.insert(pending.end(), r.begin(), r.end());
                break;
            case core::ActionKind::ArmReplyTimer: replyArmed = a.ms; break;
            case core::ActionKind::StopReplyTimer: replyArmed = 0; break;
            case core::ActionKind::StartTimer:
                timers.emplace_back(a.timer, a.ms);
                run.timers.emplace_back(a.timer, a.ms);
                break;
            case core::ActionKind::Status: run.statuses.push_back(a.text); break;
            case core::ActionKind::ShowMessage: run.messages.push_back(a.message); break;
            case core::ActionKind::Ask:
                asked = true;
                question = a.question;
                run.questions.push_back(a.question);
                break;
            case core::ActionKind::Connection: run.effects.push_back(a.effect); break;
            case core::ActionKind::MemorySelector: run.selectors.push_back(a.memory); break;
            case core::ActionKind::Finished:
                run.finished = true;
                run.outcome = a.outcome;
                break;
            default: break;
            }
            run.actions.push_back(std::move(a));
        }
        if (run.finished || driven.finished()) break;
        if (open) {
            open = false;
            driven.linkOpened(openStatus);
        } else if (asked) {
            asked = false;
            driven.answered(answerer ? answerer(question) : reply(core::Button::No));
        } else if (!pending.empty()) {
            size_t n = chunks.empty() ? pending.size() : std::min(pending.size(), chunks[chunkIndex++ % chunks.size()]);
            Bytes piece(pending.begin(), pending.begin() + long(n));
            pending.erase(pending.begin(), pending.begin() + long(n));
            driven.bytesReceived(piece);
        } else if (!timers.empty()) {
            auto [id, ms] = timers.front();
            timers.erase(timers.begin());
            run.elapsedMs += ms;
            driven.timerFired(id);
        } else if (replyArmed > 0) {
            run.elapsedMs += replyArmed;
            replyArmed = 0;
            driven.replyTimedOut();
        } else {
            break; // nothing left to happen
        }
    }
    return run;
}

// Lets drive() run a bare engine exchange.
struct EngineDriver {
    core::TransferEngine engine;
    core::ExchangeSpec request;
    void start() { engine.start(request); }
    void linkOpened(const core::Status& s) { engine.linkOpened(s); }
    void bytesReceived(std::span<const uint8_t> b) { engine.bytesReceived(b); }
    void replyTimedOut() { engine.replyTimedOut(); }
    void timerFired(core::TimerId t) { engine.timerFired(t); }
    void answered(const core::Answer& a) { engine.answered(a); }
    core::Actions takeActions() { return engine.takeActions(); }
    bool finished() const { return engine.done(); }
};

} // namespace kvr::test

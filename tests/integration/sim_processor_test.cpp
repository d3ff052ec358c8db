#include <gtest/gtest.h>

#include <random>

#include "sim/virtualprocessor.h"
#include "sim_programside.h"

using namespace kvr::sim;
using simtest::Bytes;
using simtest::ReceiveResult;
using simtest::SendResult;

namespace {

// Feeds the processor directly; one millisecond passes per call.
class CoreWire : public simtest::Wire {
public:
    explicit CoreWire(VirtualProcessor& processor) : m_processor(processor) {}

    Bytes exchange(const Bytes& out, size_t) override { return feed(out); }
    void send(const Bytes& out) override { EXPECT_EQ(feed(out), Bytes{}) << "answer to a byte that wants none"; }

    Bytes feed(const Bytes& out)
    {
        auto reply = m_processor.receive(std::span<const uint8_t>(out), now += 1);
        dropped = dropped || reply.dropLink;
        return reply.bytes;
    }

    int64_t now = 1000;
    bool dropped = false;

private:
    VirtualProcessor& m_processor;
};

std::vector<ExchangeEvent> exchangesOf(VirtualProcessor& processor)
{
    std::vector<ExchangeEvent> exchanges;
    for (auto& event : processor.takeEvents())
        if (event.kind == ProcessorEvent::Kind::Exchange) exchanges.push_back(event.exchange);
    return exchanges;
}

std::vector<std::string> faultsOf(VirtualProcessor& processor)
{
    std::vector<std::string> faults;
    for (auto& event : processor.takeEvents())
        if (event.kind == ProcessorEvent::Kind::Fault) faults.push_back(event.fault.text);
    return faults;
}

VirtualProcessor withFaults(FaultPlan faults, ProcessorState state = defaultProcessorState())
{
    VirtualProcessor::Settings settings;
    settings.faults = std::move(faults);
    return VirtualProcessor(std::move(state), settings);
}

FaultPlan wrong(const char* step)
{
    FaultPlan plan;
    plan.wrongBytes.push_back(parseWrongByte(step).value());
    return plan;
}

} // namespace

// ---- Whole dialogues, byte by byte ------------------------------------------------------------

TEST(VirtualProcessorDialogue, DetectAnswersEveryStepAndLengthZero)
{
    VirtualProcessor p;
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x6F}), Bytes{0x6F});
    EXPECT_EQ(w.feed({0x00}), Bytes{0x00});
    EXPECT_EQ(w.feed({0x00}), Bytes{0x00});
    EXPECT_EQ(w.feed({0x00}), Bytes{}); // the second copy of the number is not answered
    EXPECT_EQ(w.feed({0x00, 0x00}), Bytes{0x00});
    EXPECT_EQ(w.feed({0x55}), Bytes{0x55});
    EXPECT_TRUE(p.idle());
    EXPECT_EQ(p.counters().send[0].completed, 1u);
    EXPECT_EQ(p.counters().bytesIn, 7u);
    EXPECT_EQ(p.counters().bytesOut, 5u);
}

TEST(VirtualProcessorDialogue, VersionReadRunsTheReceiveExchange)
{
    VirtualProcessor p;
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x6F, 0x02, 0x00}), (Bytes{0x6F, 0x02, 0x00})); // bytes may come together
    EXPECT_EQ(w.feed({0x00, 0x00, 0x00, 0x55}), (Bytes{0x00, 0x55}));
    EXPECT_EQ(p.phase(), VirtualProcessor::Phase::AwaitRequest);
    EXPECT_EQ(w.feed({0x6F}), Bytes{0x6F}); // the request, answered with BEGIN
    EXPECT_EQ(w.feed({0x6F}), Bytes{0x02}); // BEGIN echo → first header: the command
    EXPECT_EQ(w.feed({0x02}), Bytes{0x00}); // second header: the memory number
    EXPECT_EQ(w.feed({0x00}), Bytes{0x00}); // length high
    EXPECT_EQ(w.feed({0x00}), Bytes{0x01}); // length low
    EXPECT_EQ(w.feed({0x01}), Bytes{47});   // the one data byte: the DSP version
    EXPECT_EQ(w.feed({47}), Bytes{0x55});
    EXPECT_EQ(w.feed({0x55}), Bytes{});
    EXPECT_TRUE(p.idle());
    EXPECT_EQ(p.counters().receive[2].completed, 1u);
}

TEST(VirtualProcessorDialogue, StoreReadChangeAndSettings)
{
    VirtualProcessor p;
    CoreWire w(p);
    const Bytes image = simtest::makeImage(200, 3); // three full blocks and a partial one of 8

    // Store into the empty memory 5, every answer checked.
    EXPECT_EQ(w.feed({0x6F}), Bytes{0x6F});
    EXPECT_EQ(w.feed({0x03}), Bytes{0x03});
    EXPECT_EQ(w.feed({0x05}), Bytes{0x05});
    EXPECT_EQ(w.feed({0x05}), Bytes{0x0C});
    EXPECT_EQ(w.feed({0x00, 200}), Bytes{200});
    for (size_t offset = 0; offset < 200; offset += 64) {
        const size_t count = std::min<size_t>(64, 200 - offset);
        const Bytes block(image.begin() + long(offset), image.begin() + long(offset + count));
        EXPECT_EQ(w.feed(block), Bytes{block.back()}) << "block at " << offset;
    }
    EXPECT_EQ(w.feed({0x55}), Bytes{0x55});
    EXPECT_EQ(p.state().memories[4], image);
    EXPECT_EQ(p.counters().stores[4], 1u);

    // Read it back: the receive exchange carries command 4, memory 5 and the image.
    EXPECT_EQ(simtest::runSend(w, 4, 5, {}).kind, SendResult::Kind::Completed);
    ReceiveResult read = simtest::runReceive(w);
    ASSERT_TRUE(read.ok) << read.why;
    EXPECT_EQ(read.begin, 0x6F);
    EXPECT_EQ(read.header1, 4);
    EXPECT_EQ(read.header2, 5);
    EXPECT_EQ(read.end, 0x55);
    EXPECT_EQ(read.data, image);

    // Change the active memory.
    SendResult change = simtest::runSend(w, 7, 5, {});
    EXPECT_EQ(change.kind, SendResult::Kind::Completed);
    EXPECT_EQ(change.status, 0x0D);
    EXPECT_EQ(p.state().activeMemory, 5);

    // Keyboard lock and unlock, password.
    EXPECT_EQ(simtest::runSend(w, 5, 0, {0xFF}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(p.state().keyboardLock, 0xFF);
    EXPECT_EQ(simtest::runSend(w, 5, 0, {0x00}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(p.state().keyboardLock, 0x00);
    const Bytes password = {1, 2, 3, 3, 2, 1, 0xFF};
    EXPECT_EQ(simtest::runSend(w, 6, 0, password).kind, SendResult::Kind::Completed);
    EXPECT_EQ(Bytes(p.state().password.begin(), p.state().password.end()), password);

    EXPECT_EQ(simtest::runSend(w, 8, 0, {}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(p.counters().send[8].completed, 1u);
    EXPECT_TRUE(p.idle());
}

TEST(VirtualProcessorDialogue, UploadedOperatingSystemSetsTheVersionAndReadsBack)
{
    VirtualProcessor p;
    CoreWire w(p);
    Bytes os = {0x00, 0x00, 46};
    for (int i = 0; i < 130; ++i)
        os.push_back(static_cast<uint8_t>(i * 7));
    os[0] = static_cast<uint8_t>((os.size()) >> 8); // hi/lo = N + 3
    os[1] = static_cast<uint8_t>(os.size() & 0xFF);
    EXPECT_EQ(simtest::runSend(w, 1, 1, os).kind, SendResult::Kind::Completed);

    EXPECT_EQ(simtest::runSend(w, 2, 0, {}).kind, SendResult::Kind::Completed);
    ReceiveResult version = simtest::runReceive(w);
    ASSERT_TRUE(version.ok) << version.why;
    EXPECT_EQ(version.data, Bytes{46});

    EXPECT_EQ(simtest::runSend(w, 10, 0, {}).kind, SendResult::Kind::Completed);
    ReceiveResult read = simtest::runReceive(w);
    ASSERT_TRUE(read.ok) << read.why;
    EXPECT_EQ(read.header1, 10);
    EXPECT_EQ(read.data, os);
}

TEST(VirtualProcessorDialogue, BuiltInOperatingSystemIsConsistent)
{
    VirtualProcessor p;
    CoreWire w(p);
    EXPECT_EQ(simtest::runSend(w, 10, 0, {}).kind, SendResult::Kind::Completed);
    ReceiveResult read = simtest::runReceive(w);
    ASSERT_TRUE(read.ok) << read.why;
    ASSERT_GE(read.data.size(), 4u);
    EXPECT_EQ(size_t(read.data[0]) * 256 + read.data[1], read.data.size()); // hi/lo = N + 3
    EXPECT_EQ(read.data[2], 47);
}

TEST(VirtualProcessorDialogue, ExactMultipleOfSixtyFourHasNoPartialBlock)
{
    VirtualProcessor p;
    CoreWire w(p);
    const Bytes image = simtest::makeImage(128, 9);
    SendResult store = simtest::runSend(w, 3, 1, image);
    EXPECT_EQ(store.kind, SendResult::Kind::Completed);
    EXPECT_EQ(store.blockAnswers, (Bytes{image[63], image[127]}));
    EXPECT_EQ(p.state().memories[0], image);
}

// ---- Memory status paths ----------------------------------------------------------------------

TEST(VirtualProcessorStatus, FullMemoryOverwrittenOrDeclined)
{
    ProcessorState state = defaultProcessorState();
    state.memories[1] = simtest::makeImage(60, 1);
    VirtualProcessor p(state, {});
    CoreWire w(p);
    const Bytes replacement = simtest::makeImage(70, 2);

    SendResult declined = simtest::runSend(w, 3, 2, replacement, false);
    EXPECT_EQ(declined.kind, SendResult::Kind::Refused);
    EXPECT_EQ(declined.status, 0x0D);
    EXPECT_EQ(p.state().memories[1], state.memories[1]);
    EXPECT_TRUE(p.idle());

    // 0x0E and the length may arrive in one piece.
    EXPECT_EQ(w.feed({0x6F, 0x03, 0x02, 0x02}), (Bytes{0x6F, 0x03, 0x02, 0x0D}));
    EXPECT_EQ(w.feed({0x0E, 0x00, 70}), Bytes{70});
    EXPECT_EQ(w.feed(Bytes(replacement.begin(), replacement.begin() + 64)), Bytes{replacement[63]});
    EXPECT_EQ(w.feed(Bytes(replacement.begin() + 64, replacement.end())), Bytes{replacement[69]});
    EXPECT_EQ(w.feed({0x55}), Bytes{0x55});
    EXPECT_EQ(p.state().memories[1], replacement);
    EXPECT_EQ(p.counters().send[3].refused, 1u);
    EXPECT_EQ(p.counters().send[3].completed, 1u);
}

TEST(VirtualProcessorStatus, ProtectedMemoryEndsTheStoreButMayBeRead)
{
    ProcessorState state = defaultProcessorState();
    state.memories[6] = simtest::makeImage(50, 5);
    state.protectedMemories[6] = true;
    state.protectedMemories[7] = true; // empty and protected
    VirtualProcessor p(state, {});
    CoreWire w(p);

    SendResult store = simtest::runSend(w, 3, 7, simtest::makeImage(60, 6));
    EXPECT_EQ(store.kind, SendResult::Kind::Refused);
    EXPECT_EQ(store.status, 0x11);
    EXPECT_EQ(p.state().memories[6], state.memories[6]);
    EXPECT_EQ(simtest::runSend(w, 3, 8, simtest::makeImage(60, 6)).status, 0x11);
    EXPECT_TRUE(p.state().memories[7].empty());

    SendResult read = simtest::runSend(w, 4, 7, {});
    EXPECT_EQ(read.status, 0x0D);
    ASSERT_EQ(read.kind, SendResult::Kind::Completed);
    EXPECT_EQ(simtest::runReceive(w).data, state.memories[6]);
    EXPECT_EQ(simtest::runSend(w, 7, 7, {}).kind, SendResult::Kind::Completed);
    EXPECT_EQ(p.state().activeMemory, 7);
}

TEST(VirtualProcessorStatus, ReadOrChangeOfAnEmptyMemoryEndsAfterTheStatus)
{
    VirtualProcessor p;
    CoreWire w(p);
    for (uint8_t command : {uint8_t(4), uint8_t(7)}) {
        SendResult result = simtest::runSend(w, command, 9, {});
        EXPECT_EQ(result.kind, SendResult::Kind::Refused) << int(command);
        EXPECT_EQ(result.status, 0x0C) << int(command);
        EXPECT_TRUE(p.idle()) << int(command);
    }
    EXPECT_EQ(p.state().activeMemory, 1);
    // The next exchange starts cleanly.
    EXPECT_EQ(simtest::runSend(w, 0, 0, {}).kind, SendResult::Kind::Completed);
}

TEST(VirtualProcessorStatus, MemoryNumbersOutsideOneToEighteenAreRefused)
{
    VirtualProcessor p;
    CoreWire w(p);
    for (uint8_t memory : {uint8_t(0), uint8_t(19), uint8_t(255)}) {
        for (uint8_t command : {uint8_t(3), uint8_t(4), uint8_t(7)}) {
            SendResult result = simtest::runSend(w, command, memory, {});
            EXPECT_EQ(result.kind, SendResult::Kind::Refused) << int(command) << "/" << int(memory);
            EXPECT_EQ(result.why, "number");
        }
    }
    EXPECT_TRUE(p.idle());
}

// ---- Wrong bytes from the program -------------------------------------------------------------

TEST(VirtualProcessorWrongProgram, EveryWrongAnswerEndsTheExchangeSilently)
{
    struct Case {
        const char* what;
        Bytes prefix; // bytes that are right
        uint8_t wrongByte;
    };
    ProcessorState full = defaultProcessorState();
    full.memories[2] = simtest::makeImage(60, 1);
    full.protectedMemories[3] = true;
    const std::vector<Case> cases = {
        {"unknown command", {0x6F}, 9},
        {"second number differs", {0x6F, 0x03, 0x05}, 0x06},
        {"overwrite answer", {0x6F, 0x03, 0x03, 0x03}, 0x6F},
        {"cancel after protected", {0x6F, 0x03, 0x04, 0x04}, 0x0E},
        {"end", {0x6F, 0x00, 0x00, 0x00, 0x00, 0x00}, 0x56},
        {"request", {0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55}, 0x70},
        {"begin echo", {0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55, 0x6F}, 0x00},
        {"header echo", {0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55, 0x6F, 0x6F}, 0x03},
        {"block answer", {0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55, 0x6F, 0x6F, 0x02, 0x00, 0x00, 0x01}, 46},
        {"end echo", {0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55, 0x6F, 0x6F, 0x02, 0x00, 0x00, 0x01, 47}, 0x54},
    };
    for (const Case& c : cases) {
        VirtualProcessor p(full, {});
        CoreWire w(p);
        w.feed(c.prefix);
        EXPECT_FALSE(p.idle()) << c.what;
        EXPECT_EQ(w.feed({c.wrongByte}), Bytes{}) << c.what;
        EXPECT_TRUE(p.idle()) << c.what;
        auto exchanges = exchangesOf(p);
        ASSERT_FALSE(exchanges.empty()) << c.what;
        EXPECT_EQ(exchanges.back().outcome, Outcome::Failed) << c.what;
        EXPECT_EQ(simtest::runSend(w, 0, 0, {}).kind, SendResult::Kind::Completed) << c.what;
    }
}

TEST(VirtualProcessorWrongProgram, NoiseWhileIdleIsIgnored)
{
    VirtualProcessor p;
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x00, 0x55, 0xFF, 0x0E}), Bytes{});
    EXPECT_EQ(p.counters().ignoredBytes, 4u);
    EXPECT_EQ(simtest::runSend(w, 0, 0, {}).kind, SendResult::Kind::Completed);
}

// ---- Silence --------------------------------------------------------------------------------

TEST(VirtualProcessorSilence, MoreThanTheTimeoutMidExchangeResetsToIdle)
{
    VirtualProcessor p; // 5000 ms
    CoreWire w(p);
    w.feed({0x6F, 0x03});
    const int64_t last = w.now;
    ASSERT_TRUE(p.deadlineMs().has_value());
    EXPECT_EQ(*p.deadlineMs(), last + 5001);
    p.handleTimeout(last + 5000); // exactly the timeout: still waiting
    EXPECT_FALSE(p.idle());
    p.handleTimeout(last + 5001);
    EXPECT_TRUE(p.idle());
    EXPECT_EQ(p.counters().timeouts, 1u);
    auto exchanges = exchangesOf(p);
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_EQ(exchanges[0].outcome, Outcome::TimedOut);
    EXPECT_EQ(exchanges[0].command, 3);
    EXPECT_FALSE(p.deadlineMs().has_value());
}

TEST(VirtualProcessorSilence, ALateByteStartsAfreshEvenWithoutTheTimer)
{
    VirtualProcessor p;
    CoreWire w(p);
    w.feed({0x6F, 0x02, 0x00, 0x00, 0x00, 0x00, 0x55}); // now waiting for the request
    w.now += 6000;
    EXPECT_EQ(w.feed({0x6F}), Bytes{0x6F}); // a new START, not the request
    EXPECT_EQ(w.feed({0x00}), Bytes{0x00});
    EXPECT_EQ(p.counters().receive[2].failed, 1u);
}

TEST(VirtualProcessorSilence, TheOverwriteQuestionMayTakeLonger)
{
    ProcessorState state = defaultProcessorState();
    state.memories[0] = simtest::makeImage(60, 1);
    VirtualProcessor p(state, {});
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x6F, 0x03, 0x01, 0x01}).back(), 0x0D);
    w.now += 60000; // a person reading the question box
    EXPECT_EQ(w.feed({0x0E, 0x00, 0x01}), Bytes{0x01});
}

// ---- Failure modes ----------------------------------------------------------------------------

TEST(VirtualProcessorFaults, RefuseNumberAnswersEveryNumberWithFF)
{
    FaultPlan plan;
    plan.refuseNumber = true;
    VirtualProcessor p = withFaults(plan);
    CoreWire w(p);
    for (uint8_t command : {uint8_t(0), uint8_t(2), uint8_t(3), uint8_t(5)}) {
        SendResult result = simtest::runSend(w, command, command == 3 ? 4 : 0, {});
        EXPECT_EQ(result.kind, SendResult::Kind::Refused) << int(command);
        EXPECT_EQ(result.why, "number");
    }
    EXPECT_EQ(p.counters().faultsInjected, 4u);
    EXPECT_EQ(faultsOf(p).size(), 4u);
}

TEST(VirtualProcessorFaults, StopAfterGoesSilentForTheRestOfTheRun)
{
    FaultPlan plan;
    plan.stopAfterBytes = 3;
    VirtualProcessor p = withFaults(plan);
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x6F, 0x00, 0x00}), (Bytes{0x6F, 0x00, 0x00}));
    EXPECT_EQ(w.feed({0x00, 0x00, 0x00}), Bytes{});
    p.linkOpened();
    EXPECT_EQ(w.feed({0x6F}), Bytes{});
    EXPECT_TRUE(p.stopped());
    auto faults = faultsOf(p);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0], "stop-after 3: the processor stops answering");
    EXPECT_EQ(p.counters().ignoredBytes, 4u);
}

TEST(VirtualProcessorFaults, DropAfterClosesEachConnectionAfterItsBytes)
{
    FaultPlan plan;
    plan.dropAfterBytes = 4;
    VirtualProcessor p = withFaults(plan);
    CoreWire w(p);
    EXPECT_EQ(w.feed({0x6F, 0x00, 0x00}), (Bytes{0x6F, 0x00, 0x00}));
    EXPECT_FALSE(w.dropped);
    EXPECT_EQ(w.feed({0x00, 0x00}), Bytes{}); // the fourth byte: closed, the fifth ignored
    EXPECT_TRUE(w.dropped);
    EXPECT_TRUE(p.idle());
    EXPECT_EQ(exchangesOf(p).back().outcome, Outcome::Interrupted);
    p.linkClosed();
    p.linkOpened();
    w.dropped = false;
    EXPECT_EQ(w.feed({0x6F, 0x00}), (Bytes{0x6F, 0x00})); // a new connection counts from zero
}

TEST(VirtualProcessorFaults, WrongByteAtEachSendStep)
{
    ProcessorState state = defaultProcessorState();
    state.memories[1] = simtest::makeImage(70, 4);
    struct Case {
        const char* step;
        Bytes in;
        Bytes out;
    };
    // Store into the full memory 2 of 70 bytes: every answer of the send exchange in turn.
    const Bytes block1(state.memories[1].begin(), state.memories[1].begin() + 64);
    const Bytes block2(state.memories[1].begin() + 64, state.memories[1].end());
    auto store = [&](std::vector<Bytes> answers) {
        std::vector<std::pair<Bytes, Bytes>> steps = {
            {{0x6F}, answers[0]},           {{0x03}, answers[1]}, {{0x02}, answers[2]},      {{0x02}, answers[3]},
            {{0x0E, 0x00, 70}, answers[4]}, {block1, answers[5]}, {block2, {block2.back()}}, {{0x55}, answers[6]}};
        return steps;
    };
    const std::vector<Bytes> right = {{0x6F}, {0x03}, {0x02}, {0x0D}, {70}, {block1.back()}, {0x55}};
    const char* steps[] = {"start", "command", "number", "status", "long", "data", "end"};
    for (size_t s = 0; s < 7; ++s) {
        VirtualProcessor p = withFaults(wrong(steps[s]), state);
        CoreWire w(p);
        std::vector<Bytes> expected = right;
        expected[s] = {static_cast<uint8_t>(~right[s][0])}; // default: every bit inverted
        for (auto& [in, out] : store(expected))
            EXPECT_EQ(w.feed(in), out) << steps[s];
        EXPECT_TRUE(p.idle()) << steps[s]; // its own machine went on as if the byte were right
        auto faults = faultsOf(p);
        ASSERT_EQ(faults.size(), 1u) << steps[s];
        EXPECT_EQ(faults[0].rfind(std::string("wrong-byte ") + steps[s], 0), 0u) << faults[0];
    }
}

TEST(VirtualProcessorFaults, WrongByteValueAndCommandFilter)
{
    VirtualProcessor p = withFaults(wrong("long:0x12@3"));
    CoreWire w(p);
    EXPECT_EQ(simtest::runSend(w, 0, 0, {}).kind, SendResult::Kind::Completed); // detect untouched
    EXPECT_EQ(w.feed({0x6F, 0x03, 0x01, 0x01}), (Bytes{0x6F, 0x03, 0x01, 0x0C}));
    EXPECT_EQ(w.feed({0x00, 0x01}), Bytes{0x12});
}

TEST(VirtualProcessorFaults, WrongByteAtEachReceiveStep)
{
    // Version read, receive side: BEGIN, header1, header2, long-high, long-low, data, END.
    const Bytes right = {0x6F, 0x02, 0x00, 0x00, 0x01, 47, 0x55};
    const char* steps[] = {"begin", "header1", "header2", "long-high", "long-low", "receive-data", "receive-end"};
    for (size_t s = 0; s < 7; ++s) {
        VirtualProcessor p = withFaults(wrong((std::string(steps[s]) + ":0xA5").c_str()));
        CoreWire w(p);
        ASSERT_EQ(simtest::runSend(w, 2, 0, {}).kind, SendResult::Kind::Completed) << steps[s];
        Bytes sent;
        // Play the program by hand: it echoes whatever came (0x6F for BEGIN).
        Bytes in = w.feed({0x6F});
        for (size_t i = 0; i < 6 && in.size() == 1; ++i) {
            sent.push_back(in[0]);
            in = w.feed({i == 0 ? uint8_t(0x6F) : in[0]});
        }
        ASSERT_EQ(in.size(), 1u) << steps[s];
        sent.push_back(in[0]);
        EXPECT_EQ(w.feed(in), Bytes{}) << steps[s];
        Bytes expected = right;
        expected[s] = 0xA5;
        if (s == 3) {
            // A wrong length high byte: the program now waits for more; the processor does not.
            EXPECT_EQ(sent[3], 0xA5);
            continue;
        }
        EXPECT_EQ(sent, expected) << steps[s];
        EXPECT_TRUE(p.idle()) << steps[s];
        EXPECT_EQ(p.counters().receive[2].completed, 1u) << steps[s]; // echoes of its own bytes
    }
}

TEST(VirtualProcessorFaults, DataAndEndNameTheStepOfBothExchanges)
{
    auto parsed = parseWrongByte("data");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->steps, (std::vector<FaultStep>{FaultStep::Data, FaultStep::ReceiveData}));
    EXPECT_EQ(parseWrongByte("end")->steps, (std::vector<FaultStep>{FaultStep::End, FaultStep::ReceiveEnd}));
    EXPECT_EQ(parseWrongByte("send-end")->steps, std::vector<FaultStep>{FaultStep::End});
    EXPECT_EQ(parseWrongByte("long-low:255")->value, uint8_t(255));
    EXPECT_FALSE(parseWrongByte("middle").ok());
    EXPECT_FALSE(parseWrongByte("long:256").ok());
    EXPECT_FALSE(parseWrongByte("long@9").ok());
}

TEST(VirtualProcessorFaults, ForcedStatusFullAndEmpty)
{
    FaultPlan plan;
    plan.statusFull[2] = true;
    plan.statusEmpty[3] = true;
    ProcessorState state = defaultProcessorState();
    state.memories[3] = simtest::makeImage(60, 1);
    VirtualProcessor p = withFaults(plan, state);
    CoreWire w(p);
    EXPECT_EQ(simtest::runSend(w, 3, 3, simtest::makeImage(60, 2), false).status, 0x0D);
    SendResult read = simtest::runSend(w, 4, 4, {});
    EXPECT_EQ(read.status, 0x0C);
    EXPECT_EQ(read.kind, SendResult::Kind::Refused);
    EXPECT_EQ(faultsOf(p).size(), 2u);
}

// ---- Arbitrary bytes ----------------------------------------------------------------------------

TEST(VirtualProcessorGarbage, RandomBytesNeverBreakItAndALinkResetRecovers)
{
    std::mt19937 random(610);
    // Protocol bytes are likelier than others, so the deeper phases are reached too.
    const uint8_t likely[] = {0x6F, 0x55, 0x0E, 0x0F, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x07, 0x0A, 0x40};
    for (int round = 0; round < 300; ++round) {
        FaultPlan plan;
        if (round % 5 == 1) plan.wrongBytes.push_back(parseWrongByte("data").value());
        if (round % 7 == 2) plan.refuseNumber = true;
        ProcessorState state = defaultProcessorState();
        state.memories[round % kMemoryCount] = simtest::makeImage(size_t(random() % 300), uint8_t(round));
        state.protectedMemories[(round * 5) % kMemoryCount] = true;
        VirtualProcessor p = withFaults(plan, state);
        int64_t now = 0;
        uint64_t fed = 0;
        for (int chunk = 0; chunk < 200; ++chunk) {
            Bytes bytes(random() % 70);
            for (auto& b : bytes)
                b = random() % 3 ? likely[random() % sizeof likely] : uint8_t(random());
            now += random() % 4 == 0 ? int64_t(random() % 7000) : 1;
            auto reply = p.receive(std::span<const uint8_t>(bytes), now);
            fed += bytes.size();
            // Lock-step: at most one block of 64 (plus a byte or two) per byte received.
            ASSERT_LE(reply.bytes.size(), bytes.size() * 66 + 1);
            if (random() % 25 == 0) p.linkOpened();
            if (random() % 25 == 0) p.handleTimeout(now + 10000);
        }
        EXPECT_EQ(p.counters().bytesIn, fed);
        p.takeEvents();
        p.linkOpened();
        CoreWire w(p);
        w.now = now + 1;
        SendResult detect = simtest::runSend(w, 0, 0, {});
        EXPECT_EQ(detect.kind, plan.refuseNumber ? SendResult::Kind::Refused : SendResult::Kind::Completed)
            << "round " << round;
    }
}

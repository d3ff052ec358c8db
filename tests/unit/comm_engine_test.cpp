#include <gtest/gtest.h>

#include <numeric>

#include "comm/transferengine.h"
#include "fakeprocessor.h"

using namespace kvr::core;
using kvr::test::drive;
using kvr::test::EngineDriver;
using kvr::test::FakeProcessor;
using kvr::test::Trace;

namespace {

LinkInfo usb() { return {LinkKind::Usb, {}}; }
LinkInfo ethernet() { return {LinkKind::Ethernet, "EM100-A"}; }
LinkInfo serial() { return {LinkKind::Serial, {}}; }

Bytes pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    return b;
}

EngineDriver engine(LinkInfo link, Command cmd, int memory, Bytes data = {}, ReceiveKind receive = ReceiveKind::None,
                    size_t capacity = protocol::kReceiveBufferSize)
{
    EngineDriver d{TransferEngine(std::move(link), capacity), {}};
    d.request.command = cmd;
    d.request.memory = static_cast<uint8_t>(memory);
    d.request.data = std::move(data);
    d.request.receive = receive;
    return d;
}

// The program's bytes of a send exchange as the protocol tables lay them out.
Bytes expectedSendWire(uint8_t cmd, uint8_t memory, const Bytes& data, std::optional<uint8_t> statusAnswer = {})
{
    Bytes w{0x6F, cmd, memory, memory};
    if (statusAnswer) w.push_back(*statusAnswer);
    w.push_back(static_cast<uint8_t>(data.size() >> 8));
    w.push_back(static_cast<uint8_t>(data.size() & 0xFF));
    w.insert(w.end(), data.begin(), data.end());
    w.push_back(0x55);
    return w;
}

} // namespace

// ---- Send exchange byte by byte --------------------------------------------------------------

TEST(SendExchange, BytesAndBlocksForEveryLengthClass)
{
    // 0, below a block, exactly one and two blocks, and 64k + r.
    for (size_t length : {size_t(0), size_t(1), size_t(63), size_t(64), size_t(128), size_t(64 * 3 + 17)}) {
        SCOPED_TRACE(length);
        FakeProcessor proc;
        const Bytes data = pattern(length);
        auto d = engine(usb(), Command::Keyboard, 0, data);
        const Trace run = drive(d, proc);
        ASSERT_TRUE(d.engine.done());
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        EXPECT_EQ(run.wire, expectedSendWire(5, 0, data));
        // Data goes out in 64-byte writes then one partial write; no empty write.
        std::vector<size_t> dataWrites;
        for (const auto& w : run.writes)
            if (w.size() > 2) dataWrites.push_back(w.size());
        std::vector<size_t> expected(length / 64, 64);
        if (length % 64) expected.push_back(length % 64);
        // A 1-byte block is written alone too; count it from the wire layout instead.
        if (length % 64 == 1 || length % 64 == 2) expected.pop_back();
        EXPECT_EQ(dataWrites, expected);
        ASSERT_EQ(proc.completed.size(), 1u);
        EXPECT_EQ(proc.keyboard, length ? data[0] : -1);
    }
}

TEST(SendExchange, LengthIsTwoWritesOnUsbAndSerialOneOnEthernet)
{
    const Bytes data = pattern(300); // 0x01, 0x2C
    for (LinkInfo link : {usb(), serial(), ethernet()}) {
        FakeProcessor proc;
        auto d = engine(link, Command::UploadOs, 1, data);
        const Trace run = drive(d, proc);
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        const bool two = std::find(run.writes.begin(), run.writes.end(), Bytes{0x01}) != run.writes.end() &&
                         std::find(run.writes.begin(), run.writes.end(), Bytes{0x2C}) != run.writes.end();
        const bool one = std::find(run.writes.begin(), run.writes.end(), Bytes{0x01, 0x2C}) != run.writes.end();
        EXPECT_EQ(two, link.kind != LinkKind::Ethernet);
        EXPECT_EQ(one, link.kind == LinkKind::Ethernet);
        EXPECT_EQ(proc.lastUpload, data);
    }
}

TEST(SendExchange, MemoryNumberGoesTwiceAndStatusTextsAreExact)
{
    FakeProcessor proc;
    auto d = engine(usb(), Command::Store, 5, pattern(70));
    const Trace run = drive(d, proc);
    EXPECT_EQ(run.wire, expectedSendWire(3, 5, pattern(70)));
    const std::vector<std::string> expected{"Sending START...",
                                            "Received START...",
                                            "Sending COMMAND...",
                                            "Received COMMAND...",
                                            "Sending PROGRAM NUMBER...",
                                            "Received Program Number...",
                                            "Sending LONG...",
                                            "Received LONG...",
                                            "Sending DATA... to Memory 5",
                                            "Sending END...",
                                            "Received END..."};
    EXPECT_EQ(run.statuses, expected);
    EXPECT_EQ(proc.memories.at(5), pattern(70));
    // USB: opened once, closed once.
    EXPECT_EQ(run.opens, 1);
    EXPECT_EQ(run.closes, 1);
}

TEST(SendExchange, DataTextForOperatingSystemAndOtherCommands)
{
    FakeProcessor proc;
    auto up = engine(usb(), Command::UploadOs, 1, pattern(3));
    EXPECT_TRUE(drive(up, proc).hasStatus("Sending DATA... DSP Operating System"));
    auto reset = engine(usb(), Command::Reset, 0);
    EXPECT_TRUE(drive(reset, proc).hasStatus("Sending DATA..."));
}

// ---- Failure rows ------------------------------------------------------------------------------

TEST(SendExchange, WrongStartAnswerFailsWithItsDecimalValue)
{
    for (uint8_t wrong : {uint8_t(0), uint8_t(200)}) {
        FakeProcessor proc;
        proc.fault = FakeProcessor::Fault::Wrong;
        proc.faultAt = 0;
        proc.wrongByte = wrong;
        auto d = engine(usb(), Command::Reset, 0);
        const Trace run = drive(d, proc);
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
        EXPECT_EQ(run.statuses.back(), "  ¡¡ERROR!! DATA NO VALID(" + std::to_string(wrong) + ")");
        EXPECT_EQ(run.wire, Bytes{0x6F});
        EXPECT_EQ(run.closes, 1); // the USB device is closed on the way out
    }
}

TEST(SendExchange, WrongLongAnswerFails)
{
    FakeProcessor proc;
    proc.fault = FakeProcessor::Fault::Wrong;
    proc.faultAt = 3; // START, COMMAND, NUMBER, LONG
    proc.wrongByte = 0x99;
    auto d = engine(ethernet(), Command::Keyboard, 0, {0xFF});
    const Trace run = drive(d, proc);
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
    EXPECT_EQ(run.statuses.back(), "¡¡ERROR!! DATA NO VALID (Long)");
    EXPECT_TRUE(proc.completed.empty());
}

TEST(SendExchange, WrongEndAnswerShowsErrorAndFails)
{
    FakeProcessor proc;
    proc.fault = FakeProcessor::Fault::Wrong;
    proc.faultAt = 5; // START, COMMAND, NUMBER, LONG, the block, END
    proc.wrongByte = 0x54;
    auto d = engine(serial(), Command::Keyboard, 0, {0xFF});
    const Trace run = drive(d, proc);
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "ERROR");
    EXPECT_EQ(run.statuses.back(), " ¡¡ERROR!! DATA NO VALID (END)");
}

TEST(SendExchange, CommandAndBlockAnswersAreNotChecked)
{
    FakeProcessor proc;
    proc.fault = FakeProcessor::Fault::Wrong;
    proc.faultAt = 1; // the COMMAND echo
    proc.wrongByte = 0x42;
    auto d = engine(usb(), Command::Reset, 0);
    drive(d, proc);
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
}

TEST(Exchanges, SilenceAtEveryStepFailsAfterOneReplyTimeout)
{
    // A full read request: the send exchange, then the receive exchange of 130 bytes.
    FakeProcessor reference;
    reference.memories[3] = pattern(130);
    auto full = engine(usb(), Command::Read, 3, {}, ReceiveKind::Configuration);
    drive(full, reference);
    ASSERT_EQ(full.engine.result().kind, OutcomeKind::Completed);
    const int replies = reference.replies;
    ASSERT_GT(replies, 10);
    for (LinkInfo link : {usb(), ethernet(), serial()}) {
        for (int at = 0; at < replies; ++at) {
            SCOPED_TRACE(at);
            FakeProcessor proc;
            proc.memories[3] = pattern(130);
            proc.fault = FakeProcessor::Fault::Silence;
            proc.faultAt = at;
            auto d = engine(link, Command::Read, 3, {}, ReceiveKind::Configuration);
            const Trace run = drive(d, proc);
            EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
            EXPECT_EQ(d.engine.result().reason, "No answer from the KVR 610 ");
            EXPECT_TRUE(d.engine.result().data.empty());
            // No timers in a read: the only time spent is the one reply timeout (exact, virtual clock).
            EXPECT_EQ(run.elapsedMs, replyTimeoutMs(link.kind));
            if (link.kind == LinkKind::Usb) {
                EXPECT_EQ(run.opens, run.closes); // closed on every way out
            }
            const bool inReceive = d.engine.result().failedInReceive;
            EXPECT_EQ(run.hasMessage("ETHERNET Comunication Error. Connecting with: EM100-A"),
                      link.kind == LinkKind::Ethernet && inReceive);
            EXPECT_NE(std::find(run.effects.begin(), run.effects.end(), ConnectionEffect::ConnectionChoiceOffline),
                      run.effects.end());
        }
    }
}

TEST(Exchanges, LinkOpenFailureFailsAndEthernetGoesOffline)
{
    const std::string text = "ETHERNET error: Opening IP: 127.0.0.1. Verify if the IP is Correct and the Processor "
                             "is Switched ON";
    FakeProcessor proc;
    auto d = engine(ethernet(), Command::Reset, 0);
    const Trace run = drive(d, proc, {}, {}, Status(Error{text}));
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
    EXPECT_TRUE(run.wire.empty());
    EXPECT_TRUE(run.hasMessage(text));
    EXPECT_EQ(run.effects, std::vector<ConnectionEffect>{ConnectionEffect::GoOffline});

    auto u = engine(usb(), Command::Reset, 0);
    const Trace usbRun = drive(u, proc, {}, {}, Status(Error{"Can't open the USB. x - Device Not Found...."}));
    EXPECT_EQ(u.engine.result().kind, OutcomeKind::Failed);
    EXPECT_EQ(usbRun.closes, 0); // nothing was opened
    EXPECT_TRUE(usbRun.effects.empty());
}

TEST(Exchanges, LinkErrorMidwayFails)
{
    FakeProcessor proc;
    auto d = engine(usb(), Command::Reset, 0);
    d.start();
    d.takeActions();
    d.linkOpened({});
    d.takeActions();
    d.engine.linkFailed("USB Write Failed - General IO Error...");
    const Actions acts = d.takeActions();
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
    EXPECT_TRUE(std::any_of(acts.begin(), acts.end(), [](const Action& a) { return a.kind == ActionKind::CloseLink; }));
}

// ---- Refusals ----------------------------------------------------------------------------------

TEST(Refusals, ProtectedNumberClosesTheLink)
{
    for (LinkInfo link : {usb(), ethernet()}) {
        FakeProcessor proc;
        proc.protectedNumbers.insert(4);
        auto d = engine(link, Command::Store, 4, pattern(10));
        const Trace run = drive(d, proc);
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Refused);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0].text, "MEMORY PROTECTED. If you want to override it, you must unprotect it from "
                                        "the keyboard of the Processor.");
        EXPECT_EQ(run.messages[0].buttons, uint8_t(Button::Yes));
        EXPECT_EQ(run.closes, 1);
        EXPECT_EQ(run.wire, (Bytes{0x6F, 3, 4}));
    }
}

TEST(Refusals, EmptyMemoryOnReadAndChange)
{
    FakeProcessor proc;
    auto r = engine(usb(), Command::Read, 9, {}, ReceiveKind::Configuration);
    const Trace read = drive(r, proc);
    EXPECT_EQ(r.engine.result().kind, OutcomeKind::Refused);
    EXPECT_TRUE(read.hasMessage("MEMORY EMPTY. NO POSSIBLE TO READ PROGRAM"));
    EXPECT_EQ(read.wire, (Bytes{0x6F, 4, 9, 9}));

    auto c = engine(usb(), Command::Change, 9);
    const Trace change = drive(c, proc);
    EXPECT_EQ(c.engine.result().kind, OutcomeKind::Refused);
    EXPECT_TRUE(change.hasMessage("MEMORY EMPTY. NO POSSIBLE TO CHANGE PROGRAM"));
    EXPECT_EQ(change.closes, 1);
}

TEST(Refusals, FullMemoryAsksAndHonoursTheAnswer)
{
    const Bytes data = pattern(66);
    {
        FakeProcessor proc;
        proc.memories[2] = {1, 2, 3};
        auto d = engine(usb(), Command::Store, 2, data);
        const Trace run = drive(d, proc, [](const Question&) { return kvr::test::reply(Button::No); });
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Refused);
        EXPECT_TRUE(d.engine.result().declined);
        ASSERT_EQ(run.questions.size(), 1u);
        EXPECT_EQ(run.questions[0].kind, QuestionKind::OverwriteMemory);
        EXPECT_EQ(run.questions[0].message.text, "Memory 2 Is Full. Do You Want To OverWrite?");
        EXPECT_EQ(run.questions[0].message.buttons, Button::Yes | Button::No);
        EXPECT_EQ(proc.overwriteAnswers, Bytes{0x0F});
        EXPECT_EQ(proc.memories[2], (Bytes{1, 2, 3}));
    }
    {
        FakeProcessor proc;
        proc.memories[2] = {1, 2, 3};
        auto d = engine(usb(), Command::Store, 2, data);
        const Trace run = drive(d, proc, [](const Question&) { return kvr::test::reply(Button::Yes); });
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        EXPECT_EQ(run.wire, expectedSendWire(3, 2, data, 0x0E));
        EXPECT_EQ(proc.memories[2], data);
    }
    {
        // The library's variant overwrites without a question.
        FakeProcessor proc;
        proc.memories[2] = {1, 2, 3};
        auto d = engine(usb(), Command::Store, 2, data);
        d.request.overwriteWithoutAsking = true;
        const Trace run = drive(d, proc);
        EXPECT_TRUE(run.questions.empty());
        EXPECT_EQ(proc.overwriteAnswers, Bytes{0x0E});
        EXPECT_EQ(proc.memories[2], data);
    }
}

TEST(Refusals, ProtectedMemoryStatus)
{
    FakeProcessor proc;
    proc.protectedMemories.insert(12);
    auto d = engine(serial(), Command::Store, 12, pattern(5));
    const Trace run = drive(d, proc);
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Refused);
    EXPECT_TRUE(d.engine.result().protectedMemory);
    EXPECT_EQ(proc.overwriteAnswers, Bytes{0x0F});
    EXPECT_TRUE(run.hasMessage("Memory 12  Is Protected. If you want to override it you must unprotect it from the "
                               "keyboard of the Processor."));
}

// ---- Receive exchange --------------------------------------------------------------------------

TEST(ReceiveExchange, DataRoundTripsForEveryLengthClass)
{
    for (size_t length : {size_t(0), size_t(1), size_t(64), size_t(128), size_t(64 * 2 + 5)}) {
        SCOPED_TRACE(length);
        FakeProcessor proc;
        proc.memories[7] = pattern(length);
        auto d = engine(usb(), Command::Read, 7, {}, ReceiveKind::Configuration);
        const Trace run = drive(d, proc);
        ASSERT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        EXPECT_EQ(d.engine.result().data, pattern(length));
        // The request byte follows the send exchange; USB reopens the device for it.
        EXPECT_EQ(run.opens, 2);
        EXPECT_EQ(run.closes, 2);
        // Echoes: BEGIN with 0x6F, headers and length bytes as received, each block's last byte, END.
        Bytes echoes{0x6F, 4, 7, uint8_t(length >> 8), uint8_t(length & 0xFF)};
        for (size_t end = 64; end <= length; end += 64) echoes.push_back(pattern(length)[end - 1]);
        if (length % 64) echoes.push_back(pattern(length).back());
        echoes.push_back(0x55);
        EXPECT_EQ(proc.receiveEchoes, echoes);
    }
}

TEST(ReceiveExchange, StatusTextsForConfigurationAndOperatingSystem)
{
    FakeProcessor proc;
    proc.memories[7] = pattern(70);
    auto d = engine(usb(), Command::Read, 7, {}, ReceiveKind::Configuration);
    d.request.requestStatus = "Read program...";
    const Trace run = drive(d, proc);
    const std::vector<std::string> tail(run.statuses.end() - 17, run.statuses.end());
    const std::vector<std::string> expected{"Read program...",
                                            "Start comunication...",
                                            "Receiving BEGIN...",
                                            "Received BEGIN...",
                                            "Receiving COMMAND...",
                                            "Receiving PROGRAM...",
                                            "Receiving LONG...",
                                            "Received LONG...",
                                            "Receive data...",
                                            "LONG : 70",
                                            "Reading Configuration 7 from the KVR 610 ",
                                            "Rest...",
                                            "Data Received...",
                                            "Receiving END ...",
                                            "Received END..."};
    EXPECT_EQ(std::vector<std::string>(tail.begin() + 2, tail.end()), expected);

    FakeProcessor os;
    os.os = pattern(64);
    auto o = engine(usb(), Command::ReadOs, 0, {}, ReceiveKind::OperatingSystem);
    const Trace osRun = drive(o, os);
    EXPECT_TRUE(osRun.hasStatus("Reading DSP Operating System from the KVR 610 "));
    // Version and system reads ask PROGRAM first, then COMMAND.
    const auto program = std::find(osRun.statuses.begin(), osRun.statuses.end(), "Receiving PROGRAM...");
    const auto command = std::find(osRun.statuses.begin(), osRun.statuses.end(), "Receiving COMMAND...");
    EXPECT_LT(program, command);
}

TEST(ReceiveExchange, WrongBeginAndEndContinueWithTheirTexts)
{
    // Replies of a version read: START, CMD, NUMBER, LONG, END, then BEGIN (5), headers, LONG x2, data, END (11).
    for (LinkInfo link : {usb(), ethernet()}) {
        FakeProcessor proc;
        proc.fault = FakeProcessor::Fault::Wrong;
        proc.faultAt = 5;
        proc.wrongByte = 0x12;
        auto d = engine(link, Command::GetVersion, 0, {}, ReceiveKind::Version);
        const Trace run = drive(d, proc);
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        EXPECT_EQ(d.engine.result().data, Bytes{47});
        EXPECT_EQ(proc.receiveEchoes.front(), 0x6F); // answered 0x6F all the same
        EXPECT_TRUE(run.hasStatus(link.kind == LinkKind::Ethernet
                                      ? "  ¡¡ETHERNET ERROR!! El dato no es el esperado(18)"
                                      : "  ¡¡ERROR!! El dato no es el esperado(18)"));
    }
    for (LinkInfo link : {serial(), ethernet()}) {
        FakeProcessor proc;
        proc.fault = FakeProcessor::Fault::Wrong;
        proc.faultAt = 11;
        proc.wrongByte = 0x33;
        auto d = engine(link, Command::GetVersion, 0, {}, ReceiveKind::Version);
        const Trace run = drive(d, proc);
        EXPECT_EQ(d.engine.result().kind, OutcomeKind::Completed);
        EXPECT_EQ(proc.receiveEchoes.back(), 0x33); // END answered with exactly the byte received
        EXPECT_TRUE(run.hasStatus(link.kind == LinkKind::Ethernet ? " ETHERNET ERROR!! Receiving END"
                                                                  : " ERROR FINAL..."));
    }
}

TEST(ReceiveExchange, LengthBeyondTheBufferFailsBeforeAnyData)
{
    FakeProcessor proc;
    proc.memories[1] = pattern(10);
    proc.announcedLengthOverride = 101;
    auto d = engine(usb(), Command::Read, 1, {}, ReceiveKind::Configuration, 100);
    const Trace run = drive(d, proc);
    EXPECT_EQ(d.engine.result().kind, OutcomeKind::Failed);
    EXPECT_TRUE(d.engine.result().data.empty());
    EXPECT_EQ(run.statuses.back(), "  ¡¡ERROR!! LONG TOO LARGE FOR THE RECEIVE BUFFER (101)");
    // The low length byte is not answered, so the processor never starts the data.
    EXPECT_EQ(proc.receiveEchoes.size(), 4u);
    EXPECT_EQ(run.closes, 2);

    // The largest length the buffer holds goes through.
    FakeProcessor fits;
    fits.memories[1] = pattern(100);
    auto ok = engine(usb(), Command::Read, 1, {}, ReceiveKind::Configuration, 100);
    drive(ok, fits);
    EXPECT_EQ(ok.engine.result().data, pattern(100));

    // The default buffer holds the largest operating system and refuses 65535.
    FakeProcessor huge;
    huge.os = pattern(10);
    huge.announcedLengthOverride = 65535;
    auto h = engine(ethernet(), Command::ReadOs, 0, {}, ReceiveKind::OperatingSystem);
    drive(h, huge);
    EXPECT_EQ(h.engine.result().kind, OutcomeKind::Failed);
    EXPECT_GE(protocol::kReceiveBufferSize, protocol::kOsImageCapacity);
}

TEST(ReceiveExchange, SplitDeliveryGivesTheSameExchange)
{
    const auto runWith = [](std::vector<size_t> chunks) {
        FakeProcessor proc;
        proc.memories[11] = pattern(64 * 4 + 33);
        auto d = engine(ethernet(), Command::Read, 11, {}, ReceiveKind::Configuration);
        const Trace run = drive(d, proc, {}, std::move(chunks));
        return std::make_tuple(d.engine.result().kind, d.engine.result().data, run.wire, run.statuses);
    };
    const auto whole = runWith({});
    ASSERT_EQ(std::get<0>(whole), OutcomeKind::Completed);
    EXPECT_EQ(std::get<1>(whole), pattern(64 * 4 + 33));
    EXPECT_EQ(runWith({1}), whole);
    EXPECT_EQ(runWith({3, 1, 17, 64, 2}), whole);
    EXPECT_EQ(runWith({63}), whole);
}

// ---- Fixed waits -------------------------------------------------------------------------------

TEST(Waits, DetectPausesThreeSecondsAndChangeLoadsThePreset)
{
    FakeProcessor proc;
    auto det = engine(usb(), Command::Detect, 0);
    const Trace detect = drive(det, proc);
    EXPECT_EQ(det.engine.result().kind, OutcomeKind::Completed);
    EXPECT_EQ(detect.timerTotalMs(TimerId::DetectTick), 3000); // exact, virtual clock
    EXPECT_TRUE(detect.hasStatus("Communication... 1"));

    proc.memories[6] = {1};
    auto chg = engine(usb(), Command::Change, 6);
    const Trace change = drive(chg, proc);
    EXPECT_EQ(chg.engine.result().kind, OutcomeKind::Completed);
    EXPECT_EQ(change.timerTotalMs(TimerId::PresetTick), 400);
    EXPECT_TRUE(change.hasStatus("Loading Preset... "));
    EXPECT_EQ(proc.activeMemory, 6);
    // The USB device is closed before the preset wait.
    size_t closeAt = 0, loadAt = 0;
    for (size_t i = 0; i < change.actions.size(); ++i) {
        if (change.actions[i].kind == ActionKind::CloseLink) closeAt = i;
        if (change.actions[i].kind == ActionKind::Status && change.actions[i].text == "Loading Preset... ") loadAt = i;
    }
    EXPECT_LT(closeAt, loadAt);
}

TEST(Waits, StaleTimeoutsAndTimersAreIgnored)
{
    FakeProcessor proc;
    auto d = engine(usb(), Command::Reset, 0);
    d.start();
    d.takeActions();
    d.engine.replyTimedOut(); // not waiting for a byte yet (opening)
    d.engine.timerFired(TimerId::DetectTick);
    EXPECT_TRUE(d.engine.running());
    d.linkOpened({});
    EXPECT_TRUE(d.engine.running());
}

#include <gtest/gtest.h>

#include <algorithm>

#include "comm/operations.h"
#include "fakeprocessor.h"

using namespace kvr::core;
using kvr::test::drive;
using kvr::test::FakeProcessor;
using kvr::test::reply;
using kvr::test::Trace;

namespace {

LinkInfo usb() { return {LinkKind::Usb, {}}; }
LinkInfo ethernet() { return {LinkKind::Ethernet, "EM100-A"}; }
LinkInfo serial() { return {LinkKind::Serial, {}}; }

Bytes image(size_t n, uint8_t seed = 1)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 13 + seed);
    if (n >= 2) { // the image's own length field M = n - 2, high byte first
        b[0] = static_cast<uint8_t>((n - 2) >> 8);
        b[1] = static_cast<uint8_t>((n - 2) & 0xFF);
    }
    return b;
}

Bytes osImage(size_t systemBytes, uint8_t version = 47)
{
    Bytes b{static_cast<uint8_t>((systemBytes + 3) >> 8), static_cast<uint8_t>((systemBytes + 3) & 0xFF), version};
    for (size_t i = 0; i < systemBytes; ++i) b.push_back(static_cast<uint8_t>(i));
    return b;
}

kvr::test::Answerer answerAll(Button button, Bytes data = {})
{
    return [button, data](const Question& q) {
        Answer a = reply(button);
        if (q.kind == QuestionKind::ChooseOsFile) a.data = data;
        return a;
    };
}

std::vector<int> commandsOf(const FakeProcessor& p)
{
    std::vector<int> out;
    for (auto [cmd, mem] : p.completed) out.push_back(cmd * 100 + mem);
    return out;
}

size_t indexOf(const Trace& t, ActionKind kind, size_t from = 0)
{
    for (size_t i = from; i < t.actions.size(); ++i)
        if (t.actions[i].kind == kind) return i;
    return t.actions.size();
}

// A version read: START, COMMAND, NUMBER, LONG, END, then BEGIN, two headers, two length bytes,
// the data block and END.
constexpr int kVersionReplies = 12;

} // namespace

// ---- Version ---------------------------------------------------------------------------------

TEST(VersionOperations, QuietReadAndTheVersionBox)
{
    FakeProcessor proc;
    auto quiet = makeQuietVersionRead(usb());
    const Trace q = drive(*quiet, proc);
    ASSERT_TRUE(q.outcome.completed());
    EXPECT_EQ(q.outcome.data, Bytes{47});
    EXPECT_TRUE(q.hasStatus("Comunication is OK..."));
    EXPECT_EQ(q.statuses.back(), "Version: 47");
    EXPECT_TRUE(q.messages.empty());

    for (auto [version, text] : {std::pair{uint8_t(47), "4.7"}, std::pair{uint8_t(40), "4"}}) {
        FakeProcessor p;
        p.version = version;
        auto op = makeVersionRead(ethernet());
        const Trace t = drive(*op, p);
        EXPECT_EQ(t.statuses.front(), "Get version...");
        ASSERT_EQ(t.messages.size(), 1u);
        EXPECT_EQ(t.messages[0].text, std::string("KVR 610  DSP Version : ") + text);
    }
}

TEST(VersionOperations, VersionTextAndOsFileName)
{
    EXPECT_EQ(dspVersionText(47), "4.7");
    EXPECT_EQ(dspVersionText(40), "4");
    EXPECT_EQ(dspVersionText(0), "0");
    EXPECT_EQ(dspVersionText(255), "25.5");
}

// ---- Store -----------------------------------------------------------------------------------

TEST(StoreOperation, StoresPausesAndChangesToTheSameMemory)
{
    FakeProcessor proc;
    const Bytes img = image(1702);
    auto op = makeStore(usb(), 4, img);
    const Trace t = drive(*op, proc);
    ASSERT_TRUE(t.outcome.completed()) << t.outcome.reason;
    EXPECT_EQ(proc.memories.at(4), img);
    EXPECT_EQ(commandsOf(proc), (std::vector<int>{200, 304, 704}));
    EXPECT_EQ(proc.activeMemory, 4);
    EXPECT_EQ(t.timerTotalMs(TimerId::Pause), 250);
    EXPECT_EQ(t.timerTotalMs(TimerId::PresetTick), 400);
    EXPECT_TRUE(t.hasStatus("Loading Preset... "));
    EXPECT_TRUE(t.effects.empty());
    // The 250 ms pause comes between the store and the change.
    const size_t pause = indexOf(t, ActionKind::StartTimer);
    EXPECT_LT(std::find(t.statuses.begin(), t.statuses.end(), "Sending DATA... to Memory 4"), t.statuses.end());
    EXPECT_EQ(t.actions[pause].ms, 250);
}

TEST(StoreOperation, VersionOtherThan47OffersTheUpdateAndStoresNothing)
{
    FakeProcessor proc;
    proc.version = 46;
    auto op = makeStore(usb(), 2, image(100));
    const Trace t = drive(*op, proc, answerAll(Button::No));
    EXPECT_EQ(t.outcome.kind, OutcomeKind::Refused);
    ASSERT_EQ(t.questions.size(), 1u);
    EXPECT_EQ(t.questions[0].kind, QuestionKind::UpdateDsp);
    EXPECT_EQ(t.questions[0].message.kind, MessageKind::Error);
    EXPECT_EQ(t.questions[0].message.text,
              "The DSP Version in the KVR 610  unit is 4.6.You must update the DSP Version to VERSION 4.7 and then "
              "store again your configurations. Do you want to update it now?");
    EXPECT_TRUE(proc.memories.empty());
    EXPECT_EQ(commandsOf(proc), std::vector<int>{200});
}

TEST(StoreOperation, AcceptedUpdateUploadsThenRemindsOnlyWhenDone)
{
    const Bytes os = osImage(58);
    {
        FakeProcessor proc;
        proc.version = 46;
        auto op = makeStore(usb(), 2, image(100));
        const Trace t = drive(*op, proc, answerAll(Button::Yes, os));
        ASSERT_EQ(t.questions.size(), 2u); // no upload warning on this path
        EXPECT_EQ(t.questions[1].kind, QuestionKind::ChooseOsFile);
        EXPECT_EQ(proc.lastUpload, os);
        EXPECT_TRUE(proc.memories.empty());
        EXPECT_EQ(t.timerTotalMs(TimerId::Pause), 4000);
        ASSERT_FALSE(t.messages.empty());
        EXPECT_EQ(t.messages.back().text, "IMPORTANT: You must store again all memories to be Compatible with VERSION 4.7.");
        EXPECT_TRUE(t.messages.back().beep);
    }
    {
        // The upload fails at its END: it says so and does not remind.
        FakeProcessor proc;
        proc.version = 46;
        proc.fault = FakeProcessor::Fault::Wrong;
        proc.faultAt = kVersionReplies + 5; // START, COMMAND, NUMBER, LONG, the block, END
        proc.wrongByte = 1;
        auto op = makeStore(usb(), 2, image(100), os);
        const Trace t = drive(*op, proc, answerAll(Button::Yes));
        EXPECT_EQ(t.outcome.kind, OutcomeKind::Failed);
        EXPECT_TRUE(t.hasMessage("The DSP Operating System was not updated: the communication with the KVR 610  failed."));
        EXPECT_FALSE(t.hasMessage("IMPORTANT: You must store again all memories to be Compatible with VERSION 4.7."));
    }
    {
        // Cancelling the file choice uploads nothing.
        FakeProcessor proc;
        proc.version = 46;
        auto op = makeStore(usb(), 2, image(100));
        const Trace t = drive(*op, proc, [](const Question& q) {
            return reply(q.kind == QuestionKind::ChooseOsFile ? Button::Cancel : Button::Yes);
        });
        EXPECT_EQ(t.outcome.kind, OutcomeKind::Refused);
        EXPECT_TRUE(proc.lastUpload.empty());
    }
}

TEST(StoreOperation, FailedVersionReadStoresNothingAndOffersNoUpdate)
{
    for (LinkInfo link : {usb(), ethernet(), serial()}) {
        FakeProcessor proc;
        proc.fault = FakeProcessor::Fault::Silence;
        proc.faultAt = 7; // inside the version's receive exchange
        auto op = makeStore(link, 3, image(80));
        const Trace t = drive(*op, proc, answerAll(Button::Yes));
        EXPECT_EQ(t.outcome.kind, OutcomeKind::Failed);
        EXPECT_TRUE(t.questions.empty());
        EXPECT_TRUE(proc.memories.empty());
        EXPECT_TRUE(proc.lastUpload.empty());
        ASSERT_FALSE(t.effects.empty());
        EXPECT_NE(std::find(t.effects.begin(), t.effects.end(), ConnectionEffect::GoOffline), t.effects.end());
    }
}

TEST(StoreOperation, FailedUsbStoreGoesOfflineBeforeTheConnectionWindow)
{
    FakeProcessor proc;
    proc.fault = FakeProcessor::Fault::Silence;
    proc.faultAt = kVersionReplies + 4; // START, COMMAND, NUMBER, status, LONG
    auto op = makeStore(usb(), 3, image(80));
    const Trace t = drive(*op, proc);
    EXPECT_EQ(t.outcome.kind, OutcomeKind::Failed);
    EXPECT_TRUE(t.hasMessage("The KVR 610  was closed. You need to Reconnect."));
    const auto offline = std::find(t.effects.begin(), t.effects.end(), ConnectionEffect::GoOffline);
    const auto window = std::find(t.effects.begin(), t.effects.end(), ConnectionEffect::ShowConnectionWindow);
    ASSERT_NE(offline, t.effects.end());
    ASSERT_NE(window, t.effects.end());
    EXPECT_LT(offline, window);
    EXPECT_EQ(t.opens, t.closes); // the device is closed on every way out
    EXPECT_EQ(commandsOf(proc), std::vector<int>{200});

    FakeProcessor eth;
    eth.fault = FakeProcessor::Fault::Silence;
    eth.faultAt = kVersionReplies + 4;
    auto e = makeStore(ethernet(), 3, image(80));
    const Trace te = drive(*e, eth);
    EXPECT_TRUE(te.hasMessage("ETHERNET: Communication Error with KVR 610 "));
    EXPECT_EQ(std::count(te.effects.begin(), te.effects.end(), ConnectionEffect::ShowConnectionWindow), 0);
}

TEST(StoreOperation, ProtectedMemoryIsNotActivatedButDeclinedOverwriteIs)
{
    FakeProcessor proc;
    proc.protectedMemories.insert(5);
    auto op = makeStore(usb(), 5, image(80));
    const Trace t = drive(*op, proc);
    EXPECT_EQ(t.outcome.kind, OutcomeKind::Refused);
    EXPECT_EQ(commandsOf(proc), std::vector<int>{200}); // no command 7
    EXPECT_TRUE(t.hasMessage("Memory 5  Is Protected. If you want to override it you must unprotect it from the "
                             "keyboard of the Processor."));
    EXPECT_TRUE(t.effects.empty());

    FakeProcessor full;
    full.memories[6] = {9, 9};
    auto d = makeStore(usb(), 6, image(80));
    const Trace td = drive(*d, full, answerAll(Button::No));
    EXPECT_EQ(td.outcome.kind, OutcomeKind::Refused);
    EXPECT_EQ(full.memories[6], (Bytes{9, 9}));
    EXPECT_EQ(full.activeMemory, 6); // the change follows a declined overwrite
    EXPECT_TRUE(td.hasStatus("Loading Preset... "));
}

// ---- Read, change, operating system ---------------------------------------------------------

TEST(MemoryReadOperation, ReturnsTheImageOrRefusesOrGoesOffline)
{
    FakeProcessor proc;
    proc.memories[8] = image(1702, 5);
    auto op = makeMemoryRead(usb(), 8);
    const Trace t = drive(*op, proc);
    ASSERT_TRUE(t.outcome.completed());
    EXPECT_EQ(t.outcome.data, image(1702, 5));
    EXPECT_EQ(t.statuses.back(), "Comunication is OK...");
    // The send exchange runs without the window; the data shows it.
    EXPECT_LT(indexOf(t, ActionKind::Send), indexOf(t, ActionKind::ShowCommWindow));

    auto empty = makeMemoryRead(usb(), 9);
    const Trace te = drive(*empty, proc);
    EXPECT_EQ(te.outcome.kind, OutcomeKind::Refused);
    EXPECT_TRUE(te.effects.empty());

    FakeProcessor silent;
    silent.memories[8] = image(200);
    silent.fault = FakeProcessor::Fault::Silence;
    silent.faultAt = 1;
    auto f = makeMemoryRead(ethernet(), 8);
    const Trace tf = drive(*f, silent);
    EXPECT_EQ(tf.outcome.kind, OutcomeKind::Failed);
    EXPECT_TRUE(tf.hasMessage("ETHERNET: Communication Error with KVR 610 "));
    EXPECT_EQ(tf.effects.back(), ConnectionEffect::GoOffline);
}

TEST(MemoryChangeOperation, WaitsTwoSecondsAfterTheChange)
{
    FakeProcessor proc;
    proc.memories[3] = {1};
    auto op = makeMemoryChange(serial(), 3);
    const Trace t = drive(*op, proc);
    EXPECT_TRUE(t.outcome.completed());
    EXPECT_EQ(proc.activeMemory, 3);
    EXPECT_EQ(t.timerTotalMs(TimerId::Pause), 2000);
    EXPECT_EQ(t.actions.back().kind, ActionKind::Finished);
    EXPECT_EQ(t.closes, 1); // the serial port is let go at the end of the operation
}

TEST(OsOperations, ReadChecksTheInnerLength)
{
    FakeProcessor proc;
    proc.os = osImage(100);
    auto op = makeOsRead(usb());
    const Trace t = drive(*op, proc);
    ASSERT_TRUE(t.outcome.completed());
    EXPECT_EQ(t.outcome.data, osImage(100));
    EXPECT_EQ(t.statuses.front(), "Get system...");

    FakeProcessor bad;
    bad.os = osImage(100);
    bad.os[1] = static_cast<uint8_t>(bad.os[1] + 1); // claims one byte more than comes
    auto b = makeOsRead(usb());
    const Trace tb = drive(*b, bad);
    EXPECT_EQ(tb.outcome.kind, OutcomeKind::Failed);
    EXPECT_TRUE(tb.outcome.data.empty());
}

TEST(OsOperations, UploadAsksThenSendsAndWaits)
{
    const Bytes os = osImage(58);
    FakeProcessor declined;
    auto no = makeOsUpload(usb());
    const Trace tn = drive(*no, declined, answerAll(Button::No));
    EXPECT_EQ(tn.outcome.kind, OutcomeKind::Refused);
    ASSERT_EQ(tn.questions.size(), 1u);
    EXPECT_EQ(tn.questions[0].message.text,
              "WARNING!!! Updating the DSP Operating System may left your KVR 610  unit blocked if it does not finish "
              "correctlly. Please, be sure that  everything is connected well. Do you want to continue anyway?");
    EXPECT_TRUE(tn.questions[0].message.beep);
    EXPECT_TRUE(tn.wire.empty());

    FakeProcessor proc;
    auto op = makeOsUpload(usb(), os);
    const Trace t = drive(*op, proc, answerAll(Button::Yes));
    ASSERT_TRUE(t.outcome.completed());
    EXPECT_EQ(proc.lastUpload, os);
    EXPECT_EQ(proc.completed.back(), std::make_pair(1, 1));
    EXPECT_EQ(t.timerTotalMs(TimerId::Pause), 4000);
    EXPECT_FALSE(t.hasMessage("IMPORTANT: You must store again all memories to be Compatible with VERSION 4.7."));

    // Too large, or a length field that disagrees: refused before anything is sent.
    for (const Bytes& bad : {osImage(6145), Bytes{0, 9, 47, 1}}) {
        FakeProcessor p;
        auto u = makeOsUpload(usb(), bad, false);
        const Trace tu = drive(*u, p);
        EXPECT_EQ(tu.outcome.kind, OutcomeKind::Refused);
        EXPECT_TRUE(tu.wire.empty());
        EXPECT_EQ(tu.messages.size(), 1u);
    }
    FakeProcessor largest;
    auto l = makeOsUpload(usb(), osImage(6144), false);
    EXPECT_TRUE(drive(*l, largest).outcome.completed());
}

// ---- Keyboard, password, reset, detect ------------------------------------------------------

TEST(SmallOperations, KeyboardAsksAndSendsItsByte)
{
    FakeProcessor proc;
    auto lock = makeKeyboard(usb(), true);
    const Trace t = drive(*lock, proc, answerAll(Button::Ok));
    ASSERT_EQ(t.questions.size(), 1u);
    EXPECT_EQ(t.questions[0].message.text, "Do you want to LOCK the Keyboard?");
    EXPECT_EQ(t.questions[0].message.buttons, Button::Ok | Button::Cancel);
    EXPECT_EQ(proc.keyboard, 0xFF);

    auto unlock = makeKeyboard(usb(), false);
    const Trace tu = drive(*unlock, proc, answerAll(Button::Ok));
    EXPECT_EQ(tu.questions[0].message.text, "Do you want to UNLOCK the Keyboard?");
    EXPECT_EQ(proc.keyboard, 0x00);

    FakeProcessor untouched;
    auto cancel = makeKeyboard(usb(), true);
    EXPECT_EQ(drive(*cancel, untouched, answerAll(Button::Cancel)).outcome.kind, OutcomeKind::Refused);
    EXPECT_TRUE(untouched.completed.empty());

    auto menu = makeKeyboard(usb(), true, true);
    const Trace tm = drive(*menu, untouched, answerAll(Button::Ok));
    ASSERT_EQ(tm.questions.size(), 2u);
    EXPECT_EQ(tm.questions[0].message.text, "Do you want to LOCK the KeyBoard?");
    EXPECT_EQ(untouched.keyboard, 0xFF);
}

TEST(SmallOperations, PasswordBlockAndExchange)
{
    const Bytes keys{1, 2, 3, 3, 2, 1};
    auto block = passwordBlock(keys, true);
    ASSERT_TRUE(block.ok());
    EXPECT_EQ(*block, (Bytes{1, 2, 3, 3, 2, 1, 0xFF}));
    EXPECT_EQ(*passwordBlock(keys, false), (Bytes{1, 2, 3, 3, 2, 1, 0x00}));
    EXPECT_FALSE(passwordBlock(Bytes{1, 2, 3, 4, 1, 1}, true).ok());
    EXPECT_FALSE(passwordBlock(Bytes{0, 2, 3, 1, 1, 1}, true).ok());
    EXPECT_FALSE(passwordBlock(Bytes{1, 2, 3}, true).ok());

    FakeProcessor proc;
    auto op = makePassword(ethernet(), *block);
    EXPECT_TRUE(drive(*op, proc).outcome.completed());
    EXPECT_EQ(proc.password, *block);

    auto reset = makeReset(ethernet());
    EXPECT_TRUE(drive(*reset, proc).outcome.completed());
    EXPECT_EQ(proc.resets, 1);
}

TEST(SmallOperations, DetectFailureMessagesPerLink)
{
    for (auto [link, text] : {std::pair{usb(), "This is not a KVR 610  processor, It cannot communicate."},
                              std::pair{ethernet(), "ETHERNET Comunication Error. Connecting with: EM100-A"}}) {
        FakeProcessor silent;
        silent.fault = FakeProcessor::Fault::Silence;
        silent.faultAt = 0;
        auto op = makeDetect(link);
        const Trace t = drive(*op, silent);
        EXPECT_EQ(t.outcome.kind, OutcomeKind::Failed);
        EXPECT_TRUE(t.hasMessage(text));
        EXPECT_EQ(t.effects.back(), ConnectionEffect::GoOffline);
    }
    FakeProcessor proc;
    auto ok = makeDetect(usb());
    const Trace t = drive(*ok, proc);
    EXPECT_TRUE(t.outcome.completed());
    EXPECT_EQ(t.elapsedMs, 3000); // virtual clock: the pause after END is the only wait
}

// ---- Library send -----------------------------------------------------------------------------

TEST(LibrarySendOperation, SendsEveryMemoryThenChangesToOne)
{
    FakeProcessor proc;
    proc.memories[2] = {7, 7}; // full: overwritten without a question
    const std::vector<Bytes> lib{image(300, 1), image(200, 2), image(64, 3)};
    auto op = makeLibrarySend(usb(), lib);
    const Trace t = drive(*op, proc);
    ASSERT_TRUE(t.outcome.completed()) << t.outcome.reason;
    EXPECT_TRUE(t.questions.empty());
    EXPECT_EQ(commandsOf(proc), (std::vector<int>{200, 301, 302, 303, 701}));
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(proc.memories.at(k), lib[k - 1]);
    EXPECT_EQ(t.selectors, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(proc.overwriteAnswers, Bytes{0x0E});
}

TEST(LibrarySendOperation, ProtectedSkippedFailureEndsTooLargeRefused)
{
    FakeProcessor proc;
    proc.protectedMemories.insert(2);
    const std::vector<Bytes> lib{image(100, 1), image(100, 2), image(100, 3)};
    auto op = makeLibrarySend(ethernet(), lib);
    const Trace t = drive(*op, proc);
    EXPECT_TRUE(t.outcome.completed());
    EXPECT_EQ(commandsOf(proc), (std::vector<int>{200, 301, 303, 701}));

    FakeProcessor failing;
    failing.fault = FakeProcessor::Fault::Silence;
    failing.faultAt = kVersionReplies + 8 + 1; // the first store has 8 replies; the second's COMMAND
    auto f = makeLibrarySend(usb(), lib);
    const Trace tf = drive(*f, failing);
    EXPECT_EQ(tf.outcome.kind, OutcomeKind::Failed);
    EXPECT_EQ(commandsOf(failing), (std::vector<int>{200, 301}));
    EXPECT_TRUE(tf.hasMessage("The KVR 610  was closed. You need to Reconnect."));
    EXPECT_EQ(tf.effects.back(), ConnectionEffect::ShowConnectionWindow);

    FakeProcessor untouched;
    auto big = makeLibrarySend(usb(), std::vector<Bytes>(19, image(10)));
    const Trace tb = drive(*big, untouched);
    EXPECT_EQ(tb.outcome.kind, OutcomeKind::Refused);
    EXPECT_TRUE(tb.wire.empty());
    EXPECT_EQ(tb.opens, 0);
    auto eighteen = makeLibrarySend(usb(), std::vector<Bytes>(18, image(10)));
    EXPECT_TRUE(drive(*eighteen, untouched).outcome.completed());
    EXPECT_EQ(untouched.memories.size(), 18u);
}

TEST(LibrarySendOperation, OfflineVersionAndEmptyLibrary)
{
    FakeProcessor proc;
    auto off = makeLibrarySend(usb(), {image(10)}, false);
    const Trace t = drive(*off, proc, answerAll(Button::Ok)); // the window closes still offline
    EXPECT_EQ(t.outcome.kind, OutcomeKind::Refused);
    EXPECT_TRUE(t.hasMessage("You must be connected not offline"));
    ASSERT_EQ(t.questions.size(), 1u);
    EXPECT_EQ(t.questions[0].kind, QuestionKind::ConnectionWindow);
    EXPECT_TRUE(t.wire.empty());

    auto reconnected = makeLibrarySend(usb(), {image(10)}, false);
    const Trace tr = drive(*reconnected, proc, [](const Question&) {
        Answer a = reply(Button::Ok);
        a.connected = true;
        a.link = {LinkKind::Ethernet, "EM100-B"};
        return a;
    });
    EXPECT_TRUE(tr.outcome.completed());
    EXPECT_EQ(reconnected->link().kind, LinkKind::Ethernet);
    EXPECT_EQ(proc.memories.at(1), image(10));

    FakeProcessor old;
    old.version = 46;
    auto v = makeLibrarySend(usb(), {image(10)});
    const Trace tv = drive(*v, old, answerAll(Button::No));
    EXPECT_EQ(tv.questions.at(0).kind, QuestionKind::UpdateDsp);
    EXPECT_EQ(commandsOf(old), std::vector<int>{200});

    FakeProcessor empty;
    auto e = makeLibrarySend(usb(), {});
    const Trace te = drive(*e, empty);
    EXPECT_TRUE(te.hasMessage("You must open a library before the sending"));
    EXPECT_EQ(commandsOf(empty), std::vector<int>{200});
}

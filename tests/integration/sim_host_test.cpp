#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "sim/link.h"
#include "sim/processorhost.h"
#include "sim/protocol.h"
#include "sim_support.h"

using namespace kvr::sim;

namespace {

// A connection the test drives by hand; it notes when each answer reached it.
class HandLink : public Link {
public:
    QString transportName() const override { return QStringLiteral("hand"); }
    void send(const QByteArray& bytes) override { answers += bytes; }
    void drop() override {}

    QByteArray answers;
};

} // namespace

// Bytes still crossing the wire of a replaced connection reach the processor at once: they do not
// hold back, nor push into the future, what the new connection sends.
TEST(ProcessorHostWire, ReplacedConnectionLeavesTheWireFree)
{
    simtest::ensureApplication();
    ProcessorHost::Settings settings;
    settings.baud = 300; // 33 ms a byte
    ProcessorHost host(defaultProcessorState(), VirtualProcessor::Settings{}, settings);
    host.setLogSink([](const QString&) {});
    HandLink old, fresh;
    host.attach(&old);
    host.attach(&fresh);

    // Two seconds of bytes the processor ignores, then a START it would answer two seconds on.
    emit old.opened();
    emit old.received(QByteArray(59, '\0') + QByteArray(1, static_cast<char>(kStart)));
    emit fresh.opened();
    QElapsedTimer clock;
    clock.start();
    emit fresh.received(QByteArray(1, static_cast<char>(kStart)));
    ASSERT_TRUE(simtest::pumpUntil([&] { return !fresh.answers.isEmpty(); }, 5000));
    // START in and its echo out: two byte times, far below the two seconds left on the old wire.
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(fresh.answers, QByteArray(1, static_cast<char>(kStart)));
    EXPECT_TRUE(old.answers.isEmpty());
    EXPECT_EQ(host.processor().counters().ignoredBytes, 59u);
}

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <random>

#include "app/documentcontroller.h"
#include "app/routingoperations.h"
#include "config/configfile.h"
#include "config/editing.h"
#include "guifixture.h"

namespace kvr::gui::test {
namespace {

using core::Button;
using core::Configuration;

class Document : public ::testing::Test {
protected:
    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;
    DocumentController document{presenter, dialogs};

    core::Bytes file() const { return core::encodeConfigurationFile(document.configuration(), "x.kv4"); }
    void level(int output, double db, const QString& gesture = {})
    {
        document.edit({QStringLiteral("Output level"), DocumentChange::output(Region::Levels, output), gesture},
                      [&](Configuration& c) { c.setOutputLevelDb(output, db); });
    }
};

TEST_F(Document, AnySequenceOfEditsUndoesToTheSameFileAndRedoesBack)
{
    std::mt19937 random(610);
    std::vector<core::Bytes> files{file()};
    int steps = 0;
    for (int i = 0; i < 60; ++i) {
        const int n = 1 + int(random() % 4);
        const auto side = random() % 2 ? core::CrossoverSide::Low : core::CrossoverSide::High;
        bool changed = false;
        switch (random() % 5) {
        case 0:
            changed = document.edit({QStringLiteral("Mode"), DocumentChange(Region::Routing), {}},
                                    [&](Configuration& c) { c.setRoutingMode(int(random() % 8)); });
            break;
        case 1:
            changed = document.edit({QStringLiteral("Crossover"), DocumentChange::output(Region::Crossover, n), {}},
                                    [&](Configuration& c) {
                                        core::setCrossoverFamily(c, n, side, 1 + int(random() % 4));
                                        core::setCrossoverFrequency(c, n, side, 20.0 + double(random() % 15000));
                                    });
            break;
        case 2:
            changed =
                document.edit({QStringLiteral("Delay"), DocumentChange(Region::OutputDelays), {}},
                              [&](Configuration& c) { core::setOutputDelayPosition(c, n, int(random() % 1501)); });
            break;
        case 3:
            changed = document.edit({QStringLiteral("Name"), DocumentChange(Region::Names), {}},
                                    [&](Configuration& c) { c.setOutputName(n, "N" + std::to_string(i)); });
            break;
        default:
            changed = document.edit({QStringLiteral("Dynamics"), DocumentChange::output(Region::Dynamics, n), {}},
                                    [&](Configuration& c) {
                                        c.output(n).dynamics.AuxFlag = uint8_t(random() % 2);
                                        core::selectDynamicsOutput(c, n);
                                    });
            break;
        }
        if (changed) {
            ++steps;
            files.push_back(file());
        }
    }
    ASSERT_EQ(int(document.history().size()), steps);
    for (int k = steps; k > 0; --k) {
        document.undo();
        ASSERT_EQ(file(), files[size_t(k - 1)]) << "after undoing step " << k;
    }
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.modified());
    for (int k = 1; k <= steps; ++k)
        document.redo();
    EXPECT_EQ(file(), files.back());
    EXPECT_TRUE(document.modified());
}

TEST_F(Document, AGestureIsOneStepUntilItEnds)
{
    // Rows: edits as (output, gesture key, end the gesture after it); steps expected at the end.
    struct Edit {
        int output;
        const char* key;
        bool end;
    };
    struct Row {
        std::vector<Edit> edits;
        size_t steps;
    } rows[] = {
        {{{1, "fader1", false}, {1, "fader1", false}, {1, "fader1", true}}, 1},  // one drag
        {{{1, "fader1", true}, {1, "fader1", true}}, 2},                         // two clicks
        {{{1, "fader1", false}, {2, "fader2", false}, {1, "fader1", false}}, 3}, // controls alternate
        {{{1, "", false}, {1, "", false}}, 2},                                   // no gesture: each its own
    };
    for (const Row& row : rows) {
        DocumentController doc(presenter, dialogs);
        double db = -10.0;
        for (const Edit& e : row.edits) {
            doc.edit(
                {QStringLiteral("Level"), DocumentChange::output(Region::Levels, e.output), QString::fromUtf8(e.key)},
                [&](Configuration& c) { c.setOutputLevelDb(e.output, db += 1.0); });
            if (e.end) doc.endGesture();
        }
        EXPECT_EQ(doc.history().size(), row.steps) << row.edits.size() << " edits";
        // Undoing all of them gives the start back.
        while (doc.canUndo())
            doc.undo();
        EXPECT_EQ(doc.configuration(), Configuration());
    }
}

// Joining changes: an empty side adds nothing (its "every output" masks do not spread).
TEST(DocumentChangeUnion, AnEmptySideIsTheIdentity)
{
    using C = DocumentChange;
    const C none;
    const C out2 = C::output(Region::Levels, 2);
    const C inB = C::input(Region::InputEq, core::InputId::B);
    struct Row {
        const char* name;
        C left, right;
        std::vector<Region> regions; // touched, any other region not
        unsigned outputs;            // bit n-1: output n of those regions
        unsigned inputs;             // bit 0 A, 1 B, 2 A+B
    } rows[] = {
        {"empty | output", none, out2, {Region::Levels}, 0b0010, 0b000},
        {"output | empty", out2, none, {Region::Levels}, 0b0010, 0b000},
        {"empty | input", none, inB, {Region::InputEq}, 0b0000, 0b010},
        {"empty | empty", none, none, {}, 0b0000, 0b000},
        {"empty | region", none, C(Region::Crossover), {Region::Crossover}, 0b1111, 0b111},
        {"output | output", out2, C::output(Region::Routing, 4), {Region::Levels, Region::Routing}, 0b1010, 0b000},
        {"output | input", out2, inB, {Region::Levels, Region::InputEq}, 0b0010, 0b010},
    };
    const Region all[] = {Region::Routing, Region::Levels,     Region::InputDelays, Region::OutputDelays,
                          Region::InputEq, Region::OutputEq,   Region::Crossover,   Region::Dynamics,
                          Region::Names,   Region::SystemInfo, Region::View,        Region::Measurement};
    for (const Row& row : rows) {
        C joined = row.left;
        joined |= row.right;
        EXPECT_EQ(row.left | row.right, joined) << row.name;
        EXPECT_EQ(joined.empty(), row.regions.empty()) << row.name;
        for (Region r : all) {
            const bool touched = std::find(row.regions.begin(), row.regions.end(), r) != row.regions.end();
            EXPECT_EQ(joined.touches(r), touched) << row.name << " region " << int(r);
            if (!touched) continue;
            for (int n = 1; n <= core::kOutputCount; ++n)
                EXPECT_EQ(joined.touches(r, n), bool(row.outputs & (1u << (n - 1)))) << row.name << " output " << n;
            for (int i = 0; i < core::kInputCount; ++i)
                EXPECT_EQ(joined.touches(r, core::InputId(i)), bool(row.inputs & (1u << i))) << row.name << " in " << i;
        }
    }
}

TEST_F(Document, EditsThatChangeNothingRecordAndAnnounceNothing)
{
    std::vector<DocumentChange> changed;
    QObject::connect(&document, &DocumentController::changed,
                     [&](const DocumentChange& change) { changed.push_back(change); });
    level(2, 0.0); // already 0 dB
    EXPECT_TRUE(changed.empty());
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.modified());

    level(2, -3.0);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed.back(), DocumentChange::output(Region::Levels, 2));
    // Undo announces the same region, so only its windows redraw.
    document.undo();
    ASSERT_EQ(changed.size(), 2u);
    const DocumentChange undone = changed.back();
    EXPECT_TRUE(undone.touches(Region::Levels, 2));
    EXPECT_FALSE(undone.touches(Region::Levels, 3));
    EXPECT_FALSE(undone.touches(Region::Crossover));
}

TEST_F(Document, HistoryIsCappedAndWaitsForExchanges)
{
    for (int i = 0; i < int(EditHistory::kDefaultLimit) + 20; ++i)
        level(1, (i % 2) ? -1.0 : -2.0);
    EXPECT_EQ(document.history().size(), EditHistory::kDefaultLimit);

    document.setExchangeRunning(true);
    EXPECT_FALSE(document.canUndo());
    const Configuration during = document.configuration();
    document.undo();
    EXPECT_EQ(document.configuration(), during);
    document.setExchangeRunning(false);
    EXPECT_TRUE(document.canUndo());
    EXPECT_EQ(document.undoName(), QStringLiteral("Output level"));
}

TEST_F(Document, NewAndOpenStartAFreshHistoryAndSaveMarksItClean)
{
    level(1, -5.0);
    const QString saved = QDir::temp().filePath(QStringLiteral("kvr-document-test.kv4"));
    ASSERT_TRUE(document.saveConfigurationFile(saved));
    EXPECT_FALSE(document.modified());
    EXPECT_TRUE(document.canUndo()); // saving keeps the history
    document.undo();
    EXPECT_TRUE(document.modified()); // away from the saved state
    document.redo();
    EXPECT_FALSE(document.modified());

    level(1, -6.0);
    ASSERT_TRUE(document.openConfigurationFile(saved));
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.modified());
    EXPECT_DOUBLE_EQ(document.configuration().output(1).levelDb(), -5.0);

    level(1, -7.0);
    presenter.answers = {Button::No};
    ASSERT_TRUE(document.newConfiguration());
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.modified());
    QFile::remove(saved);
}

// A memory read or a restored copy leaves the file the document came from; undoing it brings the
// file back with its name (title, Save's proposal), redoing it leaves it again. A save in between
// is what the redo comes back to; ordinary edits never move the file.
TEST_F(Document, StepsThatLeaveTheFileTakeItAlongInUndoAndRedo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString a = folder.filePath(QStringLiteral("a.kv4"));
    const QString b = folder.filePath(QStringLiteral("b.kv4"));
    const QString noName = QStringLiteral("NoName");
    Configuration decoded;
    decoded.setSystemName("FROM DSP");
    decoded.setOutputLevelDb(3, -9.0);
    auto read = [&](DocumentController& d) {
        d.beginRead(4);
        d.finishRead(decoded);
    };
    auto restore = [&](DocumentController& d) { d.restoreRecovered(decoded, QStringLiteral("Recovered")); };
    auto edit = [&](DocumentController& d) {
        d.edit({QStringLiteral("Output level"), DocumentChange::output(Region::Levels, 2), {}},
               [&](Configuration& c) { c.setOutputLevelDb(2, -4.0); });
    };

    struct Row {
        const char* name;
        bool openFirst;                                // start from a.kv4, else from New
        std::function<void(DocumentController&)> step; // the step undone and redone
        bool saveAsB;                                  // save as b.kv4 after the step
        QString pathAfterUndo, nameAfterUndo;          // expected
        QString pathAfterRedo, nameAfterRedo;          // expected
    } rows[] = {
        {"read over a file", true, read, false, a, QStringLiteral("a.kv4"), {}, noName},
        {"read over New", false, read, false, {}, noName, {}, noName},
        {"read, then saved", true, read, true, a, QStringLiteral("a.kv4"), b, QStringLiteral("b.kv4")},
        {"restored copy", true, restore, false, a, QStringLiteral("a.kv4"), {}, QStringLiteral("Recovered")},
        {"edit, then saved", false, edit, true, b, QStringLiteral("b.kv4"), b, QStringLiteral("b.kv4")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedDialogs files;
        DocumentController doc(presenter, files);
        ASSERT_TRUE(doc.saveConfigurationFile(a));
        if (row.openFirst) {
            ASSERT_TRUE(doc.openConfigurationFile(a));
        } else {
            ASSERT_TRUE(doc.newConfiguration()); // saved just now: nothing to ask
        }
        const Configuration start = doc.configuration();
        QStringList titles;
        QObject::connect(&doc, &DocumentController::titleChanged, [&](const QString& t) { titles << t; });
        row.step(doc);
        if (row.saveAsB) {
            ASSERT_TRUE(doc.saveConfigurationFile(b));
        }
        titles.clear();
        const QString nameBefore = doc.documentName();

        doc.undo();
        EXPECT_EQ(doc.configuration(), start);
        EXPECT_EQ(doc.filePath(), row.pathAfterUndo);
        EXPECT_EQ(doc.documentName(), row.nameAfterUndo);
        EXPECT_EQ(doc.windowTitle(), QStringLiteral("KVR - 610 Loudspeaker Management System ") + row.nameAfterUndo);
        if (!row.saveAsB) {
            EXPECT_FALSE(doc.modified()); // back at what was opened or new
        }
        // The title follows whenever the name changed.
        EXPECT_EQ(titles.size(), nameBefore != row.nameAfterUndo ? 1 : 0);
        // Save proposes the file the document is back to.
        files.asked.clear();
        doc.saveConfiguration(); // no answer scripted: cancelled
        ASSERT_EQ(files.asked.size(), 1u);
        if (!row.pathAfterUndo.isEmpty()) {
            EXPECT_EQ(files.asked[0].proposedName, QFileInfo(row.pathAfterUndo).fileName());
        }

        doc.redo();
        EXPECT_EQ(doc.filePath(), row.pathAfterRedo);
        EXPECT_EQ(doc.documentName(), row.nameAfterRedo);
    }
}

} // namespace
} // namespace kvr::gui::test

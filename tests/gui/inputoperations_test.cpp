#include <functional>

#include "app/delayoperations.h"
#include "app/documentcontroller.h"
#include "app/equalizeroperations.h"
#include "app/leveloperations.h"
#include "guifixture.h"

namespace kvr::gui::test {
namespace {

using core::InputId;

class InputOperations : public ::testing::Test {
protected:
    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;
    DocumentController document{presenter, dialogs};
};

TEST_F(InputOperations, StepsNameTheirInput)
{
    struct Row {
        const char* expected;
        std::function<void(DocumentController&)> edit;
    } rows[] = {
        {"Input A mute", [](DocumentController& d) { d.levels().setInputMute(InputId::A, true); }},
        {"Input A+B mute", [](DocumentController& d) { d.levels().setInputMute(InputId::M, true); }},
        {"Input B level", [](DocumentController& d) { d.levels().setInputLevelPosition(InputId::B, 10); }},
        {"Input B delay", [](DocumentController& d) { d.delays().setInputDelayPosition(InputId::B, 100); }},
        {"Input A+B delay", [](DocumentController& d) { d.delays().setInputDelayPosition(InputId::M, 100); }},
        {"In A+B equaliser source", [](DocumentController& d) { d.equalizers().setInputSource(InputId::M, 0); }},
    };
    for (const Row& row : rows) {
        DocumentController doc(presenter, dialogs);
        row.edit(doc);
        EXPECT_EQ(doc.undoName(), QString::fromUtf8(row.expected));
    }
}

// An input that is none of A, B, A+B (a widget index out of range) changes nothing and records no
// step, where it would otherwise index past the Configuration's three inputs.
TEST_F(InputOperations, InputsOutOfRangeAreRefused)
{
    struct Row {
        const char* name;
        std::function<bool(DocumentController&, InputId)> edit; // false: refused
    } rows[] = {
        {"source", [](DocumentController& d, InputId i) { return d.equalizers().setInputSource(i, 0); }},
        {"band count", [](DocumentController& d, InputId i) { return d.equalizers().selectInputBand(i, 3); }},
        {"band frequency",
         [](DocumentController& d, InputId i) { return d.equalizers().setInputBandFrequency(i, 1, 1234.0); }},
        {"bank view",
         [](DocumentController& d, InputId i) {
             return d.equalizers().setInputBankView(i, !d.configuration().inputs[2].peqView);
         }},
        {"band drag", [](DocumentController& d, InputId i) { return d.equalizers().dragInputBand(i, 1, 1000, 3); }},
        {"level",
         [](DocumentController& d, InputId i) {
             d.levels().setInputLevelPosition(i, 10);
             return d.canUndo();
         }},
        {"mute",
         [](DocumentController& d, InputId i) {
             d.levels().setInputMute(i, true);
             return d.canUndo();
         }},
        {"delay",
         [](DocumentController& d, InputId i) {
             d.delays().setInputDelayPosition(i, 100);
             return d.canUndo();
         }},
    };
    for (const Row& row : rows) {
        for (const int id : {-1, core::kInputCount, 1000}) {
            DocumentController doc(presenter, dialogs);
            EXPECT_FALSE(row.edit(doc, static_cast<InputId>(id))) << row.name << " " << id;
            EXPECT_FALSE(doc.canUndo()) << row.name << " " << id;
            EXPECT_EQ(doc.configuration(), core::Configuration()) << row.name << " " << id;
        }
        // The last valid input still goes through.
        DocumentController doc(presenter, dialogs);
        EXPECT_TRUE(row.edit(doc, InputId::M)) << row.name;
    }
}

} // namespace
} // namespace kvr::gui::test

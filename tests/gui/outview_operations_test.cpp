#include <vector>

#include "app/documentcontroller.h"
#include "app/dynamicsoperations.h"
#include "app/equalizeroperations.h"
#include "app/viewoperations.h"
#include "guifixture.h"

namespace kvr::gui::test {
namespace {

class OutputEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&document, &DocumentController::changed,
                         [this](const DocumentChange& change) { changes.push_back(change); });
    }

    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;
    DocumentController document{presenter, dialogs};
    std::vector<DocumentChange> changes;
};

TEST_F(OutputEditing, ABandDragIsOneStepOfItsBand)
{
    EqualizerOperations& eq = document.equalizers();
    eq.setOutputBandType(2, 3, 1);
    const core::TSOS before = document.configuration().output(2).peqx[2];
    for (double hz : {1100.0, 1500.0, 2400.0})
        eq.dragOutputBand(2, 3, hz, hz / 400.0);
    document.endGesture();
    EXPECT_EQ(document.history().size(), 2u);
    EXPECT_EQ(document.undoName(), QStringLiteral("PEQX2 band 3"));
    EXPECT_EQ(document.configuration().output(2).peqx[2].Frec, 2400.0);
    EXPECT_EQ(document.configuration().output(2).peqx[2].Gain, 6.0);
    EXPECT_EQ(changes.back(), DocumentChange::output(Region::OutputEq, 2));
    document.undo();
    EXPECT_EQ(document.configuration().output(2).peqx[2], before);

    // Selecting a band below the count changes nothing: no step.
    const size_t steps = document.history().size();
    eq.selectOutputBand(2, 1);
    EXPECT_EQ(document.history().size(), steps);
    eq.setOutputBandFrequency(1, 7, 300); // no such band
    EXPECT_EQ(document.history().size(), steps);
}

TEST_F(OutputEditing, ViewFlagsAreStepsOfTheirRegion)
{
    ViewOperations& views = document.views();
    views.setInfluence(core::ViewInfluence::Xover, true);
    EXPECT_EQ(document.undoName(), QStringLiteral("Output view XOVER"));
    EXPECT_TRUE(document.configuration().view.xover);
    EXPECT_EQ(changes.back(), DocumentChange(Region::View));
    views.setInfluence(core::ViewInfluence::Xover, true); // already on
    EXPECT_EQ(changes.size(), 1u);
    views.setOutputShown(3, false);
    EXPECT_EQ(document.undoName(), QStringLiteral("Hide output 3"));
    EXPECT_EQ(changes.back(), DocumentChange::output(Region::OutputEq, 3));
    EXPECT_FALSE(document.configuration().output(3).peqxView);
    document.equalizers().setConstantQ(true);
    EXPECT_TRUE(changes.back().touches(Region::InputEq) && changes.back().touches(Region::OutputEq));
}

TEST_F(OutputEditing, DynamicsControlsFollowTheirEnableRules)
{
    DynamicsOperations& dyn = document.dynamics();
    dyn.setRatioPosition(1, 4); // the limiter's ratio is disabled
    EXPECT_FALSE(document.canUndo());
    dyn.setCompressor(1, true);
    for (int p : {18, 14, 10})
        dyn.setRatioPosition(1, p);
    document.endGesture();
    EXPECT_EQ(document.history().size(), 2u);
    EXPECT_EQ(document.undoName(), QStringLiteral("Output 1 ratio"));
    EXPECT_EQ(document.configuration().output(1).dynamics.Ratio, 6.0f);
    dyn.setBypass(1, true);
    dyn.setAutomaticTimes(1, true); // the check is disabled while bypassed
    EXPECT_EQ(document.undoName(), QStringLiteral("Output 1 dynamics bypass"));
    dyn.setBalanced(1, false);
    EXPECT_EQ(document.undoName(), QStringLiteral("Output 1 balanced input"));
    EXPECT_EQ(changes.back(), DocumentChange::output(Region::Dynamics, 1));
}

} // namespace
} // namespace kvr::gui::test

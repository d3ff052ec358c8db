#include "app/leveloperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/inputnames.h"

namespace kvr::gui {

using core::InputId;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("LevelOperations", text);
}

bool validOutput(int output)
{
    return output >= 1 && output <= core::kOutputCount;
}

} // namespace

void LevelOperations::setInputLevelPosition(InputId input, int position)
{
    if (!validInput(input)) return;
    m_document.edit({tr("Input %1 level").arg(inputName(input)), DocumentChange::input(Region::Levels, input),
                     QStringLiteral("level.input%1").arg(static_cast<int>(input))},
                    [&](core::Configuration& c) { c.setInputLevelPosition(input, position); });
}

void LevelOperations::setOutputLevelPosition(int output, int position)
{
    if (!validOutput(output)) return;
    m_document.edit({tr("Output %1 level").arg(output), DocumentChange::output(Region::Levels, output),
                     QStringLiteral("level.output%1").arg(output)},
                    [&](core::Configuration& c) { c.setOutputLevelPosition(output, position); });
}

void LevelOperations::setInputLevelFader(InputId input, int fader)
{
    setInputLevelPosition(input, core::levelPositionFromFader(fader));
}

void LevelOperations::setOutputLevelFader(int output, int fader)
{
    setOutputLevelPosition(output, core::levelPositionFromFader(fader));
}

void LevelOperations::setInputMute(InputId input, bool mute)
{
    if (!validInput(input)) return;
    m_document.edit({tr("Input %1 mute").arg(inputName(input)), DocumentChange::input(Region::Levels, input), {}},
                    [&](core::Configuration& c) { c.setInputMute(input, mute); });
}

void LevelOperations::setOutputMute(int output, bool mute)
{
    if (!validOutput(output)) return;
    m_document.edit({tr("Output %1 mute").arg(output), DocumentChange::output(Region::Levels, output), {}},
                    [&](core::Configuration& c) { c.setOutputMute(output, mute); });
}

void LevelOperations::setAllOutputMutes(bool mute)
{
    // Every output and no input.
    DocumentChange outputs = DocumentChange::output(Region::Levels, 1);
    for (int n = 2; n <= core::kOutputCount; ++n)
        outputs |= DocumentChange::output(Region::Levels, n);
    m_document.edit({mute ? tr("Mute outputs") : tr("Unmute outputs"), outputs, {}},
                    [&](core::Configuration& c) { c.setOutputMutes(mute); });
}

void LevelOperations::setPolarity(int output, bool inverted)
{
    if (!validOutput(output)) return;
    m_document.edit({tr("Output %1 polarity").arg(output), DocumentChange::output(Region::Levels, output), {}},
                    [&](core::Configuration& c) { c.setPolarity(output, inverted); });
}

} // namespace kvr::gui

#include "app/dynamicsoperations.h"

#include <QCoreApplication>
#include <utility>

#include "app/documentcontroller.h"
#include "config/dynamicsediting.h"
#include "config/editing.h"
#include "config/speakerediting.h"

namespace kvr::gui {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("DynamicsOperations", text);
}

// One edit of output n's stage; `gesture` names the control when its moves merge.
template <typename F>
void editStage(DocumentController& document, int output, const QString& name, const char* gesture, F&& change)
{
    if (output < 1 || output > core::kOutputCount) return;
    document.edit({name.arg(output), DocumentChange::output(Region::Dynamics, output),
                   gesture ? QStringLiteral("dynamics%1.%2").arg(output).arg(QLatin1String(gesture)) : QString()},
                  std::forward<F>(change));
}

} // namespace

void DynamicsOperations::selectOutput(int output)
{
    editStage(m_document, output, tr("Output %1 dynamics"), nullptr,
              [&](core::Configuration& c) { core::selectDynamicsOutput(c, output); });
}

void DynamicsOperations::setThresholdPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 threshold"), "threshold",
              [&](core::Configuration& c) { core::setDynamicsThresholdPosition(c, output, position); });
}

void DynamicsOperations::setRatioPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 ratio"), "ratio",
              [&](core::Configuration& c) { core::setDynamicsRatioPosition(c, output, position); });
}

void DynamicsOperations::setGainPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 dynamics gain"), "gain",
              [&](core::Configuration& c) { core::setDynamicsGainPosition(c, output, position); });
}

void DynamicsOperations::setKneePosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 knee"), "knee",
              [&](core::Configuration& c) { core::setDynamicsKneePosition(c, output, position); });
}

void DynamicsOperations::setCompressor(int output, bool compressor)
{
    editStage(m_document, output, compressor ? tr("Output %1 compressor") : tr("Output %1 limiter"), nullptr,
              [&](core::Configuration& c) { core::setDynamicsCompressor(c, output, compressor); });
}

void DynamicsOperations::setAttackPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 attack"), "attack",
              [&](core::Configuration& c) { core::setDynamicsAttackPosition(c, output, position); });
}

void DynamicsOperations::setReleasePosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 release"), "release",
              [&](core::Configuration& c) { core::setDynamicsReleasePosition(c, output, position); });
}

void DynamicsOperations::setAutomaticTimes(int output, bool on)
{
    editStage(m_document, output, tr("Output %1 automatic times"), nullptr,
              [&](core::Configuration& c) { core::setAutomaticTimes(c, output, on); });
}

void DynamicsOperations::setGateThresholdPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 gate threshold"), "gate",
              [&](core::Configuration& c) { core::setGateThresholdPosition(c, output, position); });
}

void DynamicsOperations::setHoldPosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 hold time"), "hold",
              [&](core::Configuration& c) { core::setGateHoldPosition(c, output, position); });
}

void DynamicsOperations::setClosePosition(int output, int position)
{
    editStage(m_document, output, tr("Output %1 close time"), "close",
              [&](core::Configuration& c) { core::setGateClosePosition(c, output, position); });
}

void DynamicsOperations::setBypass(int output, bool bypassed)
{
    editStage(m_document, output, tr("Output %1 dynamics bypass"), nullptr,
              [&](core::Configuration& c) { core::setDynamicsBypass(c, output, bypassed); });
}

void DynamicsOperations::setGateBypass(int output, bool bypassed)
{
    editStage(m_document, output, tr("Output %1 gate bypass"), nullptr,
              [&](core::Configuration& c) { core::setGateBypass(c, output, bypassed); });
}

void DynamicsOperations::setImpedance(int output, int item)
{
    editStage(m_document, output, tr("Output %1 speaker impedance"), nullptr,
              [&](core::Configuration& c) { core::setSpeakerImpedance(c, output, item); });
}

void DynamicsOperations::setBoxPower(int output, int watts)
{
    editStage(m_document, output, tr("Output %1 speaker power"), "boxpower",
              [&](core::Configuration& c) { core::setSpeakerBoxPower(c, output, watts); });
}

void DynamicsOperations::setAmplifierGain(int output, int gain)
{
    editStage(m_document, output, tr("Output %1 amplifier gain"), "ampgain",
              [&](core::Configuration& c) { core::setAmplifierGain(c, output, gain); });
}

void DynamicsOperations::setAmplifierPower(int output, int watts)
{
    editStage(m_document, output, tr("Output %1 amplifier power"), "amppower",
              [&](core::Configuration& c) { core::setAmplifierPower(c, output, watts); });
}

void DynamicsOperations::setBalanced(int output, bool balanced)
{
    editStage(m_document, output, tr("Output %1 balanced input"), nullptr,
              [&](core::Configuration& c) { core::setBalancedInput(c, output, balanced); });
}

void DynamicsOperations::setNumberOfSpeakers(int output, int item)
{
    editStage(m_document, output, tr("Output %1 number of speakers"), nullptr,
              [&](core::Configuration& c) { core::setNumberOfSpeakers(c, output, item); });
}

} // namespace kvr::gui

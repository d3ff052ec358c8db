#include "config/configuration.h"

#include "config/editing.h"

namespace kvr::core {

Configuration::Configuration()
{
    input(InputId::A).name = "In A";
    input(InputId::B).name = "In B";
    input(InputId::A).peqSource = 0;
    input(InputId::B).peqSource = 2;
    input(InputId::M).peqSource = 1;
    // A+B is the sum of both inputs: it starts 6 dB down.
    input(InputId::M).levelPosition = levelPositionFromDb(-6.0);

    for (int n = 1; n <= kOutputCount; ++n) {
        OutputChannelSettings& out = output(n);
        out.name = "Out" + std::to_string(n);
        // The crossover editor creates its sides at 100 Hz (low) and 5000 Hz (high).
        out.xover.LowSide.Frec = 100.0;
        out.xover.HighSide.Frec = 5000.0;
        // The dynamics editor's own defaults, over those of the design object.
        TDYNAMIC& dyn = out.dynamics;
        dyn.Umbral = -6.0f;
        dyn.Ratio = 2.0f;
        dyn.GaindB = 0.0f;
        dyn.Knee = 4.0f;
        dyn.CriKnee = 0;
        dyn.TAttack = 10.0f;
        dyn.TRelease = 100.0f;
        dyn.AuxFlag = 0;
        dyn.GateLevel = -83.0f;
        dyn.TAttackGate = 300.0f;
        dyn.TReleaseGate = 350.0f;
        dyn.BypassF = 0;
        dyn.GateBypassF = 0;
        dyn.DiezmadoF = 1;
        dyn.NPuntos = 60;
        dyn.Tau = 0.9f;
        dyn.OverRange = kEditorOverRangeDb;
    }
    refillCrossovers(*this);
    // The editor selects every output once when it is created, which passes the values through
    // its sliders (a threshold of -6 is kept as -5.85).
    for (int n = 1; n <= kOutputCount; ++n)
        selectDynamicsOutput(*this, n);
}

InputId Configuration::bankForRoute(RouteSource route) const
{
    return bankForSelector(input(inputForRoute(route)).peqSource);
}

void Configuration::resetToDefaults()
{
    bool keepConstantQ = constantQ;
    *this = Configuration();
    constantQ = keepConstantQ;
}

void Configuration::setRoutingMode(int mode)
{
    if (mode < 0 || mode >= kRoutingModeCount) return;
    routingMode = mode;
    const RoutingModeInfo& info = routingModeInfo(mode);
    for (int n = 1; n <= kOutputCount; ++n) {
        output(n).route = info.routes[static_cast<size_t>(n - 1)];
        if (info.captions) output(n).name = std::string((*info.captions)[static_cast<size_t>(n - 1)]);
    }
}

void Configuration::advanceRoute(int n)
{
    output(n).route = nextRoute(output(n).route);
}

void Configuration::clickRouteLeavingPreset(int n)
{
    routingMode = kRoutingModeFree;
    advanceRoute(n);
}

void Configuration::setInputLevelDb(InputId id, double db)
{
    input(id).levelPosition = levelPositionFromDb(db);
}

void Configuration::setOutputLevelDb(int n, double db)
{
    output(n).levelPosition = levelPositionFromDb(db);
}

void Configuration::setInputLevelPosition(InputId id, int position)
{
    input(id).levelPosition = clampLevelPosition(position);
}

void Configuration::setOutputLevelPosition(int n, int position)
{
    output(n).levelPosition = clampLevelPosition(position);
}

void Configuration::setPolarity(int n, bool inverted)
{
    output(n).polarity = inverted ? -1 : +1;
}

void Configuration::setOutputMute(int n, bool mute)
{
    output(n).mute = mute;
}

void Configuration::setOutputMutes(bool mute)
{
    for (OutputChannelSettings& out : outputs)
        out.mute = mute;
}

void Configuration::setInputMute(InputId id, bool mute)
{
    input(id).mute = mute;
}

void Configuration::setSystemName(const std::string& name)
{
    system.name = clampText(name, kSystemNameCapacity);
}

void Configuration::setSystemInfo(const SystemInfo& info)
{
    setSystemName(info.name);
    system.project = clampText(info.project, kInfoTextCapacity);
    system.installation = clampText(info.installation, kInfoTextCapacity);
    system.engineer = clampText(info.engineer, kInfoTextCapacity);
    system.comment = clampText(info.comment, kCommentCapacity);
}

void Configuration::setInputName(InputId id, const std::string& name)
{
    if (id == InputId::M) return;
    input(id).name = clampText(name, kChannelNameCapacity);
}

void Configuration::setOutputName(int n, const std::string& name)
{
    output(n).name = clampText(name, kChannelNameCapacity);
}

} // namespace kvr::core

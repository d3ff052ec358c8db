#pragma once

#include <algorithm>
#include <string>

#include "config/configuration.h"
#include "config/editing.h"
#include "util/bytes.h"

namespace kvr::test {

using namespace kvr::core;

// A Configuration that touches every part of an image, built through the editors' operations.
inline Configuration imageConfiguration(int temperatureC = 25)
{
    Configuration c;
    c.setSystemName("Hall");
    c.setInputName(InputId::A, "L");
    c.temperatureC = temperatureC;
    c.setRoutingMode(3); // outputs 1,2 from A; 3,4 from B
    c.advanceRoute(2);   // output 2 from A+B
    c.setInputLevelDb(InputId::A, -2.5);
    c.setInputLevelDb(InputId::B, 4.0);
    c.setInputLevelDb(InputId::M, -9.0);
    c.setInputMute(InputId::B, true);
    InputDelayTracks(c).setPosition(InputId::A, 345);
    InputDelayTracks(c).setPosition(InputId::M, 120);
    c.input(InputId::A).peqBandCount = 3;
    TSOS& p = c.input(InputId::A).peq[0];
    p.Tipo = 1;
    p.Gain = -4.5;
    p.Frec = 250;
    p.Q = 2.5;
    c.input(InputId::A).peq[2].Tipo = 2;
    c.input(InputId::A).peq[2].Gain = 3;
    c.input(InputId::A).peq[2].Frec = 120;
    c.input(InputId::M).peq[1].Tipo = 9;
    c.input(InputId::M).peq[1].Frec = 60;
    c.input(InputId::M).peq[1].Q = 5;
    c.setOutputLevelDb(2, -3.0);
    c.setPolarity(2, true);
    c.setOutputMute(4, true);
    setOutputDelayPosition(c, 3, 321);
    c.output(1).peqxCount = 2;
    c.output(1).peqx[1].Tipo = 8;
    c.output(1).peqx[1].Gain = 2.5;
    c.output(1).peqx[1].Frec = 1500;
    c.output(1).peqx[1].Q = 4;
    c.output(2).peqxCount = 1; // a single bypass section
    setCrossoverFamily(c, 1, CrossoverSide::High, 1);
    setCrossoverOrder(c, 1, CrossoverSide::High, 3);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 1000);
    setCrossoverFamily(c, 2, CrossoverSide::Low, 1);
    setCrossoverOrder(c, 2, CrossoverSide::Low, 3);
    setCrossoverFrequency(c, 2, CrossoverSide::Low, 1000);
    setCrossoverFamily(c, 3, CrossoverSide::Low, 2);
    setCrossoverOrder(c, 3, CrossoverSide::Low, 8);
    setCrossoverFamily(c, 3, CrossoverSide::High, 3);
    setCrossoverOrder(c, 3, CrossoverSide::High, 5);
    setCrossoverFamily(c, 4, CrossoverSide::Low, 4);
    setCrossoverOrder(c, 4, CrossoverSide::Low, 3);
    c.output(4).xover.LowSide.Sections[0].Frec = 70;
    c.output(4).xover.LowSide.Sections[1].Frec = 90;
    c.output(4).xover.LowSide.Sections[1].Q = 0.9;
    applyCrossoverSide(c, 4, CrossoverSide::Low);
    TDYNAMIC& d = c.output(2).dynamics;
    d.CriKnee = 1;
    d.Ratio = 4;
    d.Umbral = -10;
    d.TAttack = 25;
    d.GateBypassF = 1;
    d.Balanced = 0;
    d.Impedance = 2.67f;
    d.BoxPower = 1200;
    selectDynamicsOutput(c, 2);
    c.output(3).dynamics.BypassF = 1;
    selectDynamicsOutput(c, 3);
    c.output(4).dynamics.AuxFlag = 1;
    selectDynamicsOutput(c, 4);
    return c;
}

// Differences of two byte strings with their offsets, for failure messages.
inline std::string hexDiff(const Bytes& a, const Bytes& b, size_t base = 0)
{
    std::string out;
    for (size_t i = 0; i < std::max(a.size(), b.size()) && out.size() < 600; ++i) {
        int x = i < a.size() ? a[i] : -1;
        int y = i < b.size() ? b[i] : -1;
        if (x != y)
            out += "offset " + std::to_string(base + i) + ": " + std::to_string(x) + " vs " + std::to_string(y) + "\n";
    }
    if (a.size() != b.size()) out += "sizes " + std::to_string(a.size()) + " vs " + std::to_string(b.size()) + "\n";
    return out;
}

} // namespace kvr::test

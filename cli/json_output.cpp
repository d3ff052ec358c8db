#include "json_output.h"

#include <QJsonDocument>
#include <cstdio>

#include "config/routing.h"
#include "dsp/tsos.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

void print(const QJsonDocument& document)
{
    std::printf("%s\n", document.toJson(QJsonDocument::Indented).constData());
}

QJsonArray bands(const TSOS* first, int count)
{
    QJsonArray out;
    for (int k = 0; k < count; ++k) {
        const TSOS& s = first[k];
        out.append(QJsonObject{{"type", s.Tipo}, {"frequencyHz", s.Frec}, {"gainDb", s.Gain}, {"q", s.Q}});
    }
    return out;
}

QJsonObject side(const TXOVERPB& s)
{
    return QJsonObject{{"type", s.Tipo}, {"order", s.Orden}, {"frequencyHz", s.Frec}, {"sections", s.NumSections}};
}

const char* kInputIds[3] = {"A", "B", "A+B"};

} // namespace

void printJson(const QJsonObject& object)
{
    print(QJsonDocument(object));
}

void printJson(const QJsonArray& array)
{
    print(QJsonDocument(array));
}

QString jsonText(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QJsonObject configurationJson(const Configuration& c)
{
    QJsonArray inputs;
    for (int i = 0; i < kInputCount; ++i) {
        const InputChannelSettings& in = c.inputs[static_cast<size_t>(i)];
        inputs.append(QJsonObject{{"input", kInputIds[i]},
                                  {"name", jsonText(in.name)},
                                  {"levelDb", in.levelDb()},
                                  {"mute", in.mute},
                                  {"delaySamples", in.delaySamples},
                                  {"delayMs", in.delayMs()},
                                  {"peqBypass", in.peqBypass != 0},
                                  {"peqSource", in.peqSource},
                                  {"peq", bands(in.peq.data(), in.peqBandCount)}});
    }
    QJsonArray outputs;
    for (int n = 1; n <= kOutputCount; ++n) {
        const OutputChannelSettings& out = c.output(n);
        const TDYNAMIC& d = out.dynamics;
        outputs.append(QJsonObject{
            {"output", n},
            {"name", jsonText(out.name)},
            {"route", jsonText(std::string(routeText(out.route)))},
            {"levelDb", out.levelDb()},
            {"polarityInverted", out.inverted()},
            {"mute", out.mute},
            {"delaySamples", out.delaySamples()},
            {"delayMs", out.delayMs()},
            {"peqx", bands(out.peqx.data(), out.peqxCount)},
            {"crossover", QJsonObject{{"low", side(out.xover.LowSide)}, {"high", side(out.xover.HighSide)}}},
            {"dynamics", QJsonObject{{"compressor", d.CriKnee != 0},
                                     {"bypassed", d.BypassF != 0},
                                     {"thresholdDbu", dbuFromStoredThreshold(d.Umbral)},
                                     {"ratio", d.Ratio},
                                     {"gainDb", d.GaindB},
                                     {"attackMs", d.TAttack},
                                     {"releaseMs", d.TRelease},
                                     {"gateBypassed", d.GateBypassF != 0},
                                     {"gateDbu", dbuFromStoredThreshold(d.GateLevel)}}}});
    }
    return QJsonObject{{"systemName", jsonText(c.system.name)},
                       {"project", jsonText(c.system.project)},
                       {"installation", jsonText(c.system.installation)},
                       {"engineer", jsonText(c.system.engineer)},
                       {"comment", jsonText(c.system.comment)},
                       {"routingMode", c.routingMode},
                       {"routingModeName", jsonText(std::string(routingModeInfo(c.routingMode).item))},
                       {"temperatureC", c.temperatureC},
                       {"inputs", inputs},
                       {"outputs", outputs}};
}

QJsonObject outcomeJson(const std::string& command, const Outcome& outcome)
{
    const char* result = outcome.completed() ? "completed" : outcome.failed() ? "failed" : "refused";
    QJsonObject o{{"command", QString::fromStdString(command)}, {"result", result}};
    if (!outcome.reason.empty()) o.insert("reason", QString::fromStdString(outcome.reason));
    if (outcome.verified) o.insert("verified", true);
    if (outcome.difference)
        o.insert("mismatch", QJsonObject{{"part", imagePartName(outcome.difference->part)},
                                         {"offset", qint64(outcome.difference->offset)}});
    return o;
}

} // namespace kvr::cli

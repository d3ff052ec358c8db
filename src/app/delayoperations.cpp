#include "app/delayoperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/inputnames.h"
#include "config/editing.h"

namespace kvr::gui {

using core::InputId;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("DelayOperations", text);
}

// Output n and every output a chain of links reaches from it.
DocumentChange linkedOutputs(const core::Configuration& c, int output)
{
    DocumentChange change = DocumentChange::output(Region::OutputDelays, output);
    const auto& link = c.links.outputDelay;
    for (int n = output; n > 1 && link[static_cast<size_t>(n - 2)]; --n)
        change |= DocumentChange::output(Region::OutputDelays, n - 1);
    for (int n = output; n < core::kOutputCount && link[static_cast<size_t>(n - 1)]; ++n)
        change |= DocumentChange::output(Region::OutputDelays, n + 1);
    return change;
}

DocumentChange linkedInputs(const core::Configuration& c, InputId input)
{
    DocumentChange change = DocumentChange::input(Region::InputDelays, input);
    const core::Links& l = c.links;
    if (l.inputDelayAll) return DocumentChange(Region::InputDelays);
    if (l.inputDelayAB && input != InputId::M) {
        change |= DocumentChange::input(Region::InputDelays, InputId::A);
        change |= DocumentChange::input(Region::InputDelays, InputId::B);
    }
    return change;
}

} // namespace

void DelayOperations::setInputDelayPosition(InputId input, int positionCm)
{
    if (!validInput(input)) return;
    m_document.edit({tr("Input %1 delay").arg(inputName(input)), linkedInputs(m_document.configuration(), input),
                     QStringLiteral("delay.input%1").arg(static_cast<int>(input))},
                    [&](core::Configuration& c) { core::InputDelayTracks(c).setPosition(input, positionCm); });
}

void DelayOperations::setInputDelayFader(InputId input, int fader)
{
    setInputDelayPosition(input, core::inputDelayPositionFromFader(fader));
}

void DelayOperations::setTemperature(int celsius)
{
    m_document.edit({tr("Temperature"), DocumentChange(Region::InputDelays), QStringLiteral("delay.temperature")},
                    [&](core::Configuration& c) {
                        const int t = core::clampTemperatureC(celsius);
                        if (t != c.temperatureC) core::InputDelayTracks(c).setTemperature(t);
                    });
}

void DelayOperations::setTemperatureFahrenheit(int fahrenheit)
{
    setTemperature(core::celsiusFromFahrenheit(fahrenheit));
}

void DelayOperations::setInputDelayLinkAToB(bool linked)
{
    m_document.edit({tr("Link A to B"), DocumentChange(Region::InputDelays), {}},
                    [&](core::Configuration& c) { c.links.inputDelayAB = linked; });
}

void DelayOperations::setInputDelayLinkAll(bool linked)
{
    m_document.edit({tr("Link All"), DocumentChange(Region::InputDelays), {}},
                    [&](core::Configuration& c) { c.links.inputDelayAll = linked; });
}

void DelayOperations::setOutputDelayPosition(int output, int position)
{
    if (output < 1 || output > core::kOutputCount) return;
    m_document.edit({tr("Output %1 delay").arg(output), linkedOutputs(m_document.configuration(), output),
                     QStringLiteral("delay.output%1").arg(output)},
                    [&](core::Configuration& c) { core::setOutputDelayPosition(c, output, position); });
}

void DelayOperations::setOutputDelayFader(int output, int fader)
{
    setOutputDelayPosition(output, core::outputDelayPositionFromFader(fader));
}

void DelayOperations::setOutputDelayLink(int link, bool linked)
{
    if (link < 1 || link > 3) return;
    m_document.edit({tr("Link output delays %1-%2").arg(link).arg(link + 1), DocumentChange(Region::OutputDelays), {}},
                    [&](core::Configuration& c) { c.links.outputDelay[static_cast<size_t>(link - 1)] = linked; });
}

} // namespace kvr::gui

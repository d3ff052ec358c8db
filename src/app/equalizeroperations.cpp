#include "app/equalizeroperations.h"

#include <QCoreApplication>
#include <utility>

#include "app/documentcontroller.h"
#include "config/outputeqediting.h"

namespace kvr::gui {

// ---- Output banks PEQX1..4 ----

namespace {

bool validOutputBand(int output, int band)
{
    return output >= 1 && output <= core::kOutputCount && band >= 1 && band <= core::kEditableBands;
}

QString outputBandName(int output, int band)
{
    return QCoreApplication::translate("EqualizerOperations", "PEQX%1 band %2").arg(output).arg(band);
}

QString outputBandGesture(int output, int band, const char* control)
{
    return QStringLiteral("peqx%1.band%2.%3").arg(output).arg(band).arg(QLatin1String(control));
}

template <typename F>
void editOutputBand(DocumentController& document, int output, int band, const char* control, F&& change)
{
    if (!validOutputBand(output, band)) return;
    document.edit({outputBandName(output, band), DocumentChange::output(Region::OutputEq, output),
                   control ? outputBandGesture(output, band, control) : QString()},
                  std::forward<F>(change));
}

} // namespace

void EqualizerOperations::selectOutputBand(int output, int band)
{
    if (!validOutputBand(output, band)) return;
    m_document.edit({QCoreApplication::translate("EqualizerOperations", "PEQX%1 bands").arg(output),
                     DocumentChange::output(Region::OutputEq, output), QStringLiteral("peqx%1.band").arg(output)},
                    [&](core::Configuration& c) { core::selectOutputBand(c, output, band); });
}

void EqualizerOperations::setOutputBandType(int output, int band, int typeItem)
{
    editOutputBand(m_document, output, band, nullptr,
                   [&](core::Configuration& c) { core::setOutputBandType(c, output, band, typeItem); });
}

void EqualizerOperations::setOutputBandFrequency(int output, int band, double hz)
{
    editOutputBand(m_document, output, band, "frequency",
                   [&](core::Configuration& c) { core::setOutputBandFrequency(c, output, band, hz); });
}

void EqualizerOperations::setOutputBandGain(int output, int band, double db)
{
    editOutputBand(m_document, output, band, "gain",
                   [&](core::Configuration& c) { core::setOutputBandGain(c, output, band, db); });
}

void EqualizerOperations::setOutputBandQ(int output, int band, double q)
{
    editOutputBand(m_document, output, band, "q",
                   [&](core::Configuration& c) { core::setOutputBandQ(c, output, band, q); });
}

void EqualizerOperations::setOutputBandQBar(int output, int band, int position)
{
    editOutputBand(m_document, output, band, "q",
                   [&](core::Configuration& c) { core::setOutputBandQBar(c, output, band, position); });
}

void EqualizerOperations::setOutputBandQSlider(int output, int band, int value)
{
    editOutputBand(m_document, output, band, "q",
                   [&](core::Configuration& c) { core::setOutputBandQSlider(c, output, band, value); });
}

void EqualizerOperations::setOutputBandAnalog(int output, int band, double l, double h, double b)
{
    editOutputBand(m_document, output, band, nullptr,
                   [&](core::Configuration& c) { core::setOutputBandAnalog(c, output, band, l, h, b); });
}

void EqualizerOperations::dragOutputBand(int output, int band, double mouseHz, double mouseDb)
{
    editOutputBand(m_document, output, band, "drag",
                   [&](core::Configuration& c) { core::dragOutputBand(c, output, band, mouseHz, mouseDb); });
}

void EqualizerOperations::setConstantQ(bool constantQ)
{
    m_document.edit({constantQ ? QCoreApplication::translate("EqualizerOperations", "Const Q")
                               : QCoreApplication::translate("EqualizerOperations", "Adapt Q"),
                     DocumentChange(Region::OutputEq) | DocumentChange(Region::InputEq),
                     {}},
                    [&](core::Configuration& c) { core::setConstantQ(c, constantQ); });
}

// ---- End of output banks ----

} // namespace kvr::gui

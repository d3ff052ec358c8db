// The input-bank operations of EqualizerOperations (the output banks are defined beside them).

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/equalizeroperations.h"
#include "app/inputnames.h"
#include "config/inputeqediting.h"
#include "config/labels.h"
#include "util/texts.h"

namespace kvr::gui {

namespace {

QString bankText(core::InputId bank)
{
    return QString::fromStdString(core::bankName(bank));
}

QString bandStep(core::InputId bank, int band)
{
    return QCoreApplication::translate("EqualizerOperations", "%1 band %2").arg(bankText(bank)).arg(band);
}

// The gesture key of one control of one band: "PEQA.3.freq".
QString bandKey(core::InputId bank, int band, const char* control)
{
    return bankText(bank) + QLatin1Char('.') + QString::number(band) + QLatin1Char('.') + QLatin1String(control);
}

DocumentChange bankChange(core::InputId bank)
{
    return DocumentChange::input(Region::InputEq, bank);
}

} // namespace

bool EqualizerOperations::selectInputBand(core::InputId bank, int band)
{
    if (!validInput(bank)) return false;
    return m_document.edit(
        {QCoreApplication::translate("EqualizerOperations", "%1 band count").arg(bankText(bank)), bankChange(bank), {}},
        [&](core::Configuration& c) { core::selectInputBand(c, bank, band); });
}

bool EqualizerOperations::setInputBandType(core::InputId bank, int band, int typeItem)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), {}},
                           [&](core::Configuration& c) { core::setInputBandType(c, bank, band, typeItem); });
}

bool EqualizerOperations::setInputBandFrequency(core::InputId bank, int band, double hz)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "freq")},
                           [&](core::Configuration& c) { core::setInputBandFrequency(c, bank, band, hz); });
}

bool EqualizerOperations::setInputBandGain(core::InputId bank, int band, double db)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "gain")},
                           [&](core::Configuration& c) { core::setInputBandGain(c, bank, band, db); });
}

bool EqualizerOperations::setInputBandQ(core::InputId bank, int band, double q)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "q")},
                           [&](core::Configuration& c) { core::setInputBandQ(c, bank, band, q); });
}

bool EqualizerOperations::setInputBandQBar(core::InputId bank, int band, int position)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "q")},
                           [&](core::Configuration& c) { core::setInputBandQBar(c, bank, band, position); });
}

bool EqualizerOperations::setInputBandAnalog(core::InputId bank, int band, double l, double h, double b)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), {}},
                           [&](core::Configuration& c) { core::setInputBandAnalog(c, bank, band, l, h, b); });
}

bool EqualizerOperations::stepInputBandQ(core::InputId bank, int band, int steps)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "wheel")},
                           [&](core::Configuration& c) { core::stepInputBandQ(c, bank, band, steps); });
}

bool EqualizerOperations::dragInputBand(core::InputId bank, int band, double f, double y)
{
    if (!validInput(bank)) return false;
    return m_document.edit({bandStep(bank, band), bankChange(bank), bandKey(bank, band, "drag")},
                           [&](core::Configuration& c) { core::dragInputBand(c, bank, band, f, y); });
}

bool EqualizerOperations::setInputSource(core::InputId input, int source)
{
    if (!validInput(input)) return false;
    // The source decides which bank the outputs fed by this input pass through.
    return m_document.edit({QCoreApplication::translate("EqualizerOperations", "%1 equaliser source")
                                .arg(QString::fromUtf8(core::texts::kInputSourceRows[static_cast<int>(input)])),
                            bankChange(input),
                            {}},
                           [&](core::Configuration& c) { core::setInputBankSource(c, input, source); });
}

bool EqualizerOperations::setInputBankView(core::InputId bank, bool on)
{
    if (!validInput(bank)) return false;
    return m_document.edit(
        {QCoreApplication::translate("EqualizerOperations", "%1 view").arg(bankText(bank)), bankChange(bank), {}},
        [&](core::Configuration& c) { core::setInputBankView(c, bank, on); });
}

} // namespace kvr::gui

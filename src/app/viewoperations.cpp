#include "app/viewoperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "tools/measurementimport.h"
#include "util/texts.h"

namespace kvr::gui {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ViewOperations", text);
}

} // namespace

// ---- View flags ----

void ViewOperations::setInfluence(core::ViewInfluence influence, bool on)
{
    const QString caption = QString::fromUtf8(core::texts::kViewInfluenceCaptions[static_cast<int>(influence)]);
    m_document.edit({QCoreApplication::translate("ViewOperations", "Output view %1").arg(caption),
                     DocumentChange(Region::View),
                     {}},
                    [&](core::Configuration& c) { core::setViewInfluence(c.view, influence, on); });
}

void ViewOperations::setOutputShown(int output, bool shown)
{
    if (output < 1 || output > core::kOutputCount) return;
    m_document.edit({shown ? QCoreApplication::translate("ViewOperations", "Show output %1").arg(output)
                           : QCoreApplication::translate("ViewOperations", "Hide output %1").arg(output),
                     DocumentChange::output(Region::OutputEq, output),
                     {}},
                    [&](core::Configuration& c) { c.output(output).peqxView = shown; });
}

// ---- End of view flags ----

// ---- Measured response import ----

void ViewOperations::chooseMeasurementKind(int item)
{
    std::vector<std::string> notices;
    m_document.edit({tr("Measurement file format"), DocumentChange(Region::Measurement), {}},
                    [&](core::Configuration& c) { notices = core::chooseMeasurementKind(c, item); });
    for (const std::string& text : notices)
        m_document.presenter().show(core::infoBox(text));
}

void ViewOperations::setMeasurementFile(int output, const QString& name)
{
    if (output < 1 || output > core::kOutputCount) return;
    std::vector<std::string> notices;
    m_document.edit(
        {tr("Output %1 measurement file").arg(output), DocumentChange::output(Region::Measurement, output), {}},
        [&](core::Configuration& c) { notices = core::setMeasurementFileName(c, output, name.toStdString()); });
    m_document.showNotices(notices);
}

void ViewOperations::setMeasurementReference(double db)
{
    m_document.edit({tr("Measurement reference level"), DocumentChange(Region::Measurement),
                     QStringLiteral("measurement.reference")},
                    [&](core::Configuration& c) { core::setMeasurementReference(c, db); });
}

std::vector<std::string> ViewOperations::importMeasurements()
{
    m_document.endGesture();
    core::ImportOutcome outcome;
    m_document.edit({tr("Import measurements"), DocumentChange(Region::Measurement), {}}, [&](core::Configuration& c) {
        outcome = core::importMeasurements(c.measurement, core::MissingFile::EmptyName);
    });
    for (const core::Message& m : outcome.notices)
        m_document.presenter().show(m);
    return outcome.info;
}

} // namespace kvr::gui

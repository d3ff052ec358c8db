#include "app/viewoperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "util/texts.h"

namespace kvr::gui {

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

} // namespace kvr::gui

#include "app/routingoperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

void RoutingOperations::chooseRoutingMode(int mode)
{
    if (mode < 0 || mode >= core::kRoutingModeCount) return;
    // Modes 6 and 7 also rename the outputs.
    m_document.edit({QCoreApplication::translate("RoutingOperations", "Change routing mode"),
                     DocumentChange(Region::Routing) | DocumentChange(Region::Names),
                     {}},
                    [mode](core::Configuration& c) { c.setRoutingMode(mode); });
}

void RoutingOperations::clickRoute(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    const core::Configuration& config = m_document.configuration();
    const bool leaveMode = config.routingMode != core::kRoutingModeFree && !m_document.loading();
    if (leaveMode) {
        const core::Button answer = m_document.presenter().show(core::Message{
            core::MessageKind::Warning, core::Button::Yes | core::Button::No, t::kFreeModeQuestion, false});
        if (answer != core::Button::Yes) return;
    }
    m_document.edit({QCoreApplication::translate("RoutingOperations", "Output %1 route").arg(output),
                     DocumentChange::output(Region::Routing, output),
                     {}},
                    [&](core::Configuration& c) {
                        if (leaveMode)
                            c.clickRouteLeavingPreset(output);
                        else
                            c.advanceRoute(output);
                    });
}

} // namespace kvr::gui

#include "app/nameoperations.h"

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "config/readouts.h"

namespace kvr::gui {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("NameOperations", text);
}

// The blocks a copy touches: the crossover and dynamics editors recompute every output.
DocumentChange copyChange(int to, const core::CopyOptions& what)
{
    DocumentChange change;
    auto add = [&](bool on, Region region) {
        if (on) change |= DocumentChange::output(region, to);
    };
    add(what.route, Region::Routing);
    add(what.peqx, Region::OutputEq);
    add(what.peqx, Region::Measurement);
    add(what.outputDelay, Region::OutputDelays);
    add(what.outputGain, Region::Levels);
    add(what.name, Region::Names);
    if (what.xover) change |= DocumentChange(Region::Crossover);
    if (what.dynamics) change |= DocumentChange(Region::Dynamics);
    return change;
}

} // namespace

void NameOperations::applyNames(const ChannelNames& names)
{
    m_document.edit({tr("Names"), DocumentChange(Region::Names) | DocumentChange(Region::SystemInfo), {}},
                    [&](core::Configuration& c) {
                        c.setSystemName(names.systemName.toStdString());
                        c.setInputName(core::InputId::A, names.inputs[0].toStdString());
                        c.setInputName(core::InputId::B, names.inputs[1].toStdString());
                        for (int n = 1; n <= core::kOutputCount; ++n)
                            c.setOutputName(n, names.outputs[static_cast<size_t>(n - 1)].toStdString());
                    });
    m_document.setDocumentName(QString::fromStdString(m_document.configuration().system.name));
}

void NameOperations::applySystemInfo(const core::SystemInfo& info)
{
    m_document.edit({tr("System information"), DocumentChange(Region::SystemInfo), {}},
                    [&](core::Configuration& c) { c.setSystemInfo(info); });
}

bool NameOperations::copyOutput(int from, int to, const core::CopyOptions& what)
{
    if (from == to || from < 1 || to < 1 || from > core::kOutputCount || to > core::kOutputCount) return false;
    const core::Button answer =
        m_document.presenter().show(core::Message{core::MessageKind::Confirmation, core::Button::Yes | core::Button::No,
                                                  core::copyOutputQuestion(from, to), false});
    if (answer != core::Button::Yes) return false;
    core::Notices notices;
    const bool changed =
        m_document.edit({tr("Copy output %1 to output %2").arg(from).arg(to), copyChange(to, what), {}},
                        [&](core::Configuration& c) { notices = core::copyOutput(c, from, to, what); });
    m_document.showNotices(notices);
    return changed;
}

} // namespace kvr::gui

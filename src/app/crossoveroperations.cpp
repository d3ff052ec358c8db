#include "app/crossoveroperations.h"

#include <algorithm>

#include <QCoreApplication>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "config/crossoverediting.h"

namespace kvr::gui {

using core::CrossoverSide;

namespace {

QString outputStep(int output)
{
    return QCoreApplication::translate("CrossoverOperations", "Output %1 crossover").arg(output);
}

// "xover2.low.freq": one control of one side.
QString sideKey(int output, CrossoverSide side, const QString& control)
{
    return QStringLiteral("xover%1.%2.%3")
        .arg(output)
        .arg(side == CrossoverSide::Low ? QStringLiteral("low") : QStringLiteral("high"))
        .arg(control);
}

} // namespace

DocumentChange CrossoverOperations::changeBetween(const core::Configuration& before, const core::Configuration& after)
{
    DocumentChange change;
    auto add = [&](const DocumentChange& c) { change |= c; };
    for (int n = 1; n <= core::kOutputCount; ++n) {
        if (!(before.output(n).xover == after.output(n).xover)) add(DocumentChange::output(Region::Crossover, n));
        if (!(before.output(n).dynamics == after.output(n).dynamics)) add(DocumentChange::output(Region::Dynamics, n));
    }
    if (!(before.links == after.links)) add(DocumentChange(Region::Crossover));
    return change;
}

template <typename F>
bool CrossoverOperations::run(const QString& name, const QString& gestureKey, F&& operation, core::Notices* deferred)
{
    // The links and the never-cross rule may move other outputs' sides and their automatic
    // dynamics times: the operation runs on a copy first to learn what it touches.
    core::Configuration next = m_document.configuration();
    const core::Notices notices = operation(next);
    const DocumentChange change = changeBetween(m_document.configuration(), next);
    const bool changed =
        m_document.edit({name, change, gestureKey}, [&](core::Configuration& c) { c = std::move(next); });
    if (deferred)
        deferred->insert(deferred->end(), notices.begin(), notices.end());
    else
        show(notices);
    return changed;
}

void CrossoverOperations::show(const core::Notices& notices)
{
    // The Bessel limit is a plain message, as when a file brings one.
    for (const std::string& text : notices)
        m_document.presenter().show(core::infoBox(text));
}

void CrossoverOperations::showDeferred(const core::Notices& deferred)
{
    core::Notices once;
    for (const std::string& text : deferred)
        if (std::find(once.begin(), once.end(), text) == once.end()) once.push_back(text);
    show(once);
}

bool CrossoverOperations::setFrequency(int output, CrossoverSide side, double hz)
{
    return run(outputStep(output), sideKey(output, side, QStringLiteral("freq")),
               [&](core::Configuration& c) { return core::setCrossoverFrequency(c, output, side, hz); });
}

bool CrossoverOperations::setOrder(int output, CrossoverSide side, int order)
{
    return run(outputStep(output), sideKey(output, side, QStringLiteral("order")),
               [&](core::Configuration& c) { return core::setCrossoverOrder(c, output, side, order); });
}

bool CrossoverOperations::setFamily(int output, CrossoverSide side, int familyItem)
{
    return run(outputStep(output), {},
               [&](core::Configuration& c) { return core::setCrossoverFamily(c, output, side, familyItem); });
}

bool CrossoverOperations::setCustomFrequency(int output, CrossoverSide side, int section, double hz)
{
    return run(outputStep(output), sideKey(output, side, QStringLiteral("s%1.freq").arg(section)),
               [&](core::Configuration& c) { return core::setCustomSectionFrequency(c, output, side, section, hz); });
}

bool CrossoverOperations::setCustomQ(int output, CrossoverSide side, int section, double q)
{
    return run(outputStep(output), sideKey(output, side, QStringLiteral("s%1.q").arg(section)),
               [&](core::Configuration& c) { return core::setCustomSectionQ(c, output, side, section, q); });
}

bool CrossoverOperations::setCustomOrder(int output, CrossoverSide side, int order)
{
    return run(outputStep(output), sideKey(output, side, QStringLiteral("order")),
               [&](core::Configuration& c) { return core::setCustomOrder(c, output, side, order); });
}

bool CrossoverOperations::setLink(int link, bool on)
{
    return run(QCoreApplication::translate("CrossoverOperations", "Crossover link %1-%2").arg(link).arg(link + 1), {},
               [&](core::Configuration& c) {
                   core::setCrossoverLink(c, link, on);
                   return core::Notices{};
               });
}

bool CrossoverOperations::dragFrequency(int output, CrossoverSide side, double f, core::Notices& deferred)
{
    return run(
        outputStep(output), sideKey(output, side, QStringLiteral("drag")),
        [&](core::Configuration& c) { return core::dragCrossoverSide(c, output, side, f); }, &deferred);
}

} // namespace kvr::gui

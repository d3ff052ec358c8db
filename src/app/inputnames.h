#pragma once

#include <QString>

#include "config/routing.h"

namespace kvr::gui {

// Callers pass inputs as they come (a widget's index cast to InputId): operations check them
// before the Configuration is indexed by them.
inline bool validInput(core::InputId input)
{
    const int i = static_cast<int>(input);
    return i >= 0 && i < core::kInputCount;
}

// The short name of an input in step names: "A", "B", "A+B".
inline QString inputName(core::InputId input)
{
    switch (input) {
    case core::InputId::B:
        return QStringLiteral("B");
    case core::InputId::M:
        return QStringLiteral("A+B");
    case core::InputId::A:
        break;
    }
    return QStringLiteral("A");
}

} // namespace kvr::gui

#pragma once

#include <QString>

namespace kvr::gui {

// Renders every window in a representative state to PNG files in `folder`; returns the exit
// status of the program.
int renderScreenshots(const QString& folder);

} // namespace kvr::gui

#pragma once

#include "widgets/framedwindow.h"

namespace kvr::gui {

class LinkLabel;

// The about window: version, build and the maker's addresses.
class AboutWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace kvr::gui

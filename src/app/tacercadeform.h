#pragma once

#include "app/framedwindow.h"

namespace kvr::gui {

class LinkLabel;

// The about window: version, build and the maker's addresses.
class TAcercadeForm : public FramedWindow {
    Q_OBJECT
public:
    explicit TAcercadeForm(QWidget* parent = nullptr);
};

} // namespace kvr::gui

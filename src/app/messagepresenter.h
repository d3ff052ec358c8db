#pragma once

#include "util/message.h"

namespace kvr::gui {

// Every message box of the program goes through this, so tests can answer them and record what
// the user would have read.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the box modally and returns the button pressed (Button::None when it was closed).
    virtual core::Button show(const core::Message& message) = 0;
};

} // namespace kvr::gui

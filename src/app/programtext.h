#pragma once

#include <QString>

namespace kvr::gui {

// The program's texts are UTF-8 constants of the core; captions and messages reach Qt through here.
inline QString q(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace kvr::gui

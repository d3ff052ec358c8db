#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kvr::gui {

// The program's texts are UTF-8 constants of the core; captions and messages reach Qt through here.
inline QString q(const char* text)
{
    return QString::fromUtf8(text);
}

// Texts the core composes (UTF-8).
inline QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A list of the core's lines as one text, one per line.
inline QString joinLines(const std::vector<std::string>& lines)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list.join(QLatin1Char('\n'));
}

} // namespace kvr::gui

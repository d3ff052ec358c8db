#pragma once

#include <QString>
#include <array>

#include "config/configuration.h"
#include "config/editing.h"

namespace kvr::gui {

class DocumentController;

// What the names window holds when OK is pressed.
struct ChannelNames {
    QString systemName;
    std::array<QString, 2> inputs;                   // A, B
    std::array<QString, core::kOutputCount> outputs; // 1..4
};

// Input and output names, the system information and the copying of outputs.
// Each operation is one named, undoable edit of the document.
class NameOperations {
public:
    explicit NameOperations(DocumentController& document) : m_document(document) {}

    // The names window's OK: names and system name cut to their lengths (4 and 12 characters);
    // the main window's title then shows the system name.
    void applyNames(const ChannelNames& names);
    // The system information window's OK: the texts cut to their lengths; the title stays.
    void applySystemInfo(const core::SystemInfo& info);
    // The copy window's OK: nothing when from == to; otherwise the question, then the checked
    // blocks of output `from` copied to output `to` in one step. True when something was copied.
    bool copyOutput(int from, int to, const core::CopyOptions& what);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

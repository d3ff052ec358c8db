#pragma once

#include "tools/outputview.h"

namespace kvr::gui {

class DocumentController;

// The influences of the output view and the measured responses it shows.
// Each operation is one named, undoable edit of the document.
class ViewOperations {
public:
    explicit ViewOperations(DocumentController& document) : m_document(document) {}

    // ---- View flags ----
    // An influence box of the output view ("PEQ", "XOVER", "PEQX", "OUT DELAYS", "GAIN",
    // "SPEAKER"); announced as a View change.
    void setInfluence(core::ViewInfluence influence, bool on);
    // `VerPEQX1`..`VerPEQX4`: output n's curve shown and taking part in the Add sum; announced
    // as an OutputEq change of that output.
    void setOutputShown(int output, bool shown);
    // ---- End of view flags ----

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

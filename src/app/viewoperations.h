#pragma once

#include "tools/outputview.h"
#include <QString>
#include <string>
#include <vector>

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
    // ---- Measured response import (the import window) ----
    // A format list item; IMP and LAUD answer with their message and the list returns to CLIO.
    void chooseMeasurementKind(int item);
    // The file of output n (1..4); an empty name clears it.
    void setMeasurementFile(int output, const QString& name);
    void setMeasurementReference(double db);
    // OK: every named file read and resampled (one step), then the messages. Returns the import
    // window's summary lines.
    std::vector<std::string> importMeasurements();

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

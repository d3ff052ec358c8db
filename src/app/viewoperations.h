#pragma once

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

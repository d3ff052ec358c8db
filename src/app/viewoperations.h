#pragma once

namespace kvr::gui {

class DocumentController;

// The influences of the output view and the measured responses it shows.
// Each operation is one named, undoable edit of the document.
class ViewOperations {
public:
    explicit ViewOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

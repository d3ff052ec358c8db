#pragma once

namespace kvr::gui {

class DocumentController;

// Input delays (distance, temperature, links) and output delays (time, links).
// Each operation is one named, undoable edit of the document.
class DelayOperations {
public:
    explicit DelayOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

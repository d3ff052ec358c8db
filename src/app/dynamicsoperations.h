#pragma once

namespace kvr::gui {

class DocumentController;

// Compressor, limiter and gate of each output, with its speaker and amplifier data.
// Each operation is one named, undoable edit of the document.
class DynamicsOperations {
public:
    explicit DynamicsOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

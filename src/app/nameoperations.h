#pragma once

namespace kvr::gui {

class DocumentController;

// Input and output names, the system information and the copying of outputs.
// Each operation is one named, undoable edit of the document.
class NameOperations {
public:
    explicit NameOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

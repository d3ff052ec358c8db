#pragma once

namespace kvr::gui {

class DocumentController;

// The crossover sides of each output and their links.
// Each operation is one named, undoable edit of the document.
class CrossoverOperations {
public:
    explicit CrossoverOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

#pragma once

namespace kvr::gui {

class DocumentController;

// The input banks PEQA, PEQB, PEQM and the output banks PEQX1..4: bands, counts, sources, views.
// Each operation is one named, undoable edit of the document.
class EqualizerOperations {
public:
    explicit EqualizerOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

#pragma once

namespace kvr::gui {

class DocumentController;

// Levels, mutes and polarity of the inputs and outputs.
// Each operation is one named, undoable edit of the document.
class LevelOperations {
public:
    explicit LevelOperations(DocumentController& document) : m_document(document) {}

private:
    [[maybe_unused]] DocumentController& m_document;
};

} // namespace kvr::gui

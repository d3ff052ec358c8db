#pragma once

namespace kvr::gui {

class DocumentController;

// The routing mode list and the route buttons of the main window.
class RoutingOperations {
public:
    explicit RoutingOperations(DocumentController& document) : m_document(document) {}

    // A user's choice in the mode list: the mode's routes (and captions) applied.
    void chooseRoutingMode(int mode);
    // A route button: the free-mode question outside "Free Route", then the route advances.
    void clickRoute(int output);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

#pragma once

#include "config/routing.h"

namespace kvr::gui {

class DocumentController;

// Levels, mutes and polarity of the inputs and outputs.
// Each operation is one named, undoable edit of the document; moves of one track (a drag, held
// keys, a wheel) merge into one step until the gesture ends.
class LevelOperations {
public:
    explicit LevelOperations(DocumentController& document) : m_document(document) {}

    // A level track moved to a position, -400 (+10 dB) .. 100 (-40 dB); the track clamps.
    void setInputLevelPosition(core::InputId input, int position);
    void setOutputLevelPosition(int output, int position);
    // A level fader moved (fader value = position + 405, 0..506).
    void setInputLevelFader(core::InputId input, int fader);
    void setOutputLevelFader(int output, int fader);
    // The "Mute" boxes.
    void setInputMute(core::InputId input, bool mute);
    void setOutputMute(int output, bool mute);
    // "Mute Outs": every output muted or unmuted in one step.
    void setAllOutputMutes(bool mute);
    // "180º": the output's sign takes effect at once (its level stays).
    void setPolarity(int output, bool inverted);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

#pragma once

#include "config/routing.h"

namespace kvr::gui {

class DocumentController;

// Input delays (distance, temperature, links) and output delays (time, links).
// Each operation is one named, undoable edit of the document; moves of one track (a drag, held
// keys, a wheel) merge into one step until the gesture ends. A changed delay runs its links; a
// temperature change never does.
class DelayOperations {
public:
    explicit DelayOperations(DocumentController& document) : m_document(document) {}

    // ---- Input delays: distance tracks in cm, 0..10000, at the Configuration's temperature ----
    // A distance track moved (the track clamps); "Link A to B" / "Link All" carry it along.
    void setInputDelayPosition(core::InputId input, int positionCm);
    // A distance fader moved (fader value = 10100 - position, 0..10101).
    void setInputDelayFader(core::InputId input, int fader);
    // Air temperature in °C (0..50): the delays keep their time, the distances follow.
    void setTemperature(int celsius);
    // The °F spin: °C = round((°F × 5 − 160) / 9).
    void setTemperatureFahrenheit(int fahrenheit);
    void setInputDelayLinkAToB(bool linked);
    void setInputDelayLinkAll(bool linked);

    // ---- Output delays: positions in 0.02 ms steps, 0..1500, at most 1440 samples ----
    // Output n's delay track moved (the track clamps); the 1-2, 2-3 and 3-4 links carry it along.
    // The output delay window and the output equaliser's delay control both call this.
    void setOutputDelayPosition(int output, int position);
    // Output n's delay fader moved (fader value = 1511 - position, 0..1512).
    void setOutputDelayFader(int output, int fader);
    // Link 1 = outputs 1-2, 2 = 2-3, 3 = 3-4.
    void setOutputDelayLink(int link, bool linked);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

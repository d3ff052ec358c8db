#pragma once

namespace kvr::gui {

class DocumentController;

// Compressor, limiter and gate of each output, with its speaker and amplifier data.
// Each operation is one named, undoable edit of the document; moves of one slider or spin (a
// drag, held keys) merge into one step until the gesture ends. Outputs are 1..4; positions are
// the editor's slider positions (config/dynamicsediting.h), clamped to their ranges. A change of
// a control the editor holds disabled (ratio of a limiter, times under automatic times, a
// bypassed stage) changes nothing.
class DynamicsOperations {
public:
    explicit DynamicsOperations(DocumentController& document) : m_document(document) {}

    // Output selection: the stored values pass through the sliders (a threshold of -6 becomes
    // -5.85), automatic times follow the low side, and the stage is designed.
    void selectOutput(int output);
    void setThresholdPosition(int output, int position);
    void setRatioPosition(int output, int position);
    void setGainPosition(int output, int position);
    void setKneePosition(int output, int position);
    // "Limiter" / "Compressor".
    void setCompressor(int output, bool compressor);
    void setAttackPosition(int output, int position);
    void setReleasePosition(int output, int position);
    // `AutoTime` "Constants": on, the times follow the crossover's low side at once.
    void setAutomaticTimes(int output, bool on);
    void setGateThresholdPosition(int output, int position);
    void setHoldPosition(int output, int position);
    void setClosePosition(int output, int position);
    // `DynBypassBoton` and `GateBypassBoton`.
    void setBypass(int output, bool bypassed);
    void setGateBypass(int output, bool bypassed);

    // ---- Speaker and amplifier calculator ----
    // `Zload` item 0..4 ("2", "2.67", "4", "8", "16").
    void setImpedance(int output, int item);
    // `PowerMaxLoadSpin` 25..3200 W, `AmpGainSpin` 10..100, `PowerAmpMaxSpin` 100..3200 W.
    void setBoxPower(int output, int watts);
    void setAmplifierGain(int output, int gain);
    void setAmplifierPower(int output, int watts);
    void setBalanced(int output, bool balanced);
    // `NumberSpeakers` item 0..3 ("1".."4").
    void setNumberOfSpeakers(int output, int item);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

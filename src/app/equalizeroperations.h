#pragma once

#include "config/routing.h"

namespace kvr::gui {

class DocumentController;

// The input banks PEQA, PEQB, PEQM and the output banks PEQX1..4: bands, counts, sources, views.
// Each operation is one named, undoable edit of the document.
class EqualizerOperations {
public:
    explicit EqualizerOperations(DocumentController& document) : m_document(document) {}

    // ---- Output banks PEQX1..4 (output 1..4, band 1..6) ----
    // Continuous changes of one control of a band (a drag, a slider, held keys) merge into one
    // step until the gesture ends.
    // `SpinFiltro`: the band becomes current; the bank's band count rises to it.
    void selectOutputBand(int output, int band);
    // `TipoFiltroCombo`: item 0..11 is the type code.
    void setOutputBandType(int output, int band, int typeItem);
    void setOutputBandFrequency(int output, int band, double hz);
    void setOutputBandGain(int output, int band, double db);
    // `QEdit`, `QBar` (2..200, Q = position / 10) and `QSlider` (2..201, = 202 - bar).
    void setOutputBandQ(int output, int band, double q);
    void setOutputBandQBar(int output, int band, int position);
    void setOutputBandQSlider(int output, int band, int value);
    // `LEdit`, `HEdit`, `BEdit` of types 19 and 20.
    void setOutputBandAnalog(int output, int band, double l, double h, double b);
    // The band marker dragged to (f, level): its press and every move.
    void dragOutputBand(int output, int band, double mouseHz, double mouseDb);
    // "Const Q" / "Adapt Q": every bank's type-1 bands, input and output.
    void setConstantQ(bool constantQ);
    // ---- End of output banks ----
    // ---- Input banks PEQA (input A), PEQB (input B), PEQM (A+B); bands 1..6 ----
    // Each returns whether the Configuration changed. Held controls (arrow keys, spin buttons,
    // the Q track bar, the marker drag, the wheel) merge into one undo step per gesture.
    // The band spin: the bank's band count rises to the band when smaller.
    bool selectInputBand(core::InputId bank, int band);
    bool setInputBandType(core::InputId bank, int band, int typeItem);
    bool setInputBandFrequency(core::InputId bank, int band, double hz);
    bool setInputBandGain(core::InputId bank, int band, double db);
    bool setInputBandQ(core::InputId bank, int band, double q);
    bool setInputBandQBar(core::InputId bank, int band, int position);
    bool setInputBandAnalog(core::InputId bank, int band, double l, double h, double b);
    // The mouse wheel over the band's marker: Q up or down by steps of 0.1.
    bool stepInputBandQ(core::InputId bank, int band, int steps);
    // A press or move of the band marker drag at frequency f and level y.
    bool dragInputBand(core::InputId bank, int band, double f, double y);
    // Which bank input `input` passes through: 0 PEQA, 1 PEQM, 2 PEQB.
    bool setInputSource(core::InputId input, int source);
    bool setInputBankView(core::InputId bank, bool on);

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

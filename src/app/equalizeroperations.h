#pragma once

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

private:
    DocumentController& m_document;
};

} // namespace kvr::gui

#pragma once

#include <QGroupBox>
#include <QList>
#include <optional>
#include <string>

class QComboBox;
class QGridLayout;
class QLabel;
class QSlider;
class QSpinBox;

namespace kvr::core {
struct TSOS;
}

namespace kvr::gui {

class NumberField;
class SpinButtons;

// The band controls of an equaliser editor (BandPanel): the band spin, the type list, the
// frequency, gain and Q fields with their spin buttons, the Q track bar and its vertical twin,
// and the L, H and B fields of the analog types. It shows a band the window hands it and tells
// the window what the user did; the window decides what that stores. Filling the controls
// never reports a change.
class BandPanel : public QGroupBox {
    Q_OBJECT
public:
    enum class Field { Frequency, Gain, Q };
    Q_ENUM(Field)

    explicit BandPanel(QWidget* parent = nullptr);

    // Replaces an item's caption in the type list (the lists differ in one caption).
    void setTypeCaption(int item, const QString& caption);
    // The grid the controls stand in, for a window's own rows below them (row 9 on).
    QGridLayout* grid() const { return m_grid; }
    QSpinBox* bandSpin() const { return m_bandSpin; }
    // The controls whose release ends a gesture: the fields, the spin buttons with their
    // arrows, the track bar and its twin.
    QList<QWidget*> gestureControls() const;

    // Shows band `band` of an input bank, or of an output's bank, from its section.
    void showInputBand(int band, const core::TSOS& section);
    void showOutputBand(int band, const core::TSOS& section);

    // What a field reads as a number (none for a text that is no number).
    std::optional<double> number(Field field) const;
    // A step of the field from what it reads (or from `shown` when it reads no number).
    double steppedValue(Field field, int direction, double shown) const;
    std::optional<double> lNumber() const;
    std::optional<double> hNumber() const;
    std::optional<double> bNumber() const;

signals:
    void bandChosen(int band);
    void typeChosen(int item);
    void fieldCommitted(kvr::gui::BandPanel::Field field);
    void fieldStepped(kvr::gui::BandPanel::Field field, int direction);
    // Enter in L, H or B.
    void analogCommitted();
    // The track bar (or its twin) moved by the user to a position.
    void qBarMoved(int position);

private:
    struct Shown {
        int band = 1;
        int typeItem = -1;
        std::string frequency, gain, q, l, h, b;
        int qBar = 0;
        int qSlider = 0;
        bool gainEnabled = false;
        bool qEnabled = false;
        bool analog = false;
    };
    void show(const Shown& shown);
    NumberField* field(Field which) const;
    void onQBar(int position);
    void onQSlider(int value);

    bool m_filling = false;
    QGridLayout* m_grid = nullptr;
    QSpinBox* m_bandSpin = nullptr;
    QComboBox* m_type = nullptr;
    NumberField* m_frequency = nullptr;
    NumberField* m_gain = nullptr;
    NumberField* m_q = nullptr;
    SpinButtons* m_frequencySpin = nullptr;
    SpinButtons* m_gainSpin = nullptr;
    SpinButtons* m_qSpin = nullptr;
    QLabel* m_frequencyLabel = nullptr;
    QLabel* m_gainLabel = nullptr;
    QLabel* m_qLabel = nullptr;
    QSlider* m_qBar = nullptr;
    QSlider* m_qSlider = nullptr;
    NumberField* m_l = nullptr;
    NumberField* m_h = nullptr;
    NumberField* m_b = nullptr;
    QLabel* m_lLabel = nullptr;
    QLabel* m_hLabel = nullptr;
    QLabel* m_bLabel = nullptr;
};

} // namespace kvr::gui

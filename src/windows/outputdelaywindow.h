#pragma once

#include <array>

#include "config/routing.h"
#include "widgets/framedwindow.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class Fader;
class GestureWatcher;
class TrackScale;

// "Output Delay": the fine delays of the four outputs in 0.02 ms steps, with the 1-2, 2-3 and 3-4
// links and a distance readout at an air temperature of its own (a display setting, not stored).
class OutputDelayWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit OutputDelayWindow(DocumentController& document, QWidget* parent = nullptr);

    // Gives the focus to an output's track (the block that opened the window).
    void focusOutput(int output);
    int temperature() const;

signals:
    // A person moved or pressed output n's controls: the output equaliser shows output n.
    void outputSelected(int output);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Channel {
        QLabel* name = nullptr;
        TrackScale* track = nullptr;
        Fader* fader = nullptr;
        QLabel* ms = nullptr;
        QLabel* cm = nullptr;
        QLabel* feet = nullptr;
    };
    void buildChannel(int output);
    void refill();
    void refillReadouts();
    void onChanged(const DocumentChange& change);
    void setTemperature(int celsius);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    std::array<Channel, core::kOutputCount> m_channels{};
    std::array<QCheckBox*, 3> m_links{};
    QSpinBox* m_celsius = nullptr;
    QSpinBox* m_fahrenheit = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_filling = false;
};

} // namespace kvr::gui

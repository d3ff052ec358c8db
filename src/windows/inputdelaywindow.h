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

// "Input Delay": the delays of inputs A, B and A+B as distances at an air temperature, with the
// "Link A to B" and "Link All" links. A view of the Configuration: the tracks show the stored
// samples at the stored temperature, and only a person's change runs the links.
class InputDelayWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit InputDelayWindow(DocumentController& document, QWidget* parent = nullptr);

    // Gives the focus to a channel's track (the block that opened the window).
    void focusInput(core::InputId input);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Channel {
        TrackScale* track = nullptr;
        Fader* fader = nullptr;
        QLabel* metres = nullptr;
        QLabel* feet = nullptr;
        QLabel* ms = nullptr;
    };
    void buildChannel(core::InputId input);
    void refill();
    void onChanged(const DocumentChange& change);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    std::array<Channel, core::kInputCount> m_channels{}; // by InputId
    QSpinBox* m_celsius = nullptr;
    QSpinBox* m_fahrenheit = nullptr;
    QCheckBox* m_linkAToB = nullptr;
    QCheckBox* m_linkAll = nullptr;
    QPushButton* m_ok = nullptr;
    int m_shownCelsius = -1; // °F follows only a change of °C, as its spin buttons leave it
    bool m_filling = false;
};

} // namespace kvr::gui

#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kvr::gui {

class ClickableLabel;
class DocumentChange;
class DocumentController;
class Fader;
class GestureWatcher;
class TrackScale;

// "Input & Output Levels": the gains of the three input channels and the four outputs on
// tracks with their faders, mutes and polarity. A view of the Configuration: every change goes
// through the level operations, and the controls follow the document.
class LevelsWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit LevelsWindow(DocumentController& document, QWidget* parent = nullptr);

    // Strips 0..2 are inputs A, B, A+B; 3..6 outputs 1..4.
    static constexpr int kStrips = 7;

signals:
    // A channel name was clicked: the names window opens (modally).
    void namesRequested();
    // The polarity of output n was changed here: the output equaliser shows output n.
    void outputSelected(int output);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Strip {
        TrackScale* track = nullptr;
        Fader* fader = nullptr;
        QLabel* db = nullptr;
        QLabel* name = nullptr;
        QCheckBox* mute = nullptr;
        QCheckBox* polarity = nullptr; // outputs only
    };
    void buildStrip(int index);
    void refill();
    void onChanged(const DocumentChange& change);
    void trackMoved(int index, int position);
    void faderMoved(int index, int fader);
    void muteToggled(int index, bool mute);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    std::array<Strip, kStrips> m_strips{};
    QCheckBox* m_muteAll = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_close = nullptr;
    bool m_filling = false;
};

} // namespace kvr::gui

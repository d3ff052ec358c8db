#pragma once

#include "widgets/framedwindow.h"

class QLabel;
class QProgressBar;

namespace kvr::gui {

class DeviceController;

// The communication window: what the exchange is doing and how far it is.
class CommunicationWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit CommunicationWindow(DeviceController& device, QWidget* parent = nullptr);

    QLabel* info() const { return m_info; }
    QProgressBar* progress() const { return m_progress; }

private:
    void setVisibleCentred(bool visible);

    QLabel* m_info;
    QProgressBar* m_progress;
};

} // namespace kvr::gui

#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QRadioButton;
class QPushButton;

namespace kvr::gui {

class DeviceController;

// The connection window: Offline, USB or ETHERNET. A click on a choice acts at once; OK confirms.
// While the program still asks for a connection, closing the window brings it back.
class ConnectionWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit ConnectionWindow(DeviceController& device, QWidget* parent = nullptr);

    QRadioButton* choice(int index) const { return m_choices[static_cast<size_t>(index)]; }
    QPushButton* okButton() const { return m_ok; }

protected:
    void reject() override;

private:
    void refresh();
    void confirm();

    DeviceController& m_device;
    std::array<QRadioButton*, 3> m_choices{};
    QPushButton* m_ok = nullptr;
};

} // namespace kvr::gui

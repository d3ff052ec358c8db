#pragma once

#include <array>
#include <cstdint>

#include "widgets/framedwindow.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kvr::gui {

class DeviceController;

// The password window: the processor's three front keys, six presses make a password.
class PasswordWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit PasswordWindow(DeviceController& device, QWidget* parent = nullptr);

    static constexpr int kKeys = 6;
    int keyCount() const { return m_count; }
    const std::array<uint8_t, kKeys>& keys() const { return m_keys; }

    // "Clear Password", also run whenever the window is shown.
    void clearPassword();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void press(uint8_t key);
    void accept() override;

    DeviceController& m_device;
    std::array<uint8_t, kKeys> m_keys{};
    int m_count = 0;
    QLineEdit* m_edit;
    QCheckBox* m_active;
    QPushButton* m_ok;
};

} // namespace kvr::gui

#pragma once

#include "widgets/framedwindow.h"

class QPlainTextEdit;
class QPushButton;

namespace kvr::gui {

class DeviceController;
class DocumentController;

// The "Genera" window: the device image built from the Configuration, its two DSP blocks shown
// as hexadecimal words, and block 1 again with line numbers.
class DeviceDataWindow : public FramedWindow {
    Q_OBJECT
public:
    DeviceDataWindow(DocumentController& document, DeviceController& device, QWidget* parent = nullptr);

    // "Genera": builds the image and fills the memos. False (with the message shown) when a DSP
    // block does not fit.
    bool generate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    DocumentController& m_document;
    DeviceController& m_device;
    QPlainTextEdit* m_block1;
    QPlainTextEdit* m_block2;
    QPlainTextEdit* m_numbered;
    QPushButton* m_generate;
};

} // namespace kvr::gui

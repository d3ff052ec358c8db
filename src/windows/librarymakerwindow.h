#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kvr::gui {

class DeviceController;
class DocumentController;
class LibraryMaker;

// The library maker: eighteen memory rows, library files and sending a library to the processor.
class LibraryMakerWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit LibraryMakerWindow(LibraryMaker& maker, DeviceController& device, DocumentController& document,
                                QWidget* parent = nullptr);
    static constexpr int kRows = 18;

private:
    void refreshRows();
    void refreshConnection();

    LibraryMaker& m_maker;
    DeviceController& m_device;
    DocumentController& m_document;
    std::array<QLineEdit*, kRows> m_edits{};
    std::array<QPushButton*, kRows> m_rowButtons{};
    QLineEdit* m_libraryName;
    QLabel* m_connected;
    std::array<QPushButton*, 3> m_fileButtons{};
    QPushButton* m_send;
};

} // namespace kvr::gui

#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kvr::gui {

class DeviceController;
class MessagePresenter;
class ModuleFinder;

// The Ethernet module window: scan, choose a module, connect, and manage its address and name.
class EthernetModulesWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit EthernetModulesWindow(ModuleFinder& finder, DeviceController& device, MessagePresenter& presenter,
                                   QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshModules();
    void fillLists();
    void refreshConnection();
    void onModuleChosen(int index);
    void connectChosen();
    void changeIp();
    void deleteSelectedLine();

    ModuleFinder& m_finder;
    DeviceController& m_device;
    MessagePresenter& m_presenter;
    QPushButton* m_scan;
    QProgressBar* m_progress;
    QGroupBox* m_selectGroup;
    QComboBox* m_processors;
    QGroupBox* m_connectGroup;
    QPushButton* m_connect;
    QLabel* m_ipLabel;
    QGroupBox* m_ipGroup;
    std::array<QLineEdit*, 4> m_octets{};
    QLineEdit* m_hostEdit;
    QListWidget* m_list;
    QPushButton* m_identify;
    QLabel* m_status;
    QLabel* m_result;
};

} // namespace kvr::gui

#pragma once

#include <QPointer>
#include <array>
#include <vector>

#include "config/routing.h"
#include "widgets/framedwindow.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kvr::gui {

// The windows the main window's blocks, buttons and menu items open.
enum class EditorKind : uint8_t {
    Names,       // names window, modal
    Levels,      // levels window
    InputDelay,  // input delays: modal from a block, modeless from the menu
    OutputDelay, // output delays: modal from a block, modeless from the menu
    InputEq,     // input equaliser
    OutputEq,    // output equaliser
    Crossover,   // crossover editor
    Dynamics,    // dynamics editor
    SystemInfo,  // system information, modal
    CopyOutputs, // output copying, modal
    Report,      // the automatic report
    Listings,    // coefficient listings
    DeviceData,  // the device image's data
};
constexpr int kEditorKinds = 13;

// Which window and where it was asked for.
struct EditorRequest {
    EditorKind kind;
    // Input channel 0..2 (A, B, A+B) or output 1..4 of the block pressed; 0 from a menu.
    int index = 0;
    bool fromMenu = false;
};

class Application;
class DeviceController;
class DocumentChange;
class DocumentController;
class BlockButton;
class BlockDiagram;
class ClickableLabel;
class RouteButton;

// The main window: the block diagram of the processor, its menus and tool buttons, the routing
// mode list and route buttons, and the connection status.
class MainWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit MainWindow(Application& app, QWidget* parent = nullptr);

    static constexpr int kLibraryMakerClicks = 12;
    static constexpr int kMemoryBlockedDoubleClicks = 5;
    static constexpr int kLogoClicks = 50;

    // Enables the blocks, buttons and menu items of a window once it exists.
    void setEditorAvailable(EditorKind kind, bool available);

signals:
    void editorRequested(const kvr::gui::EditorRequest& request);
    void aboutRequested();
    void libraryMakerRequested();
    // The "Save" box: the coefficient listings are also written as files.
    void listingsSaveToggled(bool save);
    // The main window closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void buildMenus(QMenuBar* bar);
    void buildToolBar(QWidget* bar);
    void buildDiagram();
    QToolButton* toolButton(const char* name, const char* hint, int icon);
    void refresh();
    void onChanged(const DocumentChange& change);
    void refreshHistory();
    void refreshConnection();
    void refreshBusy();
    void onSystemNameClicked();
    void onSummingDoubleClicked();
    void onLogoClicked();
    // Recent files, the verify option, the operation result and why controls are disabled.
    void buildFileExtras(QMenu* file, QAction* before);
    void rebuildRecentMenu();
    void refreshResult();
    void explainDisabled();

    Application& m_app;
    DocumentController& m_document;
    DeviceController& m_device;
    BlockDiagram* m_diagram = nullptr;
    bool m_shownOnce = false;
    int m_systemNameClicks = 0;
    int m_summingDoubleClicks = 0;
    int m_logoClicks = 0;

    // Inputs A, B, A+B (file order).
    std::array<BlockButton*, 2> m_inputNameButtons{};
    std::array<BlockButton*, 3> m_inputGainButtons{};
    std::array<BlockButton*, 3> m_inputDelayButtons{};
    std::array<BlockButton*, 3> m_inputPeqButtons{};
    std::array<QLabel*, 3> m_inputGainLabels{};
    std::array<QLabel*, 3> m_inputDelayLabels{};
    // Outputs 1..4.
    std::array<RouteButton*, 4> m_routeButtons{};
    std::array<BlockButton*, 4> m_xoverButtons{};
    std::array<BlockButton*, 4> m_peqxButtons{};
    std::array<BlockButton*, 4> m_dynamicButtons{};
    std::array<BlockButton*, 4> m_delayButtons{};
    std::array<BlockButton*, 4> m_gainButtons{};
    std::array<BlockButton*, 4> m_outputButtons{};
    std::array<QLabel*, 4> m_fc1Labels{};
    std::array<QLabel*, 4> m_fc2Labels{};
    std::array<QLabel*, 4> m_delayLabels{};
    std::array<QLabel*, 4> m_gainLabels{};
    std::array<QLabel*, 4> m_muteCrossLabels{};
    std::array<QLabel*, 4> m_muteLabels{};

    ClickableLabel* m_logo = nullptr;
    ClickableLabel* m_systemName = nullptr;
    ClickableLabel* m_summing = nullptr;
    QPushButton* m_systemButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    QComboBox* m_modeCombo = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_result = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_verifyAction = nullptr;

    QToolButton* m_newButton = nullptr;
    QToolButton* m_openButton = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_ethernetButton = nullptr;
    QToolButton* m_libraryButton = nullptr;
    QCheckBox* m_memoryBlocked = nullptr;
    QSpinBox* m_memorySpin = nullptr;
    // Every control that talks to the processor, enabled only while connected and idle.
    std::vector<QWidget*> m_deviceWidgets;
    std::vector<QAction*> m_deviceActions;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    // Registers a control that opens a window: disabled until the window is available.
    void opens(QAbstractButton* button, EditorKind kind, int index);
    void opens(QAction* action, EditorKind kind);
    std::array<std::vector<QWidget*>, kEditorKinds> m_editorWidgets;
    std::array<std::vector<QAction*>, kEditorKinds> m_editorActions;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
};

} // namespace kvr::gui

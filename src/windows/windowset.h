#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "windows/mainwindow.h"

class QDialog;

namespace kvr::gui {

class Application;
class AboutWindow;
class MainWindow;
class EthernetModulesWindow;
class LibraryMakerWindow;
class ConnectionWindow;
class PasswordWindow;
class ProgressWindow;
class CommunicationWindow;
class LevelsWindow;
class InputDelayWindow;
class OutputDelayWindow;
class NamesWindow;
class SystemInformationWindow;
class CopyOutputWindow;
class InputEqualizerWindow;
class CrossoverWindow;
class DeviceDataWindow;
class ListingsWindow;
class MeasurementImportWindow;
class ReportWindow;
class OutputEqualizerWindow;
class DynamicsWindow;
class SpeakerCalculatorWindow;

// Every window of the program, created once at start in a fixed order and only shown and hidden
// afterwards; it routes the application's requests to the window that answers them.
class WindowSet : public QObject {
    Q_OBJECT
public:
    explicit WindowSet(Application& app, QObject* parent = nullptr);
    ~WindowSet() override;

    MainWindow* main() const { return m_main; }
    ConnectionWindow* connection() const { return m_connection; }
    AboutWindow* about() const { return m_about; }
    CommunicationWindow* comm() const { return m_comm; }
    InputEqualizerWindow* inputEqualizer() const { return m_inputEq; }
    CrossoverWindow* crossover() const { return m_crossover; }
    PasswordWindow* password() const { return m_password; }
    ProgressWindow* progress() const { return m_progress; }
    LibraryMakerWindow* libraryMaker() const { return m_libraryMaker; }
    EthernetModulesWindow* ethernet() const { return m_ethernet; }
    LevelsWindow* levels() const { return m_levels; }
    InputDelayWindow* inputDelay() const { return m_inputDelay; }
    OutputDelayWindow* outputDelay() const { return m_outputDelay; }
    NamesWindow* names() const { return m_names; }
    SystemInformationWindow* systemInfo() const { return m_systemInfo; }
    CopyOutputWindow* copyOutputs() const { return m_copyOutputs; }
    ListingsWindow* listings() const { return m_listings; }
    DeviceDataWindow* deviceData() const { return m_deviceData; }
    // The output equaliser's "Import Data" opens it: showCentred(measurementImport()).
    MeasurementImportWindow* measurementImport() const { return m_measurementImport; }
    ReportWindow* report() const { return m_report; }
    OutputEqualizerWindow* outputEqualizer() const { return m_outputEq; }
    DynamicsWindow* dynamics() const { return m_dynamics; }
    SpeakerCalculatorWindow* speakerCalculator() const { return m_speaker; }

    // In creation order.
    QList<QWidget*> all() const;

    // Shows a window centred on the main window (where it was last, once shown).
    void showCentred(QWidget* window);
    // Shows an editor modally (the main window waits) or beside the others; a window already
    // on screen keeps how it was shown.
    void showEditor(QDialog* window, bool modal);
    // Writes where every visible window is (the others were written when they were hidden).
    void savePlaces();

protected:
    // Every framed window goes back where the user left it, and as large.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Watches the show and hide of the main window and every framed window it owns; called last
    // in the constructor so that every window created there is included.
    void rememberPlaces();
    // What a request of the main window for a kind of window does; the kind's controls are
    // enabled once it is set.
    void handle(EditorKind kind, std::function<void(const EditorRequest&)> open);
    void onEditorRequested(const EditorRequest& request);
    void handleLevelAndNameEditors();
    void handleEqualizerAndCrossoverEditors();
    void handleReportAndListings();
    void handleOutputEditors();
    // Records a window in the creation order all() gives.
    template <typename W> W* created(W* window);
    QList<QWidget*> m_all;
    // The copy window opens over no editor whose values it may change.
    void closeEditorsBeforeCopy();
    std::array<std::function<void(const EditorRequest&)>, kEditorKinds> m_openers;

    Application& m_app;
    MainWindow* m_main;
    ConnectionWindow* m_connection;
    AboutWindow* m_about;
    CommunicationWindow* m_comm;
    LevelsWindow* m_levels;
    InputDelayWindow* m_inputDelay;
    OutputDelayWindow* m_outputDelay;
    NamesWindow* m_names;
    SystemInformationWindow* m_systemInfo;
    InputEqualizerWindow* m_inputEq;
    CrossoverWindow* m_crossover;
    ListingsWindow* m_listings;
    PasswordWindow* m_password;
    DeviceDataWindow* m_deviceData;
    MeasurementImportWindow* m_measurementImport;
    ProgressWindow* m_progress;
    CopyOutputWindow* m_copyOutputs;
    ReportWindow* m_report;
    LibraryMakerWindow* m_libraryMaker;
    EthernetModulesWindow* m_ethernet;
    OutputEqualizerWindow* m_outputEq;
    DynamicsWindow* m_dynamics;
    SpeakerCalculatorWindow* m_speaker;
};

} // namespace kvr::gui

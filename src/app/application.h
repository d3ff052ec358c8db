#pragma once

#include <QObject>
#include <memory>

namespace kvr::gui {

class DeviceController;
class DocumentController;
class FileDialogs;
class LibraryMaker;
class MessagePresenter;
class ModuleFinder;
class RecoveryKeeper;
class Settings;

// The program's controllers, created together: the document (the Configuration, its file and
// undo history, the editing operations), the device (connection and operations), the Ethernet
// module finder and the library maker. Windows take the ones they need.
class Application : public QObject {
    Q_OBJECT
public:
    // With the user's own settings.
    Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent = nullptr);
    // With the settings (and recovery folder) given, as tests do.
    Application(MessagePresenter& presenter, FileDialogs& dialogs, Settings& settings, QObject* parent = nullptr);
    ~Application() override;

    MessagePresenter& presenter() { return m_presenter; }
    FileDialogs& dialogs() { return m_dialogs; }
    DocumentController& document() { return *m_document; }
    DeviceController& device() { return *m_device; }
    ModuleFinder& modules() { return *m_modules; }
    LibraryMaker& libraryMaker() { return *m_libraryMaker; }
    Settings& settings() { return m_settings; }
    RecoveryKeeper& recovery() { return *m_recovery; }

    // The main window's close: the save question, then the connection is closed.
    bool requestClose();

private:
    std::unique_ptr<Settings> m_ownSettings;
    Settings& m_settings;
    MessagePresenter& m_presenter;
    FileDialogs& m_dialogs;
    DocumentController* m_document;
    DeviceController* m_device;
    ModuleFinder* m_modules;
    LibraryMaker* m_libraryMaker;
    RecoveryKeeper* m_recovery;
};

} // namespace kvr::gui

#pragma once

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "app/connectioncode.h"

namespace kvr::gui {

// What the program remembers between runs: window places, dialog folders, recent files, the
// connection last chosen and a few choices of the user. Nothing here changes what a
// configuration file holds. Everything is read through this class so that tests keep their
// settings (and the recovery copy) in a folder of their own.
class Settings : public QObject {
    Q_OBJECT
public:
    // The user's settings (~/.config/kvr610/kvr610.ini: the INI format's own extension); the
    // recovery copy goes in the user's data folder.
    explicit Settings(QObject* parent = nullptr);
    // Settings in the INI file `file`, the recovery copy in `recoveryFolder`. An empty file keeps
    // the settings in memory only; an empty folder keeps no recovery copy.
    Settings(const QString& file, const QString& recoveryFolder, QObject* parent = nullptr);
    ~Settings() override;

    // ---- Values of one window, by its form name (for choices no configuration file holds) ----
    QVariant windowValue(const QString& window, const QString& key, const QVariant& fallback = {}) const;
    void setWindowValue(const QString& window, const QString& key, const QVariant& value);
    // Where a window was and how large (QWidget::saveGeometry), empty when never shown.
    QByteArray windowGeometry(const QString& window) const;
    void setWindowGeometry(const QString& window, const QByteArray& geometry);

    // ---- File dialogs: the last folder of each kind of dialog ("config", "os", "library", ...) ----
    QString lastFolder(const QString& dialog) const;
    void setLastFolder(const QString& dialog, const QString& folder);

    // ---- Recent configuration files, newest first, at most kRecentFiles ----
    static constexpr int kRecentFiles = 8;
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    // ---- Device ----
    bool verifyAfterStore() const;
    void setVerifyAfterStore(bool verify);
    ConnectionChoice connectionChoice() const;
    void setConnectionChoice(ConnectionChoice choice);
    // The Ethernet module connected last (its host name), offered first after a scan.
    QString ethernetModule() const;
    void setEthernetModule(const QString& hostName);
    // Where module scans go (empty: this computer's directed broadcast) and the modules' UDP port.
    QString discoveryTarget() const;
    quint16 discoveryPort() const;
    void setDiscoveryTarget(const QString& address, quint16 port);

    // ---- Coefficient listings: the "Save" check ----
    bool saveListings() const;
    void setSaveListings(bool save);

    // Where the recovery copy of the working Configuration is kept.
    QString recoveryFolder() const { return m_recoveryFolder; }
    // Writes pending changes to disk.
    void sync();

signals:
    void recentFilesChanged();
    void verifyAfterStoreChanged(bool verify);

private:
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings; // none: in memory
    QVariantMap m_memory;
    QString m_recoveryFolder;
};

} // namespace kvr::gui

#include "app/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kvr::gui {

namespace {

// Window names are form names ("TXOVERForm"); keys stay plain words.
QString windowKey(const QString& window, const QString& key)
{
    return QStringLiteral("windows/") + window + QLatin1Char('/') + key;
}

} // namespace

Settings::Settings(QObject* parent)
    : QObject(parent), m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                              QStringLiteral("kvr610"), QStringLiteral("kvr610"))),
      m_recoveryFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/kvr610"))
{
}

Settings::Settings(const QString& file, const QString& recoveryFolder, QObject* parent)
    : QObject(parent), m_recoveryFolder(recoveryFolder)
{
    if (!file.isEmpty()) m_settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

Settings::~Settings()
{
    sync();
}

QVariant Settings::value(const QString& key, const QVariant& fallback) const
{
    if (!m_settings) return m_memory.value(key, fallback);
    return m_settings->value(key, fallback);
}

void Settings::setValue(const QString& key, const QVariant& value)
{
    if (!m_settings)
        m_memory.insert(key, value);
    else
        m_settings->setValue(key, value);
}

void Settings::sync()
{
    if (m_settings) m_settings->sync();
}

QVariant Settings::windowValue(const QString& window, const QString& key, const QVariant& fallback) const
{
    return value(windowKey(window, key), fallback);
}

void Settings::setWindowValue(const QString& window, const QString& key, const QVariant& v)
{
    setValue(windowKey(window, key), v);
}

QByteArray Settings::windowGeometry(const QString& window) const
{
    return windowValue(window, QStringLiteral("geometry")).toByteArray();
}

void Settings::setWindowGeometry(const QString& window, const QByteArray& geometry)
{
    setWindowValue(window, QStringLiteral("geometry"), geometry);
}

QString Settings::lastFolder(const QString& dialog) const
{
    return value(QStringLiteral("folders/") + dialog).toString();
}

void Settings::setLastFolder(const QString& dialog, const QString& folder)
{
    if (!folder.isEmpty()) setValue(QStringLiteral("folders/") + dialog, folder);
}

QStringList Settings::recentFiles() const
{
    return value(QStringLiteral("recent/files")).toStringList();
}

void Settings::addRecentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kRecentFiles)
        files.removeLast();
    setValue(QStringLiteral("recent/files"), files);
    emit recentFilesChanged();
}

void Settings::removeRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    if (files.removeAll(path) == 0) return;
    setValue(QStringLiteral("recent/files"), files);
    emit recentFilesChanged();
}

bool Settings::verifyAfterStore() const
{
    return value(QStringLiteral("device/verifyAfterStore"), true).toBool();
}

void Settings::setVerifyAfterStore(bool verify)
{
    if (verify == verifyAfterStore()) return;
    setValue(QStringLiteral("device/verifyAfterStore"), verify);
    emit verifyAfterStoreChanged(verify);
}

ConnectionChoice Settings::connectionChoice() const
{
    const int choice = value(QStringLiteral("device/connection"), 0).toInt();
    return choice >= 0 && choice <= int(ConnectionChoice::Ethernet) ? static_cast<ConnectionChoice>(choice)
                                                                    : ConnectionChoice::Offline;
}

void Settings::setConnectionChoice(ConnectionChoice choice)
{
    setValue(QStringLiteral("device/connection"), int(choice));
}

QString Settings::ethernetModule() const
{
    return value(QStringLiteral("device/ethernetModule")).toString();
}

void Settings::setEthernetModule(const QString& hostName)
{
    setValue(QStringLiteral("device/ethernetModule"), hostName);
}

QString Settings::discoveryTarget() const
{
    return value(QStringLiteral("discovery/target")).toString();
}

quint16 Settings::discoveryPort() const
{
    const int port = value(QStringLiteral("discovery/port"), 65535).toInt();
    return port > 0 && port <= 65535 ? static_cast<quint16>(port) : quint16(65535);
}

void Settings::setDiscoveryTarget(const QString& address, quint16 port)
{
    setValue(QStringLiteral("discovery/target"), address);
    setValue(QStringLiteral("discovery/port"), int(port));
}

bool Settings::saveListings() const
{
    return value(QStringLiteral("listings/save"), false).toBool();
}

void Settings::setSaveListings(bool save)
{
    setValue(QStringLiteral("listings/save"), save);
}

} // namespace kvr::gui

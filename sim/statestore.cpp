#include "sim/statestore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include "sim/faultplan.h"

namespace kvr::sim {

namespace {

QByteArray toByteArray(const core::Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

core::Bytes toBytes(const QByteArray& bytes)
{
    return core::Bytes(bytes.begin(), bytes.end());
}

core::Error error(const QString& text)
{
    return core::Error{text.toStdString()};
}

} // namespace

QString StateStore::memoryPath(int memory) const
{
    return QDir(m_folder).filePath(QStringLiteral("memory-%1.bin").arg(memory, 2, 10, QLatin1Char('0')));
}

core::Status StateStore::write(const QString& path, const QByteArray& bytes) const
{
    // QSaveFile writes a temporary file beside the target and renames it on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return error(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return {};
}

core::Result<ProcessorState> StateStore::load(uint8_t defaultVersion) const
{
    if (!QDir().mkpath(m_folder)) return error(QStringLiteral("cannot create the state folder %1").arg(m_folder));
    ProcessorState state = defaultProcessorState(defaultVersion);

    for (int memory = 1; memory <= kMemoryCount; ++memory) {
        QFile file(memoryPath(memory));
        if (!file.exists()) continue;
        if (!file.open(QIODevice::ReadOnly)) return error(QStringLiteral("cannot read %1").arg(file.fileName()));
        if (file.size() > qint64(kMaxLength))
            return error(QStringLiteral("%1 is longer than 65535 bytes").arg(file.fileName()));
        state.memories[size_t(memory - 1)] = toBytes(file.readAll());
    }

    QFile os(QDir(m_folder).filePath(QStringLiteral("os.bin")));
    if (os.exists()) {
        if (!os.open(QIODevice::ReadOnly)) return error(QStringLiteral("cannot read %1").arg(os.fileName()));
        if (os.size() > qint64(kMaxLength) || os.size() < 3)
            return error(QStringLiteral("%1 must hold 3 to 65535 bytes").arg(os.fileName()));
        state.operatingSystem = toBytes(os.readAll());
    }

    QFile settings(QDir(m_folder).filePath(QStringLiteral("settings.txt")));
    if (!settings.exists()) return state;
    if (!settings.open(QIODevice::ReadOnly | QIODevice::Text))
        return error(QStringLiteral("cannot read %1").arg(settings.fileName()));
    int lineNumber = 0;
    while (!settings.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(settings.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QString key = line.section(QLatin1Char(' '), 0, 0);
        const QString value = line.section(QLatin1Char(' '), 1).trimmed();
        const std::string valueText = value.toStdString();
        bool ok = true;
        if (key == QLatin1String("version")) {
            auto v = parseByteValue(valueText);
            ok = v.has_value();
            if (ok) state.dspVersion = *v;
        } else if (key == QLatin1String("active")) {
            auto v = parseByteValue(valueText);
            ok = v && *v >= 1 && *v <= kMemoryCount;
            if (ok) state.activeMemory = *v;
        } else if (key == QLatin1String("keyboard")) {
            auto v = parseByteValue(valueText);
            ok = v.has_value();
            if (ok) state.keyboardLock = *v;
        } else if (key == QLatin1String("password")) {
            const QByteArray raw = QByteArray::fromHex(value.toLatin1());
            ok = raw.size() == qsizetype(state.password.size()) && value.size() == 2 * raw.size();
            if (ok) std::copy(raw.begin(), raw.end(), state.password.begin());
        } else if (key == QLatin1String("protected")) {
            auto list = parseMemoryList(valueText);
            ok = list.ok();
            if (ok) {
                state.protectedMemories = {};
                for (int memory : *list)
                    state.protectedMemories[size_t(memory - 1)] = true;
            }
        } // other keys are from a later version: skip them
        if (!ok)
            return error(
                QStringLiteral("%1, line %2: bad value '%3'").arg(settings.fileName()).arg(lineNumber).arg(value));
    }
    return state;
}

core::Status StateStore::saveMemory(const ProcessorState& state, int memory) const
{
    if (memory < 1 || memory > kMemoryCount) return error(QStringLiteral("no memory %1").arg(memory));
    const core::Bytes& image = state.memories[size_t(memory - 1)];
    if (image.empty()) {
        QFile::remove(memoryPath(memory));
        return {};
    }
    return write(memoryPath(memory), toByteArray(image));
}

core::Status StateStore::saveOperatingSystem(const ProcessorState& state) const
{
    return write(QDir(m_folder).filePath(QStringLiteral("os.bin")), toByteArray(state.operatingSystem));
}

core::Status StateStore::saveSettings(const ProcessorState& state) const
{
    QStringList protectedList;
    for (int memory = 1; memory <= kMemoryCount; ++memory)
        if (state.protectedMemories[size_t(memory - 1)]) protectedList << QString::number(memory);
    QByteArray text;
    text += "version " + QByteArray::number(state.dspVersion) + '\n';
    text += "active " + QByteArray::number(state.activeMemory) + '\n';
    text += "keyboard " + QByteArray::number(state.keyboardLock) + '\n';
    text += "password " +
            QByteArray(reinterpret_cast<const char*>(state.password.data()), qsizetype(state.password.size())).toHex() +
            '\n';
    text += "protected " + protectedList.join(QLatin1Char(',')).toLatin1() + '\n';
    return write(QDir(m_folder).filePath(QStringLiteral("settings.txt")), text);
}

core::Status StateStore::saveAll(const ProcessorState& state) const
{
    if (!QDir().mkpath(m_folder)) return error(QStringLiteral("cannot create the state folder %1").arg(m_folder));
    for (int memory = 1; memory <= kMemoryCount; ++memory)
        if (auto status = saveMemory(state, memory); !status) return status;
    if (auto status = saveOperatingSystem(state); !status) return status;
    return saveSettings(state);
}

} // namespace kvr::sim

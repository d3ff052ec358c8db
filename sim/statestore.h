#pragma once

#include <QString>

#include "sim/processorstate.h"
#include "util/result.h"

namespace kvr::sim {

// Keeps a processor's state in a folder so that it survives restarts: memory-01.bin ..
// memory-18.bin (absent = empty), os.bin and settings.txt. Every file is replaced atomically.
class StateStore {
public:
    explicit StateStore(QString folder) : m_folder(std::move(folder)) {}

    const QString& folder() const { return m_folder; }

    // Missing files give the defaults (a missing os.bin the built-in image of `defaultVersion`).
    core::Result<ProcessorState> load(uint8_t defaultVersion = kDefaultDspVersion) const;

    core::Status saveMemory(const ProcessorState& state, int memory) const;
    core::Status saveOperatingSystem(const ProcessorState& state) const;
    core::Status saveSettings(const ProcessorState& state) const;
    core::Status saveAll(const ProcessorState& state) const;

private:
    QString memoryPath(int memory) const;
    core::Status write(const QString& name, const QByteArray& bytes) const;

    QString m_folder;
};

} // namespace kvr::sim

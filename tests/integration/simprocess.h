#pragma once

#include <QProcess>
#include <QStringList>

namespace kvr::test {

// kvr610-sim as a child process, with the endpoints it announces.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments, const QString& program = QStringLiteral(KVR_SIM_PATH))
    {
        m_process.setProgram(program);
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) return;
        const int expected = int(arguments.contains(QStringLiteral("--pty"))) +
                             int(arguments.contains(QStringLiteral("--tcp")) || !arguments.contains(QStringLiteral("--pty")));
        while (m_lines.size() < expected && m_process.waitForReadyRead(5000))
            while (m_process.canReadLine()) m_lines << QString::fromUtf8(m_process.readLine()).trimmed();
        for (const QString& line : m_lines) {
            if (line.startsWith(QStringLiteral("tcp "))) {
                const QString endpoint = line.mid(4);
                const qsizetype colon = endpoint.lastIndexOf(QLatin1Char(':'));
                m_host = endpoint.left(colon);
                m_port = endpoint.mid(colon + 1).toUShort();
            } else if (line.startsWith(QStringLiteral("pty "))) {
                m_pty = line.mid(4);
            }
        }
    }
    ~SimProcess()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) m_process.kill();
        m_process.waitForFinished(1000);
    }
    bool ready() const { return !m_lines.isEmpty(); }
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    QString pty() const { return m_pty; }

private:
    QProcess m_process;
    QStringList m_lines;
    QString m_host;
    quint16 m_port = 0;
    QString m_pty;
};

} // namespace kvr::test

#include "sim/simoptions.h"

#include <limits>

namespace kvr::sim {

namespace {

core::Error bad(const QString& text)
{
    return core::Error{text.toStdString()};
}

std::optional<qint64> parseCount(const QString& text, qint64 maximum)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > maximum) return std::nullopt;
    return value;
}

} // namespace

QString simUsage()
{
    return QStringLiteral(
        "usage: kvr610-sim [options]\n"
        "A virtual KVR 610 processor. Prints one line per transport: 'tcp ADDRESS:PORT', 'pty PATH'.\n"
        "\n"
        "  --tcp [ADDRESS:]PORT    listen for one client at a time (port 0 picks one; default 127.0.0.1:0\n"
        "                          when no transport is named)\n"
        "  --pty                   open a pseudo-terminal in raw mode\n"
        "  --state DIR             keep memories, version, OS image, keyboard lock, password and\n"
        "                          protected memories in DIR (default: a temporary folder)\n"
        "  --version N             DSP version to report (default 47, or the saved one)\n"
        "  --protect LIST          write-protected memories, e.g. 5,7 (empty: none)\n"
        "  --baud N                pace every byte as an N-baud serial wire would (10 bits a byte)\n"
        "  --delay MS              delay every answer\n"
        "  --silence-timeout MS    back to idle after this much silence mid-exchange (default 5000)\n"
        "\n"
        "Failure modes (all combinable):\n"
        "  --refuse-number         answer every memory number with 0xFF\n"
        "  --stop-after N          stop answering after N received bytes of the run\n"
        "  --drop-after N          close each connection after N bytes received on it\n"
        "  --wrong-byte STEP[:VALUE][@COMMAND]\n"
        "                          put a wrong byte (default: the right one inverted) at STEP of every\n"
        "                          exchange (of COMMAND only, if given). Send exchange: start, command,\n"
        "                          number, status, long, send-data, send-end; receive exchange: begin,\n"
        "                          header1, header2, long-high, long-low, receive-data, receive-end;\n"
        "                          'data' and 'end' name the step of both. Repeatable.\n"
        "  --status-full LIST      report these memories full whatever they hold\n"
        "  --status-empty LIST     report these memories empty whatever they hold\n"
        "  --corrupt-store OFFSET  keep every stored image with the byte at OFFSET inverted\n"
        "  --help                  this text\n"
        "\n"
        "Ethernet modules (instead of the transports above):\n"
        "  Each module has its own loopback address (127.0.0.2, 127.0.0.3, ... in the order given) and,\n"
        "  unless foreign, a processor of its own behind it (state in module-N of the state folder). A\n"
        "  UDP socket on 127.255.255.255 takes the discovery broadcasts for all of them. Prints\n"
        "  'discovery 127.255.255.255:PORT', then 'module HOSTNAME ID ADDRESS:TCPPORT' or\n"
        "  'foreign-module HOSTNAME ID ADDRESS' per module.\n"
        "  --module HOSTNAME,ID    a module with a KVR 610 behind it (repeatable)\n"
        "  --foreign-module HOSTNAME,ID\n"
        "                          a module in front of another kind of device (repeatable)\n"
        "  --discovery-port P      the modules' UDP port (default 65535; 0 picks one)\n"
        "  --tcp PORT              the processors' TCP port on every module address (default 1001,\n"
        "                          which needs the right to bind ports below 1024; 0 picks one free\n"
        "                          port for all)\n"
        "  --ignore-changes        never answer a change of IP address or host name\n");
}

core::Result<SimOptions> parseSimOptions(const QStringList& arguments)
{
    SimOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            inlineValue = name.mid(eq + 1);
            name = name.left(eq);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue) return inlineValue;
            if (i + 1 < arguments.size()) return arguments[++i];
            return std::nullopt;
        };
        auto takeFlag = [&]() -> bool { return !inlineValue; };

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            options.help = true;
        } else if (name == QLatin1String("--pty")) {
            if (!takeFlag()) return bad(QStringLiteral("--pty takes no value"));
            options.pty = true;
        } else if (name == QLatin1String("--ignore-changes")) {
            if (!takeFlag()) return bad(QStringLiteral("--ignore-changes takes no value"));
            options.ignoreChanges = true;
        } else if (name == QLatin1String("--refuse-number")) {
            if (!takeFlag()) return bad(QStringLiteral("--refuse-number takes no value"));
            options.faults.refuseNumber = true;
        } else {
            static const QStringList kValueOptions = {QStringLiteral("--tcp"),
                                                      QStringLiteral("--state"),
                                                      QStringLiteral("--version"),
                                                      QStringLiteral("--protect"),
                                                      QStringLiteral("--status-full"),
                                                      QStringLiteral("--status-empty"),
                                                      QStringLiteral("--wrong-byte"),
                                                      QStringLiteral("--stop-after"),
                                                      QStringLiteral("--drop-after"),
                                                      QStringLiteral("--baud"),
                                                      QStringLiteral("--delay"),
                                                      QStringLiteral("--silence-timeout"),
                                                      QStringLiteral("--module"),
                                                      QStringLiteral("--foreign-module"),
                                                      QStringLiteral("--discovery-port"),
                                                      QStringLiteral("--corrupt-store")};
            if (!kValueOptions.contains(name)) return bad(QStringLiteral("unknown option '%1'").arg(arguments[i]));
            const auto text = value();
            if (!text) return bad(name + QStringLiteral(" needs a value"));
            const std::string raw = text->toStdString();
            if (name == QLatin1String("--tcp")) {
                QString port = *text;
                if (const qsizetype colon = text->lastIndexOf(QLatin1Char(':')); colon >= 0) {
                    options.tcpHostGiven = true;
                    options.tcpHost = text->left(colon);
                    port = text->mid(colon + 1);
                    if (options.tcpHost.startsWith(QLatin1Char('[')) && options.tcpHost.endsWith(QLatin1Char(']')))
                        options.tcpHost = options.tcpHost.mid(1, options.tcpHost.size() - 2);
                }
                auto number = parseCount(port, 65535);
                if (!number || options.tcpHost.isEmpty())
                    return bad(QStringLiteral("--tcp wants [ADDRESS:]PORT, not '%1'").arg(*text));
                options.tcp = true;
                options.tcpPort = quint16(*number);
            } else if (name == QLatin1String("--module") || name == QLatin1String("--foreign-module")) {
                const qsizetype comma = text->indexOf(QLatin1Char(','));
                ModuleSpec module{text->left(comma), comma < 0 ? QString() : text->mid(comma + 1),
                                  name == QLatin1String("--foreign-module")};
                if (comma < 0 || module.hostName.isEmpty() || module.identifier.isEmpty())
                    return bad(name + QStringLiteral(" wants HOSTNAME,ID, not '%1'").arg(*text));
                if (module.identifier.contains(QLatin1Char('/')))
                    return bad(name + QStringLiteral(": the identifier cannot hold '/' ('%1')").arg(*text));
                for (const QString& part : {module.hostName, module.identifier})
                    for (QChar c : part)
                        if (c.unicode() < 0x20 || c.unicode() > 0xFF)
                            return bad(name + QStringLiteral(": only Latin-1 text, not '%1'").arg(*text));
                options.modules.push_back(module);
            } else if (name == QLatin1String("--discovery-port")) {
                auto number = parseCount(*text, 65535);
                if (!number) return bad(QStringLiteral("--discovery-port wants 0..65535, not '%1'").arg(*text));
                options.discoveryPort = quint16(*number);
            } else if (name == QLatin1String("--state")) {
                options.stateFolder = *text;
            } else if (name == QLatin1String("--version")) {
                auto version = parseByteValue(raw);
                if (!version) return bad(QStringLiteral("--version wants 0..255, not '%1'").arg(*text));
                options.dspVersion = *version;
            } else if (name == QLatin1String("--protect")) {
                auto list = parseMemoryList(raw);
                if (!list) return bad(QStringLiteral("--protect: ") + QString::fromStdString(list.message()));
                options.protectedMemories = *list;
            } else if (name == QLatin1String("--status-full") || name == QLatin1String("--status-empty")) {
                auto list = parseMemoryList(raw);
                if (!list) return bad(name + QStringLiteral(": ") + QString::fromStdString(list.message()));
                auto& flags =
                    name == QLatin1String("--status-full") ? options.faults.statusFull : options.faults.statusEmpty;
                for (int memory : *list)
                    flags[size_t(memory - 1)] = true;
            } else if (name == QLatin1String("--wrong-byte")) {
                auto fault = parseWrongByte(raw);
                if (!fault) return bad(QString::fromStdString(fault.message()));
                options.faults.wrongBytes.push_back(*fault);
            } else if (name == QLatin1String("--stop-after") || name == QLatin1String("--drop-after")) {
                auto count = parseCount(*text, std::numeric_limits<qint64>::max());
                if (!count) return bad(name + QStringLiteral(" wants a byte count, not '%1'").arg(*text));
                (name == QLatin1String("--stop-after") ? options.faults.stopAfterBytes
                                                       : options.faults.dropAfterBytes) = uint64_t(*count);
            } else if (name == QLatin1String("--corrupt-store")) {
                auto offset = parseCount(*text, 0xFFFF);
                if (!offset) return bad(QStringLiteral("--corrupt-store wants a byte offset, not '%1'").arg(*text));
                options.faults.corruptStoredByte = size_t(*offset);
            } else if (name == QLatin1String("--baud")) {
                auto baud = parseCount(*text, 10000000);
                if (!baud || *baud == 0) return bad(QStringLiteral("--baud wants a rate, not '%1'").arg(*text));
                options.baud = int(*baud);
            } else if (name == QLatin1String("--delay") || name == QLatin1String("--silence-timeout")) {
                auto ms = parseCount(*text, 3600000);
                if (!ms) return bad(name + QStringLiteral(" wants milliseconds, not '%1'").arg(*text));
                (name == QLatin1String("--delay") ? options.delayMs : options.silenceTimeoutMs) = int(*ms);
            }
        }
    }
    if (!options.modules.empty()) {
        if (options.pty) return bad(QStringLiteral("--pty cannot be combined with --module"));
        if (options.tcpHostGiven)
            return bad(QStringLiteral("with --module, --tcp takes a port only: every module has its own address"));
        if (!options.tcp) options.tcpPort = kModuleTcpPort;
        for (size_t i = 0; i < options.modules.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                if (options.modules[i].identifier == options.modules[j].identifier)
                    return bad(
                        QStringLiteral("two modules with the identifier '%1'").arg(options.modules[i].identifier));
    } else if (options.ignoreChanges) {
        return bad(QStringLiteral("--ignore-changes needs --module"));
    }
    for (int memory = 0; memory < kMemoryCount; ++memory)
        if (options.faults.statusFull[size_t(memory)] && options.faults.statusEmpty[size_t(memory)])
            return bad(QStringLiteral("memory %1 cannot be reported both full and empty").arg(memory + 1));
    return options;
}

} // namespace kvr::sim

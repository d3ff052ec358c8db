#include "device_commands.h"

#include <QCoreApplication>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "args.h"
#include "comm/operations.h"
#include "config/configfile.h"
#include "config/library.h"
#include "image/deviceimage.h"
#include "image/osimage.h"
#include "io/operationrunner.h"
#include "io/seriallink.h"
#include "io/tcplink.h"
#include "io/usblink.h"
#include "json_output.h"
#include "module_lookup.h"
#include "util/numtext.h"

namespace kvr::cli {

namespace {

constexpr int kNoSuchModule = 3;

const std::set<std::string> kCommands{"version", "store",  "read",     "activate", "os-read",     "os-upload",
                                      "lock",    "unlock", "password", "reset",    "send-library"};

void printErr(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

int usage(const std::string& why)
{
    printErr("kvr610-cli: " + why);
    printErr("usage: kvr610-cli COMMAND ARGS --link tcp:HOST[:PORT] | eth:HOSTNAME[:PORT] | serial:DEVICE | usb\n"
             "  (eth: finds the module by a scan, with --target ADDR and --port P as for discover)\n"
             "  version | store N FILE.kv4 [--overwrite] [--verify] | read N OUT.kv4 | activate N | os-read OUT.asc\n"
             "  os-upload FILE.asc --yes | lock | unlock | password KEYS [--active] | reset | send-library FILE.kvl");
    return kUsageError;
}

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::string link;
    std::optional<std::string> target;
    std::optional<std::string> port;
    bool overwrite = false;
    bool yes = false;
    bool active = false;
    bool verify = false;
    bool json = false;
};

std::optional<Options> parse(const std::vector<std::string>& arguments, std::string& error)
{
    Args args(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    Options o;
    o.command = arguments.at(0);
    o.link = args.takeOption("--link").value_or(std::string());
    o.target = args.takeOption("--target");
    o.port = args.takeOption("--port");
    o.overwrite = args.takeFlag("--overwrite");
    o.yes = args.takeFlag("--yes");
    o.active = args.takeFlag("--active");
    o.verify = args.takeFlag("--verify");
    o.json = args.takeFlag("--json");
    if (args.missingValue()) {
        error = args.optionWithoutValue() + " needs a value";
        return std::nullopt;
    }
    if (auto unknown = args.unknownOption()) {
        error = "unknown option " + *unknown;
        return std::nullopt;
    }
    o.positional = args.positional();
    return o;
}

// The module whose host name is given, found by a scan; the processor behind it on the TCP port.
std::unique_ptr<io::Link> moduleLink(const std::string& linkText, const Options& o, std::string& error)
{
    std::string hostName = linkText.substr(4);
    quint16 port = io::TcpLink::kDefaultPort;
    if (const auto colon = hostName.rfind(':'); colon != std::string::npos) {
        const auto value = core::parseInteger(hostName.substr(colon + 1));
        if (!value || *value < 1 || *value > 65535) {
            error = "bad port in " + linkText;
            return nullptr;
        }
        port = static_cast<quint16>(*value);
        hostName.resize(colon);
    }
    const auto target = discoveryTarget(o.target, o.port, error);
    if (!target) return nullptr;
    const QString wanted = QString::fromLatin1(hostName.c_str());
    for (const io::DiscoveredModule& m : scanModules(*target))
        if (m.hostName == wanted) return std::make_unique<io::TcpLink>(m.ipAddress, port, m.hostName);
    printErr("kvr610-cli: no module named " + hostName + " answered");
    return nullptr;
}

// tcp:HOST[:PORT] | eth:HOSTNAME[:PORT] | serial:DEVICE | usb
std::unique_ptr<io::Link> makeLink(const std::string& linkText, const Options& o, std::string& error)
{
    if (linkText.rfind("eth:", 0) == 0 && linkText.size() > 4) return moduleLink(linkText, o, error);
    if (linkText == "usb") return std::make_unique<io::UsbLink>();
    if (linkText.rfind("serial:", 0) == 0 && linkText.size() > 7)
        return std::make_unique<io::SerialLink>(QString::fromStdString(linkText.substr(7)));
    if (linkText.rfind("tcp:", 0) == 0 && linkText.size() > 4) {
        std::string host = linkText.substr(4);
        quint16 port = io::TcpLink::kDefaultPort;
        const auto colon = host.rfind(':');
        if (colon != std::string::npos && host.find(':') == colon) { // not an IPv6 address
            const auto value = core::parseInteger(host.substr(colon + 1));
            if (!value || *value < 1 || *value > 65535) {
                error = "bad port in " + linkText;
                return nullptr;
            }
            port = static_cast<quint16>(*value);
            host.resize(colon);
        }
        return std::make_unique<io::TcpLink>(QString::fromStdString(host), port);
    }
    error = linkText.empty() ? "--link is required" : "bad --link " + linkText;
    return nullptr;
}

std::optional<int> memoryArg(const std::string& text)
{
    const auto v = core::parseInteger(text);
    if (!v || *v < 1 || *v > core::protocol::kMemoryCount) return std::nullopt;
    return static_cast<int>(*v);
}

const char* kindName(core::MessageKind kind)
{
    switch (kind) {
    case core::MessageKind::Error:
        return "error";
    case core::MessageKind::Warning:
        return "warning";
    case core::MessageKind::Information:
        return "information";
    case core::MessageKind::Confirmation:
        return "confirmation";
    }
    return "message";
}

// What to do with the bytes a completed operation brought back; returns the exit status.
using ResultSink = std::function<int(const core::Bytes&)>;

int run(io::Link& link, std::unique_ptr<core::DeviceOperation> op, const Options& o, const ResultSink& sink = {})
{
    io::OperationRunner runner;
    runner.setLink(&link);
    int exitCode = 1;
    bool done = false;
    QString lastStatus;
    QObject::connect(&runner, &io::OperationRunner::statusChanged, [&](const QString& text) {
        if (text == lastStatus) return;
        lastStatus = text;
        printErr(text.toStdString());
    });
    int lastPercent = -1;
    QObject::connect(&runner, &io::OperationRunner::progressChanged, [&](int position, int maximum) {
        const int percent = maximum > 0 ? position * 100 / maximum : 100;
        if (percent / 10 == lastPercent / 10 && percent != 100) return;
        lastPercent = percent;
        printErr("progress " + std::to_string(position) + "/" + std::to_string(maximum));
    });
    QObject::connect(&runner, &io::OperationRunner::messageRequested,
                     [](const core::Message& m) { printErr(std::string(kindName(m.kind)) + ": " + m.text); });
    QObject::connect(&runner, &io::OperationRunner::connectionEffect, [](core::ConnectionEffect e) {
        if (e == core::ConnectionEffect::GoOffline) printErr("offline");
    });
    QObject::connect(&runner, &io::OperationRunner::questionAsked, [&](const core::Question& q) {
        core::Answer a;
        switch (q.kind) {
        case core::QuestionKind::OverwriteMemory:
            a.button = o.overwrite ? core::Button::Yes : core::Button::No;
            break;
        case core::QuestionKind::ConfirmUpload:
            a.button = o.yes ? core::Button::Yes : core::Button::No;
            break;
        case core::QuestionKind::ConfirmKeyboard:
            a.button = core::Button::Ok;
            break; // the command is the answer
        case core::QuestionKind::UpdateDsp:
            a.button = core::Button::No;
            break;
        case core::QuestionKind::ChooseOsFile:
            a.button = core::Button::Cancel;
            break;
        case core::QuestionKind::ConnectionWindow:
            a.button = core::Button::Cancel;
            break;
        }
        if (!q.message.text.empty())
            printErr(std::string("question: ") + q.message.text + " -> " + (a.accepted() ? "yes" : "no"));
        runner.answer(a);
    });
    QObject::connect(&runner, &io::OperationRunner::finished, [&](const core::Outcome& outcome) {
        done = true;
        if (o.json) {
            QJsonObject result = outcomeJson(o.command, outcome);
            if (o.command == "version" && outcome.completed() && !outcome.data.empty()) {
                result.insert("version", QString::fromStdString(core::dspVersionText(outcome.data[0])));
                result.insert("value", outcome.data[0]);
            }
            if (!o.positional.empty()) {
                if (const auto n = core::parseInteger(o.positional[0])) result.insert("memory", int(*n));
            }
            if (outcome.completed() && sink) {
                exitCode = sink(outcome.data);
                if (exitCode != 0) result.insert("result", "failed");
            } else {
                exitCode = outcome.completed() ? 0 : outcome.kind == core::OutcomeKind::Refused ? 4 : 1;
            }
            printJson(result);
            if (!outcome.completed() && !outcome.reason.empty()) printErr(outcome.reason);
        } else if (outcome.completed()) {
            exitCode = 0;
            if (o.command == "version" && !outcome.data.empty())
                std::printf("%s\n", core::dspVersionText(outcome.data[0]).c_str());
            if (o.command == "store" && outcome.verified) printErr("verified");
            if (sink) exitCode = sink(outcome.data);
        } else {
            exitCode = outcome.kind == core::OutcomeKind::Refused ? 4 : 1;
            printErr(std::string(outcome.kind == core::OutcomeKind::Refused ? "refused" : "failed") +
                     (outcome.reason.empty() ? "" : ": " + outcome.reason));
        }
        QCoreApplication::exit(exitCode);
    });
    QObject::connect(&runner, &io::OperationRunner::refused,
                     [&](const QString& reason) { printErr("refused: " + reason.toStdString()); });
    if (!runner.start(std::move(op))) return 1;
    if (!done) QCoreApplication::exec();
    link.close();
    return exitCode;
}

} // namespace

int runDeviceCommand(const std::vector<std::string>& args)
{
    if (args.empty() || !kCommands.count(args[0])) return -1;
    std::string error;
    const auto parsed = parse(args, error);
    if (!parsed) return usage(error);
    const Options& o = *parsed;
    const auto& p = o.positional;

    std::unique_ptr<QCoreApplication> ownApp;
    static int argc = 1;
    static char name[] = "kvr610-cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) ownApp = std::make_unique<QCoreApplication>(argc, argv);

    auto link = makeLink(o.link, o, error);
    if (!link) return error.empty() ? kNoSuchModule : usage(error);
    const core::LinkInfo info = link->info();

    std::unique_ptr<core::DeviceOperation> op;
    if (o.command == "version" && p.empty()) {
        op = core::makeVersionRead(info);
    } else if (o.command == "activate" && p.size() == 1) {
        const auto n = memoryArg(p[0]);
        if (!n) return usage("memory numbers run from 1 to 18");
        op = core::makeMemoryChange(info, *n);
    } else if ((o.command == "lock" || o.command == "unlock") && p.empty()) {
        op = core::makeKeyboard(info, o.command == "lock");
    } else if (o.command == "password" && p.size() == 1) {
        core::Bytes keys;
        for (char c : p[0])
            keys.push_back(static_cast<uint8_t>(c >= '0' && c <= '9' ? c - '0' : 0));
        auto block = core::passwordBlock(keys, o.active);
        if (!block) return usage(block.message());
        op = core::makePassword(info, *block);
    } else if (o.command == "reset" && p.empty()) {
        op = core::makeReset(info);
    } else if (o.command == "store" && p.size() == 2) {
        const auto n = memoryArg(p[0]);
        if (!n) return usage("memory numbers run from 1 to 18");
        auto loaded = core::loadConfigurationFile(p[1]);
        if (!loaded) return fail(loaded.message());
        for (const core::Message& m : loaded->notices)
            printErr(m.text);
        auto image = core::BuildDeviceImage(loaded->config, false);
        if (!image) return fail(image.message());
        op = core::makeStore(info, *n, std::move(*image), {}, o.verify);
    } else if (o.command == "read" && p.size() == 2) {
        const auto n = memoryArg(p[0]);
        if (!n) return usage("memory numbers run from 1 to 18");
        const std::string out = p[1];
        const int memory = *n;
        return run(*link, core::makeMemoryRead(info, memory), o, [out, memory](const core::Bytes& received) {
            auto config = core::DecodeDeviceImage(received, memory,
                                                  [](const core::LoadProgress& stage) { printErr(stage.status); });
            if (!config) return fail(config.message());
            core::Status saved = core::saveConfigurationFile(out, *config);
            return saved ? 0 : fail(saved.message());
        });
    } else if (o.command == "os-read" && p.size() == 1) {
        const std::string out = p[0];
        return run(*link, core::makeOsRead(info), o, [out](const core::Bytes& received) {
            core::Status saved = core::saveOsFile(out, received);
            return saved ? 0 : fail(saved.message());
        });
    } else if (o.command == "os-upload" && p.size() == 1) {
        auto os = core::readOsFile(p[0]);
        if (!os) return fail(os.message());
        op = core::makeOsUpload(info, os->image, true);
    } else if (o.command == "send-library" && p.size() == 1) {
        auto library = core::readLibraryFile(p[0]);
        if (!library) return fail(library.message());
        op = core::makeLibrarySend(info, library->imagesToSend());
    } else {
        return usage("wrong arguments for " + o.command);
    }
    return run(*link, std::move(op), o);
}

} // namespace kvr::cli

#include <cstdio>
#include <string>
#include <vector>

#include "args.h"
#include "device_commands.h"
#include "file_commands.h"
#include "image_commands.h"
#include "measurement_commands.h"
#include "module_commands.h"
#include "setting_commands.h"
#include "view_commands.h"

namespace {

void usage()
{
    std::fprintf(stderr, "usage: kvr610-cli COMMAND [ARGS]\ncommands:\n");
    kvr::cli::printFileCommandsUsage();
    kvr::cli::printSettingCommandsUsage();
    kvr::cli::printImageCommandsUsage();
    kvr::cli::printViewCommandsUsage();
    kvr::cli::printMeasurementCommandsUsage();
    std::fprintf(stderr, "device commands (with --link tcp:HOST[:PORT] | eth:HOSTNAME[:PORT] | serial:DEVICE | usb):\n"
                         "  version | activate N | lock | unlock | reset\n"
                         "  store N FILE.kv4 [--overwrite] [--verify]   --verify: read the memory back and compare\n"
                         "  read N OUT.kv4\n"
                         "  os-read OUT.asc | os-upload FILE.asc --yes\n"
                         "  password KEYS [--active]           KEYS: six digits 1-3\n"
                         "  send-library FILE.kvl\n"
                         "  --json: the device commands' result as one JSON object on stdout\n");
    kvr::cli::printModuleCommandsUsage();
    kvr::cli::printSettingKeys();
    std::fprintf(stderr, "exit status:\n"
                         "  0  done (a verified store: the memory read back as sent)\n"
                         "  1  failed: a file, the link or the processor failed, or a verified store read back\n"
                         "     different from what was sent\n"
                         "  2  wrong command or arguments, or a refused set assignment (nothing is written)\n"
                         "  3  no Ethernet module of that name answered\n"
                         "  4  refused by the processor or the user's answer (memory empty, full or protected,\n"
                         "     another DSP version)\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        usage();
        return args.empty() ? kvr::cli::kUsageError : 0;
    }
    int status = kvr::cli::runFileCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runSettingCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runImageCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runViewCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runMeasurementCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runDeviceCommand(args);
    if (status >= 0) return status;
    status = kvr::cli::runModuleCommand(args);
    if (status >= 0) return status;
    std::fprintf(stderr, "kvr610-cli: unknown command \"%s\"\n", args[0].c_str());
    usage();
    return kvr::cli::kUsageError;
}

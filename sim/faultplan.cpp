#include "sim/faultplan.h"

#include <algorithm>

#include "util/numtext.h"

namespace kvr::sim {

namespace {

struct StepName {
    std::string_view name;
    std::vector<FaultStep> steps;
};

const std::vector<StepName>& stepNames()
{
    static const std::vector<StepName> names = {
        {"start", {FaultStep::Start}},
        {"command", {FaultStep::Command}},
        {"number", {FaultStep::Number}},
        {"status", {FaultStep::Status}},
        {"long", {FaultStep::Long}},
        {"data", {FaultStep::Data, FaultStep::ReceiveData}},
        {"end", {FaultStep::End, FaultStep::ReceiveEnd}},
        {"send-data", {FaultStep::Data}},
        {"send-end", {FaultStep::End}},
        {"begin", {FaultStep::Begin}},
        {"header1", {FaultStep::Header1}},
        {"header2", {FaultStep::Header2}},
        {"long-high", {FaultStep::LongHigh}},
        {"long-low", {FaultStep::LongLow}},
        {"receive-data", {FaultStep::ReceiveData}},
        {"receive-end", {FaultStep::ReceiveEnd}},
    };
    return names;
}

} // namespace

const char* faultStepName(FaultStep step)
{
    switch (step) {
    case FaultStep::Start:
        return "start";
    case FaultStep::Command:
        return "command";
    case FaultStep::Number:
        return "number";
    case FaultStep::Status:
        return "status";
    case FaultStep::Long:
        return "long";
    case FaultStep::Data:
        return "data";
    case FaultStep::End:
        return "end";
    case FaultStep::Begin:
        return "begin";
    case FaultStep::Header1:
        return "header1";
    case FaultStep::Header2:
        return "header2";
    case FaultStep::LongHigh:
        return "long-high";
    case FaultStep::LongLow:
        return "long-low";
    case FaultStep::ReceiveData:
        return "receive-data";
    case FaultStep::ReceiveEnd:
        return "receive-end";
    }
    return "?";
}

std::optional<uint8_t> FaultPlan::wrongByteFor(FaultStep step, int command, uint8_t right) const
{
    for (const WrongByte& fault : wrongBytes) {
        if (std::find(fault.steps.begin(), fault.steps.end(), step) == fault.steps.end()) continue;
        if (fault.command && int(*fault.command) != command) continue;
        return fault.value ? *fault.value : static_cast<uint8_t>(~right);
    }
    return std::nullopt;
}

std::optional<uint8_t> parseByteValue(std::string_view text)
{
    long long value = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        if (text.empty() || text.size() > 2) return std::nullopt;
        for (char c : text) {
            int digit = (c >= '0' && c <= '9')   ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
    } else {
        if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        auto parsed = core::parseInteger(text);
        if (!parsed) return std::nullopt;
        value = *parsed;
    }
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<uint8_t>(value);
}

core::Result<WrongByte> parseWrongByte(std::string_view text)
{
    const std::string original(text);
    WrongByte fault;
    if (auto at = text.find('@'); at != std::string_view::npos) {
        auto command = parseByteValue(text.substr(at + 1));
        if (!command || !isKnownCommand(*command))
            return core::Error{"--wrong-byte " + original + ": unknown command after '@'"};
        fault.command = *command;
        text = text.substr(0, at);
    }
    if (auto colon = text.find(':'); colon != std::string_view::npos) {
        auto value = parseByteValue(text.substr(colon + 1));
        if (!value) return core::Error{"--wrong-byte " + original + ": the value must be a byte (0..255)"};
        fault.value = *value;
        text = text.substr(0, colon);
    }
    for (const StepName& name : stepNames()) {
        if (name.name == text) {
            fault.steps = name.steps;
            return fault;
        }
    }
    return core::Error{"--wrong-byte " + original +
                       ": unknown step (start, command, number, status, long, data, end, begin, header1, "
                       "header2, long-high, long-low, send-data, send-end, receive-data, receive-end)"};
}

core::Result<std::vector<int>> parseMemoryList(std::string_view text)
{
    std::vector<int> memories;
    while (!text.empty()) {
        auto comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        auto value = parseByteValue(item);
        if (!value || *value < 1 || *value > kMemoryCount)
            return core::Error{"memory numbers are 1 to 18, not '" + std::string(item) + "'"};
        memories.push_back(*value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return memories;
}

} // namespace kvr::sim

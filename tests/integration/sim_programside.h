#pragma once

// The program's side of the transfer protocol, written for the tests straight from the protocol
// description and kept apart from the simulator's code, so each side checks the other.

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;

class Wire {
public:
    virtual ~Wire() = default;
    // Sends `out` and returns the next `expect` bytes (fewer if they do not come).
    virtual Bytes exchange(const Bytes& out, size_t expect) = 0;
    // Sends without waiting for anything.
    virtual void send(const Bytes& out) = 0;
};

struct SendResult {
    enum class Kind { Completed, Refused, Failed } kind = Kind::Failed;
    std::string why;    // the step that refused or failed
    int status = -1;    // the memory status byte, when there was one
    Bytes blockAnswers; // one per data block
};

inline SendResult runSend(Wire& wire, uint8_t command, uint8_t memory, const Bytes& data, bool overwrite = true)
{
    SendResult result;
    auto fail = [&](const char* why) {
        result.kind = SendResult::Kind::Failed;
        result.why = why;
        return result;
    };
    auto refuse = [&](const char* why) {
        result.kind = SendResult::Kind::Refused;
        result.why = why;
        return result;
    };
    if (wire.exchange({0x6F}, 1) != Bytes{0x6F}) return fail("start");
    if (wire.exchange({command}, 1).size() != 1) return fail("command");
    Bytes answer = wire.exchange({memory}, 1);
    if (answer.size() != 1) return fail("number");
    if (answer[0] == 0xFF) return refuse("number");
    if (command == 3 || command == 4 || command == 7) {
        answer = wire.exchange({memory}, 1);
        if (answer.size() != 1) return fail("status");
        result.status = answer[0];
        if (answer[0] == 0x0C && command != 3) return refuse("empty");
        if (answer[0] == 0x0D && command == 3) {
            if (!overwrite) {
                wire.send({0x0F});
                return refuse("declined");
            }
            wire.send({0x0E});
        }
        if (answer[0] == 0x11 && command == 3) {
            wire.send({0x0F});
            return refuse("protected");
        }
    } else {
        wire.send({memory});
    }
    const auto high = static_cast<uint8_t>(data.size() >> 8);
    const auto low = static_cast<uint8_t>(data.size() & 0xFF);
    if (wire.exchange({high, low}, 1) != Bytes{low}) return fail("long");
    for (size_t offset = 0; offset < data.size(); offset += 64) {
        const size_t count = std::min<size_t>(64, data.size() - offset);
        answer = wire.exchange(Bytes(data.begin() + long(offset), data.begin() + long(offset + count)), 1);
        if (answer.size() != 1) return fail("data");
        result.blockAnswers.push_back(answer[0]);
    }
    if (wire.exchange({0x55}, 1) != Bytes{0x55}) return fail("end");
    result.kind = SendResult::Kind::Completed;
    return result;
}

struct ReceiveResult {
    bool ok = false;
    std::string why;
    int begin = -1;
    int header1 = -1;
    int header2 = -1;
    int end = -1;
    Bytes data;
};

// Asks for the receive exchange (0x6F) and plays it, echoing as the program does.
inline ReceiveResult runReceive(Wire& wire)
{
    ReceiveResult result;
    auto fail = [&](const char* why) {
        result.why = why;
        return result;
    };
    Bytes in = wire.exchange({0x6F}, 1);
    if (in.size() != 1) return fail("begin");
    result.begin = in[0];
    in = wire.exchange({0x6F}, 1); // the program answers BEGIN with 0x6F whatever came
    if (in.size() != 1) return fail("header1");
    result.header1 = in[0];
    in = wire.exchange(in, 1);
    if (in.size() != 1) return fail("header2");
    result.header2 = in[0];
    in = wire.exchange(in, 1);
    if (in.size() != 1) return fail("long-high");
    const size_t high = in[0];
    in = wire.exchange(in, 1);
    if (in.size() != 1) return fail("long-low");
    const size_t length = high * 256 + in[0];
    size_t expect = std::min<size_t>(64, length);
    Bytes echo = in;
    while (result.data.size() < length) {
        in = wire.exchange(echo, expect);
        if (in.size() != expect) return fail("data");
        result.data.insert(result.data.end(), in.begin(), in.end());
        echo = {in.back()};
        expect = std::min<size_t>(64, length - result.data.size());
    }
    in = wire.exchange(echo, 1);
    if (in.size() != 1) return fail("end");
    result.end = in[0];
    wire.send(in);
    result.ok = true;
    return result;
}

// A DeviceImage-shaped block: length word M, routes, names, then filler.
inline Bytes makeImage(size_t size, uint8_t seed)
{
    Bytes image(size);
    for (size_t i = 0; i < size; ++i)
        image[i] = static_cast<uint8_t>(seed + i * 13);
    if (size >= 49) {
        image[0] = static_cast<uint8_t>((size - 2) >> 8);
        image[1] = static_cast<uint8_t>((size - 2) & 0xFF);
        const char* names = "Hall system A   B   Out1Out2Out3Out4";
        for (size_t i = 0; i < 36; ++i)
            image[13 + i] = static_cast<uint8_t>(names[i]);
        for (size_t i = 0; i < 4; ++i)
            image[4 + i] = static_cast<uint8_t>(i % 3);
    }
    return image;
}

} // namespace simtest

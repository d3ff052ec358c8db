#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "comm/protocol.h"
#include "image/imagecompare.h"
#include "util/bytes.h"
#include "util/message.h"

namespace kvr::core {

enum class OutcomeKind : uint8_t { Completed, Failed, Refused };

struct Outcome {
    OutcomeKind kind = OutcomeKind::Completed;
    std::string reason; // empty when completed
    Bytes data;         // received bytes, exactly as many as the processor announced
    // A store asked to verify: the memory read back equal to the image sent (completed), or
    // read back different (failed; the reason names the first part that differs).
    bool verified = false;
    bool verifyMismatch = false;
    std::optional<ImageDifference> difference; // where, when the memory read back different
    bool completed() const { return kind == OutcomeKind::Completed; }
    bool failed() const { return kind == OutcomeKind::Failed; }
};

// Named one-shot timers; a fired timer that is no longer awaited is ignored.
enum class TimerId : uint8_t { DetectTick, PresetTick, Pause };

enum class QuestionKind : uint8_t {
    OverwriteMemory,  // Yes / No
    UpdateDsp,        // Yes / No
    ConfirmUpload,    // Yes / No
    ConfirmKeyboard,  // Ok / Cancel
    ChooseOsFile,     // answered with the image bytes (Ok) or Cancel
    ConnectionWindow, // answered once the window closes: connected or not, and over which link
};

struct Question {
    QuestionKind kind = QuestionKind::OverwriteMemory;
    Message message; // kind, buttons and text of the box; empty text for the file and connection windows
};

struct Answer {
    Button button = Button::No;
    Bytes data;             // ChooseOsFile: the operating system image
    bool connected = false; // ConnectionWindow
    LinkInfo link;          // ConnectionWindow: the link now chosen
    bool accepted() const { return button == Button::Yes || button == Button::Ok; }
};

enum class ConnectionEffect : uint8_t {
    GoOffline,              // close the link, connection code 0, "Status: Offline"
    ShowConnectionWindow,   // let the user reconnect; nothing waits for it
    ConnectionChoiceOffline // the connection window's choice returns to Offline
};

enum class ActionKind : uint8_t {
    OpenLink, // answer with linkOpened()
    CloseLink,
    Send,          // bytes: one write
    ArmReplyTimer, // ms: (re)start the reply timer; answer with replyTimedOut()
    StopReplyTimer,
    StartTimer, // timer, ms: answer with timerFired(timer)
    Status,     // text
    Progress,   // position, maximum
    ShowCommWindow,
    HideCommWindow,
    ShowMessage,    // message: shown without waiting for the user
    Ask,            // question: answer later with answered()
    Connection,     // effect
    MemorySelector, // memory: the main window's memory number follows the operation
    Finished,       // outcome
};

// One effect requested by the engine or an operation. A plain record: only the fields of its kind matter.
struct Action {
    Action() = default;
    explicit Action(ActionKind k) : kind(k) {}

    ActionKind kind = ActionKind::Status;
    Bytes bytes;
    int ms = 0;
    TimerId timer = TimerId::Pause;
    std::string text;
    int position = 0;
    int maximum = 0;
    Message message;
    Question question;
    ConnectionEffect effect = ConnectionEffect::GoOffline;
    int memory = 0;
    Outcome outcome;
};

using Actions = std::vector<Action>;

} // namespace kvr::core

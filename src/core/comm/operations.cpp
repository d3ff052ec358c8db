#include "comm/operations.h"

#include "image/imagecompare.h"
#include "image/osimage.h"

#include <utility>

#include "util/numtext.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

ExchangeSpec exchangeFor(Command command, int memory, Bytes data = {}, bool showWindow = true)
{
    ExchangeSpec s;
    s.command = command;
    s.memory = static_cast<uint8_t>(memory);
    s.data = std::move(data);
    s.showWindow = showWindow;
    return s;
}

Outcome outcomeOf(const ExchangeResult& r)
{
    Outcome o;
    o.kind = r.kind;
    o.reason = r.reason;
    o.data = r.data;
    return o;
}

Message question(MessageKind kind, Buttons buttons, std::string text, bool beep = false)
{
    return {kind, buttons, std::move(text), beep};
}

std::string versionNotRequired(uint8_t version)
{
    return texts::kUpdateQuestionPrefix + dspVersionText(version) + ".";
}

// One exchange, its outcome as the operation's.
class SingleExchange final : public DeviceOperation {
public:
    SingleExchange(LinkInfo link, ExchangeSpec s, int waitAfterMs = 0)
        : DeviceOperation(std::move(link)), m_spec(std::move(s)), m_waitAfterMs(waitAfterMs)
    {
    }

private:
    void advance() override
    {
        switch (m_step++) {
        case 0:
            return exchange(m_spec);
        case 1:
            if (lastExchange().kind != OutcomeKind::Completed || m_waitAfterMs == 0)
                return finish(outcomeOf(lastExchange()));
            return wait(m_waitAfterMs);
        default:
            return finish(OutcomeKind::Completed);
        }
    }
    ExchangeSpec m_spec;
    int m_waitAfterMs;
};

class Detect final : public DeviceOperation {
public:
    using DeviceOperation::DeviceOperation;

private:
    void advance() override
    {
        if (m_step++ == 0) return exchange(exchangeFor(Command::Detect, 0));
        const ExchangeResult& r = lastExchange();
        if (r.kind == OutcomeKind::Completed) return finish(OutcomeKind::Completed);
        switch (link().kind) {
        case LinkKind::Usb:
            message(errorBox(texts::kNotAKvr610));
            break;
        case LinkKind::Ethernet:
            simple(ActionKind::CloseLink);
            message(errorBox(texts::kEthernetCommErrorPrefix + link().hostName));
            break;
        case LinkKind::Serial: {
            message(question(MessageKind::Error, uint8_t(Button::Ok), texts::kSerialNoAnswer, true));
            break;
        }
        }
        connection(ConnectionEffect::GoOffline);
        finish(outcomeOf(r));
    }
};

class QuietVersionRead final : public DeviceOperation {
public:
    using DeviceOperation::DeviceOperation;

private:
    void advance() override
    {
        if (m_step++ == 0) {
            ExchangeSpec s = exchangeFor(Command::GetVersion, 0);
            s.receive = ReceiveKind::Version;
            return exchange(std::move(s));
        }
        const ExchangeResult& r = lastExchange();
        if (r.kind != OutcomeKind::Completed) return finish(outcomeOf(r));
        if (r.data.empty()) return finish(OutcomeKind::Failed, texts::kNoAnswer);
        status(texts::kCommunicationOk);
        status(texts::kVersionStatusPrefix + std::to_string(r.data[0]));
        Outcome o;
        o.data = {r.data[0]};
        finish(std::move(o));
    }
};

class VersionRead final : public DeviceOperation {
public:
    using DeviceOperation::DeviceOperation;

private:
    void advance() override
    {
        if (m_step++ == 0) {
            status(texts::kGetVersion);
            return runChild(makeQuietVersionRead(link()));
        }
        if (childOutcome().completed())
            message(infoBox(texts::kDspVersionMessagePrefix + dspVersionText(childOutcome().data.at(0))));
        finish(childOutcome());
    }
};

class OsUpload final : public DeviceOperation {
public:
    OsUpload(LinkInfo link, Bytes image, bool withWarning)
        : DeviceOperation(std::move(link)), m_image(std::move(image)), m_withWarning(withWarning)
    {
    }

private:
    enum Step { Warn, ChooseFile, Send, Sent, Waited };
    void advance() override
    {
        switch (m_step) {
        case Warn:
            m_step = ChooseFile;
            if (m_withWarning)
                return ask({QuestionKind::ConfirmUpload,
                            question(MessageKind::Warning, Button::Yes | Button::No, texts::kUploadWarning, true)});
            [[fallthrough]];
        case ChooseFile:
            if (m_withWarning && !lastAnswer().accepted()) return finish(OutcomeKind::Refused, texts::kCancelled);
            m_step = Send;
            if (m_image.empty()) return ask({QuestionKind::ChooseOsFile, {}});
            [[fallthrough]];
        case Send: {
            if (m_image.empty()) {
                if (!lastAnswer().accepted()) return finish(OutcomeKind::Refused, texts::kCancelled);
                m_image = lastAnswer().data;
            }
            if (Status valid = check(); !valid) {
                message(errorBox(valid.message()));
                return finish(OutcomeKind::Refused, valid.message());
            }
            m_step = Sent;
            return exchange(exchangeFor(Command::UploadOs, 1, m_image));
        }
        case Sent:
            if (lastExchange().kind == OutcomeKind::Failed) {
                message(errorBox(texts::kUploadFailed));
                return finish(outcomeOf(lastExchange()));
            }
            if (lastExchange().kind == OutcomeKind::Refused) return finish(outcomeOf(lastExchange()));
            simple(ActionKind::HideCommWindow);
            m_step = Waited;
            return wait(protocol::kUploadWaitMs);
        default:
            return finish(OutcomeKind::Completed);
        }
    }

    Status check() const
    {
        if (m_image.size() > protocol::kOsImageCapacity) return Error{texts::kOsImageTooLarge};
        if (m_image.size() < 3 || ((size_t(m_image[0]) << 8) | m_image[1]) != m_image.size())
            return Error{texts::kOsImageInvalid};
        return {};
    }

    Bytes m_image;
    bool m_withWarning;
};

// The answer to a processor whose DSP version is not the required one: offer the update, run it,
// and remind the user to store every memory again once it is done.
class DspUpdate final : public DeviceOperation {
public:
    DspUpdate(LinkInfo link, uint8_t version, Bytes osImage)
        : DeviceOperation(std::move(link)), m_version(version), m_osImage(std::move(osImage))
    {
    }

private:
    void advance() override
    {
        switch (m_step++) {
        case 0:
            return ask(
                {QuestionKind::UpdateDsp,
                 question(MessageKind::Error, Button::Yes | Button::No,
                          texts::kUpdateQuestionPrefix + dspVersionText(m_version) + texts::kUpdateQuestionMiddle +
                              texts::kRequiredDspVersion + texts::kUpdateQuestionSuffix)});
        case 1:
            if (!lastAnswer().accepted()) return finish(OutcomeKind::Refused, versionNotRequired(m_version));
            return runChild(std::make_unique<OsUpload>(link(), m_osImage, false));
        default:
            if (childOutcome().completed()) {
                message(question(MessageKind::Warning, uint8_t(Button::Ok),
                                 texts::kStoreAgainPrefix + std::string(texts::kRequiredDspVersion) +
                                     texts::kStoreAgainSuffix,
                                 true));
                return finish(OutcomeKind::Refused, versionNotRequired(m_version));
            }
            return finish(childOutcome().kind, childOutcome().reason);
        }
    }
    uint8_t m_version;
    Bytes m_osImage;
};

// The steps a store and a library send begin with: the DSP version read quietly, then, for a
// version other than the required one, the update offered. Completed only when the processor
// runs the required version; a failed read ends as a failed store does.
class VersionCheck final : public DeviceOperation {
public:
    VersionCheck(LinkInfo link, Bytes osImage) : DeviceOperation(std::move(link)), m_osImage(std::move(osImage)) {}

private:
    enum Step { Read, Check, Updated };
    void advance() override
    {
        switch (m_step) {
        case Read:
            m_step = Check;
            return runChild(makeQuietVersionRead(link()));
        case Check: {
            // A failed read leaves no version to trust: nothing is stored, no update is offered.
            if (!childOutcome().completed()) return storeFailed(childOutcome().reason);
            const uint8_t version = childOutcome().data.at(0);
            if (version == protocol::kRequiredDspVersion) return finish(OutcomeKind::Completed);
            m_step = Updated;
            return runChild(std::make_unique<DspUpdate>(link(), version, m_osImage));
        }
        default:
            simple(ActionKind::HideCommWindow);
            return finish(childOutcome().kind, childOutcome().reason);
        }
    }
    Bytes m_osImage;
};

class Store final : public DeviceOperation {
public:
    Store(LinkInfo link, int memory, Bytes image, Bytes osImage, bool verify)
        : DeviceOperation(std::move(link)), m_memory(memory), m_image(std::move(image)), m_osImage(std::move(osImage)),
          m_verify(verify)
    {
    }

private:
    enum Step { CheckVersion, Checked, Stored, Paused, Changed, ReadBack };
    void advance() override
    {
        switch (m_step) {
        case CheckVersion:
            if (m_image.size() > 0xFFFF) {
                message(errorBox(texts::kImageTooLarge));
                return finish(OutcomeKind::Refused, texts::kImageTooLarge);
            }
            m_writePending = true;
            m_protected = false;
            m_step = Checked;
            return runChild(std::make_unique<VersionCheck>(link(), m_osImage));
        case Checked:
            if (!childOutcome().completed()) return finish(childOutcome());
            m_step = Stored;
            return exchange(exchangeFor(Command::Store, m_memory, m_image));
        case Stored:
            m_store = lastExchange();
            if (m_store.kind == OutcomeKind::Failed) return storeFailed(m_store);
            m_protected = m_store.protectedMemory;
            m_writePending = false;
            m_step = Paused;
            return wait(protocol::kStorePauseMs);
        case Paused:
            if (m_writePending || m_protected) {
                simple(ActionKind::HideCommWindow);
                return finish(outcomeOf(m_store));
            }
            // The processor loads what was stored (also when the user kept the full memory).
            m_step = Changed;
            return exchange(exchangeFor(Command::Change, m_memory));
        case Changed:
            if (lastExchange().kind == OutcomeKind::Failed) return finish(outcomeOf(lastExchange()));
            // Only a memory that took the image is read back.
            if (!m_verify || m_store.kind != OutcomeKind::Completed) return finish(outcomeOf(m_store));
            m_step = ReadBack;
            status(texts::kVerifying);
            return runChild(makeMemoryRead(link(), m_memory));
        default:
            return finishVerify();
        }
    }

    // The read's own failure handling has run (offline after a broken link); what is left is to
    // say whether the memory holds what was sent.
    void finishVerify()
    {
        const Outcome& read = childOutcome();
        Outcome o;
        o.kind = OutcomeKind::Failed;
        if (read.failed()) {
            o.reason = texts::kMemoryPrefix + std::to_string(m_memory) + texts::kVerifyReadFailed;
            return finish(std::move(o));
        }
        o.verifyMismatch = true;
        if (!read.completed()) {
            // Refused: the memory reads back empty.
            o.difference = ImageDifference{ImagePart::Header, 0};
            o.reason = verifyMismatchText(m_memory, *o.difference);
            return finish(std::move(o));
        }
        if (auto difference = firstImageDifference(m_image, read.data)) {
            o.reason = verifyMismatchText(m_memory, *difference);
            o.difference = difference;
            return finish(std::move(o));
        }
        Outcome verified = outcomeOf(m_store);
        verified.verified = true;
        finish(std::move(verified));
    }

    int m_memory;
    Bytes m_image;
    Bytes m_osImage;
    bool m_verify;
    ExchangeResult m_store;
    bool m_writePending = false;
    bool m_protected = false;
};

class MemoryRead final : public DeviceOperation {
public:
    MemoryRead(LinkInfo link, int memory) : DeviceOperation(std::move(link)), m_memory(memory) {}

private:
    void advance() override
    {
        if (m_step++ == 0) {
            ExchangeSpec s = exchangeFor(Command::Read, m_memory, {}, false);
            s.receive = ReceiveKind::Configuration;
            s.requestStatus = texts::kReadProgram;
            return exchange(std::move(s));
        }
        const ExchangeResult& r = lastExchange();
        if (r.kind == OutcomeKind::Failed) {
            if (link().kind == LinkKind::Ethernet && !r.failedInReceive) message(errorBox(texts::kEthernetCommError));
            connection(ConnectionEffect::GoOffline);
            return finish(outcomeOf(r));
        }
        if (r.kind == OutcomeKind::Completed) {
            status(texts::kCommunicationOk);
            simple(ActionKind::HideCommWindow);
        }
        finish(outcomeOf(r));
    }
    int m_memory;
};

class OsRead final : public DeviceOperation {
public:
    using DeviceOperation::DeviceOperation;

private:
    void advance() override
    {
        if (m_step++ == 0) {
            status(texts::kGetSystem);
            ExchangeSpec s = exchangeFor(Command::ReadOs, 0);
            s.receive = ReceiveKind::OperatingSystem;
            return exchange(std::move(s));
        }
        const ExchangeResult& r = lastExchange();
        if (r.kind != OutcomeKind::Completed) return finish(outcomeOf(r));
        status(texts::kCommunicationOk);
        if (auto os = receivedOs(r.data); !os) {
            message(errorBox(os.message()));
            return finish(OutcomeKind::Failed, os.message());
        }
        simple(ActionKind::HideCommWindow);
        finish(outcomeOf(r));
    }
};

class Keyboard final : public DeviceOperation {
public:
    Keyboard(LinkInfo link, bool lock, bool fromMenu)
        : DeviceOperation(std::move(link)), m_lock(lock), m_fromMenu(fromMenu && lock)
    {
    }

private:
    void advance() override
    {
        const Buttons okCancel = Button::Ok | Button::Cancel;
        switch (m_step++) {
        case 0:
            if (m_fromMenu)
                return ask({QuestionKind::ConfirmKeyboard,
                            question(MessageKind::Warning, okCancel, texts::kLockMenuQuestion)});
            ++m_step;
            [[fallthrough]];
        case 1:
            if (m_fromMenu && !lastAnswer().accepted()) return finish(OutcomeKind::Refused, texts::kCancelled);
            return ask(
                {QuestionKind::ConfirmKeyboard,
                 question(MessageKind::Warning, okCancel, m_lock ? texts::kLockQuestion : texts::kUnlockQuestion)});
        case 2:
            if (!lastAnswer().accepted()) return finish(OutcomeKind::Refused, texts::kCancelled);
            return exchange(exchangeFor(Command::Keyboard, 0, {static_cast<uint8_t>(m_lock ? 0xFF : 0x00)}));
        default:
            return finish(outcomeOf(lastExchange()));
        }
    }
    bool m_lock;
    bool m_fromMenu;
};

class LibrarySend final : public DeviceOperation {
public:
    LibrarySend(LinkInfo link, std::vector<Bytes> images, bool connected, Bytes osImage)
        : DeviceOperation(std::move(link)), m_images(std::move(images)), m_connected(connected),
          m_osImage(std::move(osImage))
    {
    }

private:
    enum Step { Begin, Connected, Checked, Stored, Changed };
    void advance() override
    {
        switch (m_step) {
        case Begin:
            // Refused before anything goes out: the processor has 18 memories.
            if (m_images.size() > size_t(protocol::kMemoryCount)) {
                message(warningBox(texts::kLibraryTooLarge));
                return finish(OutcomeKind::Refused, texts::kLibraryTooLarge);
            }
            for (const Bytes& image : m_images)
                if (image.size() > 0xFFFF) {
                    message(errorBox(texts::kImageTooLarge));
                    return finish(OutcomeKind::Refused, texts::kImageTooLarge);
                }
            m_step = Connected;
            if (!m_connected) {
                message(warningBox(texts::kSendLibraryOffline));
                return ask({QuestionKind::ConnectionWindow, {}});
            }
            [[fallthrough]];
        case Connected:
            if (!m_connected) {
                if (!lastAnswer().connected) return finish(OutcomeKind::Refused, texts::kNotConnected);
                setLink(lastAnswer().link);
            }
            m_step = Checked;
            return runChild(std::make_unique<VersionCheck>(link(), m_osImage));
        case Checked:
            if (!childOutcome().completed()) return finish(childOutcome());
            if (m_images.empty()) {
                message(warningBox(texts::kSendLibraryEmpty));
                return finish(OutcomeKind::Refused, texts::kSendLibraryEmpty);
            }
            m_next = 0;
            return storeNext();
        case Stored:
            // A protected memory is skipped (the engine showed its box); a failure ends the send.
            if (lastExchange().kind == OutcomeKind::Failed) return storeFailed(lastExchange());
            if (m_next < m_images.size()) return storeNext();
            m_step = Changed;
            return exchange(exchangeFor(Command::Change, 1));
        default:
            return finish(outcomeOf(lastExchange()));
        }
    }

    void storeNext()
    {
        const int memory = static_cast<int>(m_next) + 1;
        memorySelector(memory);
        ExchangeSpec s = exchangeFor(Command::Store, memory, m_images[m_next]);
        s.overwriteWithoutAsking = true;
        ++m_next;
        m_step = Stored;
        exchange(std::move(s));
    }

    std::vector<Bytes> m_images;
    bool m_connected;
    Bytes m_osImage;
    size_t m_next = 0;
};

} // namespace

std::unique_ptr<DeviceOperation> makeDetect(LinkInfo link)
{
    return std::make_unique<Detect>(std::move(link));
}

std::unique_ptr<DeviceOperation> makeQuietVersionRead(LinkInfo link)
{
    return std::make_unique<QuietVersionRead>(std::move(link));
}

std::unique_ptr<DeviceOperation> makeVersionRead(LinkInfo link)
{
    return std::make_unique<VersionRead>(std::move(link));
}

std::unique_ptr<DeviceOperation> makeStore(LinkInfo link, int memory, Bytes image, Bytes osImage, bool verify)
{
    return std::make_unique<Store>(std::move(link), memory, std::move(image), std::move(osImage), verify);
}

std::unique_ptr<DeviceOperation> makeMemoryRead(LinkInfo link, int memory)
{
    return std::make_unique<MemoryRead>(std::move(link), memory);
}

std::unique_ptr<DeviceOperation> makeMemoryChange(LinkInfo link, int memory)
{
    return std::make_unique<SingleExchange>(std::move(link), exchangeFor(Command::Change, memory),
                                            protocol::kChangeWaitMs);
}

std::unique_ptr<DeviceOperation> makeOsRead(LinkInfo link)
{
    return std::make_unique<OsRead>(std::move(link));
}

std::unique_ptr<DeviceOperation> makeOsUpload(LinkInfo link, Bytes image, bool withWarning)
{
    return std::make_unique<OsUpload>(std::move(link), std::move(image), withWarning);
}

std::unique_ptr<DeviceOperation> makeKeyboard(LinkInfo link, bool lock, bool fromMenu)
{
    return std::make_unique<Keyboard>(std::move(link), lock, fromMenu);
}

std::unique_ptr<DeviceOperation> makePassword(LinkInfo link, Bytes block)
{
    return std::make_unique<SingleExchange>(std::move(link), exchangeFor(Command::Password, 0, std::move(block)));
}

std::unique_ptr<DeviceOperation> makeReset(LinkInfo link)
{
    return std::make_unique<SingleExchange>(std::move(link), exchangeFor(Command::Reset, 0));
}

std::unique_ptr<DeviceOperation> makeLibrarySend(LinkInfo link, std::vector<Bytes> images, bool connected,
                                                 Bytes osImage)
{
    return std::make_unique<LibrarySend>(std::move(link), std::move(images), connected, std::move(osImage));
}

std::string dspVersionText(uint8_t version)
{
    return formatShortest(static_cast<float>(version) / 10.0f);
}

Result<Bytes> passwordBlock(std::span<const uint8_t> keys, bool active)
{
    if (keys.size() != 6) return Error{texts::kPasswordKeys};
    for (uint8_t key : keys)
        if (key < 1 || key > 3) return Error{texts::kPasswordKeys};
    Bytes block(keys.begin(), keys.end());
    block.push_back(active ? 0xFF : 0x00);
    return block;
}

} // namespace kvr::core

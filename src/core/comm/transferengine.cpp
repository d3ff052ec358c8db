#include "comm/transferengine.h"

#include <algorithm>

#include "util/texts.h"

namespace kvr::core {

namespace {

std::string decimal(unsigned value) { return std::to_string(value); }

bool hasMemoryStatus(Command command)
{
    return command == Command::Store || command == Command::Read || command == Command::Change;
}

} // namespace

TransferEngine::TransferEngine(LinkInfo link, size_t receiveCapacity)
    : m_link(std::move(link)), m_capacity(receiveCapacity)
{
}

void TransferEngine::start(ExchangeSpec request)
{
    m_spec = std::move(request);
    m_result = {};
    m_input.clear();
    m_buffer.clear();
    m_sent = 0;
    m_length = 0;
    m_blockEnd = 0;
    m_ticks = 0;
    if (m_spec.showWindow) simple(ActionKind::ShowCommWindow);
    m_state = State::Opening;
    simple(ActionKind::OpenLink);
}

void TransferEngine::linkOpened(const Status& status)
{
    if (m_state != State::Opening && m_state != State::Reopening) return;
    if (status.ok()) {
        m_input.clear(); // whatever came before the link was (re)opened belongs to no exchange
        handle(Event::Opened);
    } else {
        message(errorBox(status.message()));
        if (isEthernet()) connection(ConnectionEffect::GoOffline);
        m_result.reason = status.message();
        handle(Event::OpenFailed);
    }
}

void TransferEngine::bytesReceived(std::span<const uint8_t> bytes)
{
    if (!running()) return;
    // Lock-step: a sound processor never has more than a block in flight, so anything beyond
    // the receive buffer is garbage and is dropped rather than stored.
    const size_t room = m_capacity + protocol::kBlockSize - std::min(m_input.size(), m_capacity + protocol::kBlockSize);
    m_input.insert(m_input.end(), bytes.begin(), bytes.begin() + std::min(room, bytes.size()));
    feed();
}

void TransferEngine::replyTimedOut()
{
    if (!awaitingByte()) return; // a late timer after the answer came
    const bool inReceive = receiving();
    simple(ActionKind::HideCommWindow);
    connection(ConnectionEffect::ConnectionChoiceOffline);
    if (isEthernet() && inReceive) message(errorBox(texts::kEthernetCommErrorPrefix + m_link.hostName));
    fail(texts::kNoAnswer);
}

void TransferEngine::timerFired(TimerId timer)
{
    if ((m_state == State::DetectPause && timer == TimerId::DetectTick) ||
        (m_state == State::PresetLoad && timer == TimerId::PresetTick))
        handle(Event::Timer);
}

void TransferEngine::answered(const Answer& answer)
{
    if (m_state != State::AwaitOverwriteAnswer) return;
    handle(answer.accepted() ? Event::Yes : Event::No);
}

void TransferEngine::linkFailed(const std::string& text)
{
    if (!running()) return;
    message(errorBox(text));
    if (isEthernet()) connection(ConnectionEffect::GoOffline);
    fail(text);
}

Actions TransferEngine::takeActions()
{
    Actions out;
    out.swap(m_actions);
    return out;
}

bool TransferEngine::awaitingByte() const
{
    switch (m_state) {
    case State::AwaitStartEcho:
    case State::AwaitCommandEcho:
    case State::AwaitNumberEcho:
    case State::AwaitMemoryStatus:
    case State::AwaitLongEcho:
    case State::AwaitBlockAck:
    case State::AwaitEndEcho:
    case State::AwaitBegin:
    case State::AwaitHeader1:
    case State::AwaitHeader2:
    case State::AwaitLongHigh:
    case State::AwaitLongLow:
    case State::AwaitData:
    case State::AwaitReceiveEnd:
        return true;
    default:
        return false;
    }
}

bool TransferEngine::receiving() const
{
    return m_state >= State::Reopening && m_state <= State::AwaitReceiveEnd;
}

void TransferEngine::feed()
{
    const size_t before = m_buffer.size();
    while (!m_input.empty() && awaitingByte()) {
        const uint8_t byte = m_input.front();
        m_input.pop_front();
        handle(Event::Byte, byte);
    }
    // A data block that is still arriving gets a full reply timeout from its latest bytes.
    if (m_state == State::AwaitData && m_buffer.size() > before && m_buffer.size() < m_blockEnd) awaitReply();
}

// ---- The transitions ----------------------------------------------------------------------------

void TransferEngine::handle(Event event, uint8_t byte)
{
    switch (m_state) {
    case State::Idle:
    case State::Done:
        return;

    // Send exchange.
    case State::Opening:
        if (event == Event::OpenFailed) return fail(m_result.reason);
        if (isUsb()) m_usbOpen = true;
        progress(0, m_spec.data.size());
        status(texts::kSendingStart);
        send({protocol::kStart});
        m_state = State::AwaitStartEcho;
        return awaitReply();

    case State::AwaitStartEcho:
        if (byte != protocol::kStart) {
            const std::string text = texts::kDataNotValidPrefix + decimal(byte) + texts::kDataNotValidSuffix;
            status(text);
            return fail(text);
        }
        status(texts::kReceivedStart);
        status(texts::kSendingCommand);
        send({static_cast<uint8_t>(m_spec.command)});
        m_state = State::AwaitCommandEcho;
        return awaitReply();

    case State::AwaitCommandEcho: // any answer will do
        status(texts::kReceivedCommand);
        status(texts::kSendingProgramNumber);
        send({m_spec.memory});
        m_state = State::AwaitNumberEcho;
        return awaitReply();

    case State::AwaitNumberEcho:
        if (byte == protocol::kNumberProtected && m_spec.memory != protocol::kNumberProtected) {
            stopReply();
            message({MessageKind::Information, uint8_t(Button::Yes), texts::kMemoryProtectedByNumber, false});
            simple(ActionKind::CloseLink);
            m_usbOpen = false;
            return refuse(true, false);
        }
        if (byte == m_spec.memory) status(texts::kReceivedProgramNumber);
        send({m_spec.memory}); // sent twice; the second is not answered
        if (hasMemoryStatus(m_spec.command)) {
            m_state = State::AwaitMemoryStatus;
            return awaitReply();
        }
        return sendLong();

    case State::AwaitMemoryStatus: {
        const std::string number = decimal(m_spec.memory);
        if (byte == protocol::kMemoryEmpty && m_spec.command != Command::Store) {
            stopReply();
            message(infoBox(m_spec.command == Command::Read ? texts::kMemoryEmptyRead : texts::kMemoryEmptyChange));
            return refuse(false, false);
        }
        if (byte == protocol::kMemoryFull && m_spec.command == Command::Store) {
            stopReply();
            if (m_spec.overwriteWithoutAsking) {
                send({protocol::kOverwrite});
                return sendLong();
            }
            m_state = State::AwaitOverwriteAnswer;
            Action ask{ActionKind::Ask};
            ask.question = {QuestionKind::OverwriteMemory,
                            {MessageKind::Warning, Button::Yes | Button::No,
                             texts::kMemoryFullPrefix + number + texts::kMemoryFullSuffix, false}};
            return push(std::move(ask));
        }
        if (byte == protocol::kMemoryProtected && m_spec.command == Command::Store) {
            stopReply();
            send({protocol::kCancel});
            message({MessageKind::Information, uint8_t(Button::Yes),
                     texts::kMemoryProtectedPrefix + number + texts::kMemoryProtectedSuffix, false});
            return refuse(true, false);
        }
        return sendLong(); // empty memory for a store, or any other status: go on
    }

    case State::AwaitOverwriteAnswer:
        if (event == Event::No) {
            send({protocol::kCancel});
            return refuse(false, true);
        }
        send({protocol::kOverwrite});
        return sendLong();

    case State::AwaitLongEcho:
        if (byte != static_cast<uint8_t>(m_spec.data.size() & 0xFF)) {
            status(texts::kLongNotValid);
            return fail(texts::kLongNotValid);
        }
        status(texts::kReceivedLong);
        {
            std::string text = texts::kSendingData;
            if (m_spec.command == Command::Store || m_spec.command == Command::Read)
                text += texts::kSendingDataToMemory + decimal(m_spec.memory);
            else if (m_spec.command == Command::UploadOs)
                text += texts::kSendingDataOs;
            status(std::move(text));
        }
        return sendNextBlock();

    case State::AwaitBlockAck: // any answer will do; the processor echoes the block's last byte
        progress(m_sent, m_spec.data.size());
        return sendNextBlock();

    case State::AwaitEndEcho:
        if (byte != protocol::kEnd) {
            stopReply();
            message(errorBox(texts::kEndError));
            status(texts::kEndNotValid);
            return fail(texts::kEndNotValid);
        }
        status(texts::kReceivedEnd);
        stopReply();
        if (m_spec.command == Command::Detect) {
            m_state = State::DetectPause;
            m_ticks = 0;
            return startTimer(TimerId::DetectTick, kDetectTickMs);
        }
        return finishSend();

    case State::DetectPause:
        ++m_ticks;
        status(texts::kCommunicationCounter + decimal(static_cast<unsigned>(m_ticks)));
        if (m_ticks < kDetectTicks) return startTimer(TimerId::DetectTick, kDetectTickMs);
        return finishSend();

    case State::PresetLoad:
        ++m_ticks;
        progress(static_cast<size_t>(m_ticks) * kPresetTickMs, protocol::kPresetLoadMs);
        if (m_ticks < kPresetTicks) return startTimer(TimerId::PresetTick, kPresetTickMs);
        simple(ActionKind::HideCommWindow);
        if (m_spec.receive != ReceiveKind::None) return requestReceive();
        return complete();

    // Receive exchange.
    case State::Reopening:
        if (event == Event::OpenFailed) return fail(m_result.reason);
        if (isUsb()) m_usbOpen = true;
        send({protocol::kStart});
        status(texts::kStartComunication);
        status(texts::kReceivingBegin);
        m_state = State::AwaitBegin;
        return awaitReply();

    case State::AwaitBegin:
        if (byte != protocol::kStart)
            status((isEthernet() ? texts::kBeginUnexpectedEthernetPrefix : texts::kBeginUnexpectedPrefix) +
                   decimal(byte) + texts::kBeginUnexpectedSuffix);
        send({protocol::kStart}); // answered 0x6F whatever came
        status(texts::kReceivedBegin);
        status(m_spec.receive == ReceiveKind::Configuration ? texts::kReceivingCommand : texts::kReceivingProgram);
        m_state = State::AwaitHeader1;
        return awaitReply();

    case State::AwaitHeader1:
        send({byte});
        status(m_spec.receive == ReceiveKind::Configuration ? texts::kReceivingProgram : texts::kReceivingCommand);
        m_state = State::AwaitHeader2;
        return awaitReply();

    case State::AwaitHeader2:
        send({byte});
        status(texts::kReceivingLong);
        m_state = State::AwaitLongHigh;
        return awaitReply();

    case State::AwaitLongHigh:
        m_length = size_t(byte) << 8;
        send({byte});
        m_state = State::AwaitLongLow;
        return awaitReply();

    case State::AwaitLongLow:
        m_length |= byte;
        if (m_length > m_capacity) {
            const std::string text = texts::kLongTooLargePrefix + decimal(static_cast<unsigned>(m_length)) +
                                     texts::kLongTooLargeSuffix;
            status(text);
            return fail(text); // refused before any data byte is accepted
        }
        send({byte});
        status(texts::kReceivedLong);
        return afterReceivedLow();

    case State::AwaitData:
        m_buffer.push_back(byte);
        if (m_buffer.size() < m_blockEnd) return;
        simple(ActionKind::ShowCommWindow);
        if (m_blockEnd % protocol::kBlockSize == 0) {
            status(texts::kReceiveData);
            status(texts::kLongPrefix + decimal(static_cast<unsigned>(m_length)));
            progress(m_blockEnd, m_length);
            status(m_spec.receive == ReceiveKind::OperatingSystem
                       ? std::string(texts::kReadingOs)
                       : texts::kReadingConfigurationPrefix + decimal(m_spec.memory) +
                             texts::kReadingConfigurationFrom + texts::kReadingConfigurationDevice);
        } else {
            status(texts::kRest);
            progress(m_length, m_length);
        }
        send({byte}); // the block is answered with its last byte
        return nextReceiveBlock();

    case State::AwaitReceiveEnd:
        if (byte != protocol::kEnd) status(isEthernet() ? texts::kReceiveEndErrorEthernet : texts::kReceiveEndError);
        send({byte});
        status(texts::kReceivedEnd);
        stopReply();
        closeUsb();
        m_result.data = std::move(m_buffer);
        return complete();
    }
}

// ---- Steps -------------------------------------------------------------------------------------

void TransferEngine::sendLong()
{
    const auto length = static_cast<uint16_t>(m_spec.data.size());
    const auto high = static_cast<uint8_t>(length >> 8);
    const auto low = static_cast<uint8_t>(length & 0xFF);
    status(texts::kSendingLong);
    if (isEthernet()) {
        send({high, low});
    } else {
        send({high});
        send({low});
    }
    m_state = State::AwaitLongEcho;
    awaitReply();
}

void TransferEngine::sendNextBlock()
{
    const size_t total = m_spec.data.size();
    if (m_sent >= total) return sendEnd();
    const size_t count = std::min(protocol::kBlockSize, total - m_sent);
    const auto first = m_spec.data.begin() + static_cast<std::ptrdiff_t>(m_sent);
    send(Bytes(first, first + static_cast<std::ptrdiff_t>(count)));
    m_sent += count;
    m_state = State::AwaitBlockAck;
    awaitReply();
}

void TransferEngine::sendEnd()
{
    status(texts::kSendingEnd);
    send({protocol::kEnd});
    m_state = State::AwaitEndEcho;
    awaitReply();
}

void TransferEngine::finishSend()
{
    closeUsb();
    if (m_spec.command == Command::Change) {
        status(texts::kLoadingPreset);
        progress(0, protocol::kPresetLoadMs);
        m_state = State::PresetLoad;
        m_ticks = 0;
        return startTimer(TimerId::PresetTick, kPresetTickMs);
    }
    simple(ActionKind::HideCommWindow);
    if (m_spec.receive != ReceiveKind::None) return requestReceive();
    complete();
}

void TransferEngine::requestReceive()
{
    if (!m_spec.requestStatus.empty()) status(m_spec.requestStatus);
    m_state = State::Reopening;
    if (isUsb()) return simple(ActionKind::OpenLink); // the device was closed after the send exchange
    handle(Event::Opened);
}

void TransferEngine::afterReceivedLow()
{
    m_buffer.clear();
    m_buffer.reserve(m_length);
    m_blockEnd = 0;
    nextReceiveBlock();
}

void TransferEngine::nextReceiveBlock()
{
    if (m_buffer.size() >= m_length) {
        status(texts::kDataReceived);
        status(texts::kReceivingEnd);
        m_state = State::AwaitReceiveEnd;
        return awaitReply();
    }
    m_blockEnd = std::min(m_buffer.size() + protocol::kBlockSize, m_length);
    m_state = State::AwaitData;
    awaitReply();
}

void TransferEngine::refuse(bool protectedMemory, bool declined)
{
    closeUsb();
    m_result.kind = OutcomeKind::Refused;
    m_result.protectedMemory = protectedMemory;
    m_result.declined = declined;
    m_state = State::Done;
}

void TransferEngine::fail(std::string reason)
{
    m_result.failedInReceive = receiving();
    stopReply();
    closeUsb();
    m_result.kind = OutcomeKind::Failed;
    m_result.reason = std::move(reason);
    m_result.data.clear();
    m_state = State::Done;
}

void TransferEngine::complete()
{
    m_result.kind = OutcomeKind::Completed;
    m_state = State::Done;
}

void TransferEngine::closeUsb()
{
    if (!m_usbOpen) return;
    m_usbOpen = false;
    simple(ActionKind::CloseLink);
}

// ---- Action helpers ----------------------------------------------------------------------------

void TransferEngine::status(std::string text)
{
    Action a{ActionKind::Status};
    a.text = std::move(text);
    push(std::move(a));
}

void TransferEngine::progress(size_t position, size_t maximum)
{
    Action a{ActionKind::Progress};
    a.position = static_cast<int>(position);
    a.maximum = static_cast<int>(maximum);
    push(std::move(a));
}

void TransferEngine::send(Bytes bytes)
{
    Action a{ActionKind::Send};
    a.bytes = std::move(bytes);
    push(std::move(a));
}

void TransferEngine::awaitReply()
{
    Action a{ActionKind::ArmReplyTimer};
    a.ms = replyTimeoutMs(m_link.kind);
    push(std::move(a));
}

void TransferEngine::stopReply() { simple(ActionKind::StopReplyTimer); }

void TransferEngine::simple(ActionKind kind) { push(Action{kind}); }

void TransferEngine::startTimer(TimerId timer, int ms)
{
    Action a{ActionKind::StartTimer};
    a.timer = timer;
    a.ms = ms;
    push(std::move(a));
}

void TransferEngine::message(Message m)
{
    Action a{ActionKind::ShowMessage};
    a.message = std::move(m);
    push(std::move(a));
}

void TransferEngine::connection(ConnectionEffect effect)
{
    Action a{ActionKind::Connection};
    a.effect = effect;
    push(std::move(a));
}

} // namespace kvr::core

#include "DeviceLink.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace sonmira::link {

namespace {
QString hex2(std::uint8_t b) { return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper(); }
} // namespace

QString formatPacket(const CommandPacket& p) {
    QStringList parts;
    for (auto b : p) parts << hex2(b);
    return parts.join(QLatin1Char(','));
}

// The outcome of one SendCommand. When a second command starts inside this
// one's reply wait, the reply fields are parked here before the second
// overwrites them, and put back when this one's wait resumes.
struct DeviceLink::Transaction {
    bool parked = false;
    bool ok = false;
    bool expectData = false;
    int replyLength = 0;
    int count = 0;
    std::vector<std::uint8_t> data;
};

DeviceLink::DeviceLink(platform::Runtime& rt, platform::SerialPorts& ports,
                       platform::Desktop& desktop, TrafficLog& log, LinkHost& host, Skin skin)
    : rt_(rt), desktop_(desktop), log_(log), host_(host), texts_(LinkTexts::of(skin)), port_(ports) {
    timer2_ = rt_.createTimer(15, true, [this] { Timer2_Timer(); });
    timeOuter_ = rt_.createTimer(1000, false, [this] { TimeOuter_Timer(); });
    commConnect_ = rt_.createTimer(100, false, [this] { CommConnect_Timer(); });
    timer3_ = rt_.createTimer(5000, true, [this] { Timer3_Timer(); });
    timer4_ = rt_.createTimer(4000, false, [this] { Timer4_Timer(); });
}

DeviceLink::~DeviceLink() = default;

bool DeviceLink::SendCommand(bool expectData, std::uint8_t replyLength, int cmd, int group,
                             std::uint8_t row, std::uint8_t addr, std::uint8_t value, bool longWait) {
    if (active_) {
        // Started from inside another command's wait: let that one finish first,
        // then keep its reply for it.
        if (AwaitingReply && !timeOuter_->enabled()) {
            // The other command is still before its own wait (its 1500 ms pause):
            // bound this wait the same way so nothing can hang.
            timeOuter_->setInterval(Probing ? ProbeWaitMs : ReplyWaitMs);
            timeOuter_->setEnabled(true);
        }
        while (AwaitingReply) rt_.pumpWait();
        Transaction& other = *active_;
        if (!other.parked) {
            other.parked = true;
            other.ok = ReplyOk;
            other.expectData = ExpectData;
            other.replyLength = ReplyLength;
            other.count = ReplyCount;
            other.data.assign(ReplyData.begin(), ReplyData.begin() + std::clamp(ReplyCount, 0, ReplyDataSize));
        }
        // The other command timed out: its caller drops the link and reports it.
        // Sending on that link would only give a second time-out.
        if (!other.ok) return false;
    }

    const bool connectedAtStart = Connected;
    Transaction mine;
    Transaction* const outer = active_;
    active_ = &mine;

    ExpectData = expectData;
    ReplyCount = 0;
    ReplyLength = replyLength;
    TxPacket = {CommandHeader, static_cast<std::uint8_t>(cmd), static_cast<std::uint8_t>(group), row, addr, value};
    WritePacket();
    log_.appendLine(texts_.sendPrefix + formatPacket(TxPacket));
    AwaitingReply = true;
    ReplyOk = false;
    if (value == 0 && longWait) {
        rt_.pumpOnce();
        rt_.sleep(LongWaitPauseMs);
    }
    const bool ok = WaitForReply();
    active_ = outer;

    if (ok) return true;
    // When the watchdog dropped the link during this wait, the user has been
    // told once already; a second message for the same loss only confuses.
    const bool droppedMeanwhile = connectedAtStart && !Connected;
    if (!Probing && !droppedMeanwhile) dropLink(true);
    return false;
}

void DeviceLink::dropLink(bool messageFirst) {
    // A heartbeat sent during a command's wait may have armed the watchdog; on
    // a link that is going it would only report the same loss again later, or
    // drop the next link. Nor may a heartbeat go out while the box is up.
    timer4_->setEnabled(false);
    dropping_ = true;
    host_.setStatusText(texts_.notConnected);
    if (messageFirst) desktop_.messageBox(platform::MsgStyle::Exclamation, texts_.timeoutMessage, host_.messageOwner());
    Connected = false;
    port_.ClosePort();
    dropping_ = false;
    if (!messageFirst) desktop_.messageBox(platform::MsgStyle::Exclamation, texts_.timeoutMessage, host_.messageOwner());
}

void DeviceLink::WritePacket() {
    port_.Write(TxPacket.data(), static_cast<int>(TxPacket.size()));
    if (!ProgressActive) return;
    ++PacketsSent;
    if (PacketsSent % 5 == 0 || PacketsSent >= PacketsTotal) {
        const int percent = PacketsTotal > 0 ? std::min(PacketsSent * 100 / PacketsTotal, 100) : 100;
        if (progress_) progress_->setProgressValue(percent);
    }
}

bool DeviceLink::WaitForReply() {
    const int wanted = Probing ? ProbeWaitMs : ReplyWaitMs;
    if (timeOuter_->interval() != wanted) {
        timeOuter_->setEnabled(false);
        timeOuter_->setInterval(wanted);
    }
    // A reply read already (in the pass before the long pause, or by a command
    // started meanwhile) leaves no time-out armed: it would end a later wait early.
    if (AwaitingReply) timeOuter_->setEnabled(true);
    while (AwaitingReply) rt_.pumpWait();
    if (active_ && active_->parked) {
        // A command started inside this wait has used the reply fields since;
        // put this command's reply back for its caller.
        ReplyOk = active_->ok;
        ExpectData = active_->expectData;
        ReplyLength = active_->replyLength;
        ReplyCount = active_->count;
        std::copy(active_->data.begin(), active_->data.end(), ReplyData.begin());
    }
    return ReplyOk;
}

void DeviceLink::TimeOuter_Timer() {
    AwaitingReply = false;
    ReplyOk = false;
    timeOuter_->setEnabled(false);
}

void DeviceLink::Timer2_Timer() {
    timer2_->setEnabled(false);
    port_.PollInQueue();
    const int n = std::clamp(port_.Read(RxChunk.data(), port_.InQueueCount), 0, RS232Port::MaxPoll);
    for (int i = 0; i < n; ++i) {
        const std::uint8_t b = RxChunk[static_cast<std::size_t>(i)];
        log_.appendLine(texts_.recvPrefix + hex2(b));
        if (b == SelectorReset) {
            host_.resetKeySelector();
        } else if (b == SyncByte) {
            timer4_->setEnabled(false);
        } else if (ExpectData) {
            // Past 5000 bytes the reply wraps to 1000, never over the first 1000.
            if (ReplyCount >= 5000) ReplyCount = 1000;
            ReplyData[static_cast<std::size_t>(ReplyCount)] = b;
            ++ReplyCount;
            if (ReplyCount >= ReplyLength) {
                AwaitingReply = false;
                ReplyOk = true;
                timeOuter_->setEnabled(false);
            }
        } else if (b == Acknowledge) {
            AwaitingReply = false;
            ReplyOk = true;
            timeOuter_->setEnabled(false);
        }
    }
    timer2_->setEnabled(true);
}

bool DeviceLink::SendSyncByte() {
    log_.appendLine(texts_.heartbeatLine);
    const std::uint8_t b = SyncByte;
    port_.Write(&b, 1);
    return false;
}

bool DeviceLink::ConnectTarget() {
    for (int n = ScanFirstPort; n <= ScanLastPort; ++n) {
        if (port_.OpenPort(QString::number(n)) &&
            port_.SetupPort(QStringLiteral("9600").toInt(), QStringLiteral("8").toInt())) {
            Probing = true;
            if (SendCommand(true, 1, CmdModelQuery, 0, 0, 0, ModelAnswer, false)) {
                if (ReplyData[0] == ModelAnswer) {
                    Connected = true;
                    host_.setStatusText(texts_.connected);
                    Probing = false;
                    host_.syncSelectionWithDevice();
                    timer3_->setEnabled(true);
                    return true;
                }
                host_.setStatusText(texts_.typeMismatch);
                rt_.pumpOnce();
                rt_.sleep(MismatchPauseMs);
            }
        }
        port_.ClosePort();
        Probing = false;
    }
    host_.setStatusText(texts_.notConnected);
    return false;
}

void DeviceLink::CommConnect_Timer() {
    commConnect_->setEnabled(false);
    commConnect_->setInterval(2000);
    if (!Connected) ConnectTarget();
    commConnect_->setEnabled(true);
}

void DeviceLink::Timer3_Timer() {
    if (!Connected || dropping_) return;
    SendSyncByte();
    timer4_->setEnabled(true);
}

void DeviceLink::Timer4_Timer() {
    timer4_->setEnabled(false);
    dropLink(false);
}

void DeviceLink::startConnecting() { commConnect_->setEnabled(true); }

void DeviceLink::beginProgress(int total) {
    PacketsSent = 0;
    PacketsTotal = total;
    ProgressActive = true;
}

void DeviceLink::endProgress() { ProgressActive = false; }

} // namespace sonmira::link

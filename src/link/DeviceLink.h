#pragma once
// The command link to the unit: six-byte commands, one-byte replies, the
// receive poll, the reply wait and its time-out, the port scan, the heartbeat
// and its watchdog. The main window owns one and reaches it through LinkHost.
#include "LinkTexts.h"
#include "ProgressView.h"
#include "RS232Port.h"
#include "TrafficLog.h"
#include "platform/Desktop.h"
#include "platform/Runtime.h"

#include <array>
#include <cstdint>
#include <memory>

class QWidget;

namespace sonmira::link {

// Command codes (byte 1).
constexpr std::uint8_t CommandHeader = 0xCD;
constexpr std::uint8_t CmdWriteBulk = 0x00;
constexpr std::uint8_t CmdRead = 0x01;
constexpr std::uint8_t CmdWriteLive = 0x02;
constexpr std::uint8_t CmdModelQuery = 0xE2;
constexpr std::uint8_t CmdCommit = 0xEF;

// Group codes (byte 2).
constexpr std::uint8_t GroupMusic = 0;
constexpr std::uint8_t GroupMic = 1;
constexpr std::uint8_t GroupEffect = 2;
constexpr std::uint8_t GroupLevelMode = 3;
constexpr std::uint8_t GroupLevelMin = 4;
constexpr std::uint8_t GroupLevelMax = 5;
constexpr std::uint8_t GroupLevel = 6;
constexpr std::uint8_t GroupMute = 7;
constexpr std::uint8_t GroupLock = 8;
constexpr std::uint8_t GroupExciter = 10;
constexpr std::uint8_t GroupKey = 11;
constexpr std::uint8_t GroupInput = 12;

// Single bytes from the unit.
constexpr std::uint8_t Acknowledge = 0x33;
constexpr std::uint8_t ModelAnswer = 0x6E;
constexpr std::uint8_t SyncByte = 0xFC;
constexpr std::uint8_t SelectorReset = 0xFE;

using CommandPacket = std::array<std::uint8_t, 6>;

// What the link reaches in the main window.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    // The status label Label4.
    virtual void setStatusText(const QString& text) = 0;
    // 0xFE from the unit: the KEY row back to its middle, raising no event.
    virtual void resetKeySelector() {}
    // Runs right after a unit was found (writes the presets, reads the switches).
    virtual void syncSelectionWithDevice() {}
    // Owner window of the link's message boxes.
    virtual QWidget* messageOwner() { return nullptr; }
};

class DeviceLink {
public:
    DeviceLink(platform::Runtime& rt, platform::SerialPorts& ports, platform::Desktop& desktop,
               TrafficLog& log, LinkHost& host, Skin skin = Skin::Big);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    void setProgressView(ProgressView* view) { progress_ = view; }

    // --- one command -----------------------------------------------------
    // Writes the packet 0xCD, cmd, group, row, addr, value and waits for the
    // reply, pumping events. True when it came; data replies are then in
    // ReplyData from item 0. A command started while another waits goes out
    // once that one has ended, and each gets its own result.
    bool SendCommand(bool expectData, std::uint8_t replyLength, int cmd, int group,
                     std::uint8_t row, std::uint8_t addr, std::uint8_t value, bool longWait);
    void WritePacket();
    bool WaitForReply();
    bool SendSyncByte();
    void TimeOuter_Timer();
    void Timer2_Timer();

    // --- supervision -----------------------------------------------------
    bool ConnectTarget();
    void CommConnect_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    // The main window enables the connect timer last in its loading.
    void startConnecting();

    // --- bulk-transfer progress -------------------------------------------
    void beginProgress(int total);
    void endProgress();

    // Closes the port (window unload).
    void ClosePort() { port_.ClosePort(); }

    RS232Port& port() { return port_; }
    const LinkTexts& texts() const { return texts_; }
    platform::Timer& timer2() { return *timer2_; }
    platform::Timer& timeOuter() { return *timeOuter_; }
    platform::Timer& commConnect() { return *commConnect_; }
    platform::Timer& timer3() { return *timer3_; }
    platform::Timer& timer4() { return *timer4_; }

    // --- link state ------------------------------------------------------
    static constexpr int RxChunkSize = 501;
    static constexpr int ReplyDataSize = 5001;
    std::array<std::uint8_t, RxChunkSize> RxChunk{};
    CommandPacket TxPacket{};
    std::array<std::uint8_t, ReplyDataSize> ReplyData{};
    bool Connected = false;
    bool ExpectData = false;
    int ReplyCount = 0;
    int ReplyLength = 0;
    bool AwaitingReply = false;
    bool ReplyOk = false;
    bool ProgressActive = false;
    int PacketsSent = 0;
    int PacketsTotal = 0;
    bool Probing = false;

    static constexpr int ScanFirstPort = 1;
    static constexpr int ScanLastPort = 12;
    static constexpr int ProbeWaitMs = 700;
    static constexpr int ReplyWaitMs = 4000;
    static constexpr int LongWaitPauseMs = 1500;
    static constexpr int MismatchPauseMs = 1000;

private:
    struct Transaction;
    void dropLink(bool messageFirst);

    platform::Runtime& rt_;
    platform::Desktop& desktop_;
    TrafficLog& log_;
    LinkHost& host_;
    const LinkTexts& texts_;
    RS232Port port_;
    ProgressView* progress_ = nullptr;
    Transaction* active_ = nullptr;
    bool dropping_ = false; // dropLink runs (its box may be up)

    std::unique_ptr<platform::Timer> timer2_;
    std::unique_ptr<platform::Timer> timeOuter_;
    std::unique_ptr<platform::Timer> commConnect_;
    std::unique_ptr<platform::Timer> timer3_;
    std::unique_ptr<platform::Timer> timer4_;
};

// "CD,E2,00,00,00,6E"
QString formatPacket(const CommandPacket& p);

} // namespace sonmira::link

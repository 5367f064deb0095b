#pragma once
// The three bulk transfers between the model and the unit: Read (every value
// from the unit), Upload (every value to the unit, then the commit) and the
// synchronisation right after connecting (the selected presets out, the
// levels and switches back). Each disables the window while it runs, stops at
// the first command that fails and enables the window again.
#include "ControlsView.h"
#include "ParamModel.h"
#include "SettingsTexts.h"
#include "link/DeviceLink.h"
#include "platform/Desktop.h"

namespace sonmira::settings {

class Transfers {
public:
    static constexpr int ReadPackets = 211;
    static constexpr int UploadPackets = 212;
    // 42 with a KTV program selected, 44 with an EFF program.
    static int syncPackets(std::uint8_t effectCode);

    Transfers(SettingsModel& model, ControlsView& controls, link::DeviceLink& link,
              platform::Desktop& desktop, link::Skin skin);

    // Expects PacketsTotal = 211 (the Read button sets it).
    void ReadAllFromDevice();
    // Expects PacketsTotal = 212 (the Upload button sets it). Changes nothing
    // in the model or the controls.
    void WriteAllToDevice();
    // Called by the link right after a unit was found; checks nothing first.
    void SyncSelectionWithDevice();

private:
    // False once the link is down: the run then stops without another command.
    bool linkStillUp() const;
    // One read command; the reply byte in b. False when no reply came (the link
    // has then told the user and dropped the connection).
    bool readByte(std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t& b);
    bool write(int cmd, std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value,
               bool longWait = false);
    bool writeRow(int cmd, PresetArray a, int row);
    // Mute, lock, exciter and input, read back into their controls.
    bool readSwitches();
    void begin();
    void end();

    SettingsModel& model_;
    ControlsView& controls_;
    link::DeviceLink& link_;
    platform::Desktop& desktop_;
    const SettingsTexts& texts_;
};

} // namespace sonmira::settings

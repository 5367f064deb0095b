#pragma once
// The controls along the bottom of the main window: the KEY row and its
// spring-back timer, the input row, the exciter, Mute / Lock / Reset and the
// four push buttons Read, Upload, Import and Save. Mute, the key, the input
// and the exciter are written to the unit at once while the link is up; Lock
// waits for an Upload; Reset only restores the program's defaults.
#include "link/DeviceLink.h"
#include "platform/Desktop.h"
#include "platform/Runtime.h"
#include "settings/Ini_Oper.h"
#include "settings/ParamModel.h"
#include "settings/Transfers.h"

#include <QObject>

#include <array>
#include <memory>

class QWidget;

namespace sonmira::controls {
class C_Button;
class C_FlagBar;
class C_OptionEx;
} // namespace sonmira::controls

namespace sonmira::app {

class LoadedWindow;
class WindowControls;

// The two messages of the Mute / Lock / Reset row in one skin.
struct SwitchTexts {
    QString notAvailable; // Mute or Lock without a link
    QString resetDone;    // after Reset

    static SwitchTexts of(link::Skin skin);
};

class SwitchWiring : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget& window;
        const LoadedWindow& loaded;
        platform::Runtime& runtime;
        platform::Desktop& desktop;
        link::DeviceLink& link;
        settings::SettingsModel& model;
        WindowControls& controls;
        settings::Transfers& transfers;
        settings::Ini_Oper& profiles;
        link::Skin skin;
    };

    static constexpr int KeyOptions = 11;
    static constexpr int KeyRest = 5;
    static constexpr int ButtonRead = 0, ButtonUpload = 1, ButtonImport = 2, ButtonSave = 3;
    static constexpr int Mute = 0, Lock = 1, Reset = 2;

    // Throws std::runtime_error when the loaded window lacks one of the controls.
    explicit SwitchWiring(Parts parts);
    ~SwitchWiring() override;

    // Hooks the handlers to the controls' events (once, from Form_Load).
    void connectEvents();

    // --- event handlers --------------------------------------------------
    void C_OptionEx1_Click(int Index);
    void C_OptionEx2_Click(int Index);
    void C_OptionEx3_Click(int Index);
    void C_FlagBar1_Click();
    void C_Button1_Click(int Index);
    void Timer1_Timer();

    platform::Timer& timer1() { return *Timer1; }
    // The result of the last Import or Save (Cancelled before any).
    settings::ProfileOutcome lastProfileOutcome() const { return lastProfile_; }

private:
    // One live write: 0xCD, 0x02, group, 0, 0, value.
    bool writeLive(std::uint8_t group, std::uint8_t value, bool expectData, bool longWait);
    settings::DialogOwners dialogOwners() const;

    Parts p_;
    SwitchTexts texts_;
    std::array<controls::C_OptionEx*, KeyOptions> C_OptionEx1{};
    std::array<controls::C_OptionEx*, settings::InputOptions> C_OptionEx2{};
    std::array<controls::C_OptionEx*, 3> C_OptionEx3{};
    controls::C_FlagBar* C_FlagBar1 = nullptr;
    std::array<controls::C_Button*, 4> C_Button1{};
    std::unique_ptr<platform::Timer> Timer1;
    settings::ProfileOutcome lastProfile_ = settings::ProfileOutcome::Cancelled;
    bool connected_ = false;
};

} // namespace sonmira::app

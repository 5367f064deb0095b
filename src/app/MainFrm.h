#pragma once
// The main window: loads its skin's description into its controls and owns
// the settings model, the link, the transfers and the profile file.
#include "link/CommIndicator.h"
#include "link/DeviceLink.h"
#include "settings/Ini_Oper.h"
#include "settings/ParamModel.h"
#include "settings/Transfers.h"
#include "SwitchWiring.h"
#include "PresetWiring.h"
#include "PanelLayout.h"
#include "WindowControls.h"
#include "WindowDescription.h"
#include "WindowDrag.h"
#include "WindowLoader.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace sonmira::app {

struct Services {
    platform::Runtime& runtime;
    platform::SerialPorts& ports;
    platform::Desktop& desktop;
    link::TrafficLog& log;
    // Ends the program at once (the window's unload). Tests record it.
    std::function<void()> endProgram;
};

class MainFrm : public QWidget, public link::LinkHost {
    Q_OBJECT
public:
    // Loads the skin's window description. Throws std::runtime_error when the
    // description cannot be read or lacks a control the window needs.
    MainFrm(Services services, link::Skin skin);
    // The same with a description held in memory.
    MainFrm(Services services, link::Skin skin, WindowDescription description);
    ~MainFrm() override;

    // Turns the loaded description into the start-up state and starts the
    // connection scan. Throws std::runtime_error when the description lacks a
    // control that it sets.
    void Form_Load();

    // The skin's description, and its controls by name and index.
    static QString descriptionPath(link::Skin skin);
    const WindowDescription& description() const { return description_; }
    const LoadedWindow& loaded() const { return loaded_; }

    // Opens the traffic log window (or raises it when it is open already).
    void showTrafficLog();
    link::CommIndicator* trafficLogWindow() const { return commIndicator_; }

    link::DeviceLink& link() { return *link_; }
    QString statusText() const;
    link::Skin skin() const { return skin_; }

    settings::SettingsModel& model() { return model_; }
    WindowControls& controls() { return *controls_; }
    settings::Transfers& transfers() { return *transfers_; }
    settings::Ini_Oper& profiles() { return *profiles_; }
    SwitchWiring& switches() { return *switches_; }
    PanelLayout& panels() { return *panels_; }

    // LinkHost
    void setStatusText(const QString& text) override;
    void resetKeySelector() override { controls_->resetKeySelector(); }
    void syncSelectionWithDevice() override { transfers_->SyncSelectionWithDevice(); }
    QWidget* messageOwner() override { return this; }

protected:
    void closeEvent(QCloseEvent* e) override;
    // The first show centres the window, frame included, on the screen.
    void showEvent(QShowEvent* e) override;
    // The background picture from the top-left corner, clipped.
    void paintEvent(QPaintEvent* e) override;
    // With key preview on (the description says so) the window sees every
    // key typed anywhere in it first; off, only keys sent to itself.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Unload();
    void Form_KeyPress(const QString& text);
    void applyStoredTimers();
    void centre(const QMargins& frame);
    void copyAddressesFromTags();
    void fillPresetSelectors();

    Services svc_;
    link::Skin skin_;
    WindowDescription description_;
    LoadedWindow loaded_;
    QPixmap background_;
    bool placed_ = false; // centred once; later shows keep where the user put it
    QLabel* Label4 = nullptr;
    settings::SettingsModel model_;
    std::unique_ptr<WindowControls> controls_;
    std::unique_ptr<link::DeviceLink> link_;
    std::unique_ptr<settings::Transfers> transfers_;
    std::unique_ptr<settings::Ini_Oper> profiles_;
    std::unique_ptr<SwitchWiring> switches_;
    std::unique_ptr<PresetWiring> presets_;
    QPointer<link::CommIndicator> commIndicator_;
    std::unique_ptr<PanelLayout> panels_;
    std::unique_ptr<WindowDrag> drag_;
};

} // namespace sonmira::app

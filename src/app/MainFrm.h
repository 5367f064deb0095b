#pragma once
// The main window. Owns the link; later the settings model and the controls.
#include "link/CommIndicator.h"
#include "link/DeviceLink.h"
#include "settings/Ini_Oper.h"
#include "settings/ParamModel.h"
#include "settings/Transfers.h"
#include "WindowControls.h"

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
    MainFrm(Services services, link::Skin skin);
    ~MainFrm() override;

    static constexpr int ClientWidthBig = 932;
    static constexpr int ClientHeightBig = 674;
    static constexpr int ClientWidthSmall = 927;
    static constexpr int ClientHeightSmall = 563;

    // Runs the loading steps that exist so far and starts the connection scan.
    void Form_Load();

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

    // LinkHost
    void setStatusText(const QString& text) override;
    void resetKeySelector() override { controls_->resetKeySelector(); }
    void syncSelectionWithDevice() override { transfers_->SyncSelectionWithDevice(); }
    QWidget* messageOwner() override { return this; }

protected:
    void closeEvent(QCloseEvent* e) override;
    // Key preview: sees every key typed anywhere in the window first.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Unload();
    void Form_KeyPress(const QString& text);

    Services svc_;
    link::Skin skin_;
    QLabel* Label4 = nullptr;
    settings::SettingsModel model_;
    std::unique_ptr<WindowControls> controls_;
    std::unique_ptr<link::DeviceLink> link_;
    std::unique_ptr<settings::Transfers> transfers_;
    std::unique_ptr<settings::Ini_Oper> profiles_;
    QPointer<link::CommIndicator> commIndicator_;
};

} // namespace sonmira::app

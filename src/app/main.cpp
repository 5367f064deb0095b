#include "MainFrm.h"
#include "UserFormValue.h"
#include "platform/Desktop.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using namespace sonmira;
    app::NameTheProgram();

    static platform::QtRuntime runtime;
    static platform::QtSerialPorts ports;
    static platform::QtDesktop desktop;

    if (!app::StartupChecks(desktop)) return 0;

    app::Services services{runtime, ports, desktop, app::programLog(), [] {
                               // Nothing to save: end now, even from inside a reply wait.
                               std::fflush(nullptr);
                               std::_Exit(0);
                           }};
    app::MainFrm* window = nullptr;
    try {
        window = new app::MainFrm(services, link::Skin::Big);
        // Loaded before it first shows, so it never appears half set up.
        window->Form_Load();
    } catch (const std::exception& e) {
        // A damaged window description: say what is wrong instead of crashing.
        desktop.messageBox(platform::MsgStyle::Critical, QString::fromLocal8Bit(e.what()), nullptr);
        return 1;
    }
    window->show();
    return QApplication::exec();
}

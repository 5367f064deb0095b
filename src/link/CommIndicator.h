#pragma once
// The traffic log window: shows CommLog, refreshed five times a second.
// Logging is on exactly while this window exists.
#include "TrafficLog.h"
#include "platform/Runtime.h"

#include <QWidget>

#include <memory>

class QPlainTextEdit;

namespace sonmira::link {

class CommIndicator : public QWidget {
    Q_OBJECT
public:
    CommIndicator(platform::Runtime& rt, TrafficLog& log);
    ~CommIndicator() override;

    // Closed by its close box: logging is off from then on, even while the
    // deletion waits for the event loop (a reply wait pumps events but does
    // not delete). A closed window is never shown again; open a new one.
    bool unloaded() const { return unloaded_; }

    static constexpr int LogLimit = 60000;   // characters; past this the log empties
    static constexpr int ClientWidthTwips = 7050;
    static constexpr int ClientHeightTwips = 9930;

    void Timer1_Timer();
    void Text1_DblClick();
    QPlainTextEdit* text() const { return Text1; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Resize();
    void Form_Unload();

    TrafficLog& log_;
    QPlainTextEdit* Text1 = nullptr;
    int LastLen = 0;
    bool unloaded_ = false;
    std::unique_ptr<platform::Timer> Timer1;
};

} // namespace sonmira::link

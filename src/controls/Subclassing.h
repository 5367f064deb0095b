#pragma once
// Routes a window's messages through a control before and after the window's
// own handling, and arms one pointer-leave notice at a time.
//
// On this platform a "window" is a QWidget and its "procedure" is Qt's event
// delivery. The first subclassing of a widget puts one event filter (the
// window's procedure chain) on it; every SubclassWindow adds a stub to that
// chain, newest first, like stacked window procedures. A stub calls its
// owner's zSubclass_Proc for the messages registered with it, before and
// after the rest of the chain; the bottom of the chain is the widget's own
// event(). Messages no stub asks for are left to Qt's normal delivery.
//
// Qt events are given the platform's message numbers where there is one
// (pointer movement, buttons, leave); the rest are numbered
// MsgApp + the Qt event type.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QEvent;

namespace sonmira::controls {

constexpr std::int32_t MsgMouseMove = 0x0200;
constexpr std::int32_t MsgLButtonDown = 0x0201;
constexpr std::int32_t MsgLButtonUp = 0x0202;
constexpr std::int32_t MsgRButtonDown = 0x0204;
constexpr std::int32_t MsgRButtonUp = 0x0205;
constexpr std::int32_t MsgMButtonDown = 0x0207;
constexpr std::int32_t MsgMButtonUp = 0x0208;
constexpr std::int32_t MsgMouseLeave = 0x02A3;
constexpr std::int32_t MsgApp = 0x8000;

// Every message, for AddSubclassMessage and RemoveSubclassMessage.
constexpr std::int32_t AllMessages = -1;

// Phase flags of the registration calls.
constexpr int PhaseAfter = 1;
constexpr int PhaseBefore = 2;
constexpr int PhaseBoth = PhaseAfter | PhaseBefore;

// The message number an event has when it reaches the given widget. A Leave
// counts as MsgMouseLeave only when a leave notice was armed for the widget
// (and then disarms it).
std::int32_t messageNumber(QWidget* window, const QEvent* event);

// Runs an event through the window's procedure (its stubs, newest first, then
// the widget's own event()) and gives the procedure's result: what a stub's
// callback put into lReturn, or 1 when the widget took the event, else 0.
// Mouse and key input to a disabled widget reaches no stub.
std::int32_t SendWindowEvent(QWidget* window, QEvent* event);

// Asks for one MsgMouseLeave when the pointer next leaves the widget.
void ArmMouseLeave(QWidget* window);

// True when the named module of this platform layer provides the function.
// Module names match without regard to case, function names exactly.
bool IsFunctionExported(const QString& functionName, const QString& moduleName);

// Replaces what IsFunctionExported answers while it lives (for tests).
class ScopedExportTable {
public:
    struct Module {
        QString name;
        std::vector<QString> functions;
    };
    explicit ScopedExportTable(std::vector<Module> modules);
    ~ScopedExportTable();
    ScopedExportTable(const ScopedExportTable&) = delete;
    ScopedExportTable& operator=(const ScopedExportTable&) = delete;

private:
    const std::vector<Module>* previous_;
    std::vector<Module> modules_;
};

// The object whose zSubclass_Proc the stubs call.
class SubclassClient {
public:
    // bHandled set in the before phase stops the message: neither the rest of
    // the chain nor the after phase runs, and the result is lReturn. The Qt
    // event stands for the message's parameters.
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, std::int32_t& lReturn, QWidget* lng_hWnd,
                                std::int32_t uMsg, QEvent* event) = 0;

protected:
    ~SubclassClient() = default;
};

struct SubclassStub;

// One window routed through the owner. A record whose window is null is free.
// The tables hold entries 1 to n at positions 0 to n - 1; an entry of 0 is a
// free slot. A count of 0 means no callback, -1 every message, n the first n
// table entries.
struct SubclassRecord {
    QPointer<QWidget> window;
    std::shared_ptr<SubclassStub> stub;
    std::int32_t afterCount = 0;
    std::int32_t beforeCount = 0;
    std::vector<std::int32_t> afterTable;
    std::vector<std::int32_t> beforeTable;
};

// Per-control set of routed windows. Each control keeps its own.
class Subclasser {
public:
    explicit Subclasser(SubclassClient& owner);
    ~Subclasser(); // restores every window still routed
    Subclasser(const Subclasser&) = delete;
    Subclasser& operator=(const Subclasser&) = delete;

    // Routes the window through a new stub and returns its record index.
    int SubclassWindow(QWidget* window);
    void AddSubclassMessage(QWidget* window, std::int32_t message, int phase);
    void RemoveSubclassMessage(QWidget* window, std::int32_t message, int phase);
    void UnsubclassWindow(QWidget* window);
    void UnsubclassAll();

    const std::vector<SubclassRecord>& records() const { return records_; }

private:
    friend class ProcedureChain;
    // What the stub of one record does with one message; the result is the
    // window's result. callPrevious runs the rest of the chain.
    std::int32_t route(std::size_t recordIndex, QWidget* window, std::int32_t message, QEvent* event,
                       const std::function<std::int32_t()>& callPrevious);

    int findRecord(QWidget* window) const;
    int freeRecord();

    SubclassClient& owner_;
    std::vector<SubclassRecord> records_;
};

} // namespace sonmira::controls

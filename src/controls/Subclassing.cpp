#include "controls/Subclassing.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

namespace sonmira::controls {

struct SubclassStub {
    Subclasser* owner = nullptr; // null once the window is given back its procedure
    std::size_t record = 0;
};

namespace {

const char* const kChainName = "sonmira-procedure-chain";

bool inPhase(std::int32_t count, const std::vector<std::int32_t>& table, std::int32_t message) {
    if (count == 0) return false;
    if (count < 0) return true;
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(count), table.size());
    return std::find(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(n), message) !=
           table.begin() + static_cast<std::ptrdiff_t>(n);
}

void addToTable(std::int32_t message, std::vector<std::int32_t>& table, std::int32_t& count) {
    if (message == AllMessages) {
        count = AllMessages;
        return;
    }
    // A phase that already calls back for everything covers the message.
    if (count < 0) return;
    for (std::int32_t i = 0; i < count; ++i) {
        auto& entry = table[static_cast<std::size_t>(i)];
        if (entry == 0) {
            entry = message;
            return;
        }
        if (entry == message) return;
    }
    ++count;
    table.resize(static_cast<std::size_t>(count), 0);
    table.back() = message;
}

void removeFromTable(std::int32_t message, std::vector<std::int32_t>& table, std::int32_t& count) {
    if (message == AllMessages) {
        count = 0;
        return;
    }
    auto it = std::find(table.begin(), table.end(), message);
    if (it != table.end()) *it = 0;
}

// Mouse and key input. A disabled window, or one inside a disabled window,
// gets none of it: its procedure never sees such a message, in either phase.
// Qt still hands it to the widget, whose own handling refuses it.
bool isUserInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

std::int32_t buttonMessage(const QEvent* event, std::int32_t left, std::int32_t right, std::int32_t middle) {
    switch (static_cast<const QMouseEvent*>(event)->button()) {
    case Qt::RightButton: return right;
    case Qt::MiddleButton: return middle;
    default: return left;
    }
}

// What IsFunctionExported answers: the leave-tracking entry points this layer
// provides through ArmMouseLeave.
const std::vector<ScopedExportTable::Module>& platformExports() {
    static const std::vector<ScopedExportTable::Module> table{
        {QStringLiteral("User32"), {QStringLiteral("TrackMouseEvent")}},
        {QStringLiteral("Comctl32"), {QStringLiteral("_TrackMouseEvent")}},
    };
    return table;
}

const std::vector<ScopedExportTable::Module>* exportOverride = nullptr;

} // namespace

// The window's procedure: one event filter per widget holding its stubs.
class ProcedureChain final : public QObject {
public:
    explicit ProcedureChain(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QString::fromLatin1(kChainName));
        window->installEventFilter(this);
    }

    static ProcedureChain* of(QWidget* window, bool create) {
        const auto children = window->findChildren<QObject*>(QString::fromLatin1(kChainName),
                                                              Qt::FindDirectChildrenOnly);
        for (QObject* child : children)
            if (auto* chain = dynamic_cast<ProcedureChain*>(child)) return chain;
        return create ? new ProcedureChain(window) : nullptr;
    }

    std::vector<std::shared_ptr<SubclassStub>> stubs; // oldest first
    bool leaveArmed = false;

    // Runs the stubs that ask for the event's message; false when none does
    // or when the window takes no input now.
    bool deliver(QEvent* event, std::int32_t& result) {
        if (!window_->isEnabled() && isUserInput(event)) return false;
        const std::int32_t message = messageNumber(window_, event);
        // A copy, so that a callback that adds or removes stubs does not
        // disturb the run in progress.
        const auto snapshot = stubs;
        const bool wanted = std::any_of(snapshot.begin(), snapshot.end(), [&](const auto& stub) {
            if (!stub->owner) return false;
            const SubclassRecord& r = stub->owner->records_[stub->record];
            return inPhase(r.beforeCount, r.beforeTable, message) || inPhase(r.afterCount, r.afterTable, message);
        });
        if (!wanted) return false;
        QPointer<QWidget> guard(window_);
        result = run(guard, message, event, snapshot, static_cast<int>(snapshot.size()) - 1);
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        std::int32_t result = 0;
        return watched == window_ && deliver(event, result);
    }

private:
    std::int32_t run(const QPointer<QWidget>& window, std::int32_t message, QEvent* event,
                     const std::vector<std::shared_ptr<SubclassStub>>& chain, int top) {
        if (!window) return 0;
        if (top < 0) {
            // The widget's own handling; QObject::event is public.
            QObject* target = window.data();
            return target->event(event) ? 1 : 0;
        }
        const auto& stub = chain[static_cast<std::size_t>(top)];
        auto previous = [&] { return run(window, message, event, chain, top - 1); };
        if (!stub->owner) return previous();
        return stub->owner->route(stub->record, window.data(), message, event, previous);
    }

    QWidget* window_;
};

std::int32_t messageNumber(QWidget* window, const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: return MsgMouseMove;
    case QEvent::MouseButtonPress: return buttonMessage(event, MsgLButtonDown, MsgRButtonDown, MsgMButtonDown);
    case QEvent::MouseButtonRelease: return buttonMessage(event, MsgLButtonUp, MsgRButtonUp, MsgMButtonUp);
    case QEvent::Leave:
        if (ProcedureChain* chain = ProcedureChain::of(window, false); chain && chain->leaveArmed) {
            chain->leaveArmed = false;
            return MsgMouseLeave;
        }
        break;
    default: break;
    }
    return MsgApp + static_cast<std::int32_t>(event->type());
}

std::int32_t SendWindowEvent(QWidget* window, QEvent* event) {
    if (!window) return 0;
    std::int32_t result = 0;
    if (ProcedureChain* chain = ProcedureChain::of(window, false); chain && chain->deliver(event, result))
        return result;
    QObject* target = window;
    return target->event(event) ? 1 : 0;
}

void ArmMouseLeave(QWidget* window) {
    if (window) ProcedureChain::of(window, true)->leaveArmed = true;
}

bool IsFunctionExported(const QString& functionName, const QString& moduleName) {
    const auto& modules = exportOverride ? *exportOverride : platformExports();
    for (const auto& module : modules) {
        if (module.name.compare(moduleName, Qt::CaseInsensitive) != 0) continue;
        return std::find(module.functions.begin(), module.functions.end(), functionName) != module.functions.end();
    }
    return false;
}

ScopedExportTable::ScopedExportTable(std::vector<Module> modules)
    : previous_(exportOverride), modules_(std::move(modules)) {
    exportOverride = &modules_;
}

ScopedExportTable::~ScopedExportTable() { exportOverride = previous_; }

Subclasser::Subclasser(SubclassClient& owner) : owner_(owner) {}

Subclasser::~Subclasser() {
    UnsubclassAll();
    for (auto& record : records_)
        if (record.stub) record.stub->owner = nullptr;
}

int Subclasser::findRecord(QWidget* window) const {
    for (int i = static_cast<int>(records_.size()) - 1; i >= 0; --i)
        if (window && records_[static_cast<std::size_t>(i)].window == window) return i;
    return -1;
}

int Subclasser::freeRecord() {
    for (int i = static_cast<int>(records_.size()) - 1; i >= 0; --i) {
        SubclassRecord& r = records_[static_cast<std::size_t>(i)];
        if (!r.window) {
            // A record whose window went away without being given back.
            if (r.stub) r.stub->owner = nullptr;
            r = SubclassRecord{};
            return i;
        }
    }
    records_.emplace_back();
    return static_cast<int>(records_.size()) - 1;
}

int Subclasser::SubclassWindow(QWidget* window) {
    if (!window) return -1;
    const int index = freeRecord();
    SubclassRecord& r = records_[static_cast<std::size_t>(index)];
    r.window = window;
    r.stub = std::make_shared<SubclassStub>(SubclassStub{this, static_cast<std::size_t>(index)});
    ProcedureChain::of(window, true)->stubs.push_back(r.stub);
    return index;
}

void Subclasser::AddSubclassMessage(QWidget* window, std::int32_t message, int phase) {
    const int index = findRecord(window);
    if (index < 0) return; // not routed: nothing to register with
    SubclassRecord& r = records_[static_cast<std::size_t>(index)];
    if (phase & PhaseBefore) addToTable(message, r.beforeTable, r.beforeCount);
    if (phase & PhaseAfter) addToTable(message, r.afterTable, r.afterCount);
}

void Subclasser::RemoveSubclassMessage(QWidget* window, std::int32_t message, int phase) {
    const int index = findRecord(window);
    if (index < 0) return;
    SubclassRecord& r = records_[static_cast<std::size_t>(index)];
    if (phase & PhaseBefore) removeFromTable(message, r.beforeTable, r.beforeCount);
    if (phase & PhaseAfter) removeFromTable(message, r.afterTable, r.afterCount);
}

void Subclasser::UnsubclassWindow(QWidget* window) {
    const int index = findRecord(window);
    if (index < 0) return;
    SubclassRecord& r = records_[static_cast<std::size_t>(index)];
    if (ProcedureChain* chain = ProcedureChain::of(window, false)) {
        auto& stubs = chain->stubs;
        stubs.erase(std::remove(stubs.begin(), stubs.end(), r.stub), stubs.end());
    }
    r.stub->owner = nullptr;
    r = SubclassRecord{};
}

void Subclasser::UnsubclassAll() {
    for (int i = static_cast<int>(records_.size()) - 1; i >= 0; --i)
        if (QWidget* window = records_[static_cast<std::size_t>(i)].window) UnsubclassWindow(window);
}

std::int32_t Subclasser::route(std::size_t recordIndex, QWidget* window, std::int32_t message, QEvent* event,
                               const std::function<std::int32_t()>& callPrevious) {
    std::int32_t lReturn = 0;
    bool bHandled = false;
    // The record is looked up afresh after every callback: a callback may
    // route further windows and so move the records.
    if (const SubclassRecord& r = records_[recordIndex]; inPhase(r.beforeCount, r.beforeTable, message)) {
        owner_.zSubclass_Proc(true, bHandled, lReturn, window, message, event);
        if (bHandled) return lReturn;
    }
    lReturn = callPrevious();
    if (const SubclassRecord& r = records_[recordIndex]; inPhase(r.afterCount, r.afterTable, message))
        owner_.zSubclass_Proc(false, bHandled, lReturn, window, message, event);
    return lReturn;
}

} // namespace sonmira::controls

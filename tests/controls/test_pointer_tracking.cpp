// Message routing through a control before and after a window's own handling.
#include "controls/Subclassing.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace sonmira::controls;

namespace {

// A window that records what reaches its own handling.
class Window : public QWidget {
public:
    std::vector<QEvent::Type> seen;
    bool accept = true;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::MouseMove || e->type() == QEvent::Leave || e->type() == QEvent::User) {
            seen.push_back(e->type());
            return accept;
        }
        return QWidget::event(e);
    }
};

struct Call {
    bool before;
    std::int32_t message;
    std::int32_t lReturnIn;
};

class Client : public SubclassClient {
public:
    std::vector<Call> calls;
    std::function<void(bool, bool&, std::int32_t&)> react;
    Window* watched = nullptr;

    void zSubclass_Proc(bool bBefore, bool& bHandled, std::int32_t& lReturn, QWidget*, std::int32_t uMsg,
                        QEvent*) override {
        calls.push_back({bBefore, uMsg, lReturn});
        if (react) react(bBefore, bHandled, lReturn);
    }
};

class PointerTracking : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sonmira::test::ensureApp(); }

    std::int32_t move(QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        return SendWindowEvent(w, &e);
    }
    std::int32_t user(QWidget* w) {
        QEvent e(QEvent::User);
        return SendWindowEvent(w, &e);
    }
    void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }

    Window window;
    Client client;
};

const std::int32_t kUser = MsgApp + QEvent::User;

TEST_F(PointerTracking, SubclassedWindowWithoutMessagesBehavesAsBefore) {
    Subclasser s(client);
    EXPECT_EQ(s.SubclassWindow(&window), 0);
    window.accept = false;
    EXPECT_EQ(move(&window), 0);
    window.accept = true;
    EXPECT_EQ(move(&window), 1);
    EXPECT_EQ(window.seen.size(), 2u);
    EXPECT_TRUE(client.calls.empty());
}

TEST_F(PointerTracking, AfterPhaseSeesTheWindowsResultAndRunsAfterIt) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    client.react = [&](bool, bool&, std::int32_t&) { EXPECT_EQ(window.seen.size(), 1u); };
    EXPECT_EQ(move(&window), 1);
    ASSERT_EQ(client.calls.size(), 1u);
    EXPECT_FALSE(client.calls[0].before);
    EXPECT_EQ(client.calls[0].message, MsgMouseMove);
    EXPECT_EQ(client.calls[0].lReturnIn, 1);
    // Another message is not called back.
    user(&window);
    EXPECT_EQ(client.calls.size(), 1u);
}

TEST_F(PointerTracking, RealDeliveryGoesThroughTheStubs) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseBoth);
    window.setMouseTracking(true); // moves without a button reach only tracking widgets
    QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &e);
    ASSERT_EQ(client.calls.size(), 2u);
    EXPECT_TRUE(client.calls[0].before);
    EXPECT_FALSE(client.calls[1].before);
    EXPECT_EQ(window.seen.size(), 1u);
}

TEST_F(PointerTracking, TablesKeepOneEntryAndReuseFreedSlots) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    s.AddSubclassMessage(&window, MsgMouseLeave, PhaseAfter);
    const SubclassRecord& r = s.records()[0];
    EXPECT_EQ(r.afterCount, 2);
    EXPECT_EQ(r.afterTable, (std::vector<std::int32_t>{MsgMouseMove, MsgMouseLeave}));
    EXPECT_EQ(r.beforeCount, 0);

    s.RemoveSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    EXPECT_EQ(s.records()[0].afterCount, 2);
    EXPECT_EQ(s.records()[0].afterTable[0], 0);
    move(&window);
    EXPECT_TRUE(client.calls.empty());

    s.AddSubclassMessage(&window, kUser, PhaseAfter);
    EXPECT_EQ(s.records()[0].afterCount, 2);
    EXPECT_EQ(s.records()[0].afterTable, (std::vector<std::int32_t>{kUser, MsgMouseLeave}));
}

TEST_F(PointerTracking, AllMessagesInAPhaseAndItsRemoval) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, AllMessages, PhaseBefore);
    EXPECT_EQ(s.records()[0].beforeCount, -1);
    move(&window);
    user(&window);
    ASSERT_EQ(client.calls.size(), 2u);
    EXPECT_TRUE(client.calls[0].before);
    EXPECT_EQ(client.calls[1].message, kUser);

    // A single message on top of "all" changes nothing.
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseBefore);
    EXPECT_EQ(s.records()[0].beforeCount, -1);
    EXPECT_TRUE(s.records()[0].beforeTable.empty());

    s.RemoveSubclassMessage(&window, AllMessages, PhaseBefore);
    EXPECT_EQ(s.records()[0].beforeCount, 0);
    client.calls.clear();
    move(&window);
    EXPECT_TRUE(client.calls.empty());
}

TEST_F(PointerTracking, HandledBeforeStopsTheWindowAndTheAfterPhase) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseBoth);
    client.react = [](bool before, bool& handled, std::int32_t& lReturn) {
        if (before) {
            handled = true;
            lReturn = 42;
        }
    };
    EXPECT_EQ(move(&window), 42);
    EXPECT_TRUE(window.seen.empty());
    ASSERT_EQ(client.calls.size(), 1u);
    EXPECT_TRUE(client.calls[0].before);
}

TEST_F(PointerTracking, UnsubclassGivesTheWindowBackAndFreesTheRecord) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    s.UnsubclassWindow(&window);
    EXPECT_TRUE(s.records()[0].window.isNull());
    EXPECT_EQ(s.records()[0].afterCount, 0);
    EXPECT_TRUE(s.records()[0].afterTable.empty());
    move(&window);
    EXPECT_TRUE(client.calls.empty());
    EXPECT_EQ(window.seen.size(), 1u);

    Window other;
    EXPECT_EQ(s.SubclassWindow(&other), 0);
    EXPECT_EQ(s.records().size(), 1u);
}

TEST_F(PointerTracking, TwiceSubclassedWindowStacksItsStubsNewestFirst) {
    Subclasser s(client);
    Client second;
    Subclasser s2(second);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseBefore);
    s2.SubclassWindow(&window);
    s2.AddSubclassMessage(&window, MsgMouseMove, PhaseBefore);
    // The newer stub stops the message before the older one sees it.
    second.react = [](bool, bool& handled, std::int32_t&) { handled = true; };
    move(&window);
    EXPECT_EQ(second.calls.size(), 1u);
    EXPECT_TRUE(client.calls.empty());
    EXPECT_TRUE(window.seen.empty());

    // The same control subclassing the window again gets a second record.
    EXPECT_EQ(s.SubclassWindow(&window), 1);
    s.UnsubclassAll();
    EXPECT_TRUE(s.records()[0].window.isNull());
    EXPECT_TRUE(s.records()[1].window.isNull());
}

TEST_F(PointerTracking, RegistrationForAnUnroutedWindowAndEmptyUnsubclassAreHarmless) {
    Subclasser s(client);
    s.AddSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    s.RemoveSubclassMessage(&window, MsgMouseMove, PhaseAfter);
    s.UnsubclassAll();
    EXPECT_TRUE(s.records().empty());
    move(&window);
    EXPECT_TRUE(client.calls.empty());
}

TEST_F(PointerTracking, DestroyedWindowLeavesAFreeRecord) {
    Subclasser s(client);
    {
        Window gone;
        s.SubclassWindow(&gone);
        s.AddSubclassMessage(&gone, MsgMouseMove, PhaseAfter);
    }
    EXPECT_TRUE(s.records()[0].window.isNull());
    EXPECT_EQ(s.SubclassWindow(&window), 0);
    EXPECT_EQ(s.records()[0].afterCount, 0);
}

TEST_F(PointerTracking, OneLeaveNoticePerArming) {
    Subclasser s(client);
    s.SubclassWindow(&window);
    s.AddSubclassMessage(&window, MsgMouseLeave, PhaseAfter);
    leave(&window);
    EXPECT_TRUE(client.calls.empty());
    ArmMouseLeave(&window);
    leave(&window);
    leave(&window);
    ASSERT_EQ(client.calls.size(), 1u);
    EXPECT_EQ(client.calls[0].message, MsgMouseLeave);
}

TEST_F(PointerTracking, ExportProbe) {
    EXPECT_TRUE(IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32")));
    EXPECT_TRUE(IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("user32")));
    EXPECT_TRUE(IsFunctionExported(QStringLiteral("_TrackMouseEvent"), QStringLiteral("Comctl32")));
    EXPECT_FALSE(IsFunctionExported(QStringLiteral("trackmouseevent"), QStringLiteral("User32")));
    EXPECT_FALSE(IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("NoSuchModule")));
    {
        ScopedExportTable none({});
        EXPECT_FALSE(IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32")));
    }
    EXPECT_TRUE(IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32")));
}

} // namespace

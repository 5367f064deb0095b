// The traffic log window: refresh rule, size limit, double-click, switch.
#include "LinkFixture.h"
#include "link/CommIndicator.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

using namespace sonmira;
using namespace sonmira::test;

namespace {

class CommIndicatorTest : public LinkFixture {
protected:
    void SetUp() override {
        ensureApp();
        LinkFixture::SetUp();
        log.CommLog = link->texts().logHint;
    }
    QString shown() const { return window->text()->toPlainText(); }
    QPointer<link::CommIndicator> window;
};

TEST_F(CommIndicatorTest, LoggingIsOnExactlyWhileTheWindowExists) {
    unitOn(1);
    connectTo(1);
    link->SendSyncByte();
    rt.advance(50); // and its echo
    EXPECT_EQ(log.CommLog, link->texts().logHint); // closed: nothing logged
    window = new link::CommIndicator(rt, log);
    EXPECT_TRUE(log.CommLogOn);
    rt.advance(200);
    EXPECT_EQ(shown(), link->texts().logHint); // the first refresh shows the hint
    link->SendSyncByte();
    rt.advance(200);
    EXPECT_TRUE(log.CommLog.endsWith(QStringLiteral("\r\nSend: FC\r\nRecv: FC")));
    EXPECT_TRUE(shown().contains(QStringLiteral("Send: FC")));
    delete window;
    EXPECT_FALSE(log.CommLogOn);
    const QString kept = log.CommLog;
    link->SendSyncByte();
    EXPECT_EQ(log.CommLog, kept);
}

TEST_F(CommIndicatorTest, RefreshesOnlyWhenTheLengthChanged) {
    window = new link::CommIndicator(rt, log);
    rt.advance(200);
    log.CommLog[0] = QLatin1Char('X'); // same length: not shown
    rt.advance(400);
    EXPECT_EQ(shown(), link->texts().logHint);
    log.CommLog += QLatin1Char('!');
    rt.advance(200);
    EXPECT_EQ(shown(), log.CommLog);
    delete window;
}

TEST_F(CommIndicatorTest, EmptiesOnlyPastTheLimit) {
    window = new link::CommIndicator(rt, log);
    log.CommLog = QString(60000, QLatin1Char('a'));
    rt.advance(200);
    EXPECT_EQ(shown().size(), 60000);
    EXPECT_EQ(log.CommLog.size(), 60000);
    log.CommLog += QLatin1Char('b');
    rt.advance(200);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_TRUE(log.CommLog.isEmpty());
    // The next line starts a new log.
    unitOn(1);
    connectTo(1);
    link->SendSyncByte();
    rt.advance(200);
    EXPECT_TRUE(log.CommLog.startsWith(QStringLiteral("\r\nSend: FC")));
    delete window;
}

TEST_F(CommIndicatorTest, DoubleClickEmptiesWithinARefresh) {
    window = new link::CommIndicator(rt, log);
    window->show();
    rt.advance(200);
    ASSERT_FALSE(shown().isEmpty());
    QWidget* vp = window->text()->viewport();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(10, 10), vp->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(vp, &dbl);
    EXPECT_TRUE(log.CommLog.isEmpty());
    rt.advance(200);
    EXPECT_TRUE(shown().isEmpty());
    window->close(); // deletes itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(log.CommLogOn);
}

TEST_F(CommIndicatorTest, TextBoxFollowsTheWindowSize) {
    window = new link::CommIndicator(rt, log);
    window->resize(300, 200);
    window->show();
    const QRect outer = window->frameGeometry();
    EXPECT_EQ(window->text()->geometry(),
              QRect(0, 0, (outer.width() * 15 - 100) / 15, (outer.height() * 15 - 350) / 15));
    delete window;
}

} // namespace

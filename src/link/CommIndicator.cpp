#include "CommIndicator.h"

#include <QCloseEvent>
#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace sonmira::link {

namespace {
constexpr int TwipsPerPixel = 15;
}

CommIndicator::CommIndicator(platform::Runtime& rt, TrafficLog& log) : QWidget(nullptr), log_(log) {
    setWindowTitle(QStringLiteral("Double-click the empty display can be stretched or wide"));
    // A sizable tool window: no task-bar entry, no minimise or maximise button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->viewport()->installEventFilter(this);
    resize(ClientWidthTwips / TwipsPerPixel, ClientHeightTwips / TwipsPerPixel);
    log_.CommLogOn = true;
    Timer1 = rt.createTimer(200, true, [this] { Timer1_Timer(); });
}

CommIndicator::~CommIndicator() { Form_Unload(); }

void CommIndicator::Form_Unload() {
    if (unloaded_) return; // a window opened since owns the switch now
    unloaded_ = true;
    log_.CommLogOn = false;
    Timer1->setEnabled(false);
}

void CommIndicator::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    Form_Unload();
}

void CommIndicator::Timer1_Timer() {
    const int len = static_cast<int>(log_.CommLog.size());
    if (len == LastLen) return;
    if (len > LogLimit) {
        Text1->clear();
        log_.CommLog.clear();
    }
    Text1->setPlainText(log_.CommLog);
    // Caret at the end keeps the view on the last line.
    QTextCursor c = Text1->textCursor();
    c.movePosition(QTextCursor::End);
    Text1->setTextCursor(c);
    Text1->verticalScrollBar()->setValue(Text1->verticalScrollBar()->maximum());
    LastLen = static_cast<int>(log_.CommLog.size());
}

void CommIndicator::Text1_DblClick() { log_.CommLog.clear(); }

void CommIndicator::Form_Resize() {
    // The box fills the window less 100 x 350 twips of the outer size; a
    // window too small for that leaves the box as it was.
    const QRect outer = frameGeometry();
    const int w = (outer.width() * TwipsPerPixel - 100) / TwipsPerPixel;
    const int h = (outer.height() * TwipsPerPixel - 350) / TwipsPerPixel;
    if (w <= 0 || h <= 0) return;
    Text1->setGeometry(0, 0, w, h);
}

void CommIndicator::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

bool CommIndicator::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Text1->viewport() && e->type() == QEvent::MouseButtonDblClick) {
        Text1_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace sonmira::link

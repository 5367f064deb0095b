#include "RecordingControls.h"
#include "settings/VolumeColumnView.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

using namespace sonmira::settings;

namespace {
void press(QWidget* w, Qt::Key key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &down);
}
} // namespace

TEST(VolumeColumnView, WidgetsFollowTheColumnAndPassUserActionsToIt) {
    sonmira::test::ensureApp();
    QWidget window;
    test::RecordingControls c;
    VolumeColumnView view(c.column, &window);

    QLineEdit* min = view.box(0);
    EXPECT_EQ(min->text(), "0");
    EXPECT_EQ(view.box(8)->text(), "KTV1");
    EXPECT_TRUE(view.box(2)->isReadOnly());
    EXPECT_EQ(view.spinner(8)->maximum(), 7);

    min->selectAll();
    press(min, Qt::Key_A, "a");
    EXPECT_EQ(min->text(), "0"); // filtered
    press(min, Qt::Key_1, "1");
    press(min, Qt::Key_2, "2");
    EXPECT_EQ(c.column.text(0), "12");
    EXPECT_EQ(c.column.colour(0), BoxColour::Red);
    EXPECT_EQ(min->palette().color(QPalette::Text), QColor(Qt::red));
    press(min, Qt::Key_Return, "\r");
    EXPECT_EQ(c.column.spinnerValue(0), 12);
    EXPECT_EQ(view.spinner(0)->value(), 12);
    EXPECT_EQ(min->text(), "12");
    EXPECT_EQ(min->palette().color(QPalette::Text), QColor(Qt::black));

    // Delete removes a digit even where the platform gives it the text DEL;
    // Backspace is filtered out like any other control character.
    QLineEdit* max = view.box(1);
    max->setCursorPosition(1);
    press(max, Qt::Key_Backspace, QStringLiteral("\b"));
    press(max, Qt::Key_Delete, QString(QChar(0x7f)));
    EXPECT_EQ(max->text(), "8");
    EXPECT_EQ(c.column.text(1), "8");
    EXPECT_EQ(c.column.colour(1), BoxColour::Red);
    EXPECT_EQ(c.column.spinnerValue(1), 80);

    // A click on the lower arrow raises the value by one.
    view.spinner(0)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(c.column.spinnerValue(0), 13);
    EXPECT_EQ(min->text(), "13");

    // The program's writes show in the widgets.
    c.column.setSpinnerValue(5, 4);
    EXPECT_EQ(view.box(5)->text(), "MIC5");
    EXPECT_EQ(view.spinner(5)->value(), 4);
}

// Only typing is held to two characters: text the program puts in a box is
// shown whole, so the box never shows a number its spinner does not hold.
TEST(VolumeColumnView, ProgramTextIsShownWholeWhileTypingStopsAtTwoCharacters) {
    sonmira::test::ensureApp();
    QWidget window;
    test::RecordingControls c;
    VolumeColumnView view(c.column, &window);
    c.column.setSpinnerValue(0, 5);
    for (const auto& [i, text] : {std::pair{0, QStringLiteral("005")}, std::pair{1, QStringLiteral("080")}}) {
        c.column.setText(i, text);
        press(view.box(i), Qt::Key_Return, "\r");
        EXPECT_EQ(view.box(i)->text(), text);
        EXPECT_EQ(c.column.colour(i), BoxColour::Black);
    }
    EXPECT_EQ(c.column.spinnerValue(0), 5);
    EXPECT_EQ(c.column.spinnerValue(1), 80);

    QLineEdit* max = view.box(1);
    max->end(false);
    press(max, Qt::Key_1, "1");
    EXPECT_EQ(max->text(), "080");
    max->setText(QString());
    for (const char* digit : {"1", "2", "3"}) press(max, Qt::Key_1, QLatin1String(digit));
    EXPECT_EQ(max->text(), "12");
    EXPECT_EQ(c.column.text(1), "12");
    max->selectAll();
    max->insert(QStringLiteral("123")); // as a paste does
    EXPECT_EQ(max->text(), "12");
    EXPECT_EQ(c.column.text(1), "12");
}

// A paste goes by the rule typing does: cut to the room left under the limit,
// refused where a typed digit would be.
TEST(VolumeColumnView, APasteIsCutToTheRoomLeftUnderTheLimit) {
    sonmira::test::ensureApp();
    QWidget window;
    test::RecordingControls c;
    VolumeColumnView view(c.column, &window);
    auto paste = [](QLineEdit* box, const QString& clip) {
        QGuiApplication::clipboard()->setText(clip);
        QKeyEvent shiftInsert(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
        QCoreApplication::sendEvent(box, &shiftInsert);
    };
    QLineEdit* min = view.box(0);
    c.column.setText(0, QString());
    paste(min, QStringLiteral("123"));
    EXPECT_EQ(c.column.text(0), "12");
    EXPECT_EQ(min->text(), "12");

    QLineEdit* max = view.box(1);
    c.column.setText(1, QStringLiteral("080"));
    max->setSelection(1, 1);
    press(max, Qt::Key_1, "1");
    paste(max, QStringLiteral("1"));
    EXPECT_EQ(c.column.text(1), "080");
    EXPECT_EQ(max->text(), "080");
    EXPECT_EQ(max->selectedText(), "8");
}

// The spinners move only by their two arrows: no wheel, no toolkit menu whose
// "Bottom" would jump a Min from 20 to 80, and keys never reach them.
TEST(VolumeColumnView, SpinnersMoveOnlyByTheirArrows) {
    sonmira::test::ensureApp();
    QWidget window;
    test::RecordingControls c;
    VolumeColumnView view(c.column, &window);
    window.show();
    QScrollBar* bar = view.spinner(0);
    bar->resize(13, 18);

    QWheelEvent wheel(QPointF(6, 9), bar->mapToGlobal(QPointF(6, 9)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(c.column.spinnerValue(0), 0);

    bool menuShown = false;
    QTimer::singleShot(0, &window, [&menuShown] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menuShown = true;
            menu->close();
        }
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(6, 9), bar->mapToGlobal(QPoint(6, 9)));
    QApplication::sendEvent(bar, &menu);
    QCoreApplication::processEvents();
    EXPECT_FALSE(menuShown);

    EXPECT_EQ(bar->focusPolicy(), Qt::NoFocus);
}

#include "RecordingControls.h"
#include "settings/VolumeColumnView.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
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

// Shift+Insert, the paste key that makes no character.
void paste(QLineEdit* box, const QString& clip) {
    QGuiApplication::clipboard()->setText(clip);
    QKeyEvent shiftInsert(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
    QCoreApplication::sendEvent(box, &shiftInsert);
}

// Picks a command from the box's context menu, as the user does.
void fromMenu(QLineEdit* box, const char* caption) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(box, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* picked = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr(caption)) picked = a;
    ASSERT_NE(picked, nullptr) << caption;
    ASSERT_TRUE(picked->isEnabled()) << caption;
    picked->trigger();
    menu->close();
}

// The nine boxes and spinners of a column, created in a window of their own.
class VolumeColumnWidgets : public ::testing::Test {
protected:
    const bool app_ = (sonmira::test::ensureApp(), true);
    QWidget window;
    test::RecordingControls c;
    VolumeColumnView view{c.column, &window};
};

} // namespace

TEST_F(VolumeColumnWidgets, WidgetsFollowTheColumnAndPassUserActionsToIt) {
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
TEST_F(VolumeColumnWidgets, ProgramTextIsShownWholeWhileTypingStopsAtTwoCharacters) {
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
    paste(max, QStringLiteral("123"));
    EXPECT_EQ(max->text(), "12");
    EXPECT_EQ(c.column.text(1), "12");
}

// A paste goes by the rule typing does: cut to the room left under the limit,
// refused where a typed digit would be.
TEST_F(VolumeColumnWidgets, APasteIsCutToTheRoomLeftUnderTheLimit) {
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

// Undo and Redo are no new input: they give back exactly the texts the box
// held, after a typed edit and after pastes that were cut or refused alike,
// and no signal ever reports a text the box did not hold.
TEST_F(VolumeColumnWidgets, UndoAndRedoGiveBackTheTextsTheBoxHeld) {
    QLineEdit* max = view.box(1);
    QStringList signalled;
    QObject::connect(max, &QLineEdit::textChanged, [&signalled](const QString& t) { signalled << t; });
    c.column.setText(1, QStringLiteral("080")); // as an imported profile writes it

    max->selectAll();
    press(max, Qt::Key_5, "5");
    fromMenu(max, "&Undo");
    EXPECT_EQ(max->text(), "080");
    EXPECT_EQ(c.column.text(1), "080");
    fromMenu(max, "&Redo");
    EXPECT_EQ(max->text(), "5");

    max->end(false);
    paste(max, QStringLiteral("123")); // cut to "1"
    EXPECT_EQ(max->text(), "51");
    paste(max, QStringLiteral("9")); // refused
    EXPECT_EQ(max->text(), "51");
    max->undo(); // the paste alone, not the typing before it
    EXPECT_EQ(max->text(), "5");
    max->redo();
    EXPECT_EQ(max->text(), "51");

    QGuiApplication::clipboard()->setText(QStringLiteral("123"));
    max->selectAll();
    fromMenu(max, "&Paste");
    EXPECT_EQ(max->text(), "12");
    fromMenu(max, "&Undo");
    EXPECT_EQ(max->text(), "51");
    EXPECT_EQ(c.column.text(1), "51");
    EXPECT_EQ(signalled, QStringList({"080", "5", "080", "5", "51", "5", "51", "12", "51"}));
}

// The spinners move only by their two arrows: no wheel, no toolkit menu whose
// "Bottom" would jump a Min from 20 to 80, and keys never reach them.
TEST_F(VolumeColumnWidgets, SpinnersMoveOnlyByTheirArrows) {
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

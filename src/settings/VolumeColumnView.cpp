#include "VolumeColumnView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace sonmira::settings {

VolumeColumnView::VolumeColumnView(VolumeColumn& column, QWidget* parent) : QObject(parent), column_(column) {
    for (int i = 0; i < VolumeColumn::Boxes; ++i) {
        boxes_[static_cast<std::size_t>(i)] = new QLineEdit(parent);
        boxes_[static_cast<std::size_t>(i)]->setFrame(true);
        spinners_[static_cast<std::size_t>(i)] = new QScrollBar(Qt::Vertical, parent);
    }
    attach();
}

VolumeColumnView::VolumeColumnView(VolumeColumn& column, const Boxes& boxes, const Spinners& spinners,
                                   QObject* parent)
    : QObject(parent), column_(column), boxes_(boxes), spinners_(spinners) {
    attach();
}

void VolumeColumnView::attach() {
    for (int i = 0; i < VolumeColumn::Boxes; ++i) {
        QLineEdit* edit = box(i);
        edit->setAlignment(Qt::AlignCenter);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, QColor::fromRgb(BoxBackground));
        edit->setPalette(pal);
        if (VolumeColumn::readOnly(i)) edit->setReadOnly(true);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& t) {
            if (!mirroring_) column_.setText(i, t);
        });

        QScrollBar* bar = spinner(i);
        bar->setRange(0, VolumeColumn::spinnerTop(i));
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Only the two arrows move a spinner: no wheel and no toolkit menu
        // (its "Top" and "Bottom" would jump across the range).
        bar->setContextMenuPolicy(Qt::NoContextMenu);
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, [this, i](int v) {
            if (!mirroring_) column_.setSpinnerValue(i, v);
        });
    }
    column_.onBoxChanged = [this](int i) { showBox(i); };
    column_.onSpinnerChanged = [this](int i) { showSpinner(i); };
    for (int i = 0; i < VolumeColumn::Boxes; ++i) {
        showBox(i);
        showSpinner(i);
    }
}

VolumeColumnView::~VolumeColumnView() {
    column_.onBoxChanged = nullptr;
    column_.onSpinnerChanged = nullptr;
}

QString VolumeColumnView::fitted(int i, const QString& input, qsizetype replaced) const {
    const QLineEdit* edit = box(i);
    const qsizetype kept = edit->text().size() - edit->selectedText().size() - replaced;
    return column_.fitInput(i, std::max<qsizetype>(0, kept), input);
}

namespace {

// Moving the caret ends the box's current undo step, as the toolkit's own
// paste does before and after the text it puts in. With a selection the
// insert makes a step of its own anyway.
void endUndoStep(QLineEdit* edit) {
    if (edit->hasSelectedText() || edit->text().isEmpty()) return;
    const int at = edit->cursorPosition();
    edit->setCursorPosition(at > 0 ? at - 1 : at + 1);
    edit->setCursorPosition(at);
}

} // namespace

void VolumeColumnView::insertInput(int i, const QString& input) {
    const QString taken = fitted(i, input);
    if (taken.isEmpty()) return;
    QLineEdit* edit = box(i);
    endUndoStep(edit);
    edit->insert(taken);
    endUndoStep(edit);
}

void VolumeColumnView::showMenu(int i, const QPoint& globalPos) {
    QLineEdit* edit = box(i);
    QMenu* menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The toolkit's menu knows its actions only by their captions ("&Paste",
    // then the shortcut after a tab).
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != paste) continue;
        action->disconnect(edit);
        connect(action, &QAction::triggered, this, [this, i] { insertInput(i, QGuiApplication::clipboard()->text()); });
    }
    menu->popup(globalPos);
}

void VolumeColumnView::showBox(int i) {
    QLineEdit* edit = box(i);
    mirroring_ = true;
    if (edit->text() != column_.text(i)) {
        // Keep the caret where the user was typing.
        const int pos = edit->cursorPosition();
        edit->setText(column_.text(i));
        edit->setCursorPosition(std::min(pos, static_cast<int>(column_.text(i).size())));
    }
    mirroring_ = false;
    QPalette pal = edit->palette();
    switch (column_.colour(i)) {
    case BoxColour::WindowText: pal.setColor(QPalette::Text, QApplication::palette(edit).color(QPalette::Text)); break;
    case BoxColour::Black: pal.setColor(QPalette::Text, Qt::black); break;
    case BoxColour::Red: pal.setColor(QPalette::Text, Qt::red); break;
    }
    edit->setPalette(pal);
}

void VolumeColumnView::showSpinner(int i) {
    mirroring_ = true;
    spinner(i)->setValue(column_.spinnerValue(i));
    mirroring_ = false;
}

bool VolumeColumnView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel)
        return std::find(spinners_.begin(), spinners_.end(), watched) != spinners_.end();
    const auto it = std::find(boxes_.begin(), boxes_.end(), watched);
    if (it == boxes_.end()) return QObject::eventFilter(watched, event);
    return filterBoxEvent(static_cast<int>(it - boxes_.begin()), event);
}

bool VolumeColumnView::filterBoxEvent(int i, QEvent* event) {
    QLineEdit* edit = box(i);
    // A read-only box takes no input: its keys, clicks and drops stay the toolkit's.
    const bool editable = !edit->isReadOnly();
    QClipboard* clipboard = QGuiApplication::clipboard();
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Keys that make no character (Delete, arrows, Home, End) go to the box;
        // the paste key pastes, cut to fit. Some platforms give Delete the text DEL
        // and Tab a tab character; neither is typed into the box, so they keep
        // deleting and moving the focus.
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
            key->key() == Qt::Key_Backtab) {
            if (!editable || !key->matches(QKeySequence::Paste)) return false;
            insertInput(i, clipboard->text());
            return true;
        }
        int code = key->text().at(0).unicode();
        column_.Text1_KeyPress(i, code);
        // A character typed over a selection replaces it; one with no room
        // left is refused before the box sees it.
        return code == 0 || fitted(i, QString(QChar(code))).isEmpty();
    }
    case QEvent::ContextMenu:
        showMenu(i, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the desktop's selection where it supports one.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!editable || mouse->button() != Qt::MiddleButton || !clipboard->supportsSelection()) return false;
        edit->deselect();
        insertInput(i, clipboard->text(QClipboard::Selection));
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString text = drop->mimeData()->text();
        if (!editable || text.isNull()) return false;
        edit->setCursorPosition(edit->cursorPositionAt(drop->position().toPoint()));
        insertInput(i, text);
        drop->acceptProposedAction();
        // Hides the caret that followed the drag.
        QDragLeaveEvent left;
        QCoreApplication::sendEvent(edit, &left);
        return true;
    }
    case QEvent::InputMethod: {
        // The box takes the committed text itself, cut to fit.
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (editable && !im->commitString().isEmpty())
            im->setCommitString(fitted(i, im->commitString(), im->replacementLength()), im->replacementStart(),
                                im->replacementLength());
        return false;
    }
    default: return false;
    }
}

} // namespace sonmira::settings

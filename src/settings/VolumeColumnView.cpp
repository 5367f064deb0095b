#include "VolumeColumnView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
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
        // A box signals a user's edit before it signals the changed text,
        // caret and selection, so what is remembered when the edit arrives is
        // still the state the edit started from.
        connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& t) {
            if (!mirroring_) takeEdit(i, t);
        });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { remember(i, true); });
        connect(edit, &QLineEdit::selectionChanged, this, [this, i] { remember(i, false); });
        connect(edit, &QLineEdit::cursorPositionChanged, this, [this, i] { remember(i, false); });

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
        remember(i, true);
    }
}

VolumeColumnView::~VolumeColumnView() {
    column_.onBoxChanged = nullptr;
    column_.onSpinnerChanged = nullptr;
}

void VolumeColumnView::remember(int i, bool textChanged) {
    const QLineEdit* edit = box(i);
    auto& rest = atRest_.at(static_cast<std::size_t>(i));
    // An input method moves the caret before it reports the text it changed:
    // a caret or selection is only taken beside the text already remembered.
    if (!textChanged && edit->text() != rest.text) return;
    rest = {edit->text(), edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition(),
            static_cast<int>(edit->selectedText().size())};
}

void VolumeColumnView::takeEdit(int i, const QString& edited) {
    const AtRest before = atRest_.at(static_cast<std::size_t>(i));
    const qsizetype kept = before.text.size() - before.length;
    const qsizetype added = edited.size() - kept;
    if (added <= 0) return column_.setText(i, edited);
    // Typing and pasting alike: the inserted text is cut to the room left,
    // and input with no room at all is refused, selection and all.
    const QString taken = column_.fitInput(i, kept, edited.mid(before.start, added));
    QLineEdit* edit = box(i);
    if (taken.isEmpty()) {
        edit->setText(before.text);
        edit->setSelection(before.start, before.length);
        return;
    }
    column_.setText(i, edited.left(before.start) + taken + edited.mid(before.start + added));
    showBox(i); // the column may have held the cut text already
    edit->setCursorPosition(before.start + static_cast<int>(taken.size()));
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
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto it = std::find(boxes_.begin(), boxes_.end(), watched);
    if (it == boxes_.end()) return QObject::eventFilter(watched, event);
    const int i = static_cast<int>(it - boxes_.begin());
    auto* key = static_cast<QKeyEvent*>(event);
    // Keys that make no character (Delete, arrows, Home, End) go to the box.
    // Some platforms give Delete the text DEL and Tab a tab character; neither
    // is typed into the box, so they keep deleting and moving the focus.
    if (key->text().isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab)
        return false;
    int code = key->text().at(0).unicode();
    column_.Text1_KeyPress(i, code);
    // A character typed over a selection replaces it; one with no room left is
    // refused before the box sees it.
    const QLineEdit* edit = box(i);
    const qsizetype kept = edit->text().size() - edit->selectedText().size();
    if (code != 0 && column_.fitInput(i, kept, QString(QChar(code))).isEmpty()) code = 0;
    return code == 0;
}

} // namespace sonmira::settings

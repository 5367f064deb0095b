#include "VolumeColumn.h"

#include <algorithm>

namespace sonmira::settings {

QString VolumeColumn::modeText(int channel, int v) {
    if (channel == 0) return QStringLiteral("MUS%1").arg(v + 1);
    if (channel == 1) return QStringLiteral("MIC%1").arg(v + 1);
    return v <= 3 ? QStringLiteral("KTV%1").arg(v + 1) : QStringLiteral("EFF%1").arg(v - 3);
}

std::optional<int> VolumeColumn::parseWholeNumber(const QString& text) {
    // Nine digits at most keeps the sum inside an int.
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    int n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

VolumeColumn::VolumeColumn(LevelFaders* faders) : faders_(faders) {
    for (int i = 0; i < Boxes; ++i) {
        const int role = roleOf(i);
        spinners_[static_cast<std::size_t>(i)].value = role == RoleMax ? LevelTop : 0;
        box(i).text = role == RoleMode ? modeText(channelOf(i), 0) : QString::number(spin(i).value);
    }
}

int VolumeColumn::spinnerTop(int index) {
    return roleOf(index) == RoleMode ? ModeTop[static_cast<std::size_t>(channelOf(index))] : LevelTop;
}

QString VolumeColumn::fitInput(int index, qsizetype kept, const QString& input) const {
    const int limit = maxLength(index);
    if (limit <= 0) return input;
    return input.left(std::max<qsizetype>(0, limit - kept));
}

void VolumeColumn::setText(int index, const QString& t) {
    if (box(index).text == t) return;
    box(index).text = t;
    Text1_Change(index);
}

void VolumeColumn::setColour(int index, BoxColour c) {
    if (box(index).colour == c) return;
    box(index).colour = c;
    if (onBoxChanged) onBoxChanged(index);
}

bool VolumeColumn::setSpinnerValue(int index, int value) {
    if (value < 0 || value > spinnerTop(index)) return false;
    auto& s = spinners_.at(static_cast<std::size_t>(index));
    if (s.value == value) return true;
    s.value = value;
    if (onSpinnerChanged) onSpinnerChanged(index);
    VScroll1_Change(index);
    return true;
}

void VolumeColumn::clickArrow(int index, bool upper) {
    const int v = spinnerValue(index) + (upper ? -1 : 1);
    if (v >= 0 && v <= spinnerTop(index)) setSpinnerValue(index, v);
}

void VolumeColumn::VScroll1_Change(int index) {
    const int role = roleOf(index);
    if (role == RoleMin) {
        // A minimum pushed past the maximum is held there; the maximum stays.
        if (spinnerValue(index) > spinnerValue(index + 1)) setSpinnerValue(index, spinnerValue(index + 1));
        setText(index, QString::number(spinnerValue(index)));
    } else if (role == RoleMax) {
        if (spinnerValue(index) < spinnerValue(index - 1)) setSpinnerValue(index, spinnerValue(index - 1));
        setText(index, QString::number(spinnerValue(index)));
    } else {
        setText(index, modeText(channelOf(index), spinnerValue(index)));
    }
    setColour(index, BoxColour::Black);
}

void VolumeColumn::Text1_Change(int index) {
    // Always report the text; the colour may already be red.
    box(index).colour = BoxColour::Red;
    if (onBoxChanged) onBoxChanged(index);
}

void VolumeColumn::Text1_KeyPress(int index, int& code) {
    if (code == 13) {
        ApplyLevelText(index);
        setColour(index, BoxColour::Black);
    }
    if (code < '0' || code > '9') code = 0;
}

bool VolumeColumn::ApplyLevelText(int index) {
    if (!validIndex(index)) return true;
    const int role = roleOf(index);
    if (role == RoleMode) return true;

    const std::optional<int> own = boxNumber(index);
    if (!own) {
        restoreFromSpinner(index);
        return false;
    }
    // The other bound as its box shows it, typed or not; when that box holds
    // no number, its applied value.
    const int other = role == RoleMin ? index + 1 : index - 1;
    const int otherNumber = boxNumber(other).value_or(spinnerValue(other));
    const QString otherText = boxNumber(other) ? text(other) : QString::number(otherNumber);

    int wanted = *own;
    if ((role == RoleMin && wanted > otherNumber) || (role == RoleMax && wanted < otherNumber)) {
        setText(index, otherText);
        wanted = otherNumber;
    }
    if (!setSpinnerValue(index, wanted)) {
        restoreFromSpinner(index);
        return false;
    }
    if (role == RoleMax && faders_) {
        // Only an applied maximum lowers the level; nothing is sent for it.
        const int ch = channelOf(index);
        const int bound = boxNumber(index).value_or(spinnerValue(index));
        if (bound < faders_->levelFaderValue(ch)) faders_->setLevelFaderValue(ch, bound);
    }
    return true;
}

void VolumeColumn::typeKey(int index, int code) {
    Text1_KeyPress(index, code);
    if (code == 0 || readOnly(index)) return;
    setText(index, text(index) + fitInput(index, text(index).size(), QString(QChar(code))));
}

} // namespace sonmira::settings

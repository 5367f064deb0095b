#pragma once
// What a DeviceLink under test reaches in the main window, recorded.
#include "link/DeviceLink.h"

namespace sonmira::test {

struct LinkTestHost final : link::LinkHost {
    QString status;
    int keyResets = 0;
    int syncs = 0;
    void setStatusText(const QString& text) override { status = text; }
    void resetKeySelector() override { ++keyResets; }
    void syncSelectionWithDevice() override { ++syncs; }
};

} // namespace sonmira::test

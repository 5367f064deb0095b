#include "FactoryValues.h"

#include "ControlsView.h"
#include "ParamModel.h"
#include "link/DeviceLink.h"

namespace sonmira::settings {

void forEachFactoryValue(const FactoryValueSink& sink) {
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (const ColumnSpec& c : columns(a))
                sink(groupOf(a), wireRow(a, r), c.addr, c.defaults[static_cast<std::size_t>(r)]);
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
        const auto addr = static_cast<std::uint8_t>(ch);
        const auto min = static_cast<std::uint8_t>(VolumeColumn::DefaultMin[static_cast<std::size_t>(ch)]);
        sink(link::GroupLevelMin, 0, addr, min);
        sink(link::GroupLevelMax, 0, addr, VolumeColumn::DefaultMax);
        sink(link::GroupLevelMode, 0, addr, 0);
        sink(link::GroupLevel, 0, addr, min);
    }
    sink(link::GroupMute, 0, 0, 0);
    sink(link::GroupLock, 0, 0, 0);
    sink(link::GroupExciter, 0, 0, 0);
    sink(link::GroupInput, 0, 0, InputBgm);
}

} // namespace sonmira::settings

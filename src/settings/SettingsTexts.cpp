#include "SettingsTexts.h"

namespace sonmira::settings {

const SettingsTexts& SettingsTexts::of(link::Skin skin) {
    static const SettingsTexts big{
        QStringLiteral("Is not connected to the target."),
        QStringLiteral("An error occurred while reading data from target."),
        QStringLiteral("All settings have been reset. "),
    };
    static const SettingsTexts small{
        QStringLiteral(u"还没有连接到目标机。"),
        QStringLiteral(u"从机器读数据时出错！"),
        QStringLiteral(u"已复位所有设置值！"),
    };
    return skin == link::Skin::Big ? big : small;
}

} // namespace sonmira::settings

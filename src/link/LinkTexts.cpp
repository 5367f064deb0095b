#include "LinkTexts.h"

namespace sonmira::link {

const LinkTexts& LinkTexts::of(Skin skin) {
    static const LinkTexts big{
        QStringLiteral("Not connected"),
        QStringLiteral("Successful connection"),
        QStringLiteral("Type Mismatch"),
        QStringLiteral("Target communication and connection timeout, disconnected."),
        QStringLiteral("Send: "),
        QStringLiteral("Send: FC"),
        QStringLiteral("Recv: "),
        QStringLiteral("Double-click the empty display can be stretched or wide..."),
    };
    static const LinkTexts small{
        QStringLiteral(u"未连接"),
        QStringLiteral(u"连接成功"),
        QStringLiteral(u"型号不匹配"),
        QStringLiteral(u"与目标通信连接超时，已断开连接。"),
        QStringLiteral(u"发送: "),
        QStringLiteral(u"发送: FC 同步字"),
        QStringLiteral(u"接收: "),
        QStringLiteral(u"双击清空显示 , 可拉长或宽"),
    };
    return skin == Skin::Big ? big : small;
}

} // namespace sonmira::link

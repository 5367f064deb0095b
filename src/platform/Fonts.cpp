#include "Fonts.h"

#ifdef SONMIRA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace sonmira::platform {

QString preferredFamily(const QString& language) {
#ifdef SONMIRA_FONTCONFIG
    // The match fc-match makes for ":lang=<language>": the pattern with the
    // user's and the system's rules applied, then the best installed font.
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return {};
    const QByteArray lang = language.toUtf8();
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return {};
    QString family;
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
        family = QString::fromUtf8(reinterpret_cast<const char*>(name));
    FcPatternDestroy(match);
    return family;
#else
    Q_UNUSED(language);
    return {};
#endif
}

} // namespace sonmira::platform

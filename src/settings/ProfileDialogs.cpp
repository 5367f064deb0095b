#include "ProfileDialogs.h"

#include <QCoreApplication>

namespace sonmira::settings {

namespace {

platform::FileDialogRequest profileRequest(const DialogOwners& owners, const char* title) {
    platform::FileDialogRequest req;
    req.owner = owners.owner();
    req.title = QString::fromLatin1(title);
    req.filter = QString::fromLatin1(ProfileFilter);
    req.initialDir = QCoreApplication::applicationDirPath();
    return req;
}

} // namespace

QString ShowOpenProfileDialog(platform::Desktop& desktop, const DialogOwners& owners) {
    // No check that the file exists here: the import does that itself.
    return desktop.openFileName(profileRequest(owners, "View profile"));
}

QString ShowSaveProfileDialog(platform::Desktop& desktop, const DialogOwners& owners) {
    platform::FileDialogRequest req = profileRequest(owners, "Save profile");
    req.confirmOverwrite = true;
    return desktop.saveFileName(req);
}

} // namespace sonmira::settings

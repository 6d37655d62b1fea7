#include "app/InstallLocationPrompt.h"

#include <QMessageBox>

#include "ui/Localization.h"

namespace corvane::app {

bool runsOutsideApplications(std::string_view path) {
    return path.starts_with("/Volumes/") || path.find("AppTranslocation") != std::string_view::npos;
}

bool promptIfRunningOutsideApplications(const QString& executablePath, InstallStyle style) {
    if (style != InstallStyle::copiedBundle) return false;
    if (!runsOutsideApplications(executablePath.toStdString())) return false;
    QMessageBox message;
    message.setIcon(QMessageBox::Information);
    message.setWindowTitle(QStringLiteral("Corvane Display"));
    message.setText(ui::localized("install.move_title"));
    message.setInformativeText(ui::localized("install.move_body"));
    message.addButton(ui::localized("install.move_ok"), QMessageBox::AcceptRole);
    message.exec();
    return true;
}

}  // namespace corvane::app

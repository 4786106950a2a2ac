#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace platform::qt {

// Resolved here, at the call: the current directory is what the name is relative to.
void QtShell::OpenDocument(const std::string& document) {
    const QString path = QDir::current().absoluteFilePath(QString::fromStdString(document));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform::qt

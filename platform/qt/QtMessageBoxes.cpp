#include "platform/qt/QtMessageBoxes.h"

#include <QMessageBox>

namespace platform::qt {

namespace {

// Without a parent the box centres itself on the screen; exec() makes it application
// modal, so the main window takes no input while it is open.
void ShowBox(QMessageBox::Icon icon, const std::string& title, const std::string& text) {
    QMessageBox box(icon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void QtMessageBoxes::ShowMessage(const std::string& text) {
    ShowBox(QMessageBox::NoIcon, m_application.Title(), text);
}

void QtMessageBoxes::ShowError(const std::string& text) {
    ShowBox(QMessageBox::Critical, m_application.Title(), text);
}

} // namespace platform::qt

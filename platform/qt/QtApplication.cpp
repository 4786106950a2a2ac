#include "platform/qt/QtApplication.h"

#include "platform/qt/QtFormView.h"
#include "platform/qt/QtLook.h"

namespace platform::qt {

QtApplication::QtApplication(int& argc, char** argv, std::string exeName)
    : m_application(argc, argv), m_exeName(std::move(exeName)) {
    // Message boxes show Chinese text too: name the CJK family rather than have every
    // box search for a fallback font.
    QFont font = QApplication::font();
    font.setFamily(QString::fromLatin1(CjkFamily));
    QApplication::setFont(font);
}

void QtApplication::SetTitle(const std::string& title) {
    m_title = title;
    QApplication::setApplicationDisplayName(QString::fromStdString(title));
}

int QtApplication::Run(Form& mainForm) {
    QtFormView view(mainForm);
    view.show();
    QApplication::exec();
    return 0;
}

} // namespace platform::qt

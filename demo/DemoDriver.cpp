#include "demo/DemoDriver.h"

#include "platform/qt/QtFormView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

platform::qt::QtFormView* FindView() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = dynamic_cast<platform::qt::QtFormView*>(widget))
            return view;
    return nullptr;
}

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

} // namespace

DemoDriver::DemoDriver(std::filesystem::path screenshots, std::filesystem::path clientFolder)
    : m_screenshots(std::move(screenshots)), m_clientFolder(std::move(clientFolder)) {
    // Boxes run their own event loop; the watch runs inside it and closes them.
    connect(&m_boxWatch, &QTimer::timeout, this, &DemoDriver::CloseOpenBox);
}

void DemoDriver::Start() {
    QTimer::singleShot(0, this, &DemoDriver::Walk);
    m_boxWatch.start(200);
}

void DemoDriver::Walk() {
    m_view = FindView();
    if (m_view == nullptr) {
        Say("The launcher's window did not open.");
        QCoreApplication::exit(1);
        return;
    }
    Save(m_view, "window");
    Click("BitBtn2", "第一步: starts MSSQL.exe, then waits 90 s");
    Click("BitBtn3", "第二步: starts start.bat, then waits 30 s");
    Click("BitBtn4", "第三步: restores zabo from zabo.bak and writes hjpz.ini");
    Click("BitBtn5", "1、安装客户端: starts zabo.exe");
    WaitForClientSetup();
    Click("BitBtn6", "2、自动环境配置: copies hjpz.ini into the client's folder");
    Click("BitBtn1", "退出");
}

void DemoDriver::Click(const char* button, const std::string& what) {
    Say("-> " + what);
    auto* widget = qobject_cast<QAbstractButton*>(m_view->Widget(button));
    const auto started = std::chrono::steady_clock::now();
    widget->click(); // returns when the handler has ended, boxes included
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);
    char took[64];
    std::snprintf(took, sizeof took, "   done after %.1f s", seconds.count());
    Say(took);
    if (m_view->isVisible())
        Save(m_view, button);
}

void DemoDriver::CloseOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
        return;
    const bool error = box->icon() == QMessageBox::Critical;
    Say(std::string(error ? "   error box: " : "   message box: ") + box->text().toStdString());
    Save(box, error ? "error" : "message");
    box->accept();
}

// The operator waits for the client setup to finish before the configuration step.
void DemoDriver::WaitForClientSetup() {
    for (int tries = 0; tries < 100 && !std::filesystem::exists(m_clientFolder / "zabo"); ++tries)
        QThread::msleep(100);
}

void DemoDriver::Save(QWidget* widget, const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++m_shots);
    const auto file = m_screenshots / (prefix + name + ".png");
    widget->grab().save(QString::fromStdString(file.string()));
    Say("   screenshot " + file.string());
}

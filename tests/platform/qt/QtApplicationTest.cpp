#include "platform/qt/QtApplication.h"

#include "platform/qt/QtArt.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtShell.h"
#include "tests/platform/qt/TestApplication.h"
#include "tests/support/RecordingForm.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(QtApplication, RunsTheWindowUntilTheFormClosesIt) {
    platform::qt::QtApplication& application = TestApplication();
    application.SetTitle("筠栎软件安装程序");
    EXPECT_EQ(application.Title(), "筠栎软件安装程序");
    EXPECT_EQ(application.ExeName(), "C:\\setup\\launcher.exe");

    RecordingForm form;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            shown |= window->isVisible() && window->windowTitle() == "筠栎软件安装程序";
        form.RequestClose();
    });
    EXPECT_EQ(application.Run(form), 0);
    EXPECT_TRUE(shown);
}

struct BoxCase {
    const char* title;
    void (platform::MessageBoxes::*show)(const std::string&);
    QMessageBox::Icon icon;
};

TEST(QtMessageBoxes, ShowTheTextUnderTheApplicationTitleWithOneOkButton) {
    const BoxCase cases[] = {
        {"message", &platform::MessageBoxes::ShowMessage, QMessageBox::NoIcon},
        {"error", &platform::MessageBoxes::ShowError, QMessageBox::Critical},
    };
    TestApplication().SetTitle("标题");
    platform::qt::QtMessageBoxes boxes(TestApplication());
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.title);
        QString title, text;
        QMessageBox::Icon icon{};
        QMessageBox::StandardButtons buttons;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            modal = box->isModal();
            box->accept();
        });
        (boxes.*c.show)("第一步成功完成！");
        EXPECT_EQ(title, "标题");
        EXPECT_EQ(text, "第一步成功完成！");
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(buttons, QMessageBox::Ok);
        EXPECT_TRUE(modal);
    }
}

class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { opened.push_back(url); }

public:
    std::vector<QUrl> opened;
};

TEST(QtShell, OpensTheDocumentFromTheCurrentDirectory) {
    testing_support::TempDir directory;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(directory.Path());
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "Open");

    platform::qt::QtShell().OpenDocument("设置固定IP地址.mht");

    QDesktopServices::unsetUrlHandler("file");
    std::filesystem::current_path(previous);
    ASSERT_EQ(recorder.opened.size(), 1u);
    EXPECT_EQ(recorder.opened[0].toLocalFile().toStdString(),
              (directory / "设置固定IP地址.mht").string());
}

TEST(QtArt, GlyphsDrawTheirBottomLeftColourTransparent) {
    for (platform::Glyph glyph : {platform::Glyph::PurpleBook, platform::Glyph::ComputerWithCable,
                                  platform::Glyph::FloppyDisk, platform::Glyph::PowerSymbol}) {
        const QImage image = platform::qt::GlyphIcon(glyph).pixmap(16, 16).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 20);
    }
    EXPECT_TRUE(platform::qt::GlyphIcon(platform::Glyph::None).isNull());
    EXPECT_EQ(platform::qt::ProgramIcon().availableSizes().size(), 5);
}

} // namespace

#include "QtApplicationTest.moc"

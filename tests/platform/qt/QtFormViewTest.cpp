#include "platform/qt/QtFormView.h"

#include "platform/qt/QtLook.h"
#include "tests/support/RecordingForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using platform::qt::QtFormView;

namespace {

QString TextOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    return qobject_cast<QPushButton*>(widget)->text();
}

struct WidgetCase {
    const char* name;
    const char* className;
    const char* parent;
    QRect geometry;
    const char* text;
    int pixelSize;
    bool bold;
    bool underline;
    bool enabled;
    bool hidden;
};

// Controls without a font of their own take their parent's: the buttons of the server
// group are drawn in its 14 px bold title font.
const WidgetCase widgetCases[] = {
    {"Label5",
     "QLabel",
     "Form1",
     {16, 8, 441, 16},
     "1、请按顺序执行以下操作！否则可能无法正常使用本软件！！",
     13,
     true,
     false,
     true,
     false},
    {"GroupBox1",
     "QGroupBox",
     "Form1",
     {8, 80, 497, 401},
     "一、服务端安装（只需在一台做服务器的计算机上安装）",
     14,
     true,
     false,
     true,
     false},
    {"Label1", "QLabel", "GroupBox1", {224, 184, 16, 14}, "ip", 14, true, false, true, true},
    {"Label2", "QLabel", "GroupBox1", {224, 208, 60, 14}, "计算机名", 14, true, false, true, true},
    {"Label3",
     "QLabel",
     "GroupBox1",
     {8, 328, 209, 20},
     "怎样设置固定IP地址？",
     16,
     false,
     true,
     true,
     false},
    {"GroupBox4",
     "QGroupBox",
     "GroupBox1",
     {87, 101, 374, 100},
     "还原数据库",
     14,
     true,
     false,
     true,
     true},
    {"Label9",
     "QLabel",
     "GroupBox4",
     {19, 60, 80, 16},
     "备份文件名",
     16,
     false,
     false,
     true,
     false},
    {"Edit8", "QLineEdit", "GroupBox4", {102, 21, 179, 24}, "zabo", 16, false, false, false, false},
    {"Edit9",
     "QLineEdit",
     "GroupBox4",
     {102, 56, 179, 24},
     "zabo.bak",
     16,
     false,
     false,
     true,
     false},
    {"BitBtn2",
     "QPushButton",
     "GroupBox1",
     {44, 360, 120, 25},
     "第一步",
     14,
     true,
     false,
     true,
     false},
    {"BitBtn3",
     "QPushButton",
     "GroupBox1",
     {180, 360, 120, 25},
     "第二步",
     14,
     true,
     false,
     false,
     false},
    {"BitBtn4",
     "QPushButton",
     "GroupBox1",
     {316, 360, 120, 25},
     "第三步",
     14,
     true,
     false,
     false,
     false},
    {"BitBtn6",
     "QPushButton",
     "GroupBox2",
     {196, 36, 153, 49},
     "2、自动环境配置",
     14,
     true,
     false,
     true,
     false},
    {"BitBtn1",
     "QPushButton",
     "Form1",
     {388, 493, 117, 100},
     "退    出",
     19,
     true,
     false,
     true,
     false},
};

class QtFormViewTest : public testing::Test {
protected:
    QWidget* W(const char* name) { return view.Widget(name); }
    QPushButton* Button(const char* name) { return qobject_cast<QPushButton*>(W(name)); }

    RecordingForm form;
    QtFormView view{form};
};

TEST_F(QtFormViewTest, BuildsEachControlAsDesigned) {
    view.setObjectName("Form1");
    for (const WidgetCase& expected : widgetCases) {
        SCOPED_TRACE(expected.name);
        QWidget* widget = W(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), expected.name);
        EXPECT_STREQ(widget->metaObject()->className(), expected.className);
        EXPECT_EQ(widget->parentWidget()->objectName(), expected.parent);
        EXPECT_EQ(widget->geometry(), expected.geometry);
        EXPECT_EQ(TextOf(widget), QString::fromUtf8(expected.text));
        EXPECT_EQ(widget->font().family(), platform::qt::CjkFamily);
        EXPECT_EQ(widget->font().pixelSize(), expected.pixelSize);
        EXPECT_EQ(widget->font().bold(), expected.bold);
        EXPECT_EQ(widget->font().underline(), expected.underline);
        EXPECT_EQ(widget->isEnabled(), expected.enabled);
        EXPECT_EQ(widget->isHidden(), expected.hidden);
    }
    EXPECT_EQ(W("ADOCommand1"), nullptr);
    EXPECT_EQ(W("IdIPWatch1"), nullptr);
}

TEST_F(QtFormViewTest, IsAFixedWindowWithOnlyAMinimiseBox) {
    EXPECT_EQ(view.windowTitle(), "筠栎软件安装程序");
    EXPECT_EQ(view.size(), QSize(513, 600));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    EXPECT_EQ(view.pos(), QPoint(0, -4));
    const Qt::WindowFlags flags = view.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(view.windowIcon().isNull());
}

TEST_F(QtFormViewTest, NotesKeepTheirFourteenLinesAndColours) {
    auto* notes = qobject_cast<QLabel*>(W("Label4"));
    EXPECT_EQ(notes->text().split('\n').size(), 14);
    EXPECT_TRUE(notes->wordWrap());
    EXPECT_EQ(notes->palette().color(QPalette::Window), QColor(0xFFFF00));
    EXPECT_EQ(notes->palette().color(QPalette::WindowText), QColor(0xFF00FF));
    EXPECT_EQ(W("Label5")->palette().color(QPalette::WindowText), QColor(0xFF0000));
    EXPECT_EQ(Button("BitBtn2")->palette().color(QPalette::ButtonText), QColor(0x000080));
    EXPECT_EQ(W("Label3")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(W("Edit8"))->isReadOnly());
    EXPECT_FALSE(Button("BitBtn2")->icon().isNull());
    EXPECT_TRUE(Button("BitBtn5")->icon().isNull());
}

TEST_F(QtFormViewTest, TabOrderFollowsGroupsThenTheirChildren) {
    QStringList chain;
    for (QWidget* w = view.nextInFocusChain(); w != &view; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
    EXPECT_EQ(chain, QStringList({"Edit8", "Edit9", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5",
                                  "BitBtn6", "BitBtn1"}));
}

TEST_F(QtFormViewTest, ControlChangesShowAtOnce) {
    form.Get("BitBtn3").SetEnabled(true);
    form.Get("Edit9").SetCaption("D:\\setup\\zabo.bak");
    form.Get("Label1").SetCaption("192.168.1.20");
    EXPECT_TRUE(W("BitBtn3")->isEnabled());
    EXPECT_EQ(TextOf(W("Edit9")), "D:\\setup\\zabo.bak");
    EXPECT_EQ(TextOf(W("Label1")), "192.168.1.20");
    EXPECT_TRUE(W("Label1")->isHidden());
}

TEST_F(QtFormViewTest, TypingInAnEditUpdatesItsControl) {
    QTest::keyClicks(W("Edit9"), "x");
    EXPECT_EQ(form.Get("Edit9").Caption(), "zabo.bakx");
}

TEST_F(QtFormViewTest, ButtonAndLabelClicksReachTheForm) {
    view.show();
    QTest::mouseClick(W("BitBtn2"), Qt::LeftButton);
    QTest::mouseClick(W("BitBtn3"), Qt::LeftButton); // disabled
    QTest::mouseClick(W("Label3"), Qt::LeftButton);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"BitBtn2", "Label3"}));
}

struct EnterCase {
    const char* title;
    const char* focus; // nullptr: no control has the focus
    bool exitEnabled;
    Qt::Key key;
    std::vector<std::string> clicks;
};

TEST_F(QtFormViewTest, EnterActivatesTheDefaultButtonUnlessAnotherButtonHasTheFocus) {
    const EnterCase cases[] = {
        {"no focus", nullptr, true, Qt::Key_Return, {"BitBtn1"}},
        {"keypad", nullptr, true, Qt::Key_Enter, {"BitBtn1"}},
        {"exit disabled", nullptr, false, Qt::Key_Return, {}},
        {"exit focused", "BitBtn1", true, Qt::Key_Return, {"BitBtn1"}},
        {"other button focused", "BitBtn5", true, Qt::Key_Return, {"BitBtn5"}},
        {"other button focused, exit disabled", "BitBtn5", false, Qt::Key_Enter, {"BitBtn5"}},
    };
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.title);
        form.clicks.clear();
        form.Get("BitBtn1").SetEnabled(c.exitEnabled);
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        if (c.focus != nullptr)
            W(c.focus)->setFocus();
        QWidget* receiver = c.focus != nullptr ? W(c.focus) : &view;
        QTest::keyClick(receiver, c.key);
        EXPECT_EQ(form.clicks, c.clicks);
    }
}

TEST_F(QtFormViewTest, ClosesOnlyWhenTheFormAsks) {
    view.show();
    EXPECT_FALSE(view.close());
    EXPECT_TRUE(view.isVisible());
    form.RequestClose();
    EXPECT_FALSE(view.isVisible());
}

} // namespace

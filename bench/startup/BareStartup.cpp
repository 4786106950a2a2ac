// The baseline: the same window built by hand with plain Qt Widgets, no launcher logic.
#include "FirstPaint.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>
#include <string>

namespace {

enum Kind { Label, Group, Edit, Button };

struct Item {
    Kind kind;
    const char* name;
    const char* parent;
    int left, top, width, height;
    const char* text;
    int pixelSize;
    bool bold, underline, hidden, disabled;
    QRgb color;
};

const char* const notes =
    "            ◆◆◆◆◆◆◆安装服务端注意事项！！！◆◆◆◆◆◆◆\n"
    "\n"
    "注意：\n"
    "  安装过程中如果杀毒软件提示，请允许运行或添加到信任列表。\n"
    "\n"
    "  在安装服务器之前请将服务端计算机的IP地址设置为固定形式！\n"
    "\n"
    "如果没有设置固定IP，请参看下面教程，设置好固定IP后，重新运行本程序！\n"
    "\n"
    "安装服务端，请按顺序执行，安装期间请不要进行其它操作，安装可能需要一点时间，请耐心等待！\n"
    "\n"
    "如果第三步出错，请手动从’‘开始菜单’‘启动microsoft sql server  "
    "迷你版的‘’服务管理器’‘，并点击‘’开始/"
    "继续‘’，然后选择‘’当启动OS时启动服务‘’复选框。启动好之后关闭服务管理器！\n"
    "\n"
    "安装完成后请不要更改服务端计算机的IP地址和计算机名称！！";

const Item items[] = {
    {Label, "Label5", "", 16, 8, 441, 16, "1、请按顺序执行以下操作！否则可能无法正常使用本软件！！",
     13, true, false, false, false, 0xFF0000},
    {Label, "Label6", "", 16, 32, 473, 41,
     "2、请用本程序安装完服务端后，完整复制此程序目录到客户端计算机安装客户端程序！！", 13, true,
     false, false, false, 0xFF0000},
    {Group, "GroupBox1", "", 8, 80, 497, 401, "一、服务端安装（只需在一台做服务器的计算机上安装）",
     14, true, false, false, false, 0x000080},
    {Label, "Label1", "GroupBox1", 224, 184, 16, 14, "ip", 14, true, false, true, false, 0x000080},
    {Label, "Label2", "GroupBox1", 224, 208, 60, 14, "计算机名", 14, true, false, true, false,
     0x000080},
    {Label, "Label3", "GroupBox1", 8, 328, 209, 20, "怎样设置固定IP地址？", 16, false, true, false,
     false, 0x0000FF},
    {Label, "Label4", "GroupBox1", 8, 24, 481, 297, notes, 13, false, false, false, false,
     0xFF00FF},
    {Group, "GroupBox4", "GroupBox1", 87, 101, 374, 100, "还原数据库", 14, true, false, true, false,
     0x000080},
    {Label, "Label8", "GroupBox4", 23, 28, 64, 16, "数据库名", 16, false, false, false, false, 0},
    {Label, "Label9", "GroupBox4", 19, 60, 80, 16, "备份文件名", 16, false, false, false, false, 0},
    {Edit, "Edit8", "GroupBox4", 102, 21, 179, 24, "zabo", 16, false, false, false, true, 0},
    {Edit, "Edit9", "GroupBox4", 102, 56, 179, 24, "zabo.bak", 16, false, false, false, false, 0},
    {Button, "BitBtn2", "GroupBox1", 44, 360, 120, 25, "第一步", 14, true, false, false, false,
     0x000080},
    {Button, "BitBtn3", "GroupBox1", 180, 360, 120, 25, "第二步", 14, true, false, false, true,
     0x000080},
    {Button, "BitBtn4", "GroupBox1", 316, 360, 120, 25, "第三步", 14, true, false, false, true,
     0x000080},
    {Group, "GroupBox2", "", 8, 488, 377, 105, "二、客户端安装（所有用到本软件的计算机都需安装）",
     14, true, false, false, false, 0x000080},
    {Button, "BitBtn5", "GroupBox2", 28, 36, 153, 49, "1、安装客户端", 14, true, false, false,
     false, 0x000080},
    {Button, "BitBtn6", "GroupBox2", 196, 36, 153, 49, "2、自动环境配置", 14, true, false, false,
     false, 0x000080},
    {Button, "BitBtn1", "", 388, 493, 117, 100, "退    出", 19, true, false, false, false, 0},
};

QWidget* Create(const Item& item, QWidget* parent) {
    const QString text = QString::fromUtf8(item.text);
    switch (item.kind) {
    case Label: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case Group:
        return new QGroupBox(text, parent);
    case Edit:
        return new QLineEdit(text, parent);
    case Button:
        return new QPushButton(text, parent);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    FirstPaint firstPaint;
    application.installEventFilter(&firstPaint);

    QWidget window;
    window.setWindowTitle(QString::fromUtf8("筠栎软件安装程序"));
    window.setFixedSize(513, 600);
    window.move(0, -4);
    std::map<std::string, QWidget*> widgets{{"", &window}};
    for (const Item& item : items) {
        QWidget* widget = Create(item, widgets.at(item.parent));
        widget->setGeometry(item.left, item.top, item.width, item.height);
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(item.pixelSize);
        font.setBold(item.bold);
        font.setUnderline(item.underline);
        widget->setFont(font);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor(item.color));
        palette.setColor(QPalette::ButtonText, QColor(item.color));
        widget->setPalette(palette);
        widget->setHidden(item.hidden);
        widget->setDisabled(item.disabled);
        widgets[item.name] = widget;
    }
    widgets.at("Label4")->setAutoFillBackground(true);
    QPalette notesPalette = widgets.at("Label4")->palette();
    notesPalette.setColor(QPalette::Window, QColor(0xFFFF00));
    widgets.at("Label4")->setPalette(notesPalette);

    window.show();
    return application.exec();
}

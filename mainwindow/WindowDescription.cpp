#include "mainwindow/WindowDescription.h"

#include <stdexcept>

using platform::Charset;
using platform::Color;
using platform::ControlDescription;
using platform::ControlKind;
using platform::Cursor;
using platform::Font;
using platform::FormDescription;
using platform::Glyph;

namespace {

// The notes keep their design line breaks: a single carriage return between lines.
const char* const ServerNotes =
    "            ◆◆◆◆◆◆◆安装服务端注意事项！！！◆◆◆◆◆◆◆\r"
    "\r"
    "注意：\r"
    "  安装过程中如果杀毒软件提示，请允许运行或添加到信任列表。\r"
    "\r"
    "  在安装服务器之前请将服务端计算机的IP地址设置为固定形式！\r"
    "\r"
    "如果没有设置固定IP，请参看下面教程，设置好固定IP后，重新运行本程序！\r"
    "\r"
    "安装服务端，请按顺序执行，安装期间请不要进行其它操作，安装可能需要一点时间，请耐心等待！\r"
    "\r"
    "如果第三步出错，请手动从’‘开始菜单’‘启动microsoft sql server  "
    "迷你版的‘’服务管理器’‘，并点击‘’开始/"
    "继续‘’，然后选择‘’当启动OS时启动服务‘’复选框。启动好之后关闭服务管理器！\r"
    "\r"
    "安装完成后请不要更改服务端计算机的IP地址和计算机名称！！";

const Font RedBold13{.name = "MS Sans Serif", .pixelSize = 13, .bold = true, .color = Color::Red};
const Font GroupTitle{
    .name = "宋体", .pixelSize = 14, .bold = true, .color = Color::Navy, .charset = Charset::Ansi};

Font NewSongTi(Charset charset) {
    return Font{.name = "新宋体", .pixelSize = 16, .color = Color::WindowText, .charset = charset};
}

} // namespace

const FormDescription& Form1Description() {
    static const FormDescription form{
        .name = "Form1",
        .caption = "筠栎软件安装程序",
        .left = 0,
        .top = -4,
        .clientWidth = 513,
        .clientHeight = 600,
        .color = Color::BtnFace,
        .font = Font{.name = "MS Sans Serif", .pixelSize = 11},
        .designPixelsPerInch = 96,
        .minimizeOnly = true,
    };
    return form;
}

const std::vector<ControlDescription>& Form1Controls() {
    // Creation order; an empty parent is the window itself.
    static const std::vector<ControlDescription> controls{
        {.name = "Label5",
         .kind = ControlKind::Label,
         .left = 16,
         .top = 8,
         .width = 441,
         .height = 16,
         .text = "1、请按顺序执行以下操作！否则可能无法正常使用本软件！！",
         .font = RedBold13},
        {.name = "Label6",
         .kind = ControlKind::Label,
         .left = 16,
         .top = 32,
         .width = 473,
         .height = 41,
         .text = "2、请用本程序安装完服务端后，完整复制此程序目录到客户端计算机安装客户端程序！！",
         .font = RedBold13,
         .wordWrap = true},
        {.name = "GroupBox1",
         .kind = ControlKind::GroupBox,
         .left = 8,
         .top = 80,
         .width = 497,
         .height = 401,
         .text = "一、服务端安装（只需在一台做服务器的计算机上安装）",
         .font = GroupTitle,
         .tabOrder = 0},
        {.name = "Label1",
         .kind = ControlKind::Label,
         .parent = "GroupBox1",
         .left = 224,
         .top = 184,
         .width = 16,
         .height = 14,
         .text = "ip",
         .autoSize = true,
         .visible = false},
        {.name = "Label2",
         .kind = ControlKind::Label,
         .parent = "GroupBox1",
         .left = 224,
         .top = 208,
         .width = 60,
         .height = 14,
         .text = "计算机名",
         .autoSize = true,
         .visible = false},
        {.name = "Label3",
         .kind = ControlKind::Label,
         .parent = "GroupBox1",
         .left = 8,
         .top = 328,
         .width = 209,
         .height = 20,
         .text = "怎样设置固定IP地址？",
         .font =
             Font{
                 .name = "MS Sans Serif", .pixelSize = 16, .underline = true, .color = Color::Blue},
         .cursor = Cursor::HandPoint},
        {.name = "Label4",
         .kind = ControlKind::Label,
         .parent = "GroupBox1",
         .left = 8,
         .top = 24,
         .width = 481,
         .height = 297,
         .text = ServerNotes,
         .font = Font{.name = "MS Sans Serif", .pixelSize = 13, .color = Color::Fuchsia},
         .background = Color::Yellow,
         .wordWrap = true},
        {.name = "GroupBox4",
         .kind = ControlKind::GroupBox,
         .parent = "GroupBox1",
         .left = 87,
         .top = 101,
         .width = 374,
         .height = 100,
         .text = "还原数据库",
         .tabOrder = 0,
         .visible = false},
        {.name = "Label8",
         .kind = ControlKind::Label,
         .parent = "GroupBox4",
         .left = 23,
         .top = 28,
         .width = 64,
         .height = 16,
         .text = "数据库名",
         .font = NewSongTi(Charset::Ansi),
         .autoSize = true},
        {.name = "Label9",
         .kind = ControlKind::Label,
         .parent = "GroupBox4",
         .left = 19,
         .top = 60,
         .width = 80,
         .height = 16,
         .text = "备份文件名",
         .font = NewSongTi(Charset::GB2312),
         .autoSize = true},
        {.name = "Edit8",
         .kind = ControlKind::Edit,
         .parent = "GroupBox4",
         .left = 102,
         .top = 21,
         .width = 179,
         .height = 24,
         .text = "zabo",
         .font = NewSongTi(Charset::Ansi),
         .tabOrder = 0,
         .enabled = false,
         .readOnly = true},
        {.name = "Edit9",
         .kind = ControlKind::Edit,
         .parent = "GroupBox4",
         .left = 102,
         .top = 56,
         .width = 179,
         .height = 24,
         .text = "zabo.bak",
         .font = NewSongTi(Charset::GB2312),
         .tabOrder = 1},
        {.name = "BitBtn2",
         .kind = ControlKind::BitBtn,
         .parent = "GroupBox1",
         .left = 44,
         .top = 360,
         .width = 120,
         .height = 25,
         .text = "第一步",
         .tabOrder = 1,
         .glyph = Glyph::PurpleBook},
        {.name = "BitBtn3",
         .kind = ControlKind::BitBtn,
         .parent = "GroupBox1",
         .left = 180,
         .top = 360,
         .width = 120,
         .height = 25,
         .text = "第二步",
         .tabOrder = 2,
         .enabled = false,
         .glyph = Glyph::ComputerWithCable},
        {.name = "BitBtn4",
         .kind = ControlKind::BitBtn,
         .parent = "GroupBox1",
         .left = 316,
         .top = 360,
         .width = 120,
         .height = 25,
         .text = "第三步",
         .tabOrder = 3,
         .enabled = false,
         .glyph = Glyph::FloppyDisk},
        {.name = "GroupBox2",
         .kind = ControlKind::GroupBox,
         .left = 8,
         .top = 488,
         .width = 377,
         .height = 105,
         .text = "二、客户端安装（所有用到本软件的计算机都需安装）",
         .font = GroupTitle,
         .tabOrder = 1},
        {.name = "BitBtn5",
         .kind = ControlKind::BitBtn,
         .parent = "GroupBox2",
         .left = 28,
         .top = 36,
         .width = 153,
         .height = 49,
         .text = "1、安装客户端",
         .tabOrder = 0},
        {.name = "BitBtn6",
         .kind = ControlKind::BitBtn,
         .parent = "GroupBox2",
         .left = 196,
         .top = 36,
         .width = 153,
         .height = 49,
         .text = "2、自动环境配置",
         .tabOrder = 1},
        {.name = "BitBtn1",
         .kind = ControlKind::BitBtn,
         .left = 388,
         .top = 493,
         .width = 117,
         .height = 100,
         .text = "退    出",
         .font = Font{.name = "MS Sans Serif", .pixelSize = 19, .bold = true},
         .tabOrder = 2,
         .glyph = Glyph::PowerSymbol,
         .isDefault = true},
        // Non-visual: the restore's command and the local-address query.
        {.name = "ADOCommand1", .kind = ControlKind::Component},
        {.name = "IdIPWatch1", .kind = ControlKind::Component},
    };
    return controls;
}

const ControlDescription& Form1Control(const std::string& name) {
    for (const auto& control : Form1Controls())
        if (control.name == name)
            return control;
    throw std::out_of_range("no control named " + name);
}

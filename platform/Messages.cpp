#include "platform/Messages.h"

namespace platform::messages {
namespace {

std::string Quoted(const std::string& text) {
    return "“" + text + "”";
}

// The reason follows a full-width colon, as a Chinese sentence would put it.
std::string Because(const std::string& what, const std::string& reason) {
    return what + "：" + reason;
}

const char* PartName(ProfilePart part) {
    switch (part) {
    case ProfilePart::Section:
        return "节名";
    case ProfilePart::Key:
        return "键名";
    case ProfilePart::Value:
        return "值";
    }
    return "";
}

} // namespace

std::string CannotStart(const std::string& program, const std::string& reason) {
    return Because("无法启动程序" + Quoted(program), reason);
}

std::string CannotCopy(const std::string& source, const std::string& destination,
                       const std::string& reason) {
    return Because("无法将" + Quoted(source) + "复制到" + Quoted(destination), reason);
}

std::string CannotLoadDatabaseLibrary(const std::string& library, const std::string& reason) {
    return Because("无法加载数据库访问库" + Quoted(library), reason);
}

std::string LibraryLacksFunction(const std::string& function) {
    return "库中没有函数 " + function;
}

std::string CannotStartDatabaseLibrary(const std::string& function) {
    return Because("无法初始化数据库访问库", function + " 失败");
}

std::string CannotConnect(const std::string& server, const std::string& reason) {
    return Because("无法连接数据库服务器" + Quoted(server), reason);
}

std::string CommandFailed(const std::string& server, const std::string& reason) {
    return Because("数据库服务器" + Quoted(server) + "上的命令执行失败", reason);
}

std::string ConnectionFailed() {
    return "连接失败";
}

std::string NoLoginRecord() {
    return "无法分配登录记录";
}

std::string LoginTooLong() {
    return "登录信息超出登录记录的容量";
}

std::string InvalidConnectionString(const std::string& reason) {
    return Because("连接字符串无效", reason);
}

std::string EntryWithoutEquals(int entry) {
    return "第 " + std::to_string(entry) + " 项没有“=”";
}

std::string EntryWithoutKey(int entry) {
    return "第 " + std::to_string(entry) + " 项没有键名";
}

std::string ValueWithoutClosingQuote(const std::string& key) {
    return Quoted(key) + "的值缺少结束引号";
}

std::string TextAfterClosingQuote(const std::string& key) {
    return Quoted(key) + "的值在结束引号之后还有文字";
}

std::string MissingSetting(const std::string& key) {
    return "缺少 " + key;
}

std::string InvalidDataSource(const std::string& dataSource, const std::string& reason) {
    return Because("数据源" + Quoted(dataSource) + "无效", reason);
}

std::string PortOutOfRange() {
    return "端口必须是 1 到 65535 之间的数字";
}

std::string NoInstanceName() {
    return "“\\”之后没有实例名";
}

std::string NoComputerNamed() {
    return "没有指明计算机";
}

std::string CannotResolve(const std::string& host, const std::string& reason) {
    return Because("无法解析" + Quoted(host), reason);
}

std::string CannotSendTo(const std::string& host, const std::string& reason) {
    return Because("无法向" + Quoted(host) + "发送查询", reason);
}

std::string NoSuchInstance(const std::string& host, const std::string& instance) {
    return Quoted(host) + "上的 SQL Server Browser 没有实例" + Quoted(instance);
}

std::string InstanceWithoutTcp(const std::string& host, const std::string& instance) {
    return Quoted(host) + "上的实例" + Quoted(instance) + "不接受 TCP 连接";
}

std::string NoBrowserAnswered(const std::string& host, const std::string& instance) {
    return Quoted(host) + "上没有 SQL Server Browser 回答实例" + Quoted(instance) + "的查询";
}

std::string NoComputerName() {
    return "本计算机没有可以解析的名称";
}

std::string CannotResolveComputerName(const std::string& name, const std::string& reason) {
    return Because("无法解析本计算机的名称" + Quoted(name), reason);
}

std::string ComputerNameWithoutIPv4(const std::string& name) {
    return "本计算机的名称" + Quoted(name) + "解析不出 IPv4 地址";
}

std::string LineBreakInProfileText(ProfilePart part, const std::string& file) {
    return "要写入" + Quoted(file) + "的" + PartName(part) +
           "含有换行符，配置文件的条目不能含有换行符";
}

std::string NotInCodePage936(ProfilePart part, const std::string& text, const std::string& file) {
    return "要写入" + Quoted(file) + "的" + PartName(part) + Quoted(text) +
           "含有代码页 936 无法表示的字符";
}

std::string NotInUtf16(ProfilePart part, const std::string& text, const std::string& file) {
    return "要写入" + Quoted(file) + "的" + PartName(part) + Quoted(text) +
           "含有 UTF-16 无法表示的字符";
}

std::string NoCodePage936Converter(const std::string& reason) {
    return Because("无法建立到代码页 936 的转换", reason);
}

} // namespace platform::messages

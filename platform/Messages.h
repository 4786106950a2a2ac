#pragma once

#include <string>

// The texts the launcher itself puts in its error boxes, in the operators' language.
// Each names what failed (a file, a server, a name) and why; the reason passed in is the
// system's, the library's or the server's own words and is shown as given.
namespace platform::messages {

std::string CannotStart(const std::string& program, const std::string& reason);
std::string CannotCopy(const std::string& source, const std::string& destination,
                       const std::string& reason);

std::string CannotLoadDatabaseLibrary(const std::string& library, const std::string& reason);
std::string LibraryLacksFunction(const std::string& function);
std::string CannotStartDatabaseLibrary(const std::string& function);
std::string CannotConnect(const std::string& server, const std::string& reason);
std::string CommandFailed(const std::string& server, const std::string& reason);
std::string ConnectionFailed();
std::string NoLoginRecord();
std::string LoginTooLong();

std::string InvalidConnectionString(const std::string& reason);
std::string EntryWithoutEquals(int entry);
std::string EntryWithoutKey(int entry);
std::string ValueWithoutClosingQuote(const std::string& key);
std::string TextAfterClosingQuote(const std::string& key);
std::string MissingSetting(const std::string& key);
std::string InvalidDataSource(const std::string& dataSource, const std::string& reason);
std::string PortOutOfRange();
std::string NoInstanceName();
std::string NoComputerNamed();

std::string CannotResolve(const std::string& host, const std::string& reason);
std::string CannotSendTo(const std::string& host, const std::string& reason);
std::string NoSuchInstance(const std::string& host, const std::string& instance);
std::string InstanceWithoutTcp(const std::string& host, const std::string& instance);
std::string NoBrowserAnswered(const std::string& host, const std::string& instance);

std::string NoComputerName();
std::string CannotResolveComputerName(const std::string& name, const std::string& reason);
std::string ComputerNameWithoutIPv4(const std::string& name);

// What part of a profile entry a text is for.
enum class ProfilePart { Section, Key, Value };
std::string LineBreakInProfileText(ProfilePart part, const std::string& file);
std::string NotInCodePage936(ProfilePart part, const std::string& text, const std::string& file);
std::string NotInUtf16(ProfilePart part, const std::string& text, const std::string& file);
std::string NoCodePage936Converter(const std::string& reason);

} // namespace platform::messages

#pragma once

#include <exception>
#include <functional>
#include <iosfwd>
#include <string>

namespace velinor::runtime {

// The caption of the box that reports a run-time error.
inline constexpr const char* kErrorReportCaption = "Fehler";

// The report's text: "Beschreibung:" description "Zeile:" line "Datei:" file, with nothing between.
std::string ComposeErrorReport(const std::string& description, int line, const std::string& file);

// The report of the last fault caught (FaultCatcher).
std::string FaultReport();

// The report of a C++ exception that reached the top: its message, line -1 (not known) and
// "Main Module" for the file.
std::string ExceptionReport(const std::exception_ptr& exception);

// Exit status of a tool whose work ended in an exception nobody caught (internal software error).
inline constexpr int kEscapedExceptionExit = 70;

// Runs a tool's main body. An exception that escapes it is reported on errors as
// "Fehler: " and the report, and the tool ends with kEscapedExceptionExit.
int RunReportingExceptions(const std::function<int()>& body, std::ostream& errors);
int RunReportingExceptions(const std::function<int()>& body);

}  // namespace velinor::runtime

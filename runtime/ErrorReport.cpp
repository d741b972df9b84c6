#include "runtime/ErrorReport.h"

#include <iostream>

#include "runtime/FaultCatcher.h"
#include "runtime/FaultCodes.h"

namespace velinor::runtime {

namespace {
constexpr int kUnknownLine = -1;
constexpr const char* kNoFile = "Main Module";
}  // namespace

std::string ComposeErrorReport(const std::string& description, int line, const std::string& file) {
    return "Beschreibung:" + description + "Zeile:" + std::to_string(line) + "Datei:" + file;
}

std::string FaultReport() { return ComposeErrorReport(ErrorDescription(), ErrorLine(), ErrorFile()); }

std::string ExceptionReport(const std::exception_ptr& exception) {
    std::string description = kUnknownFaultDescription;
    try {
        if (exception) std::rethrow_exception(exception);
    } catch (const std::exception& caught) {
        description = caught.what();
    } catch (...) {
        // Not a standard exception: nothing describes it.
    }
    return ComposeErrorReport(description, kUnknownLine, kNoFile);
}

int RunReportingExceptions(const std::function<int()>& body, std::ostream& errors) {
    try {
        return body();
    } catch (...) {
        errors << kErrorReportCaption << ": " << ExceptionReport(std::current_exception()) << std::endl;
        return kEscapedExceptionExit;
    }
}

int RunReportingExceptions(const std::function<int()>& body) { return RunReportingExceptions(body, std::cerr); }

}  // namespace velinor::runtime

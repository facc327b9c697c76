#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace zozuz {

// The program's error family. Every failure the program raises is one of these; each carries one
// message text and reports its class name, which the fatal error box shows. The classes are tiny and
// only meaningful together, so the whole family lives in this one header.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    // `reason` is the system's own account of a failure, such as "out.txt: No space left on device",
    // for the command-line tool to print beside the message; the program's error box shows only the
    // message.
    Exception(std::string message, std::string reason) : message_(std::move(message)), reason_(std::move(reason)) {}
    const std::string& message() const noexcept { return message_; }
    const std::string& reason() const noexcept { return reason_; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* className() const noexcept { return "Exception"; }

private:
    std::string message_;
    std::string reason_;  // empty when the system gave none
};

#define ZOZUZ_ERROR_CLASS(Name, Base)                                                  \
    class Name : public Base {                                                         \
    public:                                                                            \
        using Base::Base;                                                              \
        const char* className() const noexcept override { return #Name; }              \
    }

// A silent error: it ends the command that raised it and the error display shows nothing.
ZOZUZ_ERROR_CLASS(EAbort, Exception);
ZOZUZ_ERROR_CLASS(EInvalidOperation, Exception);
ZOZUZ_ERROR_CLASS(EStreamError, Exception);
ZOZUZ_ERROR_CLASS(EFOpenError, EStreamError);
ZOZUZ_ERROR_CLASS(EFCreateError, EStreamError);
ZOZUZ_ERROR_CLASS(EFilerError, EStreamError);
ZOZUZ_ERROR_CLASS(EWriteError, EFilerError);
ZOZUZ_ERROR_CLASS(EReadError, EFilerError);
ZOZUZ_ERROR_CLASS(EPrinter, Exception);

#undef ZOZUZ_ERROR_CLASS

// The message texts, exactly as the error boxes show them before the final period is added.
namespace messages {
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";
inline constexpr std::string_view kStreamWriteError = "Stream write error";
inline constexpr std::string_view kStreamReadError = "Stream read error";
inline constexpr std::string_view kTextExceedsCapacity = "Text exceeds memo capacity";
inline constexpr std::string_view kCannotMakeVisibleWindowModal = "Cannot make a visible window modal";
inline constexpr std::string_view kValueOutOfRange = "Value must be between %d and %d";
inline constexpr std::string_view kCannotPrintTo = "Cannot print to %s";
}  // namespace messages

}  // namespace zozuz

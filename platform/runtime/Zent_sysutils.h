// Exceptions and message formatting shared by the whole library.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zent {

// Every failure of the library and the platform layer is an Exception that
// carries the message shown to the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

// "Cannot assign a %s to a %s"
class EConvertError : public Exception { using Exception::Exception; };
// "Resource %s not found"
class EResNotFound : public Exception { using Exception::Exception; };
// "Control '%s' has no parent window", "Canvas does not allow drawing"
class EInvalidOperation : public Exception { using Exception::Exception; };
// "Not enough timers available"
class EOutOfResources : public Exception { using Exception::Exception; };
// "List index out of bounds (%s)"
class EListError : public Exception {
public:
    using Exception::Exception;
    // The error for Index outside a list, with the index in the message.
    static EListError OutOfBounds(int64_t Index);
};

// ASCII upper case: only the letters a to z change, every other byte
// (Latin-1 letters included) stays as it is.
constexpr char UpperCase(char C) {
    return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C;
}

// Replaces each "%s" of Pattern in turn by the next argument; "%%" gives "%".
// Missing arguments leave an empty text; extra arguments are ignored.
std::string Format(std::string_view Pattern, std::initializer_list<std::string_view> Args);

// The text of the error report: the message with a full stop appended when
// its last character sorts after '.' (so "...!" or "...?" get no extra dot,
// but letters and digits do).
std::string ErrorReportText(const std::string& Message);

inline EListError EListError::OutOfBounds(int64_t Index) {
    return EListError(Format("List index out of bounds (%s)", {std::to_string(Index)}));
}

}  // namespace zent

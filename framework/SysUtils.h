#pragma once
// Run-time library basics shared by every subsystem.

#include <exception>
#include <string>

// Root of the system's exceptions. The message is what the error dialog shows.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const noexcept { return FMessage; }

private:
    std::string FMessage;
};

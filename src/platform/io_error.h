// The one error type of file input and output, carrying the runtime's code and message.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class IoError : public std::runtime_error {
public:
    // Runtime codes with a message of their own; any other code reads "I/O error <code>".
    enum Code {
        FileNotFound = 2,
        InvalidFilename = 3,
        TooManyOpenFiles = 4,
        FileAccessDenied = 5,
        ReadBeyondEndOfFile = 100,
        DiskFull = 101,
        InvalidNumericInput = 106,
        // Not a runtime code: a text file larger than any file of the program (kLargestTextFile).
        FileTooLarge = 1000,
    };

    explicit IoError(int code);
    int code() const { return code_; }

    // The message the runtime gives for a code: "File not found", ..., "I/O error 32".
    static std::string MessageFor(int code);
    // The same cause in Polish, for messages that name the file or folder ("odmowa dostępu").
    static std::string PolishMessageFor(int code);
    std::string PolishMessage() const { return PolishMessageFor(code_); }
    // Maps an operating-system error number (errno) to the runtime code it stands for.
    static int CodeForErrno(int osError);
    static IoError FromErrno(int osError);

private:
    IoError(int code, const std::string& message);
    int code_;
};

}  // namespace platform

// File input/output errors and the mapping of the system's error numbers onto them.
#include "platform/io_error.h"

#include <cerrno>

namespace platform {

IoError::IoError(int code) : IoError(code, MessageFor(code)) {}

IoError::IoError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

std::string IoError::MessageFor(int code) {
    switch (code) {
        case FileNotFound: return "File not found";
        case InvalidFilename: return "Invalid filename";
        case TooManyOpenFiles: return "Too many open files";
        case FileAccessDenied: return "File access denied";
        case ReadBeyondEndOfFile: return "Read beyond end of file";
        case DiskFull: return "Disk full";
        case InvalidNumericInput: return "Invalid numeric input";
        case FileTooLarge: return "Plik jest za duży: żaden plik programu nie ma więcej niż 64 MiB";
        default: return "I/O error " + std::to_string(code);
    }
}

std::string IoError::PolishMessageFor(int code) {
    switch (code) {
        case FileNotFound: return "nie ma takiego pliku ani folderu";
        case InvalidFilename: return "nieprawidłowa nazwa pliku";
        case TooManyOpenFiles: return "zbyt wiele otwartych plików";
        case FileAccessDenied: return "odmowa dostępu";
        case ReadBeyondEndOfFile: return "odczyt poza końcem pliku";
        case DiskFull: return "brak miejsca na dysku";
        case InvalidNumericInput: return "nieprawidłowa liczba";
        case FileTooLarge: return "plik jest za duży: żaden plik programu nie ma więcej niż 64 MiB";
        default: return "błąd wejścia-wyjścia " + std::to_string(code);
    }
}

int IoError::CodeForErrno(int osError) {
    switch (osError) {
        case ENOENT:
            return FileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
        case EILSEQ:
            return InvalidFilename;
        case EMFILE:
        case ENFILE:
            return TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
        case EBUSY:
            return FileAccessDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return DiskFull;
        default:
            return -1;
    }
}

IoError IoError::FromErrno(int osError) {
    const int code = CodeForErrno(osError);
    if (code > 0) return IoError(code);
    // No runtime code of its own: the system's number is shown as it is.
    return IoError(osError, "I/O error " + std::to_string(osError));
}

}  // namespace platform

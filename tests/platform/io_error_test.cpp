// The runtime's file error messages and the mapping of the system's error numbers onto them.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/io_error.h"

using platform::IoError;

TEST(IoError, MessagesOfTheRuntimeCodes) {
    EXPECT_STREQ(IoError(2).what(), "File not found");
    EXPECT_STREQ(IoError(3).what(), "Invalid filename");
    EXPECT_STREQ(IoError(4).what(), "Too many open files");
    EXPECT_STREQ(IoError(5).what(), "File access denied");
    EXPECT_STREQ(IoError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(IoError(101).what(), "Disk full");
    EXPECT_STREQ(IoError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(IoError(32).what(), "I/O error 32");
}

TEST(IoError, SystemErrorNumbersMapDeliberately) {
    struct Case {
        int osError;
        const char* message;
    };
    const Case cases[] = {
        {ENOENT, "File not found"},      {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"}, {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"}, {EACCES, "File access denied"},
        {EPERM, "File access denied"},   {EROFS, "File access denied"},
        {EISDIR, "File access denied"},  {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},           {EFBIG, "Disk full"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(IoError::FromErrno(c.osError).what(), c.message) << "errno " << c.osError;
    }
    // Anything else shows the system's own number.
    EXPECT_EQ(std::string(IoError::FromErrno(EIO).what()), "I/O error " + std::to_string(EIO));
    EXPECT_EQ(IoError::FromErrno(EIO).code(), EIO);
}

// File helpers of the tests.
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

namespace testing_support {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

namespace {

// The calling thread's capabilities, read and set with the system's own calls.
struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};

    bool Read() { return ::syscall(SYS_capget, &header, data) == 0; }
    bool Write() { return ::syscall(SYS_capset, &header, data) == 0; }
};

// Overriding read, write and search permissions, and acting as the owner of any file.
constexpr std::uint32_t kPassingPermissions =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

}  // namespace

PermissionsBinding::PermissionsBinding() {
    Capabilities capabilities;
    EXPECT_TRUE(capabilities.Read()) << std::strerror(errno);
    effective_ = capabilities.data[0].effective;
    // Only put aside from the effective set: they stay permitted, so they can be taken back.
    capabilities.data[0].effective &= ~kPassingPermissions;
    EXPECT_TRUE(capabilities.Write()) << std::strerror(errno);
}

PermissionsBinding::~PermissionsBinding() {
    Capabilities capabilities;
    if (!capabilities.Read()) return;
    capabilities.data[0].effective = effective_;
    EXPECT_TRUE(capabilities.Write()) << std::strerror(errno);
}

}  // namespace testing_support

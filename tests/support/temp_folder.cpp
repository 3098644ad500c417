// File helpers of the tests.
#include "support/temp_folder.h"

#include <QFile>
#include <unistd.h>

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

bool PermissionsIgnored() { return ::geteuid() == 0; }

}  // namespace testing_support

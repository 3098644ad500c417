// A fresh temporary folder per test, and small helpers to write and read files byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class TempFolder {
public:
    TempFolder() { dir_.setAutoRemove(true); }
    QString path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.filePath(name); }
    QString File(const char* name) const { return File(QString::fromUtf8(name)); }

private:
    QTemporaryDir dir_;
};

void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);
// True when the tests run with the privileges to ignore file permissions (as root does).
bool PermissionsIgnored();

}  // namespace testing_support

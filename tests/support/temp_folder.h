// A fresh temporary folder per test, small helpers to write and read files byte for byte, and
// file permissions that bind root too.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

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
// While it lives, file permissions bind the calling thread as they bind any user, also when the
// tests run as root: the capabilities by which root passes them are put aside, and taken back
// when it ends. Tests of a denied folder or file make their denial under it.
class PermissionsBinding {
public:
    PermissionsBinding();
    ~PermissionsBinding();
    PermissionsBinding(const PermissionsBinding&) = delete;
    PermissionsBinding& operator=(const PermissionsBinding&) = delete;

private:
    std::uint32_t effective_ = 0;  // the capabilities' first word as they were
};

}  // namespace testing_support

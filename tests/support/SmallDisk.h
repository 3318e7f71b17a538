#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder on a disk of its own of a few kilobytes (a tmpfs mounted for the test), to fill up as
// a full disk fills. Mounting needs the superuser: available() is false otherwise, and the
// test skips.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool available() const { return mounted_; }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
};

#pragma once

#include <QByteArray>

// Small POSIX helpers shared by the Trash and its Put Back: a descriptor closed at scope exit and
// a rename that never replaces what is at its target.

// Closes a descriptor when it goes out of scope.
struct FileDescriptor
{
    int fd = -1;
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor();
};

// renameat() that fails with EEXIST instead of replacing what is at the target: the system's own
// such rename where it and the file system have one, else a test for the target before it.
int renameWithoutReplacing(int fromFolder, const QByteArray &from, int toFolder,
                           const QByteArray &to);

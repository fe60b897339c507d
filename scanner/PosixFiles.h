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

// renameat() that fails with EEXIST instead of replacing what is at the target: renameat2 with
// RENAME_NOREPLACE where the file system has it, else a test for the target before the rename.
int renameWithoutReplacing(int fromFolder, const QByteArray &from, int toFolder,
                           const QByteArray &to);

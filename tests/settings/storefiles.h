#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

// Files and processes for the store's tests.
namespace storefiles {

// A byte string that may hold NUL bytes.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(data) == data.size() && file.flush();
}

// How a child process ended.
struct ChildEnd {
    bool timedOut = false;
    int exitCode = -1; // when it exited
    int signal = 0;    // when a signal ended it
};

// Runs body in a forked child and waits at most timeoutMs for it; a child that takes longer is
// killed, so that a hang fails the test instead of stalling it. The child's exit code is body's
// result.
ChildEnd runInChild(const std::function<int()>& body, int timeoutMs = 10000);

} // namespace storefiles

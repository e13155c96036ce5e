#pragma once

#include <QString>

// Outcome of one step that changes a file on disk. The error text is what the
// error window shows: the system's own message, or ours where the system has
// none (a folder where a file was expected, a file copied onto itself).
struct FileOpResult
{
    bool ok = true;
    int errorNumber = 0; // errno of the failing call, 0 for our own refusals
    QString error;

    static FileOpResult success() { return {}; }
    static FileOpResult fromErrno(int number);
    static FileOpResult refusal(const QString &text) { return {false, 0, text}; }
    explicit operator bool() const { return ok; }
};

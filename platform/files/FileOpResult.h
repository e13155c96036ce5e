#pragma once

#include <QString>

// Outcome of one step on a file: done, or why not and which file it was for.
// Callers decide by the kind (and the errno of a system failure); the text
// the error windows show is made from it by text() alone.
struct FileOpResult
{
    enum class Kind : quint8 {
        Done,
        System, // a system call failed; errorNumber holds its errno
        NotFullPath, // a source named by anything but a full path
        Folder, // a folder where a file was expected
        OntoItself, // source and target are one file
        AlreadyInTrash,
        ChangedWhileMoved, // another program replaced or changed the source meanwhile
        ChangedSinceListed, // the source is no longer the file that was listed
        // A replace whose existing file the trash did not take: nothing was
        // replaced. cause and errorNumber tell why the trash refused it.
        NotTrashed,
        Cancelled // the user stopped it; never shown as a failure
    };

    Kind kind = Kind::Done;
    int errorNumber = 0; // errno for System (and for a NotTrashed of System cause)
    Kind cause = Kind::Done; // what the trash said, for NotTrashed
    QString path; // the file the step was for

    static FileOpResult success() { return {}; }
    static FileOpResult fromErrno(int number, const QString &path = {});
    static FileOpResult refused(Kind kind, const QString &path = {});
    static FileOpResult cancelled() { return refused(Kind::Cancelled); }
    // The step of a replace that could not set the existing file aside.
    static FileOpResult notTrashed(const FileOpResult &trashed);

    explicit operator bool() const { return kind == Kind::Done; }
    // A system failure with this errno.
    bool isErrno(int number) const { return kind == Kind::System && errorNumber == number; }
    // The same outcome, for another file.
    FileOpResult about(const QString &file) const;
    // The reason as the error windows word it; empty for Done and Cancelled.
    QString text() const;
};

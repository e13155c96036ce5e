#pragma once

#include <QString>

// A mount made by a test and undone when it goes out of scope: a small tmpfs
// as a second file system, a read-only view of a folder, or a folder shown a
// second time elsewhere. Needs the right to mount; ok() is false (with the
// reason in error()) where the machine does not give it.
class TestMount
{
public:
    static TestMount tmpfs(const QString &folder, const QString &options = {});
    static TestMount readOnlyView(const QString &folder);
    // The folder source shown a second time at target (an existing folder).
    static TestMount bind(const QString &source, const QString &target);

    TestMount(TestMount &&other) noexcept;
    TestMount(const TestMount &) = delete;
    TestMount &operator=(const TestMount &) = delete;
    ~TestMount();

    bool ok() const { return !m_folder.isEmpty(); }
    const QString &error() const { return m_error; }

private:
    TestMount() = default;
    QString m_folder;
    QString m_error;
};

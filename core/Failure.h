#pragma once

#include <QString>

#include <exception>

// A failure that ended a command, as the command's one error handler shows
// it: a numeric code and a description.
struct Failure
{
    int code = 0;
    QString description;
};

// Turns whatever was thrown into a code and a description: the system's error
// number where there is one, ENOMEM for memory running out, and 1 otherwise.
Failure describeFailure(std::exception_ptr thrown);

// "错误代码：" code, a line break, the description.
QString errorCodeText(const Failure &failure);

#include "core/Failure.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>

Failure describeFailure(std::exception_ptr thrown)
{
    try {
        if (thrown)
            std::rethrow_exception(thrown);
    } catch (const std::system_error &e) {
        return {e.code().value(), QString::fromLocal8Bit(e.what())};
    } catch (const std::bad_alloc &) {
        return {ENOMEM, QString::fromLocal8Bit(std::strerror(ENOMEM))};
    } catch (const std::exception &e) {
        return {1, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {1, QString()};
    }
    return {};
}

QString errorCodeText(const Failure &failure)
{
    // A plain line feed: that is this platform's line break in a message box.
    return QStringLiteral("错误代码：") + QString::number(failure.code) + QLatin1Char('\n')
        + failure.description;
}

#include "platform/files/FileOpResult.h"

#include <cstring>

FileOpResult FileOpResult::fromErrno(int number)
{
    return {false, number, QString::fromLocal8Bit(std::strerror(number))};
}

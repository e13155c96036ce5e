#include "core/GridSchema.h"

namespace GridSchema {

QString scanFormat()
{
    return QStringLiteral(
        "< 序号 "
        "|<文件名|<文件位置|<文件大小(字节)|<文件创建时间|<文件修改时间|>文件访问时间|>文件类型");
}

QString compareFormat()
{
    return QStringLiteral(
        "< 序号 |<  相似度 |<文件名1|<文件名2|<文件1位置|<文件2位置|>文件1大小(字节)|<文件2大小("
        "字节)|<文件1创建时间|<文件2创建时间|<文件1修改时间|<文件2修改时间|<文件1访问时间|>文件2访"
        "问时间|<文件1类型|>文件2类型");
}

} // namespace GridSchema

#include "forms/ControlDescriptions.h"

#include <QWidget>

namespace {

struct Entry
{
    const char *window;
    const char *control;
    const char *what;
};

constexpr Entry Table[] = {
    {"FrmMain", "FrmMain", "查找并清理重复文件的主窗口"},
    {"FrmMain", "TabStrip2", "选择对比方式：文件名相同或文件名相似"},
    {"FrmMain", "Label2", "程序网站的说明"},
    {"FrmMain", "FrameFile", "扫描和对比的设置"},
    {"FrmMain", "Label3(0)", "右边的框填写要扫描的文件夹"},
    {"FrmMain", "Text1", "要扫描的文件夹"},
    {"FrmMain", "CommandSelectPath", "打开窗口选择要扫描的文件夹"},
    {"FrmMain", "Label3(1)", "右边的框填写文件类型"},
    {"FrmMain", "Combo1", "要扫描的文件名模式，例如 *.mp3"},
    {"FrmMain", "CommandStartScan", "扫描所选目录中符合文件类型的文件"},
    {"FrmMain", "Label3(2)", "右边勾选两个文件必须相同的项目"},
    {"FrmMain", "Check1(0)", "勾选后对比文件名，相似对比时按右边的相似度门槛"},
    {"FrmMain", "Combo3", "文件名相似度门槛，百分数"},
    {"FrmMain", "Check1(2)", "勾选后两个文件的大小必须相同"},
    {"FrmMain", "Check1(3)", "勾选后两个文件的创建时间必须相同"},
    {"FrmMain", "Check1(4)", "勾选后两个文件的修改时间必须相同"},
    {"FrmMain", "Check1(5)", "勾选后两个文件的访问时间必须相同"},
    {"FrmMain", "Check1(6)", "勾选后两个文件的类型必须相同"},
    {"FrmMain", "Check1(7)", "勾选后两个文件的内容必须完全相同"},
    {"FrmMain", "CommandToCompare", "按勾选的项目两两对比扫描到的文件"},
    {"FrmMain", "Image3", "装饰图片"},
    {"FrmMain", "Label1(0)", "装饰文字"},
    {"FrmMain", "TabStrip1", "切换显示扫描结果或对比结果"},
    {"FrmMain", "Frame1", "保留规则和处理重复文件的按钮"},
    {"FrmMain", "CheckPreview", "勾选后按保留规则将删除的文件名加删除线"},
    {"FrmMain", "Combo2", "每对文件中保留哪一个"},
    {"FrmMain", "CommandDelFile", "按保留规则把每对中不保留的文件送到回收站"},
    {"FrmMain", "CommandMoveTo", "按保留规则把每对中不保留的文件移动到所选文件夹"},
    {"FrmMain", "FrameTab(0)", "扫描结果页"},
    {"FrmMain", "FrameTab(1)", "对比结果页"},
    {"FrmMain", "MSHList", "扫描到的文件，每行一个"},
    {"FrmMain", "MSH1", "重复的文件对，每行一对"},
    {"FrmMain", "Command1", "按鼠标所在的列排序"},
    {"FrmMain", "Picture2", "拖动调整结果列表和处理记录的高度"},
    {"FrmMain", "Image1", "分隔条的把手"},
    {"FrmMain", "ListView1", "每个文件的处理结果"},
    {"FrmMain", "SBar1", "扫描、对比和处理的状态"},
    {"FrmMain", "Picture1", "装饰图片和文字"},
    {"FrmMain", "Image2", "装饰图片"},
    {"FrmMain", "Label1(1)", "装饰文字"},
    {"FrmAbout", "FrmAbout", "程序的名称、版本和说明"},
    {"FrmAbout", "picIcon", "程序图标"},
    {"FrmAbout", "lblTitle", "程序名称"},
    {"FrmAbout", "lblVersion", "程序版本"},
    {"FrmAbout", "lblDescription", "开发环境、整理时间和联系方式"},
    {"FrmAbout", "Line1(0)", "分隔线"},
    {"FrmAbout", "Line1(1)", "分隔线"},
    {"FrmAbout", "lblDisclaimer", "致谢的话"},
    {"FrmAbout", "cmdOK", "关闭关于窗口"},
    {"FrmHelp", "FrmHelp", "使用帮助窗口"},
    {"FrmHelp", "Text1", "使用帮助全文"},
};

void describe(QWidget *control, const char *what)
{
    control->setAccessibleDescription(
        QString::fromUtf8(what) + QStringLiteral(" [") + control->objectName() + QLatin1Char(']'));
}

} // namespace

void ControlDescriptions::apply(QWidget *window)
{
    const QString windowName = window->objectName();
    for (const Entry &entry : Table) {
        if (windowName != QLatin1String(entry.window))
            continue;
        const QString name = QString::fromLatin1(entry.control);
        if (name == windowName) {
            describe(window, entry.what);
        } else if (auto *control = window->findChild<QWidget *>(name)) {
            describe(control, entry.what);
        }
    }
}

#include "forms/main/FrmMain.h"

#include "core/CompareCommand.h"
#include "core/CompareView.h"
#include "core/GridSchema.h"
#include "core/SimilarityThreshold.h"
#include "modules/ModFrmObject.h"
#include "modules/ModSetGrid.h"
#include "platform/desktop/CancellableWait.h"
#include "platform/desktop/Dialogs.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/StatusBar.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TextMeasure.h"

#include <QCheckBox>
#include <QComboBox>

#include <algorithm>

namespace {

// The compare command's view of the window: the compare grid, the result
// tabs, status panel 2 and the lock.
class WindowCompareView : public CompareView
{
public:
    WindowCompareView(FrmMain &window, FlexGrid &grid, TabStrip &resultTabs, StatusBar &statusBar,
        Dialogs &dialogs)
        : m_window(window)
        , m_grid(grid)
        , m_resultTabs(resultTabs)
        , m_statusBar(statusBar)
        , m_dialogs(dialogs)
        , m_measure(window.font())
    {
    }

    void resetCompareGrid() override { m_window.InitGrid(FrmMain::Grids::Compare); }
    void showCompareTab() override { m_resultTabs.selectTab(FrmMain::CompareResults); }
    void setCompareGridRedraw(bool on) override { m_grid.setRedraw(on); }
    void setControlsEnabled(bool enabled) override
    {
        ModFrmObject::LockWindow(&m_window, !enabled);
    }
    void showProgress(const QString &text) override
    {
        m_statusBar.setPanelText(FrmMain::ComparePanel, text);
        m_statusBar.repaintNow();
    }
    void setResultText(const QString &text) override
    {
        m_statusBar.setPanelText(FrmMain::ComparePanel, text);
    }
    void insertRows(const GridRowSource &rows) override
    {
        m_grid.AddItems(rows, m_grid.Rows() - 1);
    }
    void dropTrailingRow() override { m_grid.setRows(m_grid.Rows() - 1); }
    void widenColumns(const ColumnWidthTable::Widths &widths) override
    {
        ModSetGrid::WidenColumns(
            m_grid, GridSchema::CompareColumn::Number, QList<int>(widths.begin(), widths.end()));
    }
    int measureCell(const QString &text) override { return m_measure.widthTwips(text); }
    bool waitFor(const QFuture<void> &work, const std::function<void()> &tick) override
    {
        return CancellableWait::until(work, tick);
    }
    void showNotice(const QString &text) override { m_dialogs.notice(text); }

private:
    FrmMain &m_window;
    FlexGrid &m_grid;
    TabStrip &m_resultTabs;
    StatusBar &m_statusBar;
    Dialogs &m_dialogs;
    TextMeasure m_measure;
};

} // namespace

void FrmMain::Check1_Click(int index)
{
    m_compareCriteria.slots[static_cast<size_t>(index)] = Check1[index]->isChecked() ? 1 : 0;
    const bool anyTicked = std::any_of(std::begin(CompareCriteria::BoxSlots),
        std::end(CompareCriteria::BoxSlots), [this](int box) { return Check1[box]->isChecked(); });
    if (anyTicked)
        ModFrmObject::EnableControlsByType(this, true, true, true, true, true, true);
    else
        ModFrmObject::EnableControlsByType(this, false, true, false, false, false, false);
}

void FrmMain::TabStrip2_Click()
{
    const int tab = TabStrip2->SelectedIndex();
    QCheckBox *nameBox = Check1[FileRecord::Name];
    if (tab == int(CompareMode::SameName)) {
        Combo3->hide();
        nameBox->setText(QStringLiteral("文件名相同"));
    } else if (tab == int(CompareMode::SimilarName)) {
        Combo3->show();
        nameBox->setText(QStringLiteral("文件名相似度：         %"));
    }
    nameBox->setAccessibleName(nameBox->text());
}

void FrmMain::CommandToCompare_Click()
{
    // A threshold that is no number from 1 to 100 would pair every file or
    // none; the list already shown stays as it was.
    if (TabStrip2->SelectedIndex() == int(CompareMode::SimilarName)
        && !SimilarityThreshold::isPercentInRange(Combo3->currentText())) {
        m_dialogs.error(QStringLiteral("请输入 1 到 100 之间的相似度。"));
        return;
    }
    WindowCompareView view(*this, *MSH1, *TabStrip1, *SBar1, m_dialogs);
    CompareRun::Options options;
    options.criteria = m_compareCriteria;
    options.mode = TabStrip2->SelectedIndex();
    options.threshold = Combo3->currentText();
    options.contentCache = &m_contentCache;
    CompareCommand::Result listed = CompareCommand::run(view, m_catalogue, options);
    m_listedContent = std::move(listed.content);
    m_compared = std::move(listed.compared);
    m_preview.forgetFacts();
    schedulePreview();
}

// What a removal would take and what it spares: while CheckPreview is
// ticked, the name cells of the files the keep rule queues are struck
// through and the compare panel counts them; the folder cells of protected
// files are bold in both lists.
#include "forms/main/FrmMain.h"

#include "core/BatchTotals.h"
#include "core/GridSchema.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/FlexGridModel.h"
#include "platform/widgets/StatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTimer>

void FrmMain::connectPreviewSignals()
{
    connect(CheckPreview, &QCheckBox::toggled, this, &FrmMain::CheckPreview_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &FrmMain::updatePreview);
    // Rows come and go in many steps during a compare or a removal; the
    // preview follows once they are over.
    const FlexGridModel *model = MSH1->gridModel();
    connect(model, &QAbstractItemModel::rowsInserted, this, &FrmMain::schedulePreview);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FrmMain::schedulePreview);
    connect(model, &QAbstractItemModel::modelReset, this, &FrmMain::schedulePreview);

    namespace Column = GridSchema::CompareColumn;
    MSH1->gridModel()->setLookTest([this](qint32 pair, int col) {
        FlexGridModel::Look look;
        if (CheckPreview->isChecked() && (col == Column::Name1 || col == Column::Name2))
            look.struck = m_preview.goes(m_compared, pair, col == Column::Name1 ? 1 : 2);
        if (!m_protected.isEmpty() && (col == Column::Folder1 || col == Column::Folder2)) {
            const FileRecord *record = m_compared.record(pair, col == Column::Folder1 ? 1 : 2);
            look.bold = record && m_protected.covers(record->folder());
        }
        return look;
    });
    MSHList->gridModel()->setLookTest([this](qint32 index, int col) {
        FlexGridModel::Look look;
        if (!m_protected.isEmpty() && col == GridSchema::ScanColumn::Folder && index >= 0
            && index < m_catalogue.count())
            look.bold = m_protected.covers(m_catalogue.at(index).folder());
        return look;
    });
}

void FrmMain::CheckPreview_Click()
{
    if (CheckPreview->isChecked()) {
        updatePreview();
        return;
    }
    MSH1->gridModel()->lookChanged();
    SBar1->setPanelOverlay(ComparePanel, {});
}

void FrmMain::protectionChanged()
{
    MSHList->gridModel()->lookChanged();
    MSH1->gridModel()->lookChanged();
    updatePreview();
}

void FrmMain::schedulePreview()
{
    if (m_previewDue || !CheckPreview->isChecked())
        return;
    m_previewDue = true;
    QTimer::singleShot(0, this, [this] {
        m_previewDue = false;
        updatePreview();
    });
}

void FrmMain::updatePreview()
{
    if (!CheckPreview->isChecked())
        return;
    QList<qint32> listed;
    const int rows = MSH1->Rows();
    listed.reserve(rows);
    for (int row = 1; row < rows; ++row)
        listed.append(MSH1->RowData(row));
    m_preview.update(Combo2->currentIndex(), m_compared, listed, m_protected);
    MSH1->gridModel()->lookChanged();
    SBar1->setPanelOverlay(ComparePanel,
        QStringLiteral("预览：将删除 %1 个文件，共 ").arg(m_preview.count())
            + batchSizeText(m_preview.bytes()));
}

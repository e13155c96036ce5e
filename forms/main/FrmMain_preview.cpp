// The preview of what the batch buttons would take: while CheckPreview is
// ticked, the name cells of the files the keep rule queues are struck
// through and the compare panel counts them.
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
}

void FrmMain::CheckPreview_Click()
{
    FlexGridModel *model = MSH1->gridModel();
    if (!CheckPreview->isChecked()) {
        model->setStruckTest({});
        SBar1->setPanelOverlay(ComparePanel, {});
        return;
    }
    model->setStruckTest([this](qint32 pair, int col) {
        if (col != GridSchema::CompareColumn::Name1 && col != GridSchema::CompareColumn::Name2)
            return false;
        return m_preview.goes(m_compared, pair, col == GridSchema::CompareColumn::Name1 ? 1 : 2);
    });
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
    m_preview.update(Combo2->currentIndex(), m_compared, listed);
    MSH1->gridModel()->struckChanged();
    SBar1->setPanelOverlay(ComparePanel,
        QStringLiteral("预览：将删除 %1 个文件，共 ").arg(m_preview.count())
            + batchSizeText(m_preview.bytes()));
}

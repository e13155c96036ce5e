#include "FakePrompter.h"

namespace {

class FakeProgress : public FileOpPrompter::Progress
{
public:
    FakeProgress(std::shared_ptr<PromptRecorder::ProgressLog> log,
        std::function<void(qint64, qint64)> onValue)
        : m_log(std::move(log))
        , m_onValue(std::move(onValue))
    {
    }
    void setLabel(const QString &text) override { m_log->labels.append(text); }
    void setValue(qint64 done, qint64 total) override
    {
        if (m_onValue)
            m_onValue(done, total);
    }
    bool cancelled() override
    {
        return m_log->cancelAfterLabels >= 0 && m_log->labels.size() >= m_log->cancelAfterLabels;
    }

private:
    std::shared_ptr<PromptRecorder::ProgressLog> m_log;
    std::function<void(qint64, qint64)> m_onValue;
};

} // namespace

FileOpPrompter::Reply PromptRecorder::record(const FileOpPrompter::Prompt &prompt)
{
    prompts.append(prompt);
    if (onPrompt)
        onPrompt(prompt);
    if (!m_byText.isEmpty()) {
        const auto [text, checked] = m_byText.dequeue();
        return {static_cast<int>(prompt.buttons.indexOf(text)), checked};
    }
    if (!replies.isEmpty())
        return replies.dequeue();
    if (prompt.buttons.size() == 1)
        return {0, false};
    return {prompt.escapeButton, false};
}

std::unique_ptr<FileOpPrompter::Progress> PromptRecorder::recordProgress(const QString &title)
{
    auto log = std::make_shared<ProgressLog>();
    log->title = title;
    log->cancelAfterLabels = cancelProgressAfter;
    progresses.append(log);
    return std::make_unique<FakeProgress>(log, onProgressValue);
}

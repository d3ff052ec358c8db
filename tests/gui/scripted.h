#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "app/filedialogs.h"
#include "app/messagepresenter.h"

namespace kvr::gui::test {

// Answers message boxes from a queue (No when empty) and records every box shown.
class ScriptedPresenter final : public MessagePresenter {
public:
    core::Button show(const core::Message& message) override
    {
        shown.push_back(message);
        if (onShow) onShow(message);
        if (answers.empty()) return fallback;
        const core::Button b = answers.front();
        answers.pop_front();
        return b;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& m : shown)
            out.push_back(m.text);
        return out;
    }
    std::deque<core::Button> answers;
    core::Button fallback = core::Button::No;
    std::vector<core::Message> shown;
    std::function<void(const core::Message&)> onShow;
};

// Answers file dialogs from queues (cancelled when empty) and records what was asked.
class ScriptedDialogs final : public FileDialogs {
public:
    QString openFile(const FileDialogRequest& request) override
    {
        asked.push_back(request);
        return take(openAnswers);
    }
    QStringList openFiles(const FileDialogRequest& request) override
    {
        asked.push_back(request);
        if (openManyAnswers.empty()) return {};
        QStringList l = openManyAnswers.front();
        openManyAnswers.pop_front();
        return l;
    }
    QString saveFile(const FileDialogRequest& request) override
    {
        asked.push_back(request);
        return take(saveAnswers);
    }
    std::deque<QString> openAnswers;
    std::deque<QStringList> openManyAnswers;
    std::deque<QString> saveAnswers;
    std::vector<FileDialogRequest> asked;

private:
    static QString take(std::deque<QString>& q)
    {
        if (q.empty()) return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

} // namespace kvr::gui::test

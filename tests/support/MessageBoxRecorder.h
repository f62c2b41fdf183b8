#pragma once
// Records every message box and answers from a queue; when the queue is
// empty, with `everyAnswer` if given, else OK, or Cancel for a question. The
// presenter it replaced is back in place when it goes.
#include "gui/framework/MessageBox.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace korvel::test {

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(std::optional<int> everyAnswer = std::nullopt)
    {
        m_previous = SetMessageBoxPresenter([this, everyAnswer](const MessageBoxRequest& request) {
            requests.push_back(request);
            if (!answers.empty()) {
                const int answer = answers.front();
                answers.pop_front();
                return answer;
            }
            if (everyAnswer)
                return *everyAnswer;
            return request.buttons == MbButtons::Ok ? int(IDOK) : int(IDCANCEL);
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxPresenter(std::move(m_previous)); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QString LastText() const { return requests.empty() ? QString() : requests.back().text; }

    std::vector<MessageBoxRequest> requests;
    std::deque<int> answers;

private:
    MessageBoxPresenter m_previous;
};

}  // namespace korvel::test

#pragma once
// Records every message box and answers from a queue (OK, or Cancel for a
// question, when the queue is empty), for as long as it lives.
#include "framework/MessageBox.h"

#include <QString>

#include <deque>
#include <vector>

namespace korvel::test {

class MessageBoxRecorder {
public:
    MessageBoxRecorder()
    {
        SetMessageBoxPresenter([this](const MessageBoxRequest& request) {
            requests.push_back(request);
            if (!answers.empty()) {
                const int answer = answers.front();
                answers.pop_front();
                return answer;
            }
            return request.buttons == MbButtons::Ok ? int(IDOK) : int(IDCANCEL);
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxPresenter({}); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QString LastText() const { return requests.empty() ? QString() : requests.back().text; }

    std::vector<MessageBoxRequest> requests;
    std::deque<int> answers;
};

}  // namespace korvel::test

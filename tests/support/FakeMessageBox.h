#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QStringList>

namespace testsupport {

// Records every box shown and answers questions from a queue (No when nothing is queued).
// Installs itself for its lifetime.
class FakeMessageBox : public platform::MessageBox {
public:
    FakeMessageBox();
    ~FakeMessageBox() override;

    void setNextAnswer(bool yes) { m_answers.append(yes); }

    void showOk(const std::string& text) override;
    bool askYesNo(const std::string& text) override;

    QStringList okTexts;       // texts of the OK-only boxes, in order
    QStringList questionTexts; // texts of the Yes/No questions, in order
    int unansweredQuestions = 0;

    void clear();

private:
    platform::MessageBox* m_previous;
    QList<bool> m_answers;
};

} // namespace testsupport

#include "tests/support/FakeMessageBox.h"

namespace testsupport {

FakeMessageBox::FakeMessageBox() : m_previous(platform::MessageBox::install(this)) {}

FakeMessageBox::~FakeMessageBox() {
    platform::MessageBox::install(m_previous);
}

void FakeMessageBox::showOk(const std::string& text) {
    okTexts.append(QString::fromStdString(text));
}

bool FakeMessageBox::askYesNo(const std::string& text) {
    questionTexts.append(QString::fromStdString(text));
    if (m_answers.isEmpty()) {
        ++unansweredQuestions;
        return false;
    }
    return m_answers.takeFirst();
}

void FakeMessageBox::clear() {
    okTexts.clear();
    questionTexts.clear();
    m_answers.clear();
    unansweredQuestions = 0;
}

} // namespace testsupport

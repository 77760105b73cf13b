#include "tests/support/FakeMessageBox.h"

namespace testsupport {

FakeMessageBox::FakeMessageBox() : m_previous(platform::MessageBox::install(this)) {}

FakeMessageBox::~FakeMessageBox() {
    platform::MessageBox::install(m_previous);
}

void FakeMessageBox::showOk(const QString& text) {
    okTexts.append(text);
}

bool FakeMessageBox::askYesNo(const QString& text) {
    questionTexts.append(text);
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

#include "tests/support/TestEnvironment.h"

#include "platform/WindowInstance.h"

#include <QCoreApplication>
#include <QEvent>

#include <cstdlib>

namespace testsupport {

TestEnvironment::TestEnvironment()
    : m_previousEnd(platform::replaceEndProgram([this] { ++programEnds; })),
      m_previousWait(platform::replaceWait([this](platform::Deadline) { ++waits; })) {}

TestEnvironment::~TestEnvironment() {
    platform::replaceEndProgram(std::move(m_previousEnd));
    platform::replaceWait(std::move(m_previousWait));
}

void useOffscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void unloadAllWindows() {
    platform::WindowInstanceBase::destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace testsupport

#include "app/StartupTrace.h"

#include <QEvent>
#include <QFile>
#include <QWidget>

#include <chrono>

namespace startuptrace {

namespace {

QString traceFile() {
    return qEnvironmentVariable("QUORVEX_STARTUP_TRACE");
}

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, const char* milestone) : QObject(window), m_milestone(milestone) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            mark(m_milestone);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    const char* m_milestone;
};

} // namespace

void mark(const char* milestone) {
    const QString path = traceFile();
    if (path.isEmpty())
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QByteArray(milestone) + ' ' +
                   QByteArray::number(qint64(std::chrono::nanoseconds(now).count())) + '\n');
}

void markFirstPaint(QWidget* window, const char* milestone) {
    if (traceFile().isEmpty())
        return;
    window->installEventFilter(new FirstPaint(window, milestone));
}

} // namespace startuptrace

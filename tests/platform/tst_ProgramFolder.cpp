#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtTest>

class TestProgramFolder : public QObject {
    Q_OBJECT

private slots:
    void folderText_data();
    void folderText();
    void folderHoldsTheRunningProgram();
};

void TestProgramFolder::folderText_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("root written twice") << "//" << "/";
    QTest::newRow("ordinary folder") << "/opt/quorvex" << "/opt/quorvex";
    QTest::newRow("trailing separator") << "/opt/quorvex/" << "/opt/quorvex";
    QTest::newRow("trailing separators") << "/opt/quorvex//" << "/opt/quorvex";
    QTest::newRow("one level") << "/opt/" << "/opt";
    QTest::newRow("drive root, Qt's form") << "C:/" << "C:\\";
    QTest::newRow("drive root") << "C:\\" << "C:\\";
    QTest::newRow("bare drive") << "d:" << "d:\\";
    QTest::newRow("drive folder") << "C:\\Quorvex" << "C:\\Quorvex";
    QTest::newRow("drive folder, trailing") << "C:\\Program Files\\Quorvex\\" << "C:\\Program Files\\Quorvex";
    QTest::newRow("drive folder, Qt's form") << "C:/Program Files/Quorvex/" << "C:\\Program Files\\Quorvex";
    QTest::newRow("share") << "\\\\server\\share\\" << "\\\\server\\share";
    QTest::newRow("colon later on") << "/opt/a:b/" << "/opt/a:b";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void TestProgramFolder::folderText() {
    QFETCH(QString, dir);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(platform::programFolderText(dir.toStdString())), expected);
}

void TestProgramFolder::folderHoldsTheRunningProgram() {
    const QString folder = QString::fromStdString(platform::programFolder());
    QVERIFY(!folder.endsWith(QDir::separator()) || folder.size() <= 3);
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QVERIFY2(QFileInfo::exists(folder + QDir::separator() + program), qPrintable(folder));
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
